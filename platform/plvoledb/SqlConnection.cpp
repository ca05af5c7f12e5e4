#include "platform/plvoledb/SqlConnection.h"

#include <atomic>
#include <filesystem>
#include <utility>

#include "platform/plvgeneric/Interaction.h"
#include "platform/plvoledb/SqlRecord.h"
#include "platform/plvoledb/SqlTable.h"
#include "platform/plvoledb/driver/ConnectionString.h"
#include "platform/plvoledb/driver/LockRegistry.h"
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

const char* ColumnType(const DataObj& obj)
{
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

SqlSession::SqlSession(SqlConnection* pConnection, BOOL bUpdatable)
	: m_pConnection(pConnection), m_nId(g_NextSessionId++), m_bUpdatable(bUpdatable != FALSE)
{
}

SqlSession::~SqlSession()
{
	UnlockAll();
}

void SqlSession::UnlockAll()
{
	if (m_pConnection && m_pConnection->IsValid())
		plv::db::LockRegistry::Instance().UnlockAll(m_nId, m_pConnection->GetDatabasePath().str());
}

// ---- SqlConnection ---------------------------------------------------------------------------

std::unique_ptr<SqlConnection> SqlConnection::Open(const CString& path, OpenMode mode)
{
	try
	{
		auto db = plv::db::OpenSqlite(path.str(), mode == CREATE_IF_MISSING ? plv::db::OpenMode::CreateIfMissing
																			  : plv::db::OpenMode::OpenExisting);
		return std::make_unique<SqlConnection>(std::move(db));
	}
	catch (const plv::db::DbError& e)
	{
		throw FromDbError(e);
	}
}

SqlConnection::SqlConnection(std::unique_ptr<plv::db::Connection> db)
	: m_pDb(std::move(db)), m_pDefaultSession(std::make_unique<SqlSession>(this, TRUE))
{
	m_pDefaultSession->SetAutocommit(TRUE);
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
	return CString(std::filesystem::path(GetDatabasePath().str()).parent_path().string());
}

void SqlConnection::ReleaseReadSnapshot()
{
	auto pending = m_PendingCursors;  // each one leaves the list
	for (SqlTable* pTable : pending)
		pTable->BufferPendingRows();
}

void SqlConnection::BeginTransaction()
{
	try
	{
		if (m_nTransactionDepth == 0)
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
	try
	{
		if (m_nTransactionDepth == 1)
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
	--m_nTransactionDepth;
	try
	{
		if (m_nTransactionDepth == 0)
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
	try
	{
		if (m_nTransactionDepth == 0)
			ReleaseReadSnapshot();
		std::vector<plv::db::Value> values;
		values.reserve(params.size());
		for (const DataObj* p : params)
			values.push_back(p->GetDataValue());
		return static_cast<long>(Db().Execute(sql, values));
	}
	catch (const plv::db::DbError& e)
	{
		throw FromDbError(e);
	}
}

CString SqlConnection::CreateTableSql(const SqlRecord& record)
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
		sql += Quoted(record.GetItem(i)->m_strColumnName) + " " + ColumnType(*record.GetDataObjAt(i));
	}
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
			if (!Db().TableExists(table.str()))
				Db().Execute(CreateTableSql(*pRec).str());
			else
			{
				// A newer release of the record may bind columns the table lacks.
				auto existing = Db().TableColumns(table.str());
				for (int i = 0; i < pRec->GetSize(); ++i)
				{
					if (pRec->IsLocal(i))
						continue;
					const CString& col = pRec->GetItem(i)->m_strColumnName;
					bool found = false;
					for (auto& c : existing)
						found = found || col.CompareNoCase(c.c_str()) == 0;
					if (!found)
						Db().Execute(("ALTER TABLE " + Quoted(table) + " ADD COLUMN " + Quoted(col) + " " +
									  ColumnType(*pRec->GetDataObjAt(i)))
										 .str());
				}
			}
			int n = 0;
			for (auto& index : pRec->GetIndexes())
			{
				CString sql = CString::Formatted("CREATE INDEX IF NOT EXISTS %s ON %s (",
												 Quoted(table + CString::Formatted("_ix%d", ++n)).GetString(),
												 Quoted(table).GetString());
				for (size_t k = 0; k < index.size(); ++k)
					sql += (k ? ", " : "") + Quoted(index[k]);
				Db().Execute((sql + ")").str());
			}
		}
	}
	catch (const plv::db::DbError& e)
	{
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
	try
	{
		Db().Execute(CString::Formatted("CREATE TABLE IF NOT EXISTS %s (Library TEXT COLLATE NOCASE PRIMARY KEY, "
										"Release INTEGER NOT NULL)",
										kReleaseTable)
						 .str());
		Db().Execute(CString::Formatted("INSERT INTO %s (Library, Release) VALUES (?, ?) "
										"ON CONFLICT(Library) DO UPDATE SET Release = excluded.Release",
										kReleaseTable)
						 .str(),
					 {library.str(), std::int64_t(release)});
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
	m_pUpdatable = std::make_unique<SqlSession>(m_pConnection, TRUE);
	m_pReadOnly = std::make_unique<SqlSession>(m_pConnection, FALSE);
}

CPLVContext::~CPLVContext()
{
	if (m_bInTransaction)
		Rollback();
	UnlockAll();
}

BOOL CPLVContext::StartTransaction()
{
	if (!m_pConnection || !m_pConnection->IsValid() || m_bInTransaction)
		return FALSE;
	try
	{
		m_pConnection->BeginTransaction();
	}
	catch (const SqlException&)
	{
		return FALSE;
	}
	m_bInTransaction = true;
	return TRUE;
}

BOOL CPLVContext::Commit()
{
	if (!m_bInTransaction)
		return FALSE;
	m_pConnection->CommitTransaction();  // a failure leaves the transaction open for Rollback
	m_bInTransaction = false;
	UnlockAll();
	return TRUE;
}

void CPLVContext::Rollback()
{
	if (!m_bInTransaction)
		return;
	m_bInTransaction = false;
	try
	{
		m_pConnection->RollbackTransaction();
	}
	catch (const SqlException& e)
	{
		e.ShowError();
	}
	UnlockAll();
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
		if (!path)
		{
			m_strLastError = CString::Formatted("Nessun server di database configurato per \"%s\".",
												cs.Get("Data Source").c_str());
			return nullptr;
		}
		auto conn = SqlConnection::Open(CString(*path), SqlConnection::OPEN_EXISTING);
		m_Connections.push_back(std::move(conn));
		return m_Connections.back().get();
	}
	catch (const plv::db::DbError& e)
	{
		m_strLastError = e.what();
	}
	catch (const SqlException& e)
	{
		m_strLastError = e.GetMessage();
	}
	return nullptr;
}

void COleDbManager::CloseConnection(SqlConnection* pConnection)
{
	std::erase_if(m_Connections, [pConnection](auto& p) { return p.get() == pConnection; });
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
