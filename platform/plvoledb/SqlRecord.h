#pragma once
// A record binds a table's columns to data objects, in the table's column order, followed by
// local fields that carry form state and are never read or written.
#include <vector>

#include "platform/plvgeneric/Array.h"
#include "platform/plvgeneric/DataObj.h"

class SqlConnection;

class SqlRecordItem : public CObject
{
	DECLARE_DYNAMIC(SqlRecordItem, CObject)
public:
	SqlRecordItem(const CString& name, DataObj* pObj, BOOL bLocal, int nLength)
		: m_strColumnName(name), m_pDataObj(pObj), m_bLocal(bLocal), m_nLength(nLength)
	{
	}
	CString m_strColumnName;
	DataObj* m_pDataObj;  // the record's member, not owned
	BOOL m_bLocal;
	int m_nLength;
};

class SqlRecord : public Array
{
	DECLARE_DYNAMIC(SqlRecord, Array)
public:
	enum TableKind : short
	{
		TABLE_TYPE = 1,
		VIEW_TYPE = 2,
	};

	// pConnection null: the application's default connection.
	SqlRecord(LPCTSTR szTableName, SqlConnection* pConnection = nullptr, short nType = TABLE_TYPE, BOOL bUnused = FALSE);
	// Copies what describes the table (name, connection, key, indexes) and the bindings, moved
	// onto the copy's own members: a record's members all live inside the record, so a derived
	// record's implicit copy constructor yields a fully bound copy.
	SqlRecord(const SqlRecord& r);
	SqlRecord& operator=(const SqlRecord& r);
	~SqlRecord() override = default;

	// Bindings: a position is the record's current column count.
	void BindDataObj(int nPos, LPCTSTR szColumnName, DataObj& obj);
	void BindLocalDataObj(int nPos, LPCTSTR szName, DataObj& obj, int nLength = 0, BOOL bUnused = TRUE);
	void EndBindData(int nPos);
	virtual void BindRecord() {}

	// Every column and local field back to its default.
	virtual void Init();
	virtual BOOL IsEmpty() const;
	virtual BOOL IsEqual(const SqlRecord& r) const;
	BOOL operator==(const SqlRecord& r) const { return IsEqual(r); }
	BOOL operator!=(const SqlRecord& r) const { return !IsEqual(r); }
	// A new record of the same class, and one holding the same values.
	SqlRecord* Create() const;
	SqlRecord* Clone() const;

	// A row marked storable is written by its record buffer even when it holds no data.
	void SetStorable(BOOL bStorable = TRUE) { m_bStorable = bStorable != FALSE; }
	BOOL IsStorable() const { return m_bStorable; }

	virtual void SetConnection(SqlConnection* pConnection) { m_pConnection = pConnection; }
	// The connection the record reads and writes: its own or the default one.
	SqlConnection* GetConnection() const;
	virtual CString GetTableName() const { return m_strTableName; }
	short GetTableType() const { return m_nType; }

	// Columns and local fields, in bind order.
	int GetSizeEx() const { return GetSize(); }
	SqlRecordItem* GetItem(int i) const { return static_cast<SqlRecordItem*>(GetAt(i)); }
	DataObj* GetDataObjAt(int i) const { return GetItem(i)->m_pDataObj; }
	int GetColumnCount() const;  // table columns only
	virtual int GetIndexFromColumnName(LPCTSTR szName) const;
	virtual DataObj* GetDataObjFromColumnName(LPCTSTR szName) const;
	virtual CString GetColumnName(const DataObj* pObj) const;
	BOOL IsLocal(int i) const { return GetItem(i)->m_bLocal; }
	virtual int GetColumnLength(int i) const { return GetItem(i)->m_nLength; }
	// Why a column's value breaks the rule its binder declared (the first such column, named);
	// empty when every column keeps its rule. Writes refuse such a record.
	CString CheckFieldRules() const;
	// The same, thrown as the data-access layer's exception: a value its column does not take
	// is never written, whoever fed it (a form, a file, a batch).
	void RefuseBrokenRules() const;

	// The key the table is created with and rows are found and locked by, and further
	// indexes the table's readers need. Declared by each record once.
	void SetPrimaryKey(std::initializer_list<const char*> columns);
	void SetPrimaryKey(const std::vector<CString>& columns) { m_PrimaryKey = columns; }
	void AddIndex(std::initializer_list<const char*> columns);
	const std::vector<CString>& GetPrimaryKey() const { return m_PrimaryKey; }
	const std::vector<std::vector<CString>>& GetIndexes() const { return m_Indexes; }

private:
	CString m_strTableName;
	SqlConnection* m_pConnection;
	short m_nType;
	std::vector<CString> m_PrimaryKey;
	std::vector<std::vector<CString>> m_Indexes;
	bool m_bStorable = false;
};

// A record over a database view: read only, never created by the catalog.
class SqlRecordView : public SqlRecord
{
	DECLARE_DYNAMIC(SqlRecordView, SqlRecord)
public:
	explicit SqlRecordView(LPCTSTR szViewName, SqlConnection* pConnection = nullptr)
		: SqlRecord(szViewName, pConnection, VIEW_TYPE)
	{
	}
};

// States a record's columns once, in bind order: key columns, other columns, local fields.
//     RecordBinder b(*this);
//     b.Key("Esercizio", f_Esercizio);
//     b.Col("Descrizione", f_Descrizione);
//     BIND_LOCAL(b, "StatusBmp", l_StatusBmp, 0);
//     BIND_LOCAL_STR(b, "TmpInp", l_TmpInp, 1);
//     b.End();
class RecordBinder
{
public:
	explicit RecordBinder(SqlRecord& record) : m_Record(record) {}
	// A key column: joins the primary key in the order stated.
	RecordBinder& Key(LPCTSTR szColumn, DataObj& obj);
	RecordBinder& Col(LPCTSTR szColumn, DataObj& obj);
	// What the column bound last takes: a code or a text of at most nMaxChars characters, a
	// year. Typed input and every write of the record are checked against it.
	RecordBinder& Code(int nMaxChars, bool bRequired = false);
	RecordBinder& Text(int nMaxChars);
	RecordBinder& Year(bool bRequired = true);
	// A local field; the assertion text names the member and the type it must (not) have.
	RecordBinder& Local(LPCTSTR szName, DataObj& obj, int nLength, const char* assertText, bool mustBeString);
	void End();

private:
	RecordBinder& Rule(const FieldRule& rule);

	SqlRecord& m_Record;
	std::vector<const char*> m_Key;
};

#define BIND_LOCAL(binder, name, member, length) \
	(binder).Local(name, member, length, #member ".GetDataType() != WORD(1)", false)
#define BIND_LOCAL_STR(binder, name, member, length) \
	(binder).Local(name, member, length, #member ".GetDataType() == WORD(1)", true)
