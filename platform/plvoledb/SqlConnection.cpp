#include "platform/plvoledb/SqlConnection.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <mutex>
#include <utility>

#include "platform/plvgeneric/Interaction.h"
#include "platform/plvoledb/SchemaCheck.h"
#include "platform/plvoledb/SqlRecord.h"
#include "platform/plvoledb/SqlTable.h"
#include "platform/plvoledb/driver/ConnectionString.h"
#include "platform/plvoledb/driver/LockRegistry.h"
#include "platform/plvoledb/driver/Postgres.h"
#include "platform/plvoledb/driver/Sqlite.h"

namespace {
std::atomic<std::uint64_t> g_NextSessionId{1};
std::atomic<SqlConnection*> g_pDefaultConnection{nullptr};

SqlException FromDbError(const plv::db::DbError& e)
{
	return SqlException(e.what(), e.Code(), e.IsBusy());
}

CString SavepointName(int depth)
{
	return CString::Formatted("plv_sp%d", depth);
}

CString ColumnType(const DataObj& obj, bool bServer)
{
	if (bServer)
	{
		// As SQL Server keeps them: 32-bit integers (enumerations too), doubles for money,
		// dates without time of day unless the object carries one.
		switch (obj.GetDataType())
		{
		case DATA_STR_TYPE: return CString(plv::db::PostgresTextType()) + " NOT NULL DEFAULT ''";
		case DATA_DATE_TYPE:
		{
			auto pDate = dynamic_cast<const DataDate*>(&obj);
			return pDate && pDate->IsFullDate() ? "timestamp(0) NOT NULL DEFAULT '1799-12-31 00:00:00'"
												: "date NOT NULL DEFAULT '1799-12-31'";
		}
		case DATA_DBL_TYPE:
		case DATA_MON_TYPE:
		case DATA_QTY_TYPE:
		case DATA_PERC_TYPE: return "double precision NOT NULL DEFAULT 0";
		case DATA_LNG_TYPE: return "bigint NOT NULL DEFAULT 0";  // the data object holds 64 bits
		case DATA_BOOL_TYPE: return "smallint NOT NULL DEFAULT 0";
		default: return "integer NOT NULL DEFAULT 0";
		}
	}
	switch (obj.GetDataType())
	{
	case DATA_STR_TYPE: return "TEXT COLLATE NOCASE NOT NULL DEFAULT ''";
	case DATA_DATE_TYPE: return "TEXT NOT NULL DEFAULT '1799-12-31'";
	case DATA_DBL_TYPE:
	case DATA_MON_TYPE:
	case DATA_QTY_TYPE:
	case DATA_PERC_TYPE: return "REAL NOT NULL DEFAULT 0";
	default: return "INTEGER NOT NULL DEFAULT 0";
	}
}

// Server row locks are advisory locks keyed by the folded table and key texts: every session
// of the server that asks for the row's lock sees it, and each lock is released on its own.
std::int64_t LockKeyPart(const CString& text)
{
	std::uint32_t hash = 2166136261u;  // FNV-1a
	for (char c : text.str())
	{
		if (c >= 'A' && c <= 'Z')
			c = static_cast<char>(c - 'A' + 'a');
		hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
	}
	return static_cast<std::int32_t>(hash);
}

CString Quoted(const CString& identifier)
{
	CString q = identifier;
	q.Replace("\"", "\"\"");
	return "\"" + q + "\"";
}

std::unique_ptr<SqlRecord> CreateRecord(CRuntimeClass* pClass)
{
	CObject* p = pClass ? pClass->CreateObject() : nullptr;
	SqlRecord* pRec = DynamicDownCast<SqlRecord>(p);
	if (!pRec)
		delete p;
	return std::unique_ptr<SqlRecord>(pRec);
}

const char* const kReleaseTable = "Plv_DatabaseRelease";
}  // namespace

// ---- SqlSession ------------------------------------------------------------------------------

SqlSession::SqlSession(SqlConnection* pConnection, BOOL bUpdatable, CPLVContext* pContext)
	: m_pConnection(pConnection), m_pContext(pContext), m_nId(g_NextSessionId++), m_bUpdatable(bUpdatable != FALSE)
{
}

SqlSession::~SqlSession()
{
	UnlockAll();
}

void SqlSession::UnlockAll()
{
	if (!m_pConnection || !m_pConnection->IsValid())
		return;
	auto held = std::move(m_ServerLocks);
	m_ServerLocks.clear();
	for (auto& [table, key] : held)
		m_pConnection->ServerLock(CString(table), CString(key), false);
	plv::db::LockRegistry::Instance().UnlockAll(m_nId, m_pConnection->GetDatabasePath().str());
}

plv::db::Connection& SqlSession::Db() const
{
	if (!m_pConnection)
		throw SqlException("Connessione al database non valida.");
	return m_pContext ? m_pContext->Db() : m_pConnection->Db();
}

BOOL SqlSession::IsInTransaction() const
{
	if (!m_pConnection || !m_pConnection->IsValid())
		return FALSE;
	if (!m_pConnection->IsServer())
		return m_pConnection->IsInTransaction();
	return Db().InTransaction();
}

long SqlSession::ExecuteSQL(LPCTSTR sql, const std::vector<const DataObj*>& params)
{
	AfxNoteDatabaseChange();
	if (!m_pConnection)
		throw SqlException("Connessione al database non valida.");
	if (!m_pConnection->IsServer())
		return m_pConnection->ExecuteSQL(sql, params);
	try
	{
		std::vector<plv::db::Value> values;
		values.reserve(params.size());
		for (const DataObj* p : params)
			values.push_back(m_pConnection->StoredValue(*p));
		return static_cast<long>(Db().Execute(sql, values));
	}
	catch (const plv::db::DbError& e)
	{
		throw FromDbError(e);
	}
}

void SqlSession::SendSQL(LPCTSTR sql, const std::vector<const DataObj*>& params)
{
	if (!m_pConnection)
		throw SqlException("Connessione al database non valida.");
	try
	{
		if (!m_pConnection->IsServer() && m_pConnection->GetTransactionDepth() == 0)
			m_pConnection->ReleaseReadSnapshot();
		plv::db::Connection& db = Db();
		std::unique_ptr<plv::db::Statement> st = db.PrepareReused(sql);
		for (size_t i = 0; i < params.size(); ++i)
			st->Bind(static_cast<int>(i) + 1, m_pConnection->StoredValue(*params[i]));
		st->Send();
		if (auto pool = db.Reusable().lock())
			pool->Keep(std::move(st));
	}
	catch (const plv::db::DbError& e)
	{
		throw FromDbError(e);
	}
}

BOOL SqlSession::TryServerLock(const CString& table, const CString& key)
{
	if (HoldsServerLock(table, key))
		return TRUE;
	if (!m_pConnection->ServerLock(table, key, true))
		return FALSE;
	m_ServerLocks.emplace(table.str(), key.str());
	return TRUE;
}

void SqlSession::ReleaseServerLock(const CString& table, const CString& key)
{
	if (m_ServerLocks.erase({table.str(), key.str()}))
		m_pConnection->ServerLock(table, key, false);
}

BOOL SqlSession::HoldsServerLock(const CString& table, const CString& key) const
{
	return m_ServerLocks.count({table.str(), key.str()}) > 0;
}

// ---- SqlConnection ---------------------------------------------------------------------------

std::unique_ptr<SqlConnection> SqlConnection::Open(const CString& target, OpenMode mode)
{
	try
	{
		if (IsServerTarget(target))
			return std::make_unique<SqlConnection>(plv::db::OpenPostgres(target.str()), target.str());
		auto db = plv::db::OpenSqlite(target.str(), mode == CREATE_IF_MISSING ? plv::db::OpenMode::CreateIfMissing
																				: plv::db::OpenMode::OpenExisting);
		return std::make_unique<SqlConnection>(std::move(db));
	}
	catch (const plv::db::DbError& e)
	{
		throw FromDbError(e);
	}
}

BOOL SqlConnection::IsServerTarget(const CString& target)
{
	return plv::db::IsPostgresTarget(target.str());
}

SqlConnection::SqlConnection(std::unique_ptr<plv::db::Connection> db, std::string serverTarget)
	: m_pDb(std::move(db)),
	  m_bServer(m_pDb && m_pDb->BackendName() == "postgresql"),
	  m_strServerTarget(std::move(serverTarget)),
	  m_pDefaultSession(std::make_unique<SqlSession>(this, TRUE))
{
	m_pDefaultSession->SetAutocommit(TRUE);
}

namespace {
// What a live SqlSchemaCheck read of a connection's schema, with the changes made since.
struct SchemaRead
{
	int nChecks = 0;
	std::unique_ptr<plv::db::Schema> pTables;  // null when it could not be read at once
	bool bReleasesRead = false;
	std::map<CString, int> releases;  // by upper-case library name
};
std::mutex g_SchemaMutex;
std::map<const SqlConnection*, SchemaRead> g_Schemas;

SchemaRead* SchemaOf(const SqlConnection* pConnection)
{
	std::lock_guard lock(g_SchemaMutex);
	auto it = g_Schemas.find(pConnection);
	return it == g_Schemas.end() || !it->second.pTables ? nullptr : &it->second;
}

std::string SchemaKey(const CString& table)
{
	std::string key = table.str();
	for (char& c : key)
		if (c >= 'A' && c <= 'Z')
			c = static_cast<char>(c - 'A' + 'a');
	return key;
}
}  // namespace

SqlSchemaCheck::SqlSchemaCheck(SqlConnection* pConnection) : m_pConnection(pConnection)
{
	if (!m_pConnection || !m_pConnection->IsValid())
	{
		m_pConnection = nullptr;
		return;
	}
	{
		std::lock_guard lock(g_SchemaMutex);
		if (g_Schemas[m_pConnection].nChecks++ > 0)
			return;
	}
	std::unique_ptr<plv::db::Schema> pTables;
	try
	{
		pTables = std::make_unique<plv::db::Schema>(m_pConnection->Db().ReadSchema());
	}
	catch (const plv::db::DbError&)
	{
		// Not readable at once (a view over a missing table, say): asked table by table.
	}
	std::lock_guard lock(g_SchemaMutex);
	g_Schemas[m_pConnection].pTables = std::move(pTables);
}

SqlSchemaCheck::~SqlSchemaCheck()
{
	if (!m_pConnection)
		return;
	std::lock_guard lock(g_SchemaMutex);
	auto it = g_Schemas.find(m_pConnection);
	if (it != g_Schemas.end() && --it->second.nChecks == 0)
		g_Schemas.erase(it);
}

SqlConnection::~SqlConnection()
{
	for (SqlTable* pTable : m_PendingCursors)
		pTable->m_pPendingOn = nullptr;
	m_pDefaultSession.reset();
	if (m_pDb && m_pDb->InTransaction())
		m_pDb->Rollback();  // never commit half a document's work on the way out
	if (g_pDefaultConnection.load() == this)
		g_pDefaultConnection = nullptr;
}

std::unique_ptr<plv::db::Connection> SqlConnection::AcquireServerHandle()
{
	if (!m_IdleHandles.empty())
	{
		auto handle = std::move(m_IdleHandles.back());
		m_IdleHandles.pop_back();
		return handle;
	}
	if (m_strServerTarget.empty())
		throw SqlException("Nessuna connessione al server per un contesto proprio.");
	try
	{
		return plv::db::OpenPostgres(m_strServerTarget);
	}
	catch (const plv::db::DbError& e)
	{
		throw FromDbError(e);
	}
}

void SqlConnection::ReturnServerHandle(std::unique_ptr<plv::db::Connection> handle)
{
	// Every usable one is kept: there are never more than the transactions once open together,
	// and the statements a table prepared on one stay valid while the connection lives.
	if (!handle)
		return;
	try
	{
		if (handle->IsUsable() && handle->InTransaction())
		{
			try
			{
				handle->Rollback();
			}
			catch (const plv::db::DbError&)
			{
				// lost on the way: kept below as such
			}
		}
		if (handle->IsUsable() && !handle->InTransaction())
			m_IdleHandles.push_back(std::move(handle));
		else if (!handle->IsUsable())
			m_LostHandles.push_back(std::move(handle));  // the server has dropped its session already
	}
	catch (...)
	{
		// A handle that cannot be kept is closed: the server rolls back what it still holds.
	}
}

bool SqlConnection::LendOwnHandle(CPLVContext* pContext)
{
	if (m_pLentTo || !m_pDb || !m_pDb->IsUsable() || m_pDb->InTransaction())
		return false;
	m_pLentTo = pContext;
	return true;
}

void SqlConnection::EndLoan()
{
	m_pLentTo = nullptr;
	if (m_bTransactionInLent)  // its levels ended with the context's transaction
	{
		m_bTransactionInLent = false;
		m_nTransactionDepth = 0;
	}
	try
	{
		if (m_pDb->IsUsable() && m_pDb->InTransaction())
			m_pDb->Rollback();
	}
	catch (const plv::db::DbError&)
	{
		// lost on the way: the server has undone it
	}
}

BOOL SqlConnection::ServerLock(const CString& table, const CString& key, bool bLock)
{
	// Row locks are session locks, kept and released apart from any transaction: on the
	// connection's own handle, or on one of their own for a lock asked for while a transaction
	// is open there (a failing statement of it could leave a lock nobody can release). Each is
	// released on the handle that took it.
	const std::pair<std::string, std::string> row{table.str(), key.str()};
	auto held = m_ServerLockHolders.find(row);
	try
	{
		LockStatements* pOn = nullptr;
		if (!bLock)
		{
			if (held == m_ServerLockHolders.end())
				return TRUE;
			pOn = held->second ? &m_OwnLocks : &m_MainLocks;
			m_ServerLockHolders.erase(held);
		}
		else
		{
			const bool bOwn = Db().InTransaction();
			pOn = bOwn ? &m_OwnLocks : &m_MainLocks;
			if (bOwn && !m_pLockHandle)
				m_pLockHandle = AcquireServerHandle();
		}
		LockStatements& on = *pOn;
		if (!on.pTryLock)
		{
			plv::db::Connection& db = &on == &m_OwnLocks ? *m_pLockHandle : Db();
			on.pTryLock = db.Prepare("SELECT pg_catalog.pg_try_advisory_lock(?, ?)");
			on.pUnlock = db.Prepare("SELECT pg_catalog.pg_advisory_unlock(?, ?)");
		}
		plv::db::Statement& st = bLock ? *on.pTryLock : *on.pUnlock;
		st.Bind(1, LockKeyPart(GetDatabasePath() + "\x1f" + table));  // schemas of one database apart
		st.Bind(2, LockKeyPart(key));
		bool granted = st.Step() && st.Column(0) == plv::db::Value(std::int64_t(1));
		st.Reset();
		if (bLock && granted)
			m_ServerLockHolders[row] = &on == &m_OwnLocks;
		return granted;
	}
	catch (const plv::db::DbError& e)
	{
		if (bLock)
			throw FromDbError(e);
		return FALSE;  // the server ends the locks of a handle that is gone
	}
}

plv::db::Connection& SqlConnection::Db() const
{
	if (!m_pDb)
		throw SqlException("Connessione al database non valida.");
	return *m_pDb;
}

CString SqlConnection::GetDatabasePath() const
{
	return m_pDb ? CString(m_pDb->Path()) : CString();
}

CString SqlConnection::GetDatabaseFolder() const
{
	if (m_bServer)
		return CString();
	return CString(std::filesystem::path(GetDatabasePath().str()).parent_path().string());
}

DataValue SqlConnection::StoredValue(const DataObj& obj) const
{
	DataValue value = obj.GetDataValue();
	if (m_bServer && obj.GetDataType() == DATA_ENUM_TYPE)
		if (auto p = std::get_if<std::int64_t>(&value))
			return std::int64_t(static_cast<std::int32_t>(static_cast<std::uint32_t>(*p)));
	return value;
}

CString SqlConnection::GetTextColumnType() const
{
	return m_bServer ? CString(plv::db::PostgresTextType()) : CString("TEXT COLLATE NOCASE");
}

void SqlConnection::ReleaseReadSnapshot()
{
	// A server's results are read whole: no statement holds a snapshot while its rows are walked.
	if (m_bServer)
		return;
	auto pending = m_PendingCursors;  // each one leaves the list
	for (SqlTable* pTable : pending)
		pTable->BufferPendingRows();
}

void SqlConnection::BeginTransaction()
{
	try
	{
		if (m_nTransactionDepth == 0 && m_pLentTo)
		{
			// A context's transaction is open on the handle: this one is a level of it.
			Db().Savepoint(SavepointName(0).str());
			m_bTransactionInLent = true;
		}
		else if (m_nTransactionDepth == 0)
		{
			ReleaseReadSnapshot();  // the transaction must start on the latest commit
			Db().Begin();
		}
		else
			Db().Savepoint(SavepointName(m_nTransactionDepth).str());
		++m_nTransactionDepth;
	}
	catch (const plv::db::DbError& e)
	{
		throw FromDbError(e);
	}
}

void SqlConnection::CommitTransaction()
{
	if (m_nTransactionDepth == 0)
		return;
	AfxNoteDatabaseChange();
	try
	{
		if (m_nTransactionDepth == 1 && m_bTransactionInLent)
		{
			Db().Release(SavepointName(0).str());
			m_bTransactionInLent = false;
		}
		else if (m_nTransactionDepth == 1)
			Db().Commit();
		else
			Db().Release(SavepointName(m_nTransactionDepth - 1).str());
		--m_nTransactionDepth;
	}
	catch (const plv::db::DbError& e)
	{
		throw FromDbError(e);
	}
}

void SqlConnection::RollbackTransaction()
{
	if (m_nTransactionDepth == 0)
		return;
	AfxNoteDatabaseChange();
	--m_nTransactionDepth;
	try
	{
		if (m_nTransactionDepth == 0 && m_bTransactionInLent)
		{
			m_bTransactionInLent = false;
			Db().RollbackTo(SavepointName(0).str());
			Db().Release(SavepointName(0).str());
		}
		else if (m_nTransactionDepth == 0)
		{
			ReleaseReadSnapshot();  // a rollback may abort pending statements
			Db().Rollback();
		}
		else
		{
			CString sp = SavepointName(m_nTransactionDepth);
			Db().RollbackTo(sp.str());
			Db().Release(sp.str());
		}
	}
	catch (const plv::db::DbError& e)
	{
		throw FromDbError(e);
	}
}

long SqlConnection::ExecuteSQL(LPCTSTR sql, const std::vector<const DataObj*>& params)
{
	AfxNoteDatabaseChange();
	try
	{
		if (m_nTransactionDepth == 0)
			ReleaseReadSnapshot();
		std::vector<plv::db::Value> values;
		values.reserve(params.size());
		for (const DataObj* p : params)
			values.push_back(StoredValue(*p));
		return static_cast<long>(Db().Execute(sql, values));
	}
	catch (const plv::db::DbError& e)
	{
		throw FromDbError(e);
	}
}

namespace {
// A schema change on a server waits for every session that uses the table, and while it waits
// every later user of the table waits behind it: a company busy with another user's batch must
// say so at once rather than stop everyone for the whole default lock wait.
constexpr int kSchemaLockTimeoutMs = 1000;
const char* const kSchemaBusy =
	"The company's tables need a change (%s), but another user's work is using them: try again when it ends.";
}  // namespace

void SqlConnection::ChangeSchema(const CString& sql)
{
	if (m_bSchemaBusy)  // the tables are still in use: no second wait, no second message
		throw plv::db::DbError("the tables are in use by another session", 0, plv::db::DbErrorKind::Busy);
	if (!m_bServer || Db().InTransaction())
	{
		Db().Execute(sql.str());
		return;
	}
	Db().Begin();
	try
	{
		Db().Execute(CString::Formatted("SET LOCAL lock_timeout TO %d", kSchemaLockTimeoutMs).str());
		Db().Execute(sql.str());
		Db().Commit();
	}
	catch (...)
	{
		Db().Rollback();
		throw;
	}
}

CString SqlConnection::CreateTableSql(const SqlRecord& record, BOOL bServer)
{
	CString sql = "CREATE TABLE IF NOT EXISTS " + Quoted(record.GetTableName()) + " (";
	bool first = true;
	for (int i = 0; i < record.GetSize(); ++i)
	{
		if (record.IsLocal(i))
			continue;
		if (!first)
			sql += ", ";
		first = false;
		sql += Quoted(record.GetItem(i)->m_strColumnName) + " " + ColumnType(*record.GetDataObjAt(i), bServer != FALSE);
	}
	// Rows of a table without a key are found again by rowid, which a server table must declare.
	if (bServer && record.GetPrimaryKey().empty())
		sql += CString(first ? "" : ", ") + "\"rowid\" bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY";
	if (!record.GetPrimaryKey().empty())
	{
		sql += ", PRIMARY KEY (";
		for (size_t k = 0; k < record.GetPrimaryKey().size(); ++k)
			sql += (k ? ", " : "") + Quoted(record.GetPrimaryKey()[k]);
		sql += ")";
	}
	return sql + ")";
}

BOOL SqlConnection::RegisterCatalogEntry(LPCTSTR, const CPLVNamespace& ns, CRuntimeClass* pRecordClass, int kind)
{
	if (!IsValid())
		return FALSE;
	std::unique_ptr<SqlRecord> pRec = CreateRecord(pRecordClass);
	if (!pRec)
		return FALSE;
	CString table = pRec->GetTableName();
	try
	{
		if (kind == SqlRecord::TABLE_TYPE)
		{
			// Read at once for every table while an SqlSchemaCheck lives, else asked now; kept up
			// to date with what is changed here.
			SchemaRead* pSchema = SchemaOf(this);
			plv::db::TableSchema asked;
			plv::db::TableSchema* pKnown = nullptr;
			bool bExists = false;
			if (pSchema)
			{
				auto it = pSchema->pTables->find(SchemaKey(table));
				bExists = it != pSchema->pTables->end();
				if (bExists)
					pKnown = &it->second;
			}
			else
				bExists = Db().TableExists(table.str());
			if (!bExists)
			{
				ChangeSchema(CreateTableSql(*pRec, m_bServer));
				m_SchemaChanges.push_back("created table " + table);
				if (pSchema)
				{
					pKnown = &(*pSchema->pTables)[SchemaKey(table)];
					for (int i = 0; i < pRec->GetSize(); ++i)
						if (!pRec->IsLocal(i))
							pKnown->columns.push_back(pRec->GetItem(i)->m_strColumnName.str());
				}
			}
			else
			{
				// A newer release of the record may bind columns the table lacks.
				const std::vector<std::string> existing = pKnown ? pKnown->columns : Db().TableColumns(table.str());
				for (int i = 0; i < pRec->GetSize(); ++i)
				{
					if (pRec->IsLocal(i))
						continue;
					const CString& col = pRec->GetItem(i)->m_strColumnName;
					bool found = false;
					for (auto& c : existing)
						found = found || col.CompareNoCase(c.c_str()) == 0;
					if (!found)
					{
						ChangeSchema("ALTER TABLE " + Quoted(table) + " ADD COLUMN " + Quoted(col) + " " +
									 ColumnType(*pRec->GetDataObjAt(i), m_bServer));
						m_SchemaChanges.push_back("added column " + table + "." + col);
						if (pKnown)
							pKnown->columns.push_back(col.str());
					}
				}
			}
			// An index already there is not created again: on a server even a statement that
			// changes nothing waits for the table's writers, so an up-to-date company opens without one.
			if (!pKnown)
				asked.indexes = Db().TableIndexes(table.str());
			const std::vector<std::string> present = pKnown ? pKnown->indexes : asked.indexes;
			int n = 0;
			for (auto& index : pRec->GetIndexes())
			{
				const CString name = table + CString::Formatted("_ix%d", ++n);
				bool bPresent = false;
				for (const std::string& p : present)
					bPresent = bPresent || name.CompareNoCase(p.c_str()) == 0;
				if (bPresent)
					continue;
				CString sql = CString::Formatted("CREATE INDEX IF NOT EXISTS %s ON %s (", Quoted(name).GetString(),
												 Quoted(table).GetString());
				for (size_t k = 0; k < index.size(); ++k)
					sql += (k ? ", " : "") + Quoted(index[k]);
				ChangeSchema(sql + ")");
				if (pKnown)
					pKnown->indexes.push_back(name.str());
			}
		}
	}
	catch (const plv::db::DbError& e)
	{
		if (m_bServer && e.IsBusy())
		{
			if (!std::exchange(m_bSchemaBusy, true))
				SqlException(CString::Formatted(kSchemaBusy, table.GetString())).ShowError();
		}
		else
			SqlException(e.what()).ShowError();
		return FALSE;
	}
	CString upper = table;
	upper.MakeUpper();
	m_Catalog[upper] = CatalogEntry{table, ns, pRecordClass, kind};
	return TRUE;
}

const CatalogEntry* SqlConnection::GetCatalogEntry(const CString& tableName) const
{
	CString upper = tableName;
	upper.MakeUpper();
	auto it = m_Catalog.find(upper);
	return it == m_Catalog.end() ? nullptr : &it->second;
}

std::vector<CatalogEntry> SqlConnection::GetCatalog() const
{
	std::vector<CatalogEntry> out;
	for (auto& [k, e] : m_Catalog)
		out.push_back(e);
	return out;
}

void SqlConnection::SetDatabaseRelease(const CString& library, int release)
{
	if (GetDatabaseRelease(library) == release)
		return;
	try
	{
		Db().Execute(CString::Formatted("CREATE TABLE IF NOT EXISTS %s (Library %s PRIMARY KEY, "
										"Release INTEGER NOT NULL)",
										kReleaseTable, GetTextColumnType().GetString())
						 .str());
		Db().Execute(CString::Formatted("INSERT INTO %s (Library, Release) VALUES (?, ?) "
										"ON CONFLICT(Library) DO UPDATE SET Release = excluded.Release",
										kReleaseTable)
						 .str(),
					 {library.str(), std::int64_t(release)});
		if (SchemaRead* pSchema = SchemaOf(this))
		{
			(*pSchema->pTables)[SchemaKey(kReleaseTable)];
			CString upper = library;
			upper.MakeUpper();
			pSchema->releases[upper] = release;
		}
	}
	catch (const plv::db::DbError& e)
	{
		throw FromDbError(e);
	}
}

int SqlConnection::GetDatabaseRelease(const CString& library)
{
	try
	{
		if (SchemaRead* pSchema = SchemaOf(this))
		{
			// Every library's release in one reading.
			if (!pSchema->bReleasesRead && pSchema->pTables->count(SchemaKey(kReleaseTable)))
			{
				auto st = Db().Prepare(CString::Formatted("SELECT Library, Release FROM %s", kReleaseTable).str());
				while (st->Step())
				{
					auto name = st->Column(0);
					auto v = st->Column(1);
					if (!std::holds_alternative<std::string>(name))
						continue;
					CString upper(std::get<std::string>(name).c_str());
					upper.MakeUpper();
					pSchema->releases[upper] =
						std::holds_alternative<std::int64_t>(v) ? static_cast<int>(std::get<std::int64_t>(v)) : 0;
				}
			}
			pSchema->bReleasesRead = true;
			CString upper = library;
			upper.MakeUpper();
			auto it = pSchema->releases.find(upper);
			return it == pSchema->releases.end() ? 0 : it->second;
		}
		if (!Db().TableExists(kReleaseTable))
			return 0;
		auto st = Db().Prepare(CString::Formatted("SELECT Release FROM %s WHERE Library = ?", kReleaseTable).str());
		st->Bind(1, library.str());
		if (!st->Step())
			return 0;
		auto v = st->Column(0);
		return std::holds_alternative<std::int64_t>(v) ? static_cast<int>(std::get<std::int64_t>(v)) : 0;
	}
	catch (const plv::db::DbError& e)
	{
		throw FromDbError(e);
	}
}

namespace {
thread_local SqlConnection* t_pThreadDefaultConnection = nullptr;
}

SqlConnection* AfxGetDefaultSqlConnection()
{
	return t_pThreadDefaultConnection ? t_pThreadDefaultConnection : g_pDefaultConnection.load();
}

SqlConnection* AfxSetThreadDefaultSqlConnection(SqlConnection* pConnection)
{
	return std::exchange(t_pThreadDefaultConnection, pConnection);
}

namespace {
std::atomic<std::uint64_t> g_nDatabaseChanges{0};
}  // namespace

std::uint64_t AfxGetDatabaseChanges()
{
	return g_nDatabaseChanges.load(std::memory_order_acquire);
}

void AfxNoteDatabaseChange()
{
	g_nDatabaseChanges.fetch_add(1, std::memory_order_acq_rel);
}

SqlSession* AfxGetDefaultSqlSession()
{
	SqlConnection* p = AfxGetDefaultSqlConnection();
	return p ? p->GetDefaultSqlSession() : nullptr;
}

SqlConnection* AfxSetDefaultSqlConnection(SqlConnection* pConnection)
{
	return g_pDefaultConnection.exchange(pConnection);
}

// ---- CPLVContext -----------------------------------------------------------------------------

CPLVContext::CPLVContext(SqlConnection* pConnection, CBaseDocument* pDocument)
	: m_pConnection(pConnection ? pConnection : AfxGetDefaultSqlConnection()), m_pDocument(pDocument)
{
	m_pUpdatable = std::make_unique<SqlSession>(m_pConnection, TRUE, this);
	m_pReadOnly = std::make_unique<SqlSession>(m_pConnection, FALSE, this);
}

CPLVContext::~CPLVContext()
{
	if (m_bInTransaction)
		Rollback();
	UnlockAll();
	ReturnOwnDb();
}

plv::db::Connection& CPLVContext::Db()
{
	if (!m_pConnection || !m_pConnection->IsServer())
	{
		if (!m_pConnection)
			throw SqlException("Connessione al database non valida.");
		return m_pConnection->Db();
	}
	if (m_pOwnDb)
		return *m_pOwnDb;
	if (m_bOnConnectionDb)
		return m_pConnection->Db();
	// Outside its transaction a context works on the connection's own handle, as any session
	// that is not in one: on the latest commits, or in the context's transaction that runs
	// there. A transaction of the connection's own keeps the handle to itself.
	if (!m_bInTransaction && (!m_pConnection->Db().InTransaction() || m_pConnection->m_pLentTo))
		return m_pConnection->Db();
	return OwnDb();
}

plv::db::Connection& CPLVContext::OwnDb()
{
	// A transaction of its own commits or rolls back apart from every other one (a counter's
	// step apart from the document's transaction): its own server session.
	if (!m_pOwnDb)
		m_pOwnDb = m_pConnection->AcquireServerHandle();
	return *m_pOwnDb;
}

void CPLVContext::ReturnOwnDb()
{
	// Between transactions the context holds no server session: the next context's transaction
	// takes the same one again rather than open another.
	if (m_pOwnDb && m_pConnection)
		m_pConnection->ReturnServerHandle(std::move(m_pOwnDb));
	m_pOwnDb.reset();
	if (m_bOnConnectionDb && m_pConnection)
		m_pConnection->EndLoan();
	m_bOnConnectionDb = false;
}

BOOL CPLVContext::StartTransaction()
{
	m_bBusy = false;
	if (!m_pConnection || !m_pConnection->IsValid() || m_bInTransaction)
		return FALSE;
	try
	{
		if (m_pConnection->IsServer())
		{
			// The connection's own session serves the first transaction: no second one to open.
			m_bOnConnectionDb = !m_pOwnDb && m_pConnection->LendOwnHandle(this);
			(m_bOnConnectionDb ? m_pConnection->Db() : OwnDb()).Begin();
		}
		else
			m_pConnection->BeginTransaction();
	}
	catch (const SqlException& e)
	{
		m_bBusy = e.IsBusy();
		ReturnOwnDb();
		return FALSE;
	}
	catch (const plv::db::DbError& e)
	{
		m_bBusy = e.IsBusy();
		ReturnOwnDb();
		return FALSE;
	}
	m_bInTransaction = true;
	return TRUE;
}

BOOL CPLVContext::Commit()
{
	if (!m_bInTransaction)
		return FALSE;
	AfxNoteDatabaseChange();
	// A failure leaves the transaction to Rollback (on a server it is already undone).
	if (m_pConnection->IsServer())
	{
		try
		{
			Db().Commit();
		}
		catch (const plv::db::DbError& e)
		{
			throw FromDbError(e);
		}
	}
	else
	{
		for (; m_nParts > 0; --m_nParts)  // parts left open keep their work
			m_pConnection->CommitTransaction();
		m_pConnection->CommitTransaction();
	}
	m_bInTransaction = false;
	m_nParts = 0;
	++m_nCommits;
	UnlockAll();
	ReturnOwnDb();
	return TRUE;
}

void CPLVContext::Rollback()
{
	if (!m_bInTransaction)
		return;
	AfxNoteDatabaseChange();
	m_bInTransaction = false;
	try
	{
		// Parts still open go with the transaction: on SQLite they are levels of the connection's.
		if (!m_pConnection->IsServer())
			for (; m_nParts > 0; --m_nParts)
				m_pConnection->RollbackTransaction();
		m_nParts = 0;
		if (m_pConnection->IsServer())
			Db().Rollback();
		else
			m_pConnection->RollbackTransaction();
	}
	catch (const SqlException& e)
	{
		e.ShowError();
	}
	catch (const plv::db::DbError& e)
	{
		FromDbError(e).ShowError();
	}
	UnlockAll();
	ReturnOwnDb();
}

BOOL CPLVContext::StartPart()
{
	if (!m_bInTransaction)
		return FALSE;
	try
	{
		if (m_pConnection->IsServer())
			Db().Savepoint(CString::Formatted("plv_part%d", m_nParts).str());
		else
			m_pConnection->BeginTransaction();  // a savepoint inside the open transaction
	}
	catch (const plv::db::DbError& e)
	{
		throw FromDbError(e);
	}
	++m_nParts;
	return TRUE;
}

void CPLVContext::EndPart(BOOL bKeep)
{
	if (!m_bInTransaction || m_nParts == 0)
		return;
	AfxNoteDatabaseChange();
	--m_nParts;
	try
	{
		if (m_pConnection->IsServer())
		{
			const std::string name = CString::Formatted("plv_part%d", m_nParts).str();
			if (!bKeep)
				Db().RollbackTo(name);
			Db().Release(name);
		}
		else if (bKeep)
			m_pConnection->CommitTransaction();
		else
			m_pConnection->RollbackTransaction();
	}
	catch (const plv::db::DbError& e)
	{
		throw FromDbError(e);
	}
}

void CPLVContext::KeepOutOtherWriters(const CString& table)
{
	if (!m_bInTransaction || !m_pConnection->IsServer())
		return;
	try
	{
		// Plain readers and row-lock checks still pass; writers and other keepers wait.
		Db().Execute(("LOCK TABLE " + Quoted(table) + " IN SHARE ROW EXCLUSIVE MODE").str());
	}
	catch (const plv::db::DbError& e)
	{
		throw FromDbError(e);
	}
}

namespace {
// The key of the one lock that batches of a server database take; advisory locks of one
// bigint are a key space apart from the row locks' pairs of integers.
constexpr std::int64_t kBatchLockKey = 0x6b767a5f62617463;  // "kvz_batc"
constexpr int kBatchLockTimeoutMs = 30000;
}  // namespace

BOOL CPLVContext::KeepOutOtherBatches()
{
	m_bBusy = false;
	if (!m_bInTransaction)
		return FALSE;
	if (!m_pConnection->IsServer())
		return TRUE;  // the transaction holds the database's write lock already
	try
	{
		// Another batch may take a while: it is waited for longer than a row, once, then the
		// statements wait as long as before. One round trip: the subquery (kept apart from the
		// outer query by OFFSET 0) reads the wait, raises it and takes the lock, in that order,
		// before the outer query puts the wait back.
		Db().Execute(CString::Formatted("SELECT pg_catalog.set_config('lock_timeout', w.previous, true) FROM "
										"(SELECT pg_catalog.current_setting('lock_timeout') AS previous, "
										"pg_catalog.set_config('lock_timeout', '%d', true) AS raised, "
										"pg_catalog.pg_advisory_xact_lock(%lld) AS held OFFSET 0) w",
										kBatchLockTimeoutMs, static_cast<long long>(kBatchLockKey))
						 .str());
	}
	catch (const plv::db::DbError& e)
	{
		m_bBusy = e.IsBusy();
		if (!m_bBusy)
			FromDbError(e).ShowError();
		return FALSE;
	}
	return TRUE;
}

void CPLVContext::UnlockAll()
{
	m_pUpdatable->UnlockAll();
	m_pReadOnly->UnlockAll();
}

// ---- other companies' databases ----------------------------------------------------------------

SqlConnection* COleDbManager::MakeNewConnection(const CString& connectionString, int, int, int, LPCTSTR, void*)
{
	m_strLastError.Empty();
	try
	{
		plv::db::ConnectionString cs(connectionString.str());
		SqlConnection* pCurrent = AfxGetDefaultSqlConnection();
		std::string folder = pCurrent ? pCurrent->GetDatabaseFolder().str() : std::filesystem::current_path().string();
		auto path = plv::db::ResolveSqlitePath(cs, folder);
		std::unique_ptr<SqlConnection> conn;
		if (path)
		{
			// A second handle on an open file would wait for its writer: the open one is shared.
			std::error_code ec;
			auto canonical = std::filesystem::canonical(*path, ec);
			if (!ec)
				if (SqlConnection* pShared = Share(CString(canonical.string())))
					return pShared;
			conn = SqlConnection::Open(CString(*path), SqlConnection::OPEN_EXISTING);
		}
		else
		{
			// A server database is known by the identity the server gives once connected.
			std::string target = ServerTarget(connectionString);
			conn = std::make_unique<SqlConnection>(plv::db::OpenPostgres(target), target);
		}
		if (SqlConnection* pShared = Share(conn->GetDatabasePath()))
			return pShared;
		SqlConnection* p = conn.get();
		m_Connections.push_back(Handed{p, std::move(conn), 1});
		return p;
	}
	catch (const plv::db::DbError& e)
	{
		m_strLastError = plv::db::RedactSecrets(e.what());
	}
	catch (const SqlException& e)
	{
		m_strLastError = plv::db::RedactSecrets(e.GetMessage().str());
	}
	return nullptr;
}

std::string COleDbManager::ServerTarget(const CString& connectionString)
{
	plv::db::ConnectionString cs(connectionString.str());
	auto get = [&](const char* key, const char* alias) {
		std::string v = cs.Get(key);
		return v.empty() && alias ? cs.Get(alias) : v;
	};
	std::string host = get("Data Source", "Server"), port;
	// "host,port" as SQL Server writes it, or "host:port" (one colon: not an IPv6 address).
	if (auto comma = host.find(','); comma != std::string::npos)
		port = host.substr(comma + 1), host.resize(comma);
	else if (auto colon = host.find(':'); colon != std::string::npos && host.find(':', colon + 1) == std::string::npos)
		port = host.substr(colon + 1), host.resize(colon);
	std::string database = get("Initial Catalog", "Database");
	if (host.empty())
		throw plv::db::DbError("connection string names no server");
	if (database.empty())
		throw plv::db::DbError("connection string names no Initial Catalog");
	return plv::db::PostgresKeywordString({{"host", host},
										   {"port", port},
										   {"dbname", database},
										   {"user", get("User ID", "UID")},
										   {"password", get("Password", "PWD")},
										   {"connect_timeout", get("Connect Timeout", "Timeout")}});
}

CString COleDbManager::BuildConnectionString(const CString& server, const CString& catalog, const CString& user,
											 const CString& password, int nConnectTimeout)
{
	return CString(plv::db::BuildConnectionString({{"Provider", "SQLOLEDB"},
												   {"Data Source", server.str()},
												   {"Initial Catalog", catalog.str()},
												   {"User ID", user.str()},
												   {"Password", password.str()},
												   {"Connect Timeout", std::to_string(nConnectTimeout)}}));
}

SqlConnection* COleDbManager::Share(const CString& identity)
{
	if (identity.IsEmpty())
		return nullptr;
	for (Handed& h : m_Connections)
		if (h.pConnection->GetDatabasePath() == identity)
		{
			++h.nUsers;
			return h.pConnection;
		}
	SqlConnection* pCurrent = AfxGetDefaultSqlConnection();
	if (!pCurrent || !pCurrent->IsValid() || pCurrent->GetDatabasePath() != identity)
		return nullptr;
	m_Connections.push_back(Handed{pCurrent, nullptr, 1});
	return pCurrent;
}

void COleDbManager::CloseConnection(SqlConnection* pConnection)
{
	auto it = std::find_if(m_Connections.begin(), m_Connections.end(),
						   [pConnection](const Handed& h) { return h.pConnection == pConnection; });
	if (it != m_Connections.end() && --it->nUsers == 0)
		m_Connections.erase(it);
}

COleDbManager* AfxGetOleDbMng()
{
	static COleDbManager* manager = new COleDbManager;
	return manager;
}

// ---- SqlException ----------------------------------------------------------------------------

void SqlException::ShowError(LPCTSTR caption) const
{
	CString text = m_strMessage;
	if (text.GetLength() > 255)
	{
		int n = 255;
		while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
			--n;  // never half a UTF-8 character
		text = text.Left(n);
	}
	AfxMessageBox(text, MB_OK | MB_ICONERROR, caption ? caption : "");
}
