#include "platform/plvges/DBTObject.h"

#include <algorithm>
#include <map>
#include <set>

#include "platform/plvges/CAbstractFormDoc.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
CString Quoted(const CString& identifier)
{
	CString q = identifier;
	q.Replace("\"", "\"\"");
	return "\"" + q + "\"";
}

// The columns a row is found by: its key, or every column of a table without one.
std::vector<int> KeyPositions(const SqlRecord& rec)
{
	std::vector<int> pos;
	for (auto& k : rec.GetPrimaryKey())
	{
		int i = rec.GetIndexFromColumnName(k);
		if (i >= 0)
			pos.push_back(i);
	}
	if (pos.empty())
		for (int i = 0; i < rec.GetSize(); ++i)
			if (!rec.IsLocal(i))
				pos.push_back(i);
	return pos;
}

// A row's key values, to find rows by key without comparing each pair (grids of many rows).
using KeyValues = std::vector<DataValue>;
KeyValues KeyOf(const SqlRecord& rec, const std::vector<int>& key)
{
	KeyValues v;
	v.reserve(key.size());
	for (int k : key)
		v.push_back(rec.GetDataObjAt(k)->GetDataValue());
	return v;
}

CString WhereKey(const SqlRecord& rec, const std::vector<int>& key)
{
	CString where;
	for (size_t n = 0; n < key.size(); ++n)
		where += (n ? " AND " : " WHERE ") + Quoted(rec.GetItem(key[n])->m_strColumnName) + " = ?";
	return where;
}

std::unique_ptr<SqlRecord> NewRecord(CRuntimeClass* pClass)
{
	CObject* p = pClass ? pClass->CreateObject() : nullptr;
	SqlRecord* pRec = DynamicDownCast<SqlRecord>(p);
	if (!pRec)
		delete p;
	return std::unique_ptr<SqlRecord>(pRec);
}
}  // namespace

// ---- DBTObject -------------------------------------------------------------------------------

DBTObject::DBTObject(CRuntimeClass* pRecordClass, CAbstractFormDoc* pDocument, const CString& strName)
	: m_pRecord(NewRecord(pRecordClass)), m_pDocument(pDocument), m_strName(strName)
{
	if (!m_pRecord)
	{
		ASSERT_RELEASE_FAILED("pRecordClass", "DBTObject::DBTObject", "DBTObject");
		throw CInvalidArgException("DBTObject: " + strName + ": no record class.");
	}
}

DBTObject::~DBTObject() = default;

BOOL DBTObject::SetError(const CString& strError)
{
	m_strError = strError;
	return TRUE;
}

SqlSession* DBTObject::GetReadSession() const
{
	return m_pDocument ? m_pDocument->GetReadOnlySqlSession() : nullptr;
}

SqlSession& DBTObject::GetWriteSession() const
{
	SqlSession* pSession = m_pDocument ? m_pDocument->GetUpdatableSqlSession() : nullptr;
	SqlConnection* pConn = pSession ? pSession->GetSqlConnection() : m_pRecord->GetConnection();
	if (!pConn || !pConn->IsValid())
		throw SqlException("Nessuna connessione al database.");
	return pSession ? *pSession : *pConn->GetDefaultSqlSession();
}

void DBTObject::OpenQuery()
{
	if (m_pTable && m_pTable->IsOpen())
		return;
	m_pOwnedTable = std::make_unique<SqlTable>(m_pRecord.get(), GetReadSession(), m_pDocument);
	m_pOwnedTable->Open(FALSE, FALSE, TRUE);
	m_pTable = m_pOwnedTable.get();
	OnDefineQuery();
}

BOOL DBTObject::Read()
{
	OpenQuery();
	OnPrepareQuery();
	m_pTable->Query();
	if (m_pTable->IsEmpty())
	{
		m_pOldRecord.reset();
		return FALSE;
	}
	m_pOldRecord.reset(m_pRecord->Clone());
	return TRUE;
}

BOOL DBTObject::PrepareAndCheck(BOOL)
{
	ClearError();
	OnPreparePrimaryKey();
	return OnCheckPrimaryKey();
}

void DBTObject::Write(BOOL)
{
	SqlSession& conn = GetWriteSession();
	if (m_pOldRecord)
		UpdateRow(conn, *m_pRecord, *m_pOldRecord);
	else
		InsertRow(conn, *m_pRecord);
}

void DBTObject::Delete()
{
	if (m_pOldRecord)
		DeleteRow(GetWriteSession(), *m_pOldRecord);
}

void DBTObject::InsertRow(SqlSession& conn, const SqlRecord& rec)
{
	rec.RefuseBrokenRules();
	CString columns, marks;
	std::vector<const DataObj*> values;
	for (int i = 0; i < rec.GetSize(); ++i)
	{
		if (rec.IsLocal(i))
			continue;
		columns += (values.empty() ? "" : ", ") + Quoted(rec.GetItem(i)->m_strColumnName);
		marks += values.empty() ? "?" : ", ?";
		values.push_back(rec.GetDataObjAt(i));
	}
	conn.ExecuteSQL("INSERT INTO " + Quoted(rec.GetTableName()) + " (" + columns + ") VALUES (" + marks + ")", values);
}

void DBTObject::InsertRows(SqlSession& conn, const std::vector<SqlRecord*>& rows)
{
	if (rows.size() == 1)
	{
		InsertRow(conn, *rows.front());
		return;
	}
	// Within the least number of bound values any backend takes in one statement.
	constexpr size_t kMaxParams = 999;
	for (size_t from = 0; from < rows.size();)
	{
		const SqlRecord& first = *rows[from];
		CString columns, marks;
		size_t nColumns = 0;
		for (int i = 0; i < first.GetSize(); ++i)
		{
			if (first.IsLocal(i))
				continue;
			columns += (nColumns ? ", " : "") + Quoted(first.GetItem(i)->m_strColumnName);
			marks += nColumns ? ", ?" : "?";
			++nColumns;
		}
		const size_t nPerStatement = std::max<size_t>(1, kMaxParams / std::max<size_t>(1, nColumns));
		const size_t to = std::min(rows.size(), from + nPerStatement);
		CString sql = "INSERT INTO " + Quoted(first.GetTableName()) + " (" + columns + ") VALUES ";
		std::vector<const DataObj*> values;
		for (size_t r = from; r < to; ++r)
		{
			const SqlRecord& rec = *rows[r];
			rec.RefuseBrokenRules();
			for (int i = 0; i < rec.GetSize(); ++i)
				if (!rec.IsLocal(i))
					values.push_back(rec.GetDataObjAt(i));
			sql += (r == from ? "(" : ", (") + marks + ")";
		}
		conn.ExecuteSQL(sql, values);
		from = to;
	}
}

void DBTObject::UpdateRow(SqlSession& conn, const SqlRecord& rec, const SqlRecord& old)
{
	rec.RefuseBrokenRules();
	CString sets;
	std::vector<const DataObj*> values;
	for (int i = 0; i < rec.GetSize(); ++i)
	{
		if (rec.IsLocal(i))
			continue;
		sets += (values.empty() ? "" : ", ") + Quoted(rec.GetItem(i)->m_strColumnName) + " = ?";
		values.push_back(rec.GetDataObjAt(i));
	}
	std::vector<int> key = KeyPositions(old);
	for (int k : key)
		values.push_back(old.GetDataObjAt(k));
	if (conn.ExecuteSQL("UPDATE " + Quoted(rec.GetTableName()) + " SET " + sets + WhereKey(old, key), values) == 0)
		throw SqlException(CString::Formatted("La riga di %s non esiste piu'.", rec.GetTableName().GetString()));
}

void DBTObject::DeleteRow(SqlSession& conn, const SqlRecord& old)
{
	std::vector<int> key = KeyPositions(old);
	std::vector<const DataObj*> values;
	for (int k : key)
		values.push_back(old.GetDataObjAt(k));
	conn.ExecuteSQL("DELETE FROM " + Quoted(old.GetTableName()) + WhereKey(old, key), values);
}

BOOL DBTObject::SameKey(const SqlRecord& a, const SqlRecord& b)
{
	for (int k : KeyPositions(a))
		if (a.GetDataObjAt(k)->GetDataValue() != b.GetDataObjAt(k)->GetDataValue())
			return FALSE;
	return TRUE;
}

// ---- DBTSlave --------------------------------------------------------------------------------

DBTSlave::DBTSlave(CRuntimeClass* pRecordClass, CAbstractFormDoc* pDocument, const CString& strName)
	: DBTObject(pRecordClass, pDocument, strName)
{
}

// ---- DBTSlaveBuffered ------------------------------------------------------------------------

DBTSlaveBuffered::DBTSlaveBuffered(CRuntimeClass* pRecordClass, CAbstractFormDoc* pDocument, const CString& strName,
								   BOOL bAllowEmpty, BOOL bCheckDuplicateKey)
	: DBTSlave(pRecordClass, pDocument, strName), m_bAllowEmpty(bAllowEmpty), m_bCheckDuplicateKey(bCheckDuplicateKey)
{
}

DBTSlaveBuffered::~DBTSlaveBuffered() = default;

SqlRecord* DBTSlaveBuffered::GetRow(int nRow) const
{
	return nRow >= 0 && nRow < GetSize() ? m_Rows[static_cast<size_t>(nRow)].get() : nullptr;
}

SqlRecord* DBTSlaveBuffered::GetOldRow(int nRow) const
{
	return nRow >= 0 && nRow < GetOldSize() ? m_OldRows[static_cast<size_t>(nRow)].get() : nullptr;
}

SqlRecord* DBTSlaveBuffered::GetSavedRow(const SqlRecord* pRow) const
{
	auto it = pRow ? m_SavedOf.find(pRow) : m_SavedOf.end();
	return it == m_SavedOf.end() ? nullptr : it->second;
}

SqlRecord* DBTSlaveBuffered::GetSavedRow(int nRow) const
{
	return GetSavedRow(GetRow(nRow));
}

void DBTSlaveBuffered::SetCurrentRow(int nRow)
{
	m_nCurrentRow = nRow >= 0 && nRow < GetSize() ? nRow : -1;
}

std::unique_ptr<SqlRecord> DBTSlaveBuffered::NewRow() const
{
	std::unique_ptr<SqlRecord> pRow(m_pRecord->Create());
	if (!pRow)
		throw CInvalidArgException("DBTSlaveBuffered: " + m_strName + ": the record class cannot be created.");
	return pRow;
}

SqlRecord* DBTSlaveBuffered::AddRecord()
{
	return InsertRecord(GetSize());
}

SqlRecord* DBTSlaveBuffered::InsertRecord(int nRow)
{
	nRow = std::clamp(nRow, 0, GetSize());
	auto it = m_Rows.insert(m_Rows.begin() + nRow, NewRow());
	if (m_nCurrentRow >= nRow)
		++m_nCurrentRow;
	OnPrepareRow(nRow, it->get());
	return m_Rows[static_cast<size_t>(nRow)].get();
}

BOOL DBTSlaveBuffered::RemoveRecord(int nRow)
{
	if (nRow < 0 || nRow >= GetSize())
		return FALSE;
	m_SavedOf.erase(m_Rows[static_cast<size_t>(nRow)].get());
	m_Rows.erase(m_Rows.begin() + nRow);
	if (m_nCurrentRow > nRow || m_nCurrentRow >= GetSize())
		--m_nCurrentRow;
	return TRUE;
}

void DBTSlaveBuffered::RemoveAll(BOOL bAlsoOld)
{
	m_Rows.clear();
	m_SavedOf.clear();
	m_nCurrentRow = -1;
	if (bAlsoOld)
	{
		m_OldRows.clear();
		m_pOldRecord.reset();
	}
}

std::vector<SqlRecord*> DBTSlaveBuffered::GetRecords() const
{
	std::vector<SqlRecord*> all{m_pRecord.get()};
	for (auto& p : m_Rows)
		all.push_back(p.get());
	return all;
}

BOOL DBTSlaveBuffered::Read()
{
	RemoveAll(TRUE);
	OpenQuery();
	OnPrepareQuery();
	for (m_pTable->Query(); !m_pTable->IsEOF(); m_pTable->MoveNext())
	{
		std::unique_ptr<SqlRecord> pRow(m_pRecord->Clone());
		m_OldRows.emplace_back(m_pRecord->Clone());
		m_SavedOf[pRow.get()] = m_OldRows.back().get();
		OnPrepareAuxColumns(pRow.get());
		m_Rows.push_back(std::move(pRow));
	}
	m_pRecord->Init();
	m_nCurrentRow = m_Rows.empty() ? -1 : 0;
	return TRUE;
}

CString DBTSlaveBuffered::GetDuplicateKeyMsg(SqlRecord* pRec)
{
	return CString::Formatted(szDuplicatedKey, pRec->GetTableName().GetString());
}

BOOL DBTSlaveBuffered::PrepareAndCheck(BOOL)
{
	ClearError();
	m_nErrorRow = -1;
	m_pErrorField = nullptr;
	if (!m_bAllowEmpty && GetSize() == 0)
		return !SetError(CString::Formatted("Empty body in %s", m_pRecord->GetTableName().GetString()));
	const std::vector<int> key = KeyPositions(*m_pRecord);
	std::set<KeyValues> kept;
	for (int i = 0; i < GetSize(); ++i)
	{
		SqlRecord* pRow = GetRow(i);
		if (IsEmptyData(pRow))
			continue;
		OnPreparePrimaryKey(i, pRow);
		if (!OnCheckPrimaryKey(i, pRow))
		{
			m_nErrorRow = i;
			return FALSE;
		}
		KeyValues values = KeyOf(*pRow, key);
		if (m_bCheckDuplicateKey)
			if (DataObj* pPos = GetDuplicateKeyPos(pRow))
				if (kept.count(values))
				{
					m_nErrorRow = i;
					m_pErrorField = pPos;
					SetError(GetDuplicateKeyMsg(pRow));
					return FALSE;
				}
		kept.insert(std::move(values));
	}
	return TRUE;
}

void DBTSlaveBuffered::Write(BOOL)
{
	SqlSession& conn = GetWriteSession();
	std::vector<SqlRecord*> rows;
	for (int i = 0; i < GetSize(); ++i)
		if (!IsEmptyData(GetRow(i)))
		{
			OnPreparePrimaryKey(i, GetRow(i));
			rows.push_back(GetRow(i));
		}
	const std::vector<int> key = KeyPositions(*m_pRecord);
	std::set<KeyValues> current;
	for (SqlRecord* pRow : rows)
		current.insert(KeyOf(*pRow, key));
	// Deletions first: a row whose key changed may take the key another row had.
	std::map<KeyValues, const SqlRecord*> kept;
	for (auto& pOld : m_OldRows)
	{
		KeyValues values = KeyOf(*pOld, key);
		if (!current.count(values))
			DeleteRow(conn, *pOld);
		else
			kept.emplace(std::move(values), pOld.get());
	}
	// The new rows after the changed ones, many a statement.
	std::vector<SqlRecord*> added;
	for (SqlRecord* pRow : rows)
	{
		auto it = kept.find(KeyOf(*pRow, key));
		if (it == kept.end())
			added.push_back(pRow);
		else if (!pRow->IsEqual(*it->second))
			UpdateRow(conn, *pRow, *it->second);
	}
	if (!added.empty())
		InsertRows(conn, added);
}

void DBTSlaveBuffered::Delete()
{
	SqlSession& conn = GetWriteSession();
	for (auto& pOld : m_OldRows)
		DeleteRow(conn, *pOld);
}

// ---- DBTMaster -------------------------------------------------------------------------------

DBTMaster::DBTMaster(CRuntimeClass* pRecordClass, CAbstractFormDoc* pDocument, const CString& strName)
	: DBTObject(pRecordClass, pDocument, strName)
{
}

DBTMaster::~DBTMaster() = default;

BOOL DBTMaster::Attach(DBTSlave* pSlave)
{
	if (!pSlave)
		return FALSE;
	pSlave->m_pMaster = this;
	m_Slaves.emplace_back(pSlave);
	return TRUE;
}

DBTSlave* DBTMaster::GetDBTSlave(const CString& strName) const
{
	for (auto& p : m_Slaves)
		if (p->GetName() == strName)
			return p.get();
	return nullptr;
}

void DBTMaster::OnPrepareBrowser(SqlTable* pTable)
{
	pTable->SelectAll();
	for (auto& k : m_pRecord->GetPrimaryKey())
		pTable->AddSortColumn(k);
}

void DBTMaster::Init()
{
	DBTObject::Init();
	for (auto& p : m_Slaves)
		p->Init();
}

BOOL DBTMaster::Read()
{
	if (!DBTObject::Read())
		return FALSE;
	for (auto& p : m_Slaves)
		if (!p->Read())
			p->Init();
	return TRUE;
}

BOOL DBTMaster::PrepareAndCheck(BOOL bNew)
{
	ClearError();
	if (bNew)
		OnPreparePrimaryKey();
	if (!OnCheckPrimaryKey())
		return FALSE;
	for (auto& p : m_Slaves)
		if (!p->PrepareAndCheck(bNew))
			return FALSE;
	return TRUE;
}

void DBTMaster::Write(BOOL bNew)
{
	SqlSession& conn = GetWriteSession();
	if (bNew || !m_pOldRecord)
		InsertRow(conn, *m_pRecord);
	else
		UpdateRow(conn, *m_pRecord, *m_pOldRecord);
	for (auto& p : m_Slaves)
	{
		if (bNew)
			p->m_pOldRecord.reset();
		p->Write(bNew);
	}
}

void DBTMaster::Delete()
{
	for (auto& p : m_Slaves)
		p->Delete();
	DBTObject::Delete();
}

std::vector<SqlRecord*> DBTMaster::GetRecords() const
{
	std::vector<SqlRecord*> all{m_pRecord.get()};
	for (auto& p : m_Slaves)
		for (SqlRecord* r : p->GetRecords())
			all.push_back(r);
	return all;
}

std::vector<std::unique_ptr<SqlRecord>> DBTMaster::Search(BOOL bFind)
{
	// The hooks state the query on this record's own fields: read into it, then restore it.
	std::unique_ptr<SqlRecord> pSaved(m_pRecord->Clone());
	std::vector<std::unique_ptr<SqlRecord>> found;
	try
	{
		SqlTable table(m_pRecord.get(), GetReadSession(), m_pDocument);
		table.Open(FALSE, FALSE, TRUE);
		if (bFind)
		{
			OnPrepareFindQuery(&table);
			int n = 0;
			for (int i = 0; i < pSaved->GetSize(); ++i)
			{
				DataObj* pCriterion = pSaved->GetDataObjAt(i);
				if (pSaved->IsLocal(i) || !m_pRecord->GetDataObjAt(i)->IsFindable() || pCriterion->IsEmpty())
					continue;
				CString param = CString::Formatted("__find%d", n++);
				DataObj& column = *m_pRecord->GetDataObjAt(i);
				table.AddParam(param, column);
				// Texts are searched by their beginning, other values exactly.
				if (column.GetDataType() == DATA_STR_TYPE)
				{
					table.AddFilterLike(column);
					table.SetParamLike(param, *pCriterion);
				}
				else
				{
					table.AddFilterColumn(column);
					table.SetParamValue(param, *pCriterion);
				}
			}
		}
		else
			OnPrepareBrowser(&table);
		for (table.Query(); !table.IsEOF(); table.MoveNext())
			found.emplace_back(m_pRecord->Clone());
	}
	catch (...)
	{
		*m_pRecord = *pSaved;
		throw;
	}
	*m_pRecord = *pSaved;
	return found;
}

BOOL DBTMaster::Lock()
{
	return m_pTable && !m_pTable->IsEmpty() ? m_pTable->LockCurrent(FALSE) : TRUE;
}

void DBTMaster::Unlock()
{
	if (m_pTable)
		m_pTable->UnlockAll();
}
