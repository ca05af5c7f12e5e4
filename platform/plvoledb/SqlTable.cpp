#include "platform/plvoledb/SqlTable.h"

#include <algorithm>

#include "platform/plvoledb/driver/Driver.h"
#include "platform/plvoledb/driver/LockRegistry.h"

namespace {
CString Quoted(const CString& identifier)
{
	CString q = identifier;
	q.Replace("\"", "\"\"");
	return "\"" + q + "\"";
}

// Placeholders in a statement, not counting those inside string literals.
int CountPlaceholders(const CString& sql)
{
	int n = 0;
	bool inLiteral = false;
	for (char c : sql.str())
	{
		if (c == '\'')
			inLiteral = !inLiteral;
		else if (c == '?' && !inLiteral)
			++n;
	}
	return n;
}

CString WithoutLeadingAnd(CString text)
{
	text.Trim();
	if (text.Left(4).CompareNoCase("AND ") == 0 || text.Left(4).CompareNoCase("AND(") == 0)
		text = text.Mid(3).Trim();
	return text;
}

std::string KeyPart(const DataValue& v)
{
	if (auto p = std::get_if<std::string>(&v))
		return *p;
	if (auto p = std::get_if<std::int64_t>(&v))
		return std::to_string(*p);
	if (auto p = std::get_if<double>(&v))
		return CString::Formatted("%.17g", *p).str();
	return {};
}
}  // namespace

// ---- SqlRowSet -------------------------------------------------------------------------------

void SqlRowSet::AddParam(LPCTSTR szName, const DataObj& column, int)
{
	for (auto& p : m_Params)
		if (p.name.CompareNoCase(szName) == 0)
			throw SqlException(CString::Formatted("Parametro %s gia' definito.", szName));
	Param p;
	p.name = szName;
	p.value.reset(column.Clone());
	p.value->Clear();
	m_Params.push_back(std::move(p));
}

SqlRowSet::Param& SqlRowSet::FindParam(LPCTSTR szName)
{
	for (auto& p : m_Params)
		if (p.name.CompareNoCase(szName) == 0)
			return p;
	throw SqlException(CString::Formatted("Parametro %s non definito.", szName));
}

BOOL SqlRowSet::ExistParam(LPCTSTR szName) const
{
	for (auto& p : m_Params)
		if (p.name.CompareNoCase(szName) == 0)
			return TRUE;
	return FALSE;
}

void SqlRowSet::SetParamValue(LPCTSTR szName, const DataObj& value)
{
	Param& p = FindParam(szName);
	p.value->Assign(value);
	p.isLike = false;
	p.isSet = true;
}

void SqlRowSet::SetParamLike(LPCTSTR szName, const DataObj& value)
{
	Param& p = FindParam(szName);
	p.likePattern = value.FormatData() + "%";
	p.isLike = true;
	p.isSet = true;
}

// ---- SqlTable --------------------------------------------------------------------------------

SqlTable::SqlTable(SqlRecord* pRecord, SqlSession* pSession, CObject*) : m_pRecord(pRecord), m_pSession(pSession)
{
}

SqlTable::~SqlTable()
{
	Close();
}

SqlSession* SqlTable::GetSqlSession() const
{
	if (m_pSession)
		return m_pSession;
	SqlConnection* pConn = m_pRecord ? m_pRecord->GetConnection() : nullptr;
	return pConn ? pConn->GetDefaultSqlSession() : nullptr;
}

SqlConnection& SqlTable::Connection() const
{
	SqlSession* pSession = GetSqlSession();
	SqlConnection* pConn = pSession ? pSession->GetSqlConnection() : nullptr;
	if (!pConn || !pConn->IsValid())
		throw SqlException("Nessuna connessione al database.");
	return *pConn;
}

void SqlTable::Raise(const std::exception& e) const
{
	if (auto db = dynamic_cast<const plv::db::DbError*>(&e))
		throw SqlException(db->what(), db->Code(), db->IsBusy());
	throw SqlException(e.what());
}

void SqlTable::Open(BOOL bUpdatable, BOOL, BOOL)
{
	Close();
	if (!m_pRecord)
		throw SqlException("Tabella senza record.");
	Connection();  // fails early without a database
	m_bUpdatable = bUpdatable != FALSE;
	m_bOpen = true;
	// A new opening is a new definition.
	ClearParams();
	m_strFilter.Empty();
	m_strSort.Empty();
	m_strGroupBy.Empty();
	m_bSelectAll = false;
	m_Selected.clear();
	m_Funs.clear();
}

void SqlTable::Close()
{
	UnlockAll();
	m_pSelect.reset();
	m_pInsert.reset();
	m_pUpdate.reset();
	m_pDelete.reset();
	m_bOpen = false;
	m_bEmpty = m_bEOF = true;
	m_EditMode = EditMode::None;
}

void SqlTable::CheckOpen(const char* what) const
{
	if (!m_bOpen)
		throw SqlException(CString::Formatted("%s: tabella %s non aperta.", what, m_pRecord ? m_pRecord->GetTableName().GetString() : ""));
}

CString SqlTable::GetColumnName(const DataObj& column) const
{
	CString name = m_pRecord->GetColumnName(&column);
	if (name.IsEmpty())
		throw SqlException(CString::Formatted("Colonna non collegata al record della tabella %s.",
											  m_pRecord->GetTableName().GetString()));
	return name;
}

void SqlTable::SelectAll()
{
	m_bSelectAll = true;
}

void SqlTable::Select(const DataObj& column)
{
	Select(GetColumnName(column));
}

void SqlTable::Select(LPCTSTR szColumn)
{
	int i = m_pRecord->GetIndexFromColumnName(szColumn);
	if (i < 0 || m_pRecord->IsLocal(i))
		throw SqlException(CString::Formatted("Colonna %s inesistente nella tabella %s.", szColumn,
											  m_pRecord->GetTableName().GetString()));
	m_Selected.push_back(i);
}

void SqlTable::SelectSqlFun(LPCTSTR szExpression, DataObj& target)
{
	m_Funs.push_back({szExpression, &target});
}

void SqlTable::AppendFilter(const CString& condition)
{
	if (!WithoutLeadingAnd(m_strFilter).IsEmpty())
		m_strFilter += " AND ";
	m_strFilter += condition;
}

void SqlTable::AddFilterColumn(const DataObj& column, LPCTSTR szOperator)
{
	AddFilterColumn(GetColumnName(column), szOperator);
}

void SqlTable::AddFilterColumn(LPCTSTR szColumn, LPCTSTR szOperator)
{
	CString op = szOperator && *szOperator ? szOperator : "=";
	AppendFilter(Quoted(szColumn) + " " + op + " ?");
}

void SqlTable::AddFilterLike(const DataObj& column)
{
	AppendFilter(Quoted(GetColumnName(column)) + " LIKE ?");
}

void SqlTable::AddBetweenColumn(const DataObj& column)
{
	AppendFilter(Quoted(GetColumnName(column)) + " BETWEEN ? AND ?");
}

void SqlTable::AddSortColumn(const DataObj& column, BOOL bDescending)
{
	AddSortColumn(GetColumnName(column), bDescending);
}

void SqlTable::AddSortColumn(LPCTSTR szColumn, BOOL bDescending)
{
	if (!m_strSort.IsEmpty())
		m_strSort += ", ";
	m_strSort += Quoted(szColumn) + (bDescending ? " DESC" : "");
}

void SqlTable::AddGroupByColumn(const DataObj& column)
{
	if (!m_strGroupBy.IsEmpty())
		m_strGroupBy += ", ";
	m_strGroupBy += Quoted(GetColumnName(column));
}

std::vector<int> SqlTable::KeyColumns() const
{
	std::vector<int> keys;
	for (auto& k : m_pRecord->GetPrimaryKey())
	{
		int i = m_pRecord->GetIndexFromColumnName(k);
		if (i >= 0)
			keys.push_back(i);
	}
	return keys;
}

CString SqlTable::GetSelectSql() const
{
	auto& self = const_cast<SqlTable&>(*this);
	self.m_Read.clear();
	if (m_bSelectAll || (m_Selected.empty() && m_Funs.empty()))
	{
		for (int i = 0; i < m_pRecord->GetSize(); ++i)
			if (!m_pRecord->IsLocal(i))
				self.m_Read.push_back(i);
	}
	else
		self.m_Read = m_Selected;
	bool isTable = m_pRecord->GetTableType() == SqlRecord::TABLE_TYPE;
	auto keys = KeyColumns();
	if (m_bUpdatable)
		for (int k : keys)
			if (std::find(m_Read.begin(), m_Read.end(), k) == m_Read.end())
				self.m_Read.push_back(k);

	CString sql = "SELECT ";
	for (size_t n = 0; n < m_Read.size(); ++n)
		sql += (n ? ", " : "") + Quoted(m_pRecord->GetItem(m_Read[n])->m_strColumnName);
	for (size_t n = 0; n < m_Funs.size(); ++n)
		sql += (n || !m_Read.empty() ? ", " : "") + m_Funs[n].expression;
	self.m_bHasRowid = m_bUpdatable && keys.empty() && isTable;
	if (m_bHasRowid)
		sql += ", rowid";
	sql += " FROM " + Quoted(m_pRecord->GetTableName());
	CString filter = WithoutLeadingAnd(m_strFilter);
	if (!filter.IsEmpty())
		sql += " WHERE " + filter;
	if (!m_strGroupBy.IsEmpty())
		sql += " GROUP BY " + m_strGroupBy;
	if (!m_strSort.IsEmpty())
		sql += " ORDER BY " + m_strSort;
	else if (!m_strGroupBy.IsEmpty())
		sql += " ORDER BY " + m_strGroupBy;
	else if (m_Funs.empty() && isTable)
	{
		// "The first row found" must not depend on the database's whims.
		if (keys.empty())
			sql += " ORDER BY rowid";
		else
		{
			sql += " ORDER BY ";
			for (size_t n = 0; n < keys.size(); ++n)
				sql += (n ? ", " : "") + Quoted(m_pRecord->GetItem(keys[n])->m_strColumnName);
		}
	}
	return sql;
}

plv::db::Statement& SqlTable::Prepared(std::unique_ptr<plv::db::Statement>& slot, const CString& sql)
{
	if (!slot || slot->Sql() != sql.str())
		slot = Connection().Db().Prepare(sql.str());
	else
		slot->Reset();
	return *slot;
}

void SqlTable::Query()
{
	CheckOpen("Query");
	m_EditMode = EditMode::None;
	try
	{
		CString sql = GetSelectSql();
		int placeholders = CountPlaceholders(sql);
		if (placeholders != GetParamCount())
			throw SqlException(CString::Formatted("Tabella %s: %d parametri definiti per %d segnaposto.",
												  m_pRecord->GetTableName().GetString(), GetParamCount(), placeholders));
		plv::db::Statement& st = Prepared(m_pSelect, sql);
		int n = 1;
		for (auto& p : m_Params)
		{
			if (!p.isSet)
				throw SqlException(CString::Formatted("Parametro %s non valorizzato (tabella %s).", p.name.GetString(),
													  m_pRecord->GetTableName().GetString()));
			st.Bind(n++, p.isLike ? DataValue(p.likePattern.str()) : p.value->GetDataValue());
		}
		for (auto& f : m_Funs)
			f.target->Clear();
		bool row = st.Step();
		m_bEmpty = m_bEOF = !row;
		if (row)
			ReadRow();
		else
			st.Reset();  // let go of the read snapshot at once
	}
	catch (const SqlException&)
	{
		throw;
	}
	catch (const std::exception& e)
	{
		Raise(e);
	}
}

void SqlTable::ReadRow()
{
	plv::db::Statement& st = *m_pSelect;
	int c = 0;
	for (int i : m_Read)
	{
		DataValue v = st.Column(c++);
		DataObj* pObj = m_pRecord->GetDataObjAt(i);
		if (std::holds_alternative<std::monostate>(v))
			pObj->Clear();
		else
			pObj->SetDataValue(v);
	}
	for (auto& f : m_Funs)
	{
		DataValue v = st.Column(c++);
		if (std::holds_alternative<std::monostate>(v))
			f.target->Clear();  // an aggregate over no rows
		else
			f.target->SetDataValue(v);
	}
	if (m_bHasRowid)
		m_nCurrentRowid = std::get<std::int64_t>(st.Column(c));
	m_CurrentKey.clear();
	for (int k : KeyColumns())
		m_CurrentKey.push_back(m_pRecord->GetDataObjAt(k)->GetDataValue());
}

void SqlTable::MoveNext()
{
	CheckOpen("MoveNext");
	if (m_bEOF || !m_pSelect)
		return;
	try
	{
		if (m_pSelect->Step())
			ReadRow();
		else
		{
			m_bEOF = true;
			m_pSelect->Reset();
		}
	}
	catch (const std::exception& e)
	{
		Raise(e);
	}
}

void SqlTable::AddNew(BOOL bInit)
{
	CheckOpen("AddNew");
	if (!m_bUpdatable)
		throw SqlException(CString::Formatted("Tabella %s aperta in sola lettura.", m_pRecord->GetTableName().GetString()));
	if (bInit)
		m_pRecord->Init();
	m_EditMode = EditMode::Adding;
}

void SqlTable::Edit()
{
	CheckOpen("Edit");
	if (!m_bUpdatable)
		throw SqlException(CString::Formatted("Tabella %s aperta in sola lettura.", m_pRecord->GetTableName().GetString()));
	if (m_bEmpty)
		throw SqlException(CString::Formatted("Tabella %s: nessuna riga corrente da modificare.", m_pRecord->GetTableName().GetString()));
	m_EditMode = EditMode::Editing;
}

int SqlTable::Update(SqlRecord*, BOOL)
{
	CheckOpen("Update");
	if (m_EditMode == EditMode::None)
		throw SqlException(CString::Formatted("Tabella %s: Update senza AddNew o Edit.", m_pRecord->GetTableName().GetString()));
	try
	{
		std::vector<int> cols;
		for (int i = 0; i < m_pRecord->GetSize(); ++i)
			if (!m_pRecord->IsLocal(i))
				cols.push_back(i);
		CString table = Quoted(m_pRecord->GetTableName());
		int changed = 0;
		if (m_EditMode == EditMode::Adding)
		{
			CString sql = "INSERT INTO " + table + " (", values;
			for (size_t n = 0; n < cols.size(); ++n)
			{
				sql += (n ? ", " : "") + Quoted(m_pRecord->GetItem(cols[n])->m_strColumnName);
				values += n ? ", ?" : "?";
			}
			plv::db::Statement& st = Prepared(m_pInsert, sql + ") VALUES (" + values + ")");
			for (size_t n = 0; n < cols.size(); ++n)
				st.Bind(static_cast<int>(n) + 1, m_pRecord->GetDataObjAt(cols[n])->GetDataValue());
			st.Step();
			changed = static_cast<int>(st.Changes());
			st.Reset();
		}
		else
		{
			auto keys = KeyColumns();
			CString sql = "UPDATE " + table + " SET ";
			for (size_t n = 0; n < cols.size(); ++n)
				sql += (n ? ", " : "") + Quoted(m_pRecord->GetItem(cols[n])->m_strColumnName) + " = ?";
			sql += " WHERE ";
			if (keys.empty())
				sql += "rowid = ?";
			for (size_t n = 0; n < keys.size(); ++n)
				sql += (n ? " AND " : "") + Quoted(m_pRecord->GetItem(keys[n])->m_strColumnName) + " = ?";
			plv::db::Statement& st = Prepared(m_pUpdate, sql);
			int b = 1;
			for (int c : cols)
				st.Bind(b++, m_pRecord->GetDataObjAt(c)->GetDataValue());
			if (keys.empty())
				st.Bind(b++, m_nCurrentRowid);
			for (auto& k : m_CurrentKey)
				st.Bind(b++, k);
			st.Step();
			changed = static_cast<int>(st.Changes());
			st.Reset();
		}
		m_EditMode = EditMode::None;
		m_CurrentKey.clear();
		for (int k : KeyColumns())
			m_CurrentKey.push_back(m_pRecord->GetDataObjAt(k)->GetDataValue());
		m_bEmpty = false;
		return changed;
	}
	catch (const SqlException&)
	{
		throw;
	}
	catch (const std::exception& e)
	{
		Raise(e);
	}
}

void SqlTable::Delete()
{
	CheckOpen("Delete");
	if (m_bEmpty)
		throw SqlException(CString::Formatted("Tabella %s: nessuna riga corrente da cancellare.", m_pRecord->GetTableName().GetString()));
	try
	{
		auto keys = KeyColumns();
		CString sql = "DELETE FROM " + Quoted(m_pRecord->GetTableName()) + " WHERE ";
		if (keys.empty())
			sql += "rowid = ?";
		for (size_t n = 0; n < keys.size(); ++n)
			sql += (n ? " AND " : "") + Quoted(m_pRecord->GetItem(keys[n])->m_strColumnName) + " = ?";
		plv::db::Statement& st = Prepared(m_pDelete, sql);
		if (keys.empty())
			st.Bind(1, m_nCurrentRowid);
		int b = 1;
		for (auto& k : m_CurrentKey)
			st.Bind(b++, k);
		st.Step();
		st.Reset();
		m_EditMode = EditMode::None;
	}
	catch (const std::exception& e)
	{
		Raise(e);
	}
}

CString SqlTable::CurrentKeyText() const
{
	std::string key;
	if (m_CurrentKey.empty())
		key = std::to_string(m_nCurrentRowid);
	for (auto& k : m_CurrentKey)
		key += KeyPart(k) + '\x1f';
	return CString(key);
}

BOOL SqlTable::LockCurrent(BOOL, LockRetriesMng*)
{
	CheckOpen("LockCurrent");
	if (m_bEmpty)
		return FALSE;
	SqlSession* pSession = GetSqlSession();
	CString key = CurrentKeyText();
	if (!plv::db::LockRegistry::Instance().TryLock(Connection().GetDatabasePath().str(), m_pRecord->GetTableName().str(),
												   key.str(), pSession ? pSession->GetId() : 0))
		return FALSE;
	if (std::find(m_Locks.begin(), m_Locks.end(), key) == m_Locks.end())
		m_Locks.push_back(key);
	return TRUE;
}

void SqlTable::UnlockCurrent()
{
	if (m_bEmpty || !m_pRecord)
		return;
	CString key = CurrentKeyText();
	auto it = std::find(m_Locks.begin(), m_Locks.end(), key);
	if (it == m_Locks.end())
		return;
	SqlSession* pSession = GetSqlSession();
	plv::db::LockRegistry::Instance().Unlock(Connection().GetDatabasePath().str(), m_pRecord->GetTableName().str(),
											 key.str(), pSession ? pSession->GetId() : 0);
	m_Locks.erase(it);
}

void SqlTable::UnlockAll()
{
	if (m_Locks.empty())
		return;
	SqlSession* pSession = GetSqlSession();
	SqlConnection* pConn = pSession ? pSession->GetSqlConnection() : nullptr;
	if (pConn && pConn->IsValid())
		for (auto& key : m_Locks)
			plv::db::LockRegistry::Instance().Unlock(pConn->GetDatabasePath().str(), m_pRecord->GetTableName().str(),
													 key.str(), pSession->GetId());
	m_Locks.clear();
}
