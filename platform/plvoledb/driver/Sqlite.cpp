#include "platform/plvoledb/driver/Sqlite.h"

#include <fmt/core.h>
#include <sqlite3.h>

#include <filesystem>
#include <list>
#include <type_traits>
#include <utility>

namespace plv::db {
namespace {

namespace fs = std::filesystem;

DbErrorKind KindOf(int code) {
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return DbErrorKind::Busy;
    case SQLITE_NOTADB: return DbErrorKind::NotADatabase;
    default: return DbErrorKind::Other;
    }
}

// Must be built before sqlite3_reset() or any other call replaces the connection's message.
DbError MakeError(sqlite3* db, int rc, std::string_view context = {}) {
    int code = db ? sqlite3_extended_errcode(db) : rc;
    if ((code & 0xff) != (rc & 0xff)) code = rc;
    return DbError(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc), code, KindOf(code), context);
}

std::string QuoteIdentifier(const std::string& name) {
    if (name.empty()) throw DbError("empty savepoint name");
    std::string quoted = "\"";
    for (char c : name) {
        quoted += c;
        if (c == '"') quoted += c;
    }
    return quoted + '"';
}

// SQL Server's LEN: characters without the trailing blanks; NULL stays NULL.
void LenFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const unsigned char* text = sqlite3_value_text(argv[0]);
    if (!text) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    int n = sqlite3_value_bytes(argv[0]);
    while (n > 0 && text[n - 1] == ' ') --n;
    int64_t chars = 0;
    for (int i = 0; i < n; ++i)
        if ((text[i] & 0xC0) != 0x80) ++chars;  // count UTF-8 lead bytes only
    sqlite3_result_int64(ctx, chars);
}

class SqliteStatement final : public Statement {
public:
    SqliteStatement(sqlite3* db, sqlite3_stmt* stmt, std::string sql)
        : db_(db), stmt_(stmt), sql_(std::move(sql)) {}
    ~SqliteStatement() override { sqlite3_finalize(stmt_); }

    void Bind(int index1, const Value& value) override {
        RestartIfStepped();
        int rc = std::visit(
            [&](const auto& v) -> int {
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, std::monostate>)
                    return sqlite3_bind_null(stmt_, index1);
                else if constexpr (std::is_same_v<T, int64_t>)
                    return sqlite3_bind_int64(stmt_, index1, v);
                else if constexpr (std::is_same_v<T, double>)
                    return sqlite3_bind_double(stmt_, index1, v);
                else
                    return sqlite3_bind_text64(stmt_, index1, v.data(), v.size(), SQLITE_TRANSIENT,
                                               SQLITE_UTF8);
            },
            value);
        if (rc != SQLITE_OK) throw MakeError(db_, rc, sql_);
    }

    void ClearBindings() override {
        RestartIfStepped();
        sqlite3_clear_bindings(stmt_);
    }

    bool Step() override {
        if (state_ == State::Done) return false;
        if (state_ == State::Idle) {
            BeforeStatement(sql_);
            changes_ = 0;
            runChanges_ = 0;
        }
        sqlite3_int64 before = sqlite3_total_changes64(db_);
        int rc = sqlite3_step(stmt_);
        runChanges_ += sqlite3_total_changes64(db_) - before;
        if (rc == SQLITE_ROW) {
            state_ = State::Row;
            return true;
        }
        if (rc == SQLITE_DONE) {
            state_ = State::Done;
            // sqlite3_changes() keeps the count of the last DML statement, so it is only
            // ours when this run changed something.
            changes_ = runChanges_ > 0 ? sqlite3_changes64(db_) : 0;
            return false;
        }
        DbError error = MakeError(db_, rc, sql_);
        Reset();  // ready for another run, as after an explicit Reset()
        throw error;
    }

    int ColumnCount() const override { return sqlite3_column_count(stmt_); }

    Value Column(int index0) const override {
        CheckColumn(index0);
        if (state_ != State::Row) throw DbError("no current row", SQLITE_MISUSE, DbErrorKind::Other, sql_);
        switch (sqlite3_column_type(stmt_, index0)) {
        case SQLITE_NULL: return std::monostate{};
        case SQLITE_INTEGER: return static_cast<int64_t>(sqlite3_column_int64(stmt_, index0));
        case SQLITE_FLOAT: return sqlite3_column_double(stmt_, index0);
        case SQLITE_BLOB: {
            const void* data = sqlite3_column_blob(stmt_, index0);
            int size = sqlite3_column_bytes(stmt_, index0);
            return data ? std::string(static_cast<const char*>(data), size) : std::string();
        }
        default: {
            const unsigned char* text = sqlite3_column_text(stmt_, index0);
            int size = sqlite3_column_bytes(stmt_, index0);
            return text ? std::string(reinterpret_cast<const char*>(text), size) : std::string();
        }
        }
    }

    std::string ColumnName(int index0) const override {
        CheckColumn(index0);
        const char* name = sqlite3_column_name(stmt_, index0);
        return name ? name : "";
    }

    void Reset() override {
        sqlite3_reset(stmt_);  // returns the last run's error, already reported by Step()
        state_ = State::Idle;
    }

    int64_t Changes() const override { return changes_; }
    const std::string& Sql() const override { return sql_; }

private:
    enum class State { Idle, Row, Done };

    void RestartIfStepped() {
        if (state_ != State::Idle) Reset();
    }

    void CheckColumn(int index0) const {
        if (index0 < 0 || index0 >= ColumnCount())
            throw DbError(fmt::format("column index {} out of range", index0), SQLITE_RANGE,
                          DbErrorKind::Other, sql_);
    }

    sqlite3* db_;
    sqlite3_stmt* stmt_;
    std::string sql_;
    State state_ = State::Idle;
    int64_t changes_ = 0;
    int64_t runChanges_ = 0;
};

class SqliteConnection final : public Connection {
public:
    SqliteConnection(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}
    // close_v2 rolls back an open transaction and waits for statements still alive.
    ~SqliteConnection() override {
        ForgetReusable();
        cache_.clear();
        sqlite3_close_v2(db_);
    }

    std::unique_ptr<Statement> Prepare(std::string_view sql) override {
        std::string_view rest;
        sqlite3_stmt* stmt = PrepareFirst(sql, rest);
        if (!stmt) throw DbError("no statement in SQL text", SQLITE_MISUSE, DbErrorKind::Other, sql);
        auto result = std::make_unique<SqliteStatement>(db_, stmt, std::string(sql));
        if (rest.empty()) return result;
        sqlite3_stmt* extra = nullptr;
        int rc = sqlite3_prepare_v3(db_, rest.data(), static_cast<int>(rest.size()), 0, &extra, nullptr);
        sqlite3_finalize(extra);
        if (rc != SQLITE_OK || extra)
            throw DbError("more than one statement in SQL text", SQLITE_MISUSE, DbErrorKind::Other, sql);
        return result;
    }

    int64_t Execute(std::string_view sql, const std::vector<Value>& params = {}) override {
        if (!params.empty()) {
            // Row-by-row writes repeat the same text: compile it once.
            Statement& stmt = Cached(sql);
            try {
                for (size_t i = 0; i < params.size(); ++i) stmt.Bind(static_cast<int>(i + 1), params[i]);
                while (stmt.Step()) {
                }
            } catch (...) {
                stmt.Reset();
                throw;
            }
            int64_t changes = stmt.Changes();
            stmt.Reset();
            return changes;
        }
        SchemaMayChange(sql);
        int64_t changes = 0;
        while (!sql.empty()) {
            std::string_view rest;
            sqlite3_stmt* raw = PrepareFirst(sql, rest);
            if (raw) {
                SqliteStatement stmt(db_, raw, std::string(sql.substr(0, sql.size() - rest.size())));
                while (stmt.Step()) {
                }
                changes += stmt.Changes();
            } else if (rest.size() == sql.size()) {
                break;
            }
            sql = rest;
        }
        return changes;
    }

    void Begin() override { Execute("BEGIN IMMEDIATE"); }
    void Commit() override {
        Execute("COMMIT");
        AfterCommit();
    }
    void Rollback() override {
        if (InTransaction()) Execute("ROLLBACK");
    }
    bool InTransaction() const override { return sqlite3_get_autocommit(db_) == 0; }

    void Savepoint(const std::string& name) override { Execute("SAVEPOINT " + QuoteIdentifier(name)); }
    void Release(const std::string& name) override { Execute("RELEASE " + QuoteIdentifier(name)); }
    void RollbackTo(const std::string& name) override {
        Execute("ROLLBACK TO " + QuoteIdentifier(name));
    }

    bool TableExists(const std::string& table) override {
        auto stmt = Prepare(
            "SELECT 1 FROM sqlite_master WHERE type IN ('table','view') AND name = ?1 COLLATE NOCASE "
            "UNION ALL "
            "SELECT 1 FROM sqlite_temp_master WHERE type IN ('table','view') AND name = ?1 COLLATE NOCASE");
        stmt->Bind(1, table);
        return stmt->Step();
    }

    std::vector<std::string> TableColumns(const std::string& table) override {
        auto stmt = Prepare("SELECT name FROM pragma_table_info(?1) ORDER BY cid");
        stmt->Bind(1, table);
        std::vector<std::string> columns;
        while (stmt->Step()) columns.push_back(std::get<std::string>(stmt->Column(0)));
        return columns;
    }

    std::vector<std::string> TableIndexes(const std::string& table) override {
        auto stmt = Prepare("SELECT name FROM pragma_index_list(?1)");
        stmt->Bind(1, table);
        std::vector<std::string> indexes;
        while (stmt->Step()) indexes.push_back(std::get<std::string>(stmt->Column(0)));
        return indexes;
    }

    Schema ReadSchema() override {
        // One statement: the columns through the table-valued pragma, the indexes from the
        // master tables (which list the key's automatic indexes too, as pragma_index_list does).
        auto stmt = Prepare(
            "SELECT m.name, 0, p.cid, p.name FROM sqlite_master m, pragma_table_info(m.name) p "
            "WHERE m.type IN ('table','view') "
            "UNION ALL SELECT m.name, 0, p.cid, p.name FROM sqlite_temp_master m, pragma_table_info(m.name) p "
            "WHERE m.type IN ('table','view') "
            "UNION ALL SELECT tbl_name, 1, 0, name FROM sqlite_master WHERE type = 'index' "
            "UNION ALL SELECT tbl_name, 1, 0, name FROM sqlite_temp_master WHERE type = 'index' "
            "ORDER BY 1, 2, 3");
        Schema schema;
        while (stmt->Step()) {
            std::string table = std::get<std::string>(stmt->Column(0));
            for (char& c : table)
                if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            TableSchema& t = schema[table];
            (std::get<std::int64_t>(stmt->Column(1)) == 0 ? t.columns : t.indexes)
                .push_back(std::get<std::string>(stmt->Column(3)));
        }
        return schema;
    }

    std::string Path() const override { return path_; }
    std::string BackendName() const override { return "sqlite"; }

private:
    // The statement for sql from a small cache, least recently used dropped first.
    Statement& Cached(std::string_view sql) {
        for (auto it = cache_.begin(); it != cache_.end(); ++it)
            if (it->first == sql) {
                cache_.splice(cache_.begin(), cache_, it);
                return *cache_.front().second;
            }
        auto stmt = Prepare(sql);
        if (cache_.size() >= kCachedStatements) cache_.pop_back();
        cache_.emplace_front(std::string(sql), std::move(stmt));
        return *cache_.front().second;
    }

    // Compiles the first statement of sql; rest receives the text after it. A null result
    // means the text held only blanks or comments.
    sqlite3_stmt* PrepareFirst(std::string_view sql, std::string_view& rest) {
        rest = {};
        if (sql.empty()) return nullptr;
        sqlite3_stmt* stmt = nullptr;
        const char* tail = nullptr;
        int rc = sqlite3_prepare_v3(db_, sql.data(), static_cast<int>(sql.size()), 0, &stmt, &tail);
        if (rc != SQLITE_OK) throw MakeError(db_, rc, sql);
        rest = tail ? sql.substr(static_cast<size_t>(tail - sql.data())) : std::string_view();
        return stmt;
    }

    static constexpr size_t kCachedStatements = 32;
    sqlite3* db_;
    std::string path_;
    std::list<std::pair<std::string, std::unique_ptr<Statement>>> cache_;
};

struct HandleCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};

}  // namespace

const char* TextCollation() { return "NOCASE"; }

std::unique_ptr<Connection> OpenSqlite(const std::string& path, OpenMode mode,
                                       const SqliteOptions& options) {
    if (path.empty()) throw DbError("empty database path");
    const bool inMemory = path == ":memory:";
    if (!inMemory) {
        std::error_code ec;
        auto status = fs::status(path, ec);
        if (!fs::exists(status)) {
            if (mode != OpenMode::CreateIfMissing)
                throw DbError("database file does not exist: " + path, SQLITE_CANTOPEN,
                              DbErrorKind::NotFound);
        } else if (!fs::is_regular_file(status)) {
            throw DbError("database path is not a file: " + path, SQLITE_CANTOPEN);
        }
    }

    int flags = mode == OpenMode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (mode == OpenMode::CreateIfMissing) flags |= SQLITE_OPEN_CREATE;
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    std::unique_ptr<sqlite3, HandleCloser> db(raw);
    if (rc != SQLITE_OK) throw MakeError(raw, rc, path);
    sqlite3_extended_result_codes(db.get(), 1);
    sqlite3_busy_timeout(db.get(), options.busyTimeoutMs);
    // A double-quoted name that matches no column must be an error, never the text of the name:
    // "WHERE \"Missing\" = ?" bound to that text would match every row.
    for (int op : {SQLITE_DBCONFIG_DQS_DML, SQLITE_DBCONFIG_DQS_DDL})
        if (int r = sqlite3_db_config(db.get(), op, 0, nullptr); r != SQLITE_OK) throw MakeError(db.get(), r, path);

    // Reading the schema is what detects a foreign file, and it writes nothing.
    rc = sqlite3_exec(db.get(), "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) throw MakeError(db.get(), rc, path);

    auto run = [&](const char* sql) {
        if (int r = sqlite3_exec(db.get(), sql, nullptr, nullptr, nullptr); r != SQLITE_OK)
            throw MakeError(db.get(), r, sql);
    };
    if (sqlite3_db_readonly(db.get(), "main") == 0) run("PRAGMA journal_mode=WAL");
    run("PRAGMA foreign_keys=OFF");

    rc = sqlite3_create_function_v2(db.get(), "LEN", 1,
                                    SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                                    LenFunction, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) throw MakeError(db.get(), rc);

    std::string identity = path;
    if (!inMemory) {
        std::error_code ec;
        if (auto canonical = fs::canonical(path, ec); !ec) identity = canonical.string();
    }
    return std::make_unique<SqliteConnection>(db.release(), identity);
}

}  // namespace plv::db
