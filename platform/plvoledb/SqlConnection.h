#pragma once
// Connections, sessions and transaction contexts.
//
// A company is one database: an SQLite file or a PostgreSQL database (a server).
// On SQLite every session of a connection shares the connection's one database handle:
// SQLite allows one writer per file, so a write made "in a context of its own" while a
// transaction is open joins that transaction (as a savepoint) instead of waiting on a second
// handle. Transactions nest: the outermost opens the database transaction, the inner ones are
// savepoints.
// On a server a context's transaction runs on the connection's own handle when no other
// transaction is open there (a process whose documents work one transaction at a time needs
// one server session); the sessions that are not in a transaction of their own then work in it,
// as every session of an SQLite file does. A context's transaction that begins while another
// one is open runs on a server connection of its own, so its work commits or rolls back
// independently of the other's; between its transactions a context works on the connection's
// own handle, as the default session does.
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/mfc/CObject.h"
#include "platform/plvgeneric/DataObj.h"
#include "platform/plvnamesolver/CPLVNamespace.h"
#include "platform/plvoledb/SqlException.h"

namespace plv::db {
class Connection;
class Statement;
}

class SqlConnection;
class SqlRecord;
class SqlTable;
class CBaseDocument;
class CPLVContext;

class SqlSession : public CObject
{
	DECLARE_DYNAMIC(SqlSession, CObject)
public:
	// pContext: the context the session belongs to (none for a connection's default session).
	explicit SqlSession(SqlConnection* pConnection, BOOL bUpdatable = TRUE, CPLVContext* pContext = nullptr);
	~SqlSession() override;

	SqlConnection* GetSqlConnection() const { return m_pConnection; }
	// Identifies the session as the owner of row locks.
	std::uint64_t GetId() const { return m_nId; }
	BOOL IsUpdatable() const { return m_bUpdatable; }
	void SetAutocommit(BOOL b = TRUE) { m_bAutocommit = b != FALSE; }
	BOOL IsAutocommit() const { return m_bAutocommit; }
	void UnlockAll();

	// The database handle the session's statements run on: its context's own on a server,
	// otherwise the connection's.
	plv::db::Connection& Db() const;
	// That handle is inside a transaction.
	BOOL IsInTransaction() const;
	// Runs a statement on that handle with its values bound in the order of the "?" in the text.
	long ExecuteSQL(LPCTSTR sql, const std::vector<const DataObj*>& params = {});
	// The same for a write whose count of rows the caller does not need: inside a transaction a
	// server queues it with the others (one round trip for many), its failure then raised by a
	// later statement of the handle, at the latest by the commit, and failing the transaction.
	// Elsewhere it runs here. The statement is prepared once per text and kept for reuse.
	void SendSQL(LPCTSTR sql, const std::vector<const DataObj*>& params = {});

private:
	friend class SqlTable;
	friend class CPLVContext;
	// Server row locks: the session's hold on a row, seen by every other session of the server.
	BOOL TryServerLock(const CString& table, const CString& key);
	void ReleaseServerLock(const CString& table, const CString& key);
	BOOL HoldsServerLock(const CString& table, const CString& key) const;

	SqlConnection* m_pConnection;
	CPLVContext* m_pContext;
	std::uint64_t m_nId;
	bool m_bUpdatable;
	bool m_bAutocommit = false;
	// (table, key) held on the server; std::string: a pair of CStrings would compare pointers.
	std::set<std::pair<std::string, std::string>> m_ServerLocks;
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
	// Opens a company database, SqlException when it cannot: a PostgreSQL database for a
	// "postgresql://" URI or a libpq keyword string ("host=srv dbname=az01"), which must
	// exist whatever the mode; otherwise an SQLite file.
	static std::unique_ptr<SqlConnection> Open(const CString& target, OpenMode mode = OPEN_EXISTING);
	// The target names a server database rather than a file.
	static BOOL IsServerTarget(const CString& target);
	// pServerTarget: the connection target of a server handle, to open more handles with.
	explicit SqlConnection(std::unique_ptr<plv::db::Connection> db, std::string serverTarget = {});
	~SqlConnection() override;

	BOOL IsValid() const { return m_pDb != nullptr; }
	plv::db::Connection& Db() const;
	// A PostgreSQL database rather than an SQLite file.
	BOOL IsServer() const { return m_bServer; }
	// The database's identity (its canonical path, or "postgresql://host:port/name") and the
	// folder that holds it (none for a server database).
	CString GetDatabasePath() const;
	CString GetDatabaseFolder() const;
	// The value a data object is stored as: an enumeration goes to a server's 32-bit integer
	// column as the signed value of its 32 bits.
	DataValue StoredValue(const DataObj& obj) const;
	// The column type the catalog gives case-insensitive text in this database.
	CString GetTextColumnType() const;

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
	// DDL of a record's table, as the catalog creates it (on SQLite, or on a server).
	static CString CreateTableSql(const SqlRecord& record, BOOL bServer = FALSE);
	// What registering the catalog created or altered in the schema ("created table X",
	// "added column X.Y"), in order; an up-to-date database changes nothing.
	const std::vector<CString>& GetSchemaChanges() const { return m_SchemaChanges; }

	// The schema release each library's tables are at; setting the release it already has
	// writes nothing, so that an up-to-date database opens without write access.
	void SetDatabaseRelease(const CString& library, int release);
	int GetDatabaseRelease(const CString& library);

	// A cursor standing inside its rows holds the read snapshot of the whole connection:
	// the connection could not write once another one has committed, nor see its work.
	// Cursors keep their remaining rows in memory and let go of it; called before a
	// transaction starts or ends and before a write outside a transaction.
	void ReleaseReadSnapshot();

private:
	friend class SqlTable;
	friend class SqlSession;
	friend class CPLVContext;
	// Server handles for contexts' transactions, kept for reuse while the connection lives.
	std::unique_ptr<plv::db::Connection> AcquireServerHandle();
	void ReturnServerHandle(std::unique_ptr<plv::db::Connection> handle);
	// The connection's own handle taken for a context's transaction, when no transaction is open
	// there and no other context has it; EndLoan gives it back when that transaction has ended
	// (rolling back what it may still hold) and ends the levels of the connection's own begun in it.
	bool LendOwnHandle(CPLVContext* pContext);
	void EndLoan();
	// Server row locks of every session of the connection.
	BOOL ServerLock(const CString& table, const CString& key, bool bLock);
	// Runs a statement that changes the schema; on a server it waits a short while only for
	// the table's users, and a wait that runs out stops every later change of this opening.
	void ChangeSchema(const CString& sql);

	std::vector<SqlTable*> m_PendingCursors;
	std::unique_ptr<plv::db::Connection> m_pDb;
	bool m_bServer = false;
	std::string m_strServerTarget;
	std::vector<std::unique_ptr<plv::db::Connection>> m_IdleHandles;
	// The context whose transaction runs on the connection's own handle (none: no such one).
	CPLVContext* m_pLentTo = nullptr;
	// The connection's own transaction began inside that context's: its outermost level is a
	// savepoint there.
	bool m_bTransactionInLent = false;
	// Handles the server lost: statements prepared on them may still be destroyed later.
	std::vector<std::unique_ptr<plv::db::Connection>> m_LostHandles;
	// Server row locks: the statements taking and releasing them on each handle, and by
	// (table, key) whether a held one is on m_pLockHandle rather than the connection's own.
	struct LockStatements
	{
		std::unique_ptr<plv::db::Statement> pTryLock, pUnlock;
	};
	std::unique_ptr<plv::db::Connection> m_pLockHandle;
	LockStatements m_MainLocks, m_OwnLocks;
	std::map<std::pair<std::string, std::string>, bool> m_ServerLockHolders;
	std::unique_ptr<SqlSession> m_pDefaultSession;
	std::map<CString, CatalogEntry> m_Catalog;  // by upper-case table name
	std::vector<CString> m_SchemaChanges;
	bool m_bSchemaBusy = false;  // a schema change found the tables in use by another session
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

// Counts what this process did that may change what a database holds: every write statement,
// commit and rollback, on any connection and thread. Rows a caller keeps in memory are still
// what a reading would give while the count has not moved (other processes aside).
std::uint64_t AfxGetDatabaseChanges();
void AfxNoteDatabaseChange();

// A transaction context: its own sessions on a connection and a transaction that commits or
// rolls back the work done through them. Row locks of its sessions end with the transaction.
// On SQLite its transaction is the connection's (nested as a savepoint when one is open); on
// a server it runs on the context's own server connection and commits on its own.
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
	// How many of its transactions were committed: whether a piece of work kept anything.
	int GetCommitCount() const { return m_nCommits; }
	// A part of the transaction that can be undone alone (a savepoint), for work that must
	// stay whole inside a longer one: FALSE outside a transaction. Parts nest; each is ended
	// by EndPart, keeping its work in the transaction or undoing it.
	BOOL StartPart();
	void EndPart(BOOL bKeep);

	SqlConnection* GetSqlConnection() const { return m_pConnection; }
	SqlSession* GetUpdatableSqlSession() { return m_pUpdatable.get(); }
	SqlSession* GetReadOnlySqlSession() { return m_pReadOnly.get(); }
	CBaseDocument* GetDocument() const { return m_pDocument; }
	void UnlockAll();

	// Within the transaction, keeps every other writer of the table waiting until it ends, so
	// that a row read is the row written and a missing row is added by one writer only. SQLite's
	// transaction already holds the database's write lock: there it does nothing.
	// SqlException when the table stays locked by another writer beyond the lock timeout.
	void KeepOutOtherWriters(const CString& table);
	// Within the transaction, keeps every other batch of the database waiting until it ends, as
	// SQLite's write lock does: a batch reads and writes one state of the company, never a state
	// that another batch's commit changes half-way. FALSE when another batch held the company
	// for longer than a batch waits (half a minute; IsBusy then tells so) or the lock could not
	// be asked for (shown).
	BOOL KeepOutOtherBatches();
	// The last transaction or batch hold could not be had: another session held the database.
	BOOL IsBusy() const { return m_bBusy; }

	// The handle the context's sessions run on: on a server its own while its transaction is
	// open, the connection's between transactions.
	plv::db::Connection& Db();

private:
	// The context's own server handle, taken from the connection's idle ones (or opened), and
	// given back to them.
	plv::db::Connection& OwnDb();
	void ReturnOwnDb();

	SqlConnection* m_pConnection;
	CBaseDocument* m_pDocument;
	std::unique_ptr<plv::db::Connection> m_pOwnDb;  // on a server, while needed
	bool m_bOnConnectionDb = false;  // on a server, its transaction runs on the connection's own handle
	std::unique_ptr<SqlSession> m_pUpdatable;
	std::unique_ptr<SqlSession> m_pReadOnly;
	bool m_bInTransaction = false;
	bool m_bBusy = false;
	int m_nCommits = 0;
	int m_nParts = 0;
};

// Opens the databases of other companies from their connection strings.
class COleDbManager
{
public:
	// The connection named by an OLE DB style connection string, or null when it cannot be
	// opened (the reason is kept in GetLastError). A database that does not exist is never created.
	// A Data Source that is a host name ("srv", "srv,5433" or "srv:5433") names a PostgreSQL
	// server and Initial Catalog the database on it, opened with User ID, Password and
	// Connect Timeout; any other Data Source names an SQLite file (see ResolveSqlitePath).
	// Data naming the current company's own database (the same file, or the same server
	// database) give its connection, so that work there joins the transaction open on it
	// instead of waiting for it; two strings naming one database give one connection. Such a
	// connection is shared: each one handed out is closed once with CloseConnection, and the
	// current company's own is never closed by it.
	SqlConnection* MakeNewConnection(const CString& connectionString, int = 0, int = 0, int = 0, LPCTSTR = nullptr,
									 void* = nullptr);
	void CloseConnection(SqlConnection* pConnection);
	// Connections handed out and not yet closed, each database counted once.
	int GetOpenCount() const { return static_cast<int>(m_Connections.size()); }
	const CString& GetLastError() const { return m_strLastError; }
	// The libpq connection target of an OLE DB string naming a server, every value escaped.
	static std::string ServerTarget(const CString& connectionString);
	// The connection string of a company from its register fields, each value quoted as
	// MakeNewConnection reads it: a quote, ';' or '=' in a password cannot add or change a key.
	static CString BuildConnectionString(const CString& server, const CString& catalog, const CString& user,
										 const CString& password, int nConnectTimeout);

private:
	struct Handed
	{
		SqlConnection* pConnection;
		std::unique_ptr<SqlConnection> pOwned;  // none for the current company's own
		int nUsers;
	};
	// Hands out a connection to the database of that identity already open, if there is one.
	SqlConnection* Share(const CString& identity);

	std::vector<Handed> m_Connections;
	CString m_strLastError;
};

COleDbManager* AfxGetOleDbMng();
