#pragma once
// Connections, sessions and transaction contexts.
//
// A company is one database. Every session of a connection shares the connection's one
// database handle: SQLite allows one writer per file, so a write made "in a context of its
// own" while a transaction is open joins that transaction (as a savepoint) instead of
// waiting on a second handle. Transactions nest: the outermost opens the database
// transaction, the inner ones are savepoints.
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "platform/mfc/CObject.h"
#include "platform/plvgeneric/DataObj.h"
#include "platform/plvnamesolver/CPLVNamespace.h"
#include "platform/plvoledb/SqlException.h"

namespace plv::db {
class Connection;
}

class SqlConnection;
class SqlRecord;
class SqlTable;
class CBaseDocument;

class SqlSession : public CObject
{
	DECLARE_DYNAMIC(SqlSession, CObject)
public:
	explicit SqlSession(SqlConnection* pConnection, BOOL bUpdatable = TRUE);
	~SqlSession() override;

	SqlConnection* GetSqlConnection() const { return m_pConnection; }
	// Identifies the session as the owner of row locks.
	std::uint64_t GetId() const { return m_nId; }
	BOOL IsUpdatable() const { return m_bUpdatable; }
	void SetAutocommit(BOOL b = TRUE) { m_bAutocommit = b != FALSE; }
	BOOL IsAutocommit() const { return m_bAutocommit; }
	void UnlockAll();

private:
	SqlConnection* m_pConnection;
	std::uint64_t m_nId;
	bool m_bUpdatable;
	bool m_bAutocommit = false;
};

// What the catalog knows of a registered table or view.
struct CatalogEntry
{
	CString tableName;
	CPLVNamespace ns;
	CRuntimeClass* pRecordClass = nullptr;
	int kind = 1;  // 1 table, 2 view
};

class SqlConnection : public CObject
{
	DECLARE_DYNAMIC(SqlConnection, CObject)
public:
	enum OpenMode
	{
		OPEN_EXISTING,  // a missing file is an error: opening never creates a database
		CREATE_IF_MISSING,
	};
	// Opens a company database file; SqlException when it cannot.
	static std::unique_ptr<SqlConnection> Open(const CString& path, OpenMode mode = OPEN_EXISTING);
	explicit SqlConnection(std::unique_ptr<plv::db::Connection> db);
	~SqlConnection() override;

	BOOL IsValid() const { return m_pDb != nullptr; }
	plv::db::Connection& Db() const;
	// The database's identity (its canonical path) and the folder that holds it.
	CString GetDatabasePath() const;
	CString GetDatabaseFolder() const;

	SqlSession* GetDefaultSqlSession() { return m_pDefaultSession.get(); }

	// Nestable transactions: the outermost is the database transaction, inner ones savepoints.
	void BeginTransaction();
	void CommitTransaction();
	void RollbackTransaction();
	int GetTransactionDepth() const { return m_nTransactionDepth; }
	BOOL IsInTransaction() const { return m_nTransactionDepth > 0; }

	// Runs a statement with its values bound in the order of the "?" in the text.
	long ExecuteSQL(LPCTSTR sql, const std::vector<const DataObj*>& params = {});

	// Catalog: creates the record's table when missing (columns, key and indexes from its
	// bindings) and adds columns the table lacks; a view (kind 2) is only recorded.
	BOOL RegisterCatalogEntry(LPCTSTR frameworkText, const CPLVNamespace& ns, CRuntimeClass* pRecordClass, int kind);
	const CatalogEntry* GetCatalogEntry(const CString& tableName) const;
	std::vector<CatalogEntry> GetCatalog() const;
	// DDL of a record's table, as the catalog creates it.
	static CString CreateTableSql(const SqlRecord& record);

	// The schema release each library's tables are at.
	void SetDatabaseRelease(const CString& library, int release);
	int GetDatabaseRelease(const CString& library);

	// A cursor standing inside its rows holds the read snapshot of the whole connection:
	// the connection could not write once another one has committed, nor see its work.
	// Cursors keep their remaining rows in memory and let go of it; called before a
	// transaction starts or ends and before a write outside a transaction.
	void ReleaseReadSnapshot();

private:
	friend class SqlTable;
	std::vector<SqlTable*> m_PendingCursors;
	std::unique_ptr<plv::db::Connection> m_pDb;
	std::unique_ptr<SqlSession> m_pDefaultSession;
	std::map<CString, CatalogEntry> m_Catalog;  // by upper-case table name
	int m_nTransactionDepth = 0;
};

// The application's default connection (the current company) and its default session.
SqlConnection* AfxGetDefaultSqlConnection();
SqlSession* AfxGetDefaultSqlSession();
// Installs the default connection (not owned); returns the previous one.
SqlConnection* AfxSetDefaultSqlConnection(SqlConnection* pConnection);
// A worker thread's own default connection (not owned; null: the application's again), for
// threads that work on a connection of their own; returns the thread's previous one.
SqlConnection* AfxSetThreadDefaultSqlConnection(SqlConnection* pConnection);

// A transaction context: its own sessions on a connection and a transaction that commits or
// rolls back the work done through them. Row locks of its sessions end with the transaction.
class CPLVContext : public CObject
{
	DECLARE_DYNAMIC(CPLVContext, CObject)
public:
	explicit CPLVContext(SqlConnection* pConnection = nullptr, CBaseDocument* pDocument = nullptr);
	~CPLVContext() override;

	// FALSE when the transaction cannot be opened (the database stays locked by another writer).
	BOOL StartTransaction();
	BOOL Commit();
	void Rollback();
	BOOL CommitTransaction() { return Commit(); }
	void RollbackTransaction() { Rollback(); }
	BOOL IsInTransaction() const { return m_bInTransaction; }

	SqlConnection* GetSqlConnection() const { return m_pConnection; }
	SqlSession* GetUpdatableSqlSession() { return m_pUpdatable.get(); }
	SqlSession* GetReadOnlySqlSession() { return m_pReadOnly.get(); }
	CBaseDocument* GetDocument() const { return m_pDocument; }
	void UnlockAll();

private:
	SqlConnection* m_pConnection;
	CBaseDocument* m_pDocument;
	std::unique_ptr<SqlSession> m_pUpdatable;
	std::unique_ptr<SqlSession> m_pReadOnly;
	bool m_bInTransaction = false;
};

// Opens the databases of other companies from their connection strings.
class COleDbManager
{
public:
	// The connection named by an OLE DB style connection string, or null when it cannot be
	// opened (the reason is kept in GetLastError). A database that does not exist is never created.
	SqlConnection* MakeNewConnection(const CString& connectionString, int = 0, int = 0, int = 0, LPCTSTR = nullptr,
									 void* = nullptr);
	void CloseConnection(SqlConnection* pConnection);
	const CString& GetLastError() const { return m_strLastError; }

private:
	std::vector<std::unique_ptr<SqlConnection>> m_Connections;
	CString m_strLastError;
};

COleDbManager* AfxGetOleDbMng();
