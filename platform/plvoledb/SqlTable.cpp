#include "platform/plvoledb/SqlTable.h"

#include <algorithm>
#include <utility>

#include "platform/plvoledb/driver/Driver.h"
#include "platform/plvoledb/driver/LockRegistry.h"

namespace {
// Escapes the wildcards of a LIKE pattern's fixed part; the same on every backend.
constexpr char kLikeEscape = '!';
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
	// The pattern is the value as the column stores it (upper case, dates as yyyy-mm-dd).
	p.value->Assign(value);
	DataValue stored = p.value->GetDataValue();
	auto text = std::get_if<std::string>(&stored);
	// Its own "%", "_" and escape characters match only themselves.
	const std::string prefix = text ? *text : p.value->FormatData().str();
	std::string pattern;
	for (char c : prefix)
	{
		if (c == '%' || c == '_' || c == kLikeEscape)
			pattern += kLikeEscape;
		pattern += c;
	}
	p.likePattern = CString(pattern + "%");
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

SqlSession& SqlTable::Session() const
{
	Connection();  // fails without a database
	return *GetSqlSession();
}

DataValue SqlTable::Stored(const DataObj& obj) const
{
	return Connection().StoredValue(obj);
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
	m_bSqlValid = false;
	m_strInsertSql.Empty();
	m_strUpdateSql.Empty();
	m_strDeleteSql.Empty();
	// The record's bindings are fixed once it is built.
	m_Columns.clear();
	m_Objs.clear();
	for (int i = 0; i < m_pRecord->GetSize(); ++i)
	{
		m_Objs.push_back(m_pRecord->GetDataObjAt(i));
		if (!m_pRecord->IsLocal(i))
			m_Columns.push_back(i);
	}
	m_Keys.clear();
	for (auto& k : m_pRecord->GetPrimaryKey())
	{
		int i = m_pRecord->GetIndexFromColumnName(k);
		if (i >= 0)
			m_Keys.push_back(i);
	}
}

void SqlTable::Close()
{
	// Rows a batch insert added and not sent yet stay with the connection.
	m_pBulk.reset();
	m_pBulkDb = nullptr;
	ForgetPending();
	UnlockAll();
	KeepStatements();
	m_bOpen = false;
	m_bEmpty = m_bEOF = true;
	m_EditMode = EditMode::None;
}

void SqlTable::CheckOpen(const char* what) const
{
	if (!m_bOpen)
		throw SqlException(CString::Formatted("%s: tabella %s non aperta.", what, m_pRecord ? m_pRecord->GetTableName().GetString() : ""));
}

void SqlTable::CheckUpdatable(const char* what) const
{
	CheckOpen(what);
	if (!m_bUpdatable)
		throw SqlException(CString::Formatted("%s: tabella %s aperta in sola lettura.", what,
											  m_pRecord->GetTableName().GetString()));
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
	DefinitionChanged();
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
	DefinitionChanged();
}

void SqlTable::SelectSqlFun(LPCTSTR szExpression, DataObj& target)
{
	m_Funs.push_back({szExpression, &target});
	DefinitionChanged();
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
	CString name = Quoted(GetColumnName(column));
	SqlSession* pSession = GetSqlSession();
	SqlConnection* pConn = pSession ? pSession->GetSqlConnection() : nullptr;
	// On a server a date or number matches as its text.
	if (pConn && pConn->IsServer() && column.GetDataType() != DATA_STR_TYPE)
		name = "CAST(" + name + " AS text)";
	AppendFilter(name + " LIKE ? ESCAPE '" + CString(std::string(1, kLikeEscape)) + "'");
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

CString SqlTable::BuildSelectSql(std::vector<int>& read, bool& hasRowid) const
{
	read.clear();
	if (m_bSelectAll || (m_Selected.empty() && m_Funs.empty()))
		read = m_Columns;
	else
		read = m_Selected;
	bool isTable = m_pRecord->GetTableType() == SqlRecord::TABLE_TYPE;
	if (m_bUpdatable)
		for (int k : m_Keys)
			if (std::find(read.begin(), read.end(), k) == read.end())
				read.push_back(k);

	CString sql = "SELECT ";
	for (size_t n = 0; n < read.size(); ++n)
		sql += (n ? ", " : "") + Quoted(m_pRecord->GetItem(read[n])->m_strColumnName);
	for (size_t n = 0; n < m_Funs.size(); ++n)
		sql += (n || !read.empty() ? ", " : "") + m_Funs[n].expression;
	hasRowid = m_bUpdatable && m_Keys.empty() && isTable;
	if (hasRowid)
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
		if (m_Keys.empty())
			sql += " ORDER BY rowid";
		else
		{
			sql += " ORDER BY ";
			for (size_t n = 0; n < m_Keys.size(); ++n)
				sql += (n ? ", " : "") + Quoted(m_pRecord->GetItem(m_Keys[n])->m_strColumnName);
		}
	}
	return sql;
}

CString SqlTable::GetSelectSql() const
{
	std::vector<int> read;
	bool hasRowid = false;
	return BuildSelectSql(read, hasRowid);
}

const CString& SqlTable::SelectSql()
{
	// The texts are public: callers may have edited them since the last query.
	if (!m_bSqlValid || m_strSqlFilter != m_strFilter || m_strSqlSort != m_strSort || m_strSqlGroupBy != m_strGroupBy)
	{
		m_strSql = BuildSelectSql(m_Read, m_bHasRowid);
		m_nPlaceholders = CountPlaceholders(m_strSql);
		m_strSqlFilter = m_strFilter;
		m_strSqlSort = m_strSort;
		m_strSqlGroupBy = m_strGroupBy;
		m_bSqlValid = true;
	}
	return m_strSql;
}

void SqlTable::Keep(std::unique_ptr<plv::db::Statement>& slot)
{
	if (!slot)
		return;
	if (auto pool = m_pPool.lock())
		pool->Keep(std::move(slot));
	slot.reset();
}

void SqlTable::SendBatch()
{
	try
	{
		Session().Db().FlushBulkInserts();
	}
	catch (const std::exception& e)
	{
		Raise(e);
	}
}

void SqlTable::KeepStatements()
{
	for (auto* p : {&m_pSelect, &m_pInsert, &m_pUpdate, &m_pDelete, &m_pRowid})
		Keep(*p);
}

plv::db::Statement& SqlTable::Prepared(std::unique_ptr<plv::db::Statement>& slot, const CString& sql)
{
	// On a server another session may mean another handle: statements belong to theirs.
	plv::db::Connection& db = Session().Db();
	if (&db != m_pStatementsDb)
	{
		ForgetPending();
		KeepStatements();
		m_pStatementsDb = &db;
		m_pPool = db.Reusable();
	}
	if (!slot || slot->Sql() != sql.str())
	{
		// Closing and opening a cursor again, as the counters do for every value, costs no compilation.
		Keep(slot);
		slot = db.PrepareReused(sql.str());
	}
	else
		slot->Reset();
	return *slot;
}

void SqlTable::Query()
{
	CheckOpen("Query");
	m_EditMode = EditMode::None;
	ForgetPending();
	m_bEmpty = m_bEOF = true;
	try
	{
		const CString& sql = SelectSql();
		if (m_nPlaceholders != GetParamCount())
			throw SqlException(CString::Formatted("Tabella %s: %d parametri definiti per %d segnaposto.",
												  m_pRecord->GetTableName().GetString(), GetParamCount(), m_nPlaceholders));
		for (auto& p : m_Params)
			if (!p.isSet)
				throw SqlException(CString::Formatted("Parametro %s non valorizzato (tabella %s).", p.name.GetString(),
													  m_pRecord->GetTableName().GetString()));
		plv::db::Statement& st = Prepared(m_pSelect, sql);
		int n = 1;
		for (auto& p : m_Params)
			st.Bind(n++, p.isLike ? DataValue(p.likePattern.str()) : Stored(*p.value));
		for (auto& f : m_Funs)
			f.target->Clear();
		if (!st.Step())
		{
			st.Reset();  // let go of the read snapshot at once
			return;
		}
		m_bEmpty = m_bEOF = false;
		LoadRow([&st](int c) { return st.Column(c); });
		LookAhead();
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

template <class Get>
void SqlTable::LoadRow(Get column)
{
	int c = 0;
	for (int i : m_Read)
	{
		const DataValue& v = column(c++);
		DataObj* pObj = m_Objs[static_cast<size_t>(i)];
		if (std::holds_alternative<std::monostate>(v))
			pObj->Clear();
		else
			pObj->SetDataValue(v);
	}
	for (auto& f : m_Funs)
	{
		const DataValue& v = column(c++);
		if (std::holds_alternative<std::monostate>(v))
			f.target->Clear();  // an aggregate over no rows
		else
			f.target->SetDataValue(v);
	}
	if (m_bHasRowid)
	{
		const DataValue& v = column(c);
		auto p = std::get_if<std::int64_t>(&v);
		m_nCurrentRowid = p ? *p : 0;
	}
	const SqlConnection& conn = Connection();
	m_CurrentKey.resize(m_Keys.size());
	for (size_t k = 0; k < m_Keys.size(); ++k)
		m_CurrentKey[k] = conn.StoredValue(*m_Objs[static_cast<size_t>(m_Keys[k])]);
}

void SqlTable::LookAhead()
{
	m_bAhead = m_pSelect->Step();
	if (!m_bAhead)
	{
		m_pSelect->Reset();
		ForgetPending();
	}
	else if (!m_pPendingOn && !Connection().IsServer())  // a server's rows are read whole
	{
		m_pPendingOn = &Connection();
		m_pPendingOn->m_PendingCursors.push_back(this);
	}
}

void SqlTable::BufferPendingRows()
{
	if (m_bAhead && m_pSelect)
	{
		try
		{
			int n = m_pSelect->ColumnCount();
			do
			{
				std::vector<DataValue> row;
				row.reserve(n);
				for (int c = 0; c < n; ++c)
					row.push_back(m_pSelect->Column(c));
				m_Buffered.push_back(std::move(row));
			} while (m_pSelect->Step());
		}
		catch (const std::exception&)
		{
			// The rows read so far stay; the cursor ends with them.
		}
		m_pSelect->Reset();
		m_bAhead = false;
	}
	if (m_pPendingOn)
	{
		std::erase(m_pPendingOn->m_PendingCursors, this);
		m_pPendingOn = nullptr;
	}
}

void SqlTable::ForgetPending()
{
	m_Buffered.clear();
	m_nBuffered = 0;
	if (m_bAhead && m_pSelect)
		m_pSelect->Reset();
	m_bAhead = false;
	if (m_pPendingOn)
	{
		std::erase(m_pPendingOn->m_PendingCursors, this);
		m_pPendingOn = nullptr;
	}
}

void SqlTable::MoveNext()
{
	CheckOpen("MoveNext");
	if (m_bEOF)
		return;
	try
	{
		if (m_nBuffered < m_Buffered.size())
		{
			const std::vector<DataValue>& row = m_Buffered[m_nBuffered++];
			LoadRow([&row](int c) -> const DataValue& { return row[static_cast<size_t>(c)]; });
			if (m_nBuffered == m_Buffered.size())
			{
				m_Buffered.clear();
				m_nBuffered = 0;
			}
		}
		else if (m_bAhead)
		{
			plv::db::Statement& st = *m_pSelect;
			LoadRow([&st](int c) { return st.Column(c); });
			LookAhead();
		}
		else
			m_bEOF = true;
	}
	catch (const std::exception& e)
	{
		ForgetPending();
		m_bEOF = true;
		Raise(e);
	}
}

void SqlTable::AddNew(BOOL bInit)
{
	CheckUpdatable("AddNew");
	if (bInit)
		m_pRecord->Init();
	m_EditMode = EditMode::Adding;
}

void SqlTable::Edit()
{
	CheckUpdatable("Edit");
	if (m_bEmpty)
		throw SqlException(CString::Formatted("Tabella %s: nessuna riga corrente da modificare.", m_pRecord->GetTableName().GetString()));
	m_EditMode = EditMode::Editing;
}

void SqlTable::ReadInsertedRowid()
{
	plv::db::Statement& st =
		Prepared(m_pRowid, Connection().IsServer() ? "SELECT pg_catalog.lastval()" : "SELECT last_insert_rowid()");
	if (st.Step())
	{
		DataValue v = st.Column(0);
		if (auto p = std::get_if<std::int64_t>(&v))
			m_nCurrentRowid = *p;
	}
	st.Reset();
}

int SqlTable::Update(SqlRecord*, BOOL)
{
	CheckOpen("Update");
	if (m_EditMode == EditMode::None)
		throw SqlException(CString::Formatted("Tabella %s: Update senza AddNew o Edit.", m_pRecord->GetTableName().GetString()));
	m_pRecord->RefuseBrokenRules();
	AfxNoteDatabaseChange();
	try
	{
		SqlConnection& conn = Connection();
		SqlSession& session = *GetSqlSession();  // there is one: Connection() found it
		if (!conn.IsInTransaction())
			conn.ReleaseReadSnapshot();
		auto column = [&](int i) { return conn.StoredValue(*m_Objs[static_cast<size_t>(i)]); };
		int changed = 0;
		if (m_EditMode == EditMode::Adding)
		{
			if (m_strInsertSql.IsEmpty())
			{
				CString sql = "INSERT INTO " + Quoted(m_pRecord->GetTableName()) + " (", values;
				for (size_t n = 0; n < m_Columns.size(); ++n)
				{
					sql += (n ? ", " : "") + Quoted(m_pRecord->GetItem(m_Columns[n])->m_strColumnName);
					values += n ? ", ?" : "?";
				}
				m_strInsertSql = sql + ") VALUES (" + values + ")";
			}
			if (m_bBatchInsert && !m_Keys.empty() && session.IsInTransaction())
			{
				plv::db::Connection& db = session.Db();
				if (!m_pBulk || m_pBulkDb != &db)
				{
					std::vector<std::string> columns;
					for (int c : m_Columns)
						columns.push_back(Quoted(m_pRecord->GetItem(c)->m_strColumnName).str());
					m_pBulk = db.PrepareBulkInsert(Quoted(m_pRecord->GetTableName()).str(), columns);
					m_pBulkDb = &db;
				}
				// The row's values take the places of the last row's.
				m_BulkRow.resize(m_Columns.size());
				for (size_t n = 0; n < m_Columns.size(); ++n)
					m_BulkRow[n] = column(m_Columns[n]);
				m_pBulk->Add(m_BulkRow);
				changed = 1;
			}
			else
			{
				plv::db::Statement& st = Prepared(m_pInsert, m_strInsertSql);
				for (size_t n = 0; n < m_Columns.size(); ++n)
					st.Bind(static_cast<int>(n) + 1, column(m_Columns[n]));
				st.Step();
				changed = static_cast<int>(st.Changes());
				st.Reset();
				if (m_Keys.empty())
					ReadInsertedRowid();
			}
		}
		else
		{
			// Only the columns the cursor read: the others were never loaded into the record.
			const std::vector<int>& cols = m_bSqlValid && !m_Read.empty() ? m_Read : m_Columns;
			if (m_strUpdateSql.IsEmpty() || m_UpdateColumns != cols)
			{
				m_UpdateColumns = cols;
				CString sql = "UPDATE " + Quoted(m_pRecord->GetTableName()) + " SET ";
				for (size_t n = 0; n < cols.size(); ++n)
					sql += (n ? ", " : "") + Quoted(m_pRecord->GetItem(cols[n])->m_strColumnName) + " = ?";
				sql += " WHERE ";
				if (m_Keys.empty())
					sql += "rowid = ?";
				for (size_t n = 0; n < m_Keys.size(); ++n)
					sql += (n ? " AND " : "") + Quoted(m_pRecord->GetItem(m_Keys[n])->m_strColumnName) + " = ?";
				m_strUpdateSql = sql;
			}
			plv::db::Statement& st = Prepared(m_pUpdate, m_strUpdateSql);
			int b = 1;
			for (int c : cols)
				st.Bind(b++, column(c));
			if (m_Keys.empty())
				st.Bind(b++, m_nCurrentRowid);
			for (auto& k : m_CurrentKey)
				st.Bind(b++, k);
			st.Step();
			changed = static_cast<int>(st.Changes());
			st.Reset();
		}
		m_EditMode = EditMode::None;
		m_CurrentKey.resize(m_Keys.size());
		for (size_t k = 0; k < m_Keys.size(); ++k)
			m_CurrentKey[k] = column(m_Keys[k]);
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
	CheckUpdatable("Delete");
	if (m_bEmpty)
		throw SqlException(CString::Formatted("Tabella %s: nessuna riga corrente da cancellare.", m_pRecord->GetTableName().GetString()));
	AfxNoteDatabaseChange();
	try
	{
		SqlConnection& conn = Connection();
		if (!conn.IsInTransaction())
			conn.ReleaseReadSnapshot();
		if (m_strDeleteSql.IsEmpty())
		{
			CString sql = "DELETE FROM " + Quoted(m_pRecord->GetTableName()) + " WHERE ";
			if (m_Keys.empty())
				sql += "rowid = ?";
			for (size_t n = 0; n < m_Keys.size(); ++n)
				sql += (n ? " AND " : "") + Quoted(m_pRecord->GetItem(m_Keys[n])->m_strColumnName) + " = ?";
			m_strDeleteSql = sql;
		}
		plv::db::Statement& st = Prepared(m_pDelete, m_strDeleteSql);
		int b = 1;
		if (m_Keys.empty())
			st.Bind(b++, m_nCurrentRowid);
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
		key += DataValueText(k) + '\x1f';
	return CString(key);
}

BOOL SqlTable::LockCurrent(BOOL, LockRetriesMng*)
{
	CheckOpen("LockCurrent");
	if (m_bEmpty)
		return FALSE;
	SqlSession* pSession = GetSqlSession();
	SqlConnection& conn = Connection();
	CString key = CurrentKeyText();
	CString table = m_pRecord->GetTableName();
	auto& registry = plv::db::LockRegistry::Instance();
	if (!registry.TryLock(conn.GetDatabasePath().str(), table.str(), key.str(), pSession ? pSession->GetId() : 0))
		return FALSE;
	if (conn.IsServer() && pSession && !pSession->HoldsServerLock(table, key))
	{
		bool granted = false;
		try
		{
			granted = pSession->TryServerLock(table, key);
			if (granted && !LockRowInDatabase())
			{
				pSession->ReleaseServerLock(table, key);
				granted = false;
			}
		}
		catch (...)
		{
			registry.Unlock(conn.GetDatabasePath().str(), table.str(), key.str(), pSession->GetId());
			throw;
		}
		if (!granted)
		{
			registry.Unlock(conn.GetDatabasePath().str(), table.str(), key.str(), pSession->GetId());
			return FALSE;
		}
	}
	if (std::find(m_Locks.begin(), m_Locks.end(), key) == m_Locks.end())
		m_Locks.push_back(key);
	return TRUE;
}

BOOL SqlTable::LockRowInDatabase()
{
	// Only a table's own rows can be locked; a view's are locked by the lock above alone.
	if (m_pRecord->GetTableType() != SqlRecord::TABLE_TYPE)
		return TRUE;
	CString sql = "SELECT 1 FROM " + Quoted(m_pRecord->GetTableName()) + " WHERE ";
	std::vector<DataValue> values;
	if (m_Keys.empty())
	{
		sql += "rowid = ?";
		values.push_back(m_nCurrentRowid);
	}
	for (size_t n = 0; n < m_Keys.size(); ++n)
	{
		sql += (n ? " AND " : "") + Quoted(m_pRecord->GetItem(m_Keys[n])->m_strColumnName) + " = ?";
		values.push_back(m_CurrentKey[n]);
	}
	sql += " FOR UPDATE NOWAIT";
	// Only a probe: nobody else may hold or be writing the row now. Outside a transaction the
	// row lock ends with the statement; inside one, with the probe's savepoint rolled back, so
	// that it is released with the lock above and a refusal does not abort the transaction.
	try
	{
		Session().Db().Probe(sql.str(), values);
	}
	catch (const plv::db::DbError& e)
	{
		if (!e.IsBusy())
			Raise(e);
		return FALSE;
	}
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
	if (pSession)
		pSession->ReleaseServerLock(m_pRecord->GetTableName(), key);
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
		{
			pSession->ReleaseServerLock(m_pRecord->GetTableName(), key);
			plv::db::LockRegistry::Instance().Unlock(pConn->GetDatabasePath().str(), m_pRecord->GetTableName().str(),
													 key.str(), pSession->GetId());
		}
	m_Locks.clear();
}
