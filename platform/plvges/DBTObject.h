#pragma once
// Record buffers: what a form document reads, shows and saves.
//
// A DBTMaster holds the document's header record; it is read by its query (OnDefineQuery
// states it once, OnPrepareQuery sets its parameters from the record's key) and walked by its
// browse query (OnPrepareBrowser, OnPrepareFindQuery). Slaves attached to it are read with it
// and saved with it: a DBTSlave holds one record, a DBTSlaveBuffered the rows of a grid, their
// query parameters taken from the master's record. A DBTSlaveBuffered that is attached to no
// master is a standalone buffer: its document fills it and nothing reads or saves it.
//
// The hooks of the key checks follow one pattern:
//     BOOL Kvz_DBTAziende::OnCheckPrimaryKey()
//     {
//         return !(GetRecord()->f_Azienda.IsEmpty() && SetError(_TB("Indicare il codice azienda")));
//     }
#include <map>
#include <memory>
#include <vector>

#include "platform/plvoledb/SqlTable.h"

class CAbstractFormDoc;
class CBodyEdit;
class DBTMaster;

class DBTObject : public CObject
{
	DECLARE_DYNAMIC(DBTObject, CObject)
public:
	// The framework's texts of the key checks.
	static constexpr LPCTSTR szEmptyPrimaryKeySegment = _T("Empty primary key segment.");
	static constexpr LPCTSTR szEmptyForeignKeySegment = _T("Empty foreign key segment.");
	static constexpr LPCTSTR szDuplicatedKey = _T("Duplicated Key in %s");

	DBTObject(CRuntimeClass* pRecordClass, CAbstractFormDoc* pDocument, const CString& strName);
	~DBTObject() override;
	DBTObject(const DBTObject&) = delete;
	DBTObject& operator=(const DBTObject&) = delete;

	SqlRecord* GetRecord() const { return m_pRecord.get(); }
	CAbstractFormDoc* GetDocument() const { return m_pDocument; }
	const CString& GetName() const { return m_strName; }
	DBTMaster* GetMaster() const { return m_pMaster; }

	// The buffer's error: returns TRUE, so that a key check can return FALSE when it was set.
	BOOL SetError(const CString& strError);
	const CString& GetError() const { return m_strError; }
	void ClearError() { m_strError.Empty(); }

	// How many rows a read brings at once (-1 all); rows are always read in full here.
	void SetPreloadStep(int nStep) { m_nPreloadStep = nStep; }
	int GetPreloadStep() const { return m_nPreloadStep; }

protected:
	friend class CAbstractFormDoc;
	friend class DBTMaster;

	// The query: stated once on m_pTable, its parameters set before each read.
	virtual void OnDefineQuery() {}
	virtual void OnPrepareQuery() {}
	// Field states: findable fields in find mode, read-only ones in edit and new-record mode.
	virtual void OnEnableControlsForFind() {}
	virtual void OnDisableControlsForEdit() {}
	virtual void OnDisableControlsForAddNew() {}
	// The key of a record about to be saved, and its check.
	virtual void OnPreparePrimaryKey() {}
	virtual BOOL OnCheckPrimaryKey() { return TRUE; }

	// What the document does with the buffer.
	virtual void Init() { m_pRecord->Init(); m_pOldRecord.reset(); }
	virtual BOOL Read();
	virtual BOOL PrepareAndCheck(BOOL bNew);
	virtual void Write(BOOL bNew);
	virtual void Delete();
	// Every record the buffer holds (states are set on them all).
	virtual std::vector<SqlRecord*> GetRecords() const { return {m_pRecord.get()}; }

	// Opens m_pTable and states the query the first time.
	void OpenQuery();
	SqlSession* GetReadSession() const;
	// Writes run on the document's updatable session: inside its transaction on any backend.
	SqlSession& GetWriteSession() const;

	// The statements of a save, each with its values bound.
	static void InsertRow(SqlSession& conn, const SqlRecord& rec);
	// Rows of one table added by statements of many rows each: one answer from a server per
	// statement, not per row. A failing statement adds none of its rows.
	static void InsertRows(SqlSession& conn, const std::vector<SqlRecord*>& rows);
	// Rows are found by the key they had when they were read.
	static void UpdateRow(SqlSession& conn, const SqlRecord& rec, const SqlRecord& old);
	static void DeleteRow(SqlSession& conn, const SqlRecord& old);
	static BOOL SameKey(const SqlRecord& a, const SqlRecord& b);

	std::unique_ptr<SqlRecord> m_pRecord;
	std::unique_ptr<SqlRecord> m_pOldRecord;  // the record as read, null when none was
	CAbstractFormDoc* m_pDocument;
	DBTMaster* m_pMaster = nullptr;
	CString m_strName;
	CString m_strError;
	int m_nPreloadStep = 0;
	SqlTable* m_pTable = nullptr;  // the cursor the query hooks state

private:
	std::unique_ptr<SqlTable> m_pOwnedTable;
};

// A record read with its master and saved with it, one to one.
class DBTSlave : public DBTObject
{
	DECLARE_DYNAMIC(DBTSlave, DBTObject)
public:
	DBTSlave(CRuntimeClass* pRecordClass, CAbstractFormDoc* pDocument, const CString& strName);

protected:
	friend class DBTMaster;
};

// The rows of a grid.
class DBTSlaveBuffered : public DBTSlave
{
	DECLARE_DYNAMIC(DBTSlaveBuffered, DBTSlave)
public:
	// bAllowEmpty: a record may be saved without rows; bCheckDuplicateKey: rows with the
	// same key are refused at saving (see GetDuplicateKeyPos).
	DBTSlaveBuffered(CRuntimeClass* pRecordClass, CAbstractFormDoc* pDocument, const CString& strName,
					 BOOL bAllowEmpty = TRUE, BOOL bCheckDuplicateKey = TRUE);
	~DBTSlaveBuffered() override;

	int GetSize() const { return static_cast<int>(m_Rows.size()); }
	int GetUpperBound() const { return GetSize() - 1; }
	SqlRecord* GetRow(int nRow) const;
	SqlRecord* GetCurrentRow() const { return GetRow(m_nCurrentRow); }
	int GetCurrentRowIdx() const { return m_nCurrentRow; }
	// -1: no current row.
	void SetCurrentRow(int nRow);

	// A new row at the end (or at nRow), prepared by OnPrepareRow; it becomes no current row.
	SqlRecord* AddRecord();
	SqlRecord* InsertRecord(int nRow);
	BOOL RemoveRecord(int nRow);
	// Empties the buffer. The rows read stay known (they are deleted at saving) unless bAlsoOld.
	void RemoveAll(BOOL bAlsoOld = FALSE);

	// The rows as they were read, when editing began.
	int GetOldSize() const { return static_cast<int>(m_OldRows.size()); }
	int GetOldUpperBound() const { return GetOldSize() - 1; }
	SqlRecord* GetOldRow(int nRow) const;
	// The saved version of a row (as it was read), followed through the inserts, deletes and
	// key edits made since; null for a row added since the read.
	SqlRecord* GetSavedRow(int nRow) const;
	SqlRecord* GetSavedRow(const SqlRecord* pRow) const;

	BOOL IsAllowEmpty() const { return m_bAllowEmpty; }
	BOOL IsCheckDuplicateKey() const { return m_bCheckDuplicateKey; }

protected:
	friend class CAbstractFormDoc;
	friend class CBodyEdit;
	friend class DBTMaster;
	using DBTObject::OnCheckPrimaryKey;
	using DBTObject::OnPreparePrimaryKey;

	// The key of each row about to be saved (the master's key columns, as a rule), its check.
	virtual void OnPreparePrimaryKey(int /*nRow*/, SqlRecord* /*pRec*/) {}
	virtual BOOL OnCheckPrimaryKey(int /*nRow*/, SqlRecord* /*pRec*/) { return TRUE; }
	// A new row (from the grid or AddRecord) before anyone sees it.
	virtual void OnPrepareRow(int /*nRow*/, SqlRecord* /*pRec*/) {}
	// Each row read, for its local columns.
	virtual void OnPrepareAuxColumns(SqlRecord* /*pRec*/) {}
	// The user's row operations in the grid.
	virtual void OnAfterAddRow(int /*nRow*/, SqlRecord* /*pRec*/) {}
	virtual void OnAfterInsertRow(int /*nRow*/, SqlRecord* /*pRec*/) {}
	virtual BOOL OnBeforeDeleteRow(int /*nRow*/) { return TRUE; }
	virtual void OnAfterDeleteRow(int /*nRow*/) {}
	// The field that takes the focus when the row's key is duplicated; null: duplicates are
	// not checked.
	virtual DataObj* GetDuplicateKeyPos(SqlRecord* /*pRec*/) { return nullptr; }
	virtual CString GetDuplicateKeyMsg(SqlRecord* pRec);
	// A row holding no data is not saved: by default an empty row not marked storable.
	virtual BOOL IsEmptyData(SqlRecord* pRec) { return !pRec->IsStorable() && pRec->IsEmpty(); }

	void Init() override { RemoveAll(TRUE); }
	BOOL Read() override;
	BOOL PrepareAndCheck(BOOL bNew) override;
	void Write(BOOL bNew) override;
	void Delete() override;
	std::vector<SqlRecord*> GetRecords() const override;

private:
	std::unique_ptr<SqlRecord> NewRow() const;

	std::vector<std::unique_ptr<SqlRecord>> m_Rows;
	std::vector<std::unique_ptr<SqlRecord>> m_OldRows;
	std::map<const SqlRecord*, SqlRecord*> m_SavedOf;  // each row read, to its saved version
	int m_nCurrentRow = -1;
	BOOL m_bAllowEmpty;
	BOOL m_bCheckDuplicateKey;
	// Where a failed row check points: its row and the field to focus.
	int m_nErrorRow = -1;
	DataObj* m_pErrorField = nullptr;

public:
	int GetErrorRow() const { return m_nErrorRow; }
	DataObj* GetErrorField() const { return m_pErrorField; }
};

class DBTMaster : public DBTObject
{
	DECLARE_DYNAMIC(DBTMaster, DBTObject)
public:
	DBTMaster(CRuntimeClass* pRecordClass, CAbstractFormDoc* pDocument, const CString& strName);
	~DBTMaster() override;

	// Takes over a slave; it is read and saved with this record.
	BOOL Attach(DBTSlave* pSlave);
	int GetSlaveCount() const { return static_cast<int>(m_Slaves.size()); }
	DBTSlave* GetSlave(int i) const { return m_Slaves[static_cast<size_t>(i)].get(); }
	DBTSlave* GetDBTSlave(const CString& strName) const;

protected:
	friend class CAbstractFormDoc;

	// The query that lists the records browsing walks (and, by default, that a search
	// narrows): all columns in key order unless a document says otherwise.
	virtual void OnPrepareBrowser(SqlTable* pTable);
	virtual void OnPrepareFindQuery(SqlTable* pTable) { OnPrepareBrowser(pTable); }

	void Init() override;
	BOOL Read() override;
	BOOL PrepareAndCheck(BOOL bNew) override;
	void Write(BOOL bNew) override;
	void Delete() override;
	std::vector<SqlRecord*> GetRecords() const override;

	// The records the browse query (bFind: the search, narrowed by the findable fields the
	// user filled) lists, each as a copy; the record itself is left as it was.
	std::vector<std::unique_ptr<SqlRecord>> Search(BOOL bFind);
	// Locks the record read for editing: FALSE when another session holds it.
	BOOL Lock();
	void Unlock();

private:
	std::vector<std::unique_ptr<DBTSlave>> m_Slaves;
};
