#include "platform/plvges/TableReader.h"

#include "platform/plvnamesolver/ApplicationContext.h"

TableReader::TableReader(CRuntimeClass* pRecordClass, CBaseDocument* pDocument) : m_pDocument(pDocument)
{
	CObject* p = pRecordClass ? pRecordClass->CreateObject() : nullptr;
	m_pRecord.reset(DynamicDownCast<SqlRecord>(p));
	if (!m_pRecord)
	{
		delete p;
		ASSERT_RELEASE_FAILED("pRecordClass", "TableReader::TableReader", "TableReader");
	}
}

TableReader::~TableReader() = default;

void TableReader::Free()
{
	if (m_pTable)
		m_pTable->Close();
	m_pTable.reset();
	m_strLastKey.Empty();
}

void TableReader::SetSqlSession(SqlSession* pSession)
{
	m_pSession = pSession;
	Free();
}

void TableReader::SetAutocommit(BOOL b)
{
	m_bAutocommit = b;
	if (m_pTable)
		m_pTable->SetAutocommit(b);
}

SqlSession* TableReader::ChooseSession(BOOL bUpdatable) const
{
	if (m_pSession)
		return m_pSession;
	// A record on its own connection (another company's) reads that connection.
	SqlConnection* pRecConn = m_pRecord->GetConnection();
	if (m_pDocument && pRecConn == m_pDocument->GetSqlConnection())
		return bUpdatable ? m_pDocument->GetUpdatableSqlSession() : m_pDocument->GetReadOnlySqlSession();
	return pRecConn ? pRecConn->GetDefaultSqlSession() : nullptr;
}

BOOL TableReader::RunQuery(BOOL bUpdatable)
{
	if (!m_pTable || !m_pTable->IsOpen() || m_bUpdatableCursor != bUpdatable)
	{
		m_pTable = std::make_unique<SqlTable>(m_pRecord.get(), ChooseSession(bUpdatable), m_pDocument);
		m_pTable->Open(bUpdatable, FALSE, TRUE);
		m_pTable->SetAutocommit(m_bAutocommit);
		m_bUpdatableCursor = bUpdatable;
		m_strLastKey.Empty();
		OnDefineQuery();
	}
	OnPrepareQuery();
	m_pTable->Query();
	return !m_pTable->IsEmpty();
}

TableReader::FindResult TableReader::FindRecord()
{
	if (!m_pRecord)
		return FIND_ERROR;
	if (IsEmptyQuery())
	{
		m_pRecord->Init();
		m_strLastKey.Empty();
		return NOT_FOUND;
	}
	BOOL found = RunQuery(FALSE);
	if (!found)
		m_pRecord->Init();
	return m_LastResult = found ? FOUND : NOT_FOUND;
}

TableUpdater::TableUpdater(CRuntimeClass* pRecordClass, CBaseDocument* pDocument, CMessages* pMessages)
	: TableReader(pRecordClass, pDocument), m_pMessages(pMessages)
{
}

TableReader::FindResult TableUpdater::FindRecord(BOOL bLock, LockRetriesMng* pRetries)
{
	if (!m_pRecord)
		return FIND_ERROR;
	if (IsEmptyQuery())
	{
		Free();  // nothing to write: the row found before must not be updated or deleted
		m_pRecord->Init();
		return m_LastResult = NOT_FOUND;
	}
	if (m_pTable)
		m_pTable->UnlockAll();
	if (!RunQuery(TRUE))
	{
		m_pTable->AddNew(TRUE);
		return NOT_FOUND;
	}
	if (bLock && !m_pTable->LockCurrent(FALSE, pRetries))
		return LOCKED;
	m_pTable->Edit();
	return FOUND;
}

BOOL TableUpdater::UpdateRecord(BOOL)
{
	// Nothing to write after LOCKED, an empty query or a write already done.
	if (!m_pTable || !m_pTable->IsOpen() || !(m_pTable->IsAdding() || m_pTable->IsEditing()))
		return FALSE;
	m_pTable->Update();
	return TRUE;
}

BOOL TableUpdater::DeleteRecord()
{
	// Only the row found (and locked, when asked) by the last FindRecord.
	if (!m_pTable || !m_pTable->IsOpen() || !m_pTable->IsEditing())
		return FALSE;
	m_pTable->Delete();
	m_pTable->UnlockCurrent();
	return TRUE;
}

void TableUpdater::Free()
{
	UnlockAll();
	TableReader::Free();
}

void TableUpdater::UnlockAll()
{
	if (m_pTable)
		m_pTable->UnlockAll();
}
