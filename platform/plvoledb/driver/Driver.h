#pragma once

#include "platform/plvoledb/driver/Value.h"

#include <cstddef>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace plv::db {

// For tests of what a killed process leaves behind: with KVZ_KILL_AT=N in the environment the
// process ends itself by SIGKILL at its N-th point of writing, counting a point just before each
// INSERT, UPDATE, DELETE or COMMIT and one just after each commit, on any connection: a kill lands
// at the same point on every run. KVZ_INTERRUPT_AT=N sends the process SIGINT there instead, as a
// Ctrl-C would. Without the variables both do nothing.
void BeforeStatement(std::string_view sql);
void AfterCommit();

// A table's or view's columns (in table order) and the names of its indexes (in no given order).
struct TableSchema {
    std::vector<std::string> columns;
    std::vector<std::string> indexes;
};
// By table name in ASCII lower case.
using Schema = std::map<std::string, TableSchema>;

// A prepared statement. Not thread-safe; must not outlive its Connection.
// Binding a value (or clearing bindings) after the statement has been stepped starts a new
// run, so "bind, step to the end, bind again, step" needs no explicit Reset().
// A query that has not been stepped to the end holds its read snapshot until Reset(): while
// it does, the connection cannot write once another connection has committed.
class Statement {
public:
    virtual ~Statement() = default;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    virtual void Bind(int index1, const Value& value) = 0;
    virtual void ClearBindings() = 0;
    // true: a row is available through Column(). After the last row it keeps returning
    // false until Reset(), so an INSERT is never re-run by accident.
    virtual bool Step() = 0;
    virtual int ColumnCount() const = 0;
    virtual Value Column(int index0) const = 0;  // only while Step() has a row
    virtual std::string ColumnName(int index0) const = 0;
    // Ready to run again; keeps the prepared plan and the bindings.
    virtual void Reset() = 0;
    // Rows inserted, updated or deleted by the last completed run (0 for other statements).
    virtual int64_t Changes() const = 0;
    virtual const std::string& Sql() const = 0;
    // Runs a statement that returns no rows. Inside a transaction a backend may queue it and
    // read its outcome later (one round trip for many rows): its error is then raised by a
    // later call on the connection, at the latest by Commit(). Elsewhere it runs here.
    virtual void Send() {
        while (Step()) {
        }
        Reset();
    }

protected:
    Statement() = default;
};

// Rows for some columns of one table, added one by one inside a transaction. A server backend
// sends them in few round trips: they wait in the connection and go before any other statement
// of the connection runs, when many wait, and at the latest by Commit(); a failing row fails
// the transaction, raised by a later call (at the latest by Commit()). Outside a transaction,
// and on SQLite, each row is written by Add(). Rows waiting belong to the connection: the
// writer may go before they are sent, and Rollback() drops them.
class BulkInsert {
public:
    virtual ~BulkInsert() = default;
    BulkInsert(const BulkInsert&) = delete;
    BulkInsert& operator=(const BulkInsert&) = delete;
    // One value per column, in the order the columns were given.
    virtual void Add(const std::vector<Value>& row) = 0;

protected:
    BulkInsert() = default;
};

// Compiled statements kept by their text for reuse on their connection, so that a cursor closed
// and opened again with the same text does not compile it again. Bounded: the least recently
// kept goes first.
class StatementPool {
public:
    explicit StatementPool(size_t capacity = 128) : capacity_(capacity) {}
    // A statement of exactly that text, ready to run (bindings cleared); null when none is kept.
    std::unique_ptr<Statement> Take(std::string_view sql);
    void Keep(std::unique_ptr<Statement> statement);
    void Clear() { kept_.clear(); }
    size_t Size() const { return kept_.size(); }

private:
    size_t capacity_;
    std::list<std::unique_ptr<Statement>> kept_;  // the most recently kept first
};

// One connection to one database. Not thread-safe: one connection per session or thread.
class Connection {
public:
    virtual ~Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Exactly one statement; trailing text other than blanks and comments is an error.
    virtual std::unique_ptr<Statement> Prepare(std::string_view sql) = 0;
    // The same, where a server may compile the text with its first run, in the same round
    // trip: a text it refuses then fails that run, not this call.
    virtual std::unique_ptr<Statement> PrepareForRun(std::string_view sql) { return Prepare(sql); }
    // Runs to completion and returns the rows changed. Without params the text may hold
    // several statements separated by ';' (schema scripts); with params it must hold one.
    virtual int64_t Execute(std::string_view sql, const std::vector<Value>& params = {}) = 0;

    // Runs one statement and undoes it at once: whether it can run now (a row lock NOWAIT
    // would be refused, say). Inside a transaction it runs under a savepoint rolled back straight
    // after, so that the locks it took go and a refusal leaves the transaction as it was. Raises
    // the statement's error, else an error undoing it.
    virtual void Probe(std::string_view sql, const std::vector<Value>& params = {});

    virtual void Begin() = 0;
    virtual void Commit() = 0;
    virtual void Rollback() = 0;  // no-op outside a transaction, so error paths may call it freely
    virtual bool InTransaction() const = 0;

    // RollbackTo undoes the work since Savepoint(name) and leaves the savepoint in place.
    virtual void Savepoint(const std::string& name) = 0;
    virtual void Release(const std::string& name) = 0;
    virtual void RollbackTo(const std::string& name) = 0;

    // A writer of rows into table's columns (names as the SQL texts give them, quoted or not).
    // The default prepares one INSERT and runs it per row.
    virtual std::unique_ptr<BulkInsert> PrepareBulkInsert(const std::string& table,
                                                          const std::vector<std::string>& columns);
    // Sends the rows that wait, raising a failure; nothing when none wait.
    virtual void FlushBulkInserts() {}

    // Table names are compared without regard to ASCII case.
    virtual bool TableExists(const std::string& table) = 0;
    virtual std::vector<std::string> TableColumns(const std::string& table) = 0;  // table order
    // The names of the table's indexes, in no given order.
    virtual std::vector<std::string> TableIndexes(const std::string& table) = 0;
    // Every table and view the lookups above see, with its columns and indexes, read in a
    // constant number of statements.
    virtual Schema ReadSchema() = 0;

    // Identifies the database: absolute and canonical, usable as the LockRegistry key.
    virtual std::string Path() const = 0;
    virtual std::string BackendName() const = 0;
    // False once a server connection is lost: it is not worth keeping for reuse.
    virtual bool IsUsable() const { return true; }

    // A statement of that text: one kept for reuse on this connection, else a new one
    // (PrepareForRun).
    std::unique_ptr<Statement> PrepareReused(std::string_view sql);
    // Where statements prepared on this connection are kept for PrepareReused. Held weakly by
    // their users: it dies as the connection starts closing, so nothing is kept into a dead one.
    std::weak_ptr<StatementPool> Reusable() const { return pool_; }

protected:
    Connection() = default;
    // A statement that changes the schema (CREATE, ALTER, DROP) lets go of every kept one.
    void SchemaMayChange(std::string_view sql);
    // Derived destructors call it first: kept statements need the connection alive to go.
    void ForgetReusable() { pool_.reset(); }

private:
    std::shared_ptr<StatementPool> pool_ = std::make_shared<StatementPool>();
};

}  // namespace plv::db
