#pragma once
// Readers find one row by key; updaters find one row (optionally locking it) and let the
// caller change, insert or delete it. Subclasses state their query in the hooks.
#include <memory>

#include "platform/plvgenlib/CBaseDocument.h"
#include "platform/plvoledb/SqlTable.h"

class LockRetriesMng;

class TableReader : public CObject
{
	DECLARE_DYNAMIC(TableReader, CObject)
public:
	enum FindResult
	{
		FOUND = 1,
		NOT_FOUND = 2,
		LOCKED = 3,
		FIND_ERROR = 4,
	};

	TableReader(CRuntimeClass* pRecordClass, CBaseDocument* pDocument = nullptr);
	~TableReader() override;

	// Runs no query when IsEmptyQuery; otherwise always reads the row again (another session
	// may have changed it), so SetForceQuery changes nothing. SQL errors reach the caller as
	// SqlException.
	virtual FindResult FindRecord();
	virtual void Free();

	SqlRecord* GetRecord() const { return m_pRecord.get(); }
	CBaseDocument* GetDocument() const { return m_pDocument; }
	void SetForceQuery(BOOL b = TRUE) { m_bForceQuery = b != FALSE; }
	void SetSqlSession(SqlSession* pSession);
	void SetAutocommit(BOOL b = TRUE);

protected:
	virtual void OnDefineQuery() = 0;
	virtual void OnPrepareQuery() = 0;
	virtual BOOL IsEmptyQuery() { return FALSE; }

	// Opens the cursor (defining the query once per opening), prepares and runs it.
	BOOL RunQuery(BOOL bUpdatable);
	SqlSession* ChooseSession(BOOL bUpdatable) const;

	std::unique_ptr<SqlRecord> m_pRecord;
	std::unique_ptr<SqlTable> m_pTable;
	CBaseDocument* m_pDocument;
	SqlSession* m_pSession = nullptr;
	BOOL m_bForceQuery = FALSE;
	BOOL m_bAutocommit = FALSE;
	BOOL m_bUpdatableCursor = FALSE;
	CString m_strLastKey;
	FindResult m_LastResult = NOT_FOUND;
};

class TableUpdater : public TableReader
{
	DECLARE_DYNAMIC(TableUpdater, TableReader)
public:
	TableUpdater(CRuntimeClass* pRecordClass, CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);

	// Found: the row is ready to change (and locked when asked; LOCKED when another session
	// holds it). Not found: a new record ready for insert.
	virtual FindResult FindRecord(BOOL bLock, LockRetriesMng* pRetries = nullptr);
	// Inserts the new record or writes the changed one.
	virtual BOOL UpdateRecord(BOOL bUnused = FALSE);
	virtual BOOL DeleteRecord();
	void Free() override;
	void UnlockAll();

protected:
	CMessages* m_pMessages;

private:
	using TableReader::FindRecord;
};
