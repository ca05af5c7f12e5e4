#include "platform/plvoledb/driver/Postgres.h"

#include <fmt/core.h>
#include <libpq-fe.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <type_traits>

namespace plv::db {
namespace {

// Type oids fixed by PostgreSQL itself.
constexpr Oid kBoolOid = 16, kInt8Oid = 20, kInt2Oid = 21, kInt4Oid = 23, kOidOid = 26, kFloat4Oid = 700,
              kFloat8Oid = 701, kNumericOid = 1700;

// The savepoint each statement of a transaction runs under.
constexpr const char* kStatementSavepoint = "plv_stmt";

// Serialises the creation of citext and LEN between sessions that find them missing together.
constexpr int64_t kSupportLockKey = 0x6b767a5f73757070;  // "kvz_supp"

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsIdentStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9') || c == '$'; }

std::string Trimmed(const char* text) {
    std::string s = text ? text : "";
    while (!s.empty() && IsBlank(s.back())) s.pop_back();
    return s;
}

// The SQLSTATE packed six bits a character, as PostgreSQL packs it internally.
int PackSqlState(const std::string& state) {
    if (state.size() != 5) return 0;
    int code = 0;
    for (int i = 0; i < 5; ++i) code |= ((state[static_cast<size_t>(i)] - '0') & 0x3F) << (6 * i);
    return code;
}

DbErrorKind KindOfState(const std::string& state) {
    if (state == "55P03" || state == "40001" || state == "40P01") return DbErrorKind::Busy;  // lock, serialisation, deadlock
    if (state == "3D000") return DbErrorKind::NotFound;
    return DbErrorKind::Other;
}

// What a statement says when its wait for another session's lock ran out.
constexpr const char* kLockWaitOver =
    "another user's work holds the company's data: the wait for it ran out (try again when it ends)";

DbError ResultError(const PGresult* result, PGconn* conn, std::string_view context) {
    std::string state, message;
    if (result) {
        if (const char* s = PQresultErrorField(result, PG_DIAG_SQLSTATE)) state = s;
        if (const char* primary = PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY)) {
            message = primary;
            if (const char* detail = PQresultErrorField(result, PG_DIAG_MESSAGE_DETAIL))
                message += std::string(" (") + detail + ")";
        }
        // The lock timeout, told from a NOWAIT refusal of the same state by where it was raised.
        const char* function = PQresultErrorField(result, PG_DIAG_SOURCE_FUNCTION);
        if (state == "55P03" && function && std::strcmp(function, "ProcessInterrupts") == 0) message = kLockWaitOver;
    }
    if (message.empty()) message = Trimmed(PQerrorMessage(conn));
    if (message.empty()) message = "PostgreSQL error";
    return DbError(message, PackSqlState(state), KindOfState(state), context, state);
}

struct ResultDeleter {
    void operator()(PGresult* r) const { PQclear(r); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

bool Succeeded(const PGresult* r) {
    ExecStatusType s = PQresultStatus(r);
    return s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK || s == PGRES_EMPTY_QUERY;
}

// Rows inserted, updated or deleted by a command; other commands and queries change none.
int64_t ChangesOf(const PGresult* r) {
    const char* tag = PQcmdStatus(const_cast<PGresult*>(r));
    if (!tag) return 0;
    for (const char* dml : {"INSERT ", "UPDATE ", "DELETE ", "MERGE "})
        if (std::strncmp(tag, dml, std::strlen(dml)) == 0) return std::atoll(PQcmdTuples(const_cast<PGresult*>(r)));
    return 0;
}

// Names are folded as the translation folds quoted ones.
std::string QuoteIdentifier(const std::string& name) {
    if (name.empty()) throw DbError("empty savepoint name");
    std::string quoted = "\"";
    for (char c : name) {
        quoted += AsciiLower(c);
        if (c == '"') quoted += c;
    }
    return quoted + '"';
}

// A value as the text the server parses; nullopt is NULL.
std::optional<std::string> ParamText(const Value& value) {
    return std::visit(
        [](const auto& v) -> std::optional<std::string> {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                return std::nullopt;
            else if constexpr (std::is_same_v<T, int64_t>)
                return std::to_string(v);
            else if constexpr (std::is_same_v<T, double>) {
                if (std::isnan(v)) return std::string("NaN");
                if (std::isinf(v)) return std::string(v > 0 ? "Infinity" : "-Infinity");
                return fmt::format("{:.17g}", v);
            } else {
                if (v.find('\0') != std::string::npos)
                    throw DbError("text holding a NUL character cannot be sent to PostgreSQL");
                return v;
            }
        },
        value);
}

// A row as COPY's text format reads it: tab between values, \N for NULL, backslash escapes.
void AppendCopyRow(std::string& out, const std::vector<Value>& row) {
    for (size_t i = 0; i < row.size(); ++i) {
        if (i) out += '\t';
        std::optional<std::string> text = ParamText(row[i]);
        if (!text) {
            out += "\\N";
            continue;
        }
        for (char c : *text) switch (c) {
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            default: out += c;
            }
    }
    out += '\n';
}

enum class ColumnKind { Integer, Boolean, Real, Numeric, Text };

ColumnKind KindOfType(Oid type) {
    switch (type) {
    case kInt2Oid:
    case kInt4Oid:
    case kInt8Oid:
    case kOidOid: return ColumnKind::Integer;
    case kBoolOid: return ColumnKind::Boolean;
    case kFloat4Oid:
    case kFloat8Oid: return ColumnKind::Real;
    case kNumericOid: return ColumnKind::Numeric;
    default: return ColumnKind::Text;
    }
}

Value ConvertColumn(const PGresult* r, int row, int col, ColumnKind kind) {
    if (PQgetisnull(r, row, col)) return std::monostate{};
    const char* text = PQgetvalue(r, row, col);
    switch (kind) {
    case ColumnKind::Integer: return static_cast<int64_t>(std::strtoll(text, nullptr, 10));
    case ColumnKind::Boolean: return int64_t{text[0] == 't' ? 1 : 0};
    case ColumnKind::Real: return std::strtod(text, nullptr);
    case ColumnKind::Numeric: {
        // SUM over bigint is numeric: whole values stay integers, as they would on SQLite.
        if (std::strpbrk(text, ".eEN") == nullptr) {
            errno = 0;
            char* end = nullptr;
            long long v = std::strtoll(text, &end, 10);
            if (errno == 0 && end && *end == '\0') return static_cast<int64_t>(v);
        }
        return std::strtod(text, nullptr);
    }
    case ColumnKind::Text: break;
    }
    return std::string(text, static_cast<size_t>(PQgetlength(r, row, col)));
}

void IgnoreNotice(void*, const PGresult*) {}

class PgConnection;

// The rows of one COPY waiting in their connection.
struct PendingCopy {
    std::string sql;  // as the caller would write it, for errors
    std::string copy;  // as sent
    size_t columns = 0;
    std::string data;
};

class PgBulkInsert final : public BulkInsert {
public:
    PgBulkInsert(PgConnection& conn, PendingCopy& copy) : conn_(conn), copy_(copy) {}
    void Add(const std::vector<Value>& row) override;

private:
    PgConnection& conn_;
    PendingCopy& copy_;
};

class PgStatement final : public Statement {
public:
    PgStatement(PgConnection& conn, std::string name, std::string sql, std::string translated, int params)
        : conn_(conn), name_(std::move(name)), sql_(std::make_shared<const std::string>(std::move(sql))),
          translated_(std::move(translated)), values_(static_cast<size_t>(params)) {}
    ~PgStatement() override;

    void Bind(int index1, const Value& value) override {
        if (index1 < 1 || index1 > static_cast<int>(values_.size()))
            throw DbError(fmt::format("parameter index {} out of range", index1), 0, DbErrorKind::Other, *sql_);
        RestartIfStepped();
        values_[static_cast<size_t>(index1 - 1)] = ParamText(value);
    }

    void ClearBindings() override {
        RestartIfStepped();
        for (auto& v : values_) v.reset();
    }

    bool Step() override;

    int ColumnCount() const override { return PQnfields(Described()); }

    Value Column(int index0) const override {
        CheckColumn(index0);
        if (state_ != State::Row) throw DbError("no current row", 0, DbErrorKind::Other, *sql_);
        return ConvertColumn(result_.get(), row_, index0, kinds_[static_cast<size_t>(index0)]);
    }

    std::string ColumnName(int index0) const override {
        CheckColumn(index0);
        return PQfname(Described(), index0);
    }

    void Reset() override {
        result_.reset();
        state_ = State::Idle;
    }

    int64_t Changes() const override { return changes_; }
    const std::string& Sql() const override { return *sql_; }
    void Send() override;

    // The parameters as libpq takes them.
    std::vector<const char*> ParamPointers() const {
        std::vector<const char*> p;
        p.reserve(values_.size());
        for (const auto& v : values_) p.push_back(v ? v->c_str() : nullptr);
        return p;
    }
    const std::string& Name() const { return name_; }
    const std::shared_ptr<const std::string>& SharedSql() const { return sql_; }
    // The text as the server takes it, and whether the server holds it compiled under Name().
    const std::string& Translated() const { return translated_; }
    int ParamCount() const { return static_cast<int>(values_.size()); }
    bool IsPrepared() const { return prepared_; }
    void SetPrepared() { prepared_ = true; }

private:
    enum class State { Idle, Row, Done };

    void RestartIfStepped() {
        if (state_ != State::Idle) Reset();
    }
    void CheckColumn(int index0) const {
        if (index0 < 0 || index0 >= ColumnCount())
            throw DbError(fmt::format("column index {} out of range", index0), 0, DbErrorKind::Other, *sql_);
    }
    // The result of the current run, or the statement's description before the first.
    const PGresult* Described() const;

    PgConnection& conn_;
    std::string name_;
    std::shared_ptr<const std::string> sql_;
    std::string translated_;
    bool prepared_ = false;
    std::vector<std::optional<std::string>> values_;
    Result result_;
    mutable Result description_;
    std::vector<ColumnKind> kinds_;
    State state_ = State::Idle;
    int row_ = -1;
    int64_t changes_ = 0;
};

class PgConnection final : public Connection {
public:
    PgConnection(PGconn* conn, std::string identity, const PostgresOptions& options)
        : conn_(conn), identity_(std::move(identity)), options_(options) {}
    ~PgConnection() override {
        ForgetReusable();
        PQfinish(conn_);
    }  // the server rolls back what is still open

    // Compiled on the server with its first run, in the same round trip.
    std::unique_ptr<Statement> PrepareForRun(std::string_view sql) override {
        int params = 0;
        bool several = false;
        std::string translated = TranslateSql(sql, &params, &several);
        if (several) throw DbError("more than one statement in SQL text", 0, DbErrorKind::Other, sql);
        if (IsOnlyBlanks(translated)) throw DbError("no statement in SQL text", 0, DbErrorKind::Other, sql);
        std::string name = fmt::format("plv_{}", ++statements_);
        return std::make_unique<PgStatement>(*this, std::move(name), std::string(sql), std::move(translated), params);
    }

    std::unique_ptr<Statement> Prepare(std::string_view sql) override {
        auto st = PrepareForRun(sql);
        EnsurePrepared(static_cast<PgStatement&>(*st));
        return st;
    }

    // A text the server refuses fails inside a transaction too, without ending it.
    void EnsurePrepared(PgStatement& st) {
        if (st.IsPrepared()) return;
        Exchange([&] { return SendPrepare(st); }, st.Sql());
        st.SetPrepared();
    }

    int64_t Execute(std::string_view sql, const std::vector<Value>& params = {}) override {
        int count = 0;
        bool several = false;
        std::string translated = TranslateSql(sql, &count, &several);
        if (params.empty()) SchemaMayChange(sql);
        if (!params.empty() || !several) {
            BeforeStatement(sql);
            if (several) throw DbError("more than one statement in SQL text", 0, DbErrorKind::Other, sql);
            std::vector<std::optional<std::string>> texts;
            for (const auto& p : params) texts.push_back(ParamText(p));
            std::vector<const char*> pointers;
            for (const auto& t : texts) pointers.push_back(t ? t->c_str() : nullptr);
            Result r = Exchange(
                [&] {
                    return PQsendQueryParams(conn_, translated.c_str(), static_cast<int>(pointers.size()), nullptr,
                                             pointers.data(), nullptr, nullptr, 0);
                },
                sql);
            return ChangesOf(r.get());
        }
        // A script: inside a transaction under a savepoint of its own (three round trips: scripts
        // are rare), so that its failure undoes the whole script and nothing else.
        Sync();
        const bool guarded = PQtransactionStatus(conn_) == PQTRANS_INTRANS;
        if (guarded) Run("SAVEPOINT " + std::string(kStatementSavepoint));
        try {
            int64_t changes = RunScript(translated, sql);
            if (guarded) Run("RELEASE SAVEPOINT " + std::string(kStatementSavepoint));
            return changes;
        } catch (const DbError&) {
            if (guarded) UndoStatement();
            throw;
        }
    }

    // The savepoint, the statement and its undoing in one round trip: a synchronisation after
    // the statement lets the undoing run whether it failed or not.
    void Probe(std::string_view sql, const std::vector<Value>& params) override {
        Sync();
        if (PQtransactionStatus(conn_) != PQTRANS_INTRANS || lockWaitOver_) {
            Execute(sql, params);
            return;
        }
        int count = 0;
        bool several = false;
        std::string translated = TranslateSql(sql, &count, &several);
        if (several) throw DbError("more than one statement in SQL text", 0, DbErrorKind::Other, sql);
        BeforeStatement(sql);
        std::vector<std::optional<std::string>> texts;
        for (const auto& p : params) texts.push_back(ParamText(p));
        std::vector<const char*> pointers;
        for (const auto& t : texts) pointers.push_back(t ? t->c_str() : nullptr);
        if (!PQenterPipelineMode(conn_)) throw ResultError(nullptr, conn_, sql);
        auto command = [&](const char* text) {
            return PQsendQueryParams(conn_, text, 0, nullptr, nullptr, nullptr, nullptr, 0);
        };
        const bool sent = command("SAVEPOINT plv_probe") &&
                          PQsendQueryParams(conn_, translated.c_str(), static_cast<int>(pointers.size()), nullptr,
                                            pointers.data(), nullptr, nullptr, 0) &&
                          PQpipelineSync(conn_) && command("ROLLBACK TO SAVEPOINT plv_probe") &&
                          command("RELEASE SAVEPOINT plv_probe") && PQpipelineSync(conn_);
        // Each statement's results, ended by a null; a synchronisation after the second and the fourth.
        std::optional<DbError> errors[4];
        auto readStatement = [&](int q) {
            while (PGresult* raw = PQgetResult(conn_)) {
                Result r(raw);
                if (PQresultStatus(r.get()) == PGRES_PIPELINE_ABORTED) continue;
                if (!Succeeded(r.get()) && !errors[q]) errors[q] = ResultError(r.get(), conn_, sql);
            }
        };
        auto readSync = [&] {
            for (int guard = 0; PQstatus(conn_) == CONNECTION_OK && guard < 16; ++guard) {
                PGresult* raw = PQgetResult(conn_);
                if (!raw) continue;
                Result r(raw);
                if (PQresultStatus(r.get()) == PGRES_PIPELINE_SYNC) break;
            }
        };
        for (int q = 0; sent && q < 4 && PQstatus(conn_) == CONNECTION_OK; ++q) {
            readStatement(q);
            if (q == 1 || q == 3) readSync();
        }
        PQexitPipelineMode(conn_);
        std::optional<DbError> failure;
        if (!sent || PQstatus(conn_) != CONNECTION_OK)
            failure = ResultError(nullptr, conn_, sql);
        else if (errors[0])
            failure = errors[0];
        else if (errors[1] && !errors[1]->IsBusy())
            failure = errors[1];  // what went wrong in the undoing is then of no interest
        else
            failure = errors[2] ? errors[2] : errors[3] ? errors[3] : errors[1];
        if (!failure) return;
        lockWaitOver_ = failure->DriverMessage() == kLockWaitOver;
        throw *failure;
    }

    std::unique_ptr<BulkInsert> PrepareBulkInsert(const std::string& table,
                                                  const std::vector<std::string>& columns) override {
        std::string sql = "COPY " + table + " (";
        for (size_t i = 0; i < columns.size(); ++i) sql += (i ? ", " : "") + columns[i];
        sql += ") FROM STDIN";
        PendingCopy* pending = nullptr;
        for (auto& c : copies_)
            if (c->sql == sql) pending = c.get();
        if (!pending) {
            copies_.push_back(std::make_unique<PendingCopy>());
            pending = copies_.back().get();
            pending->sql = sql;
            pending->copy = TranslateSql(sql);
            pending->columns = columns.size();
        }
        return std::make_unique<PgBulkInsert>(*this, *pending);
    }

    void FlushBulkInserts() override { Sync(); }

    // A row waits with the others of its COPY; outside a transaction it goes at once.
    void AddCopyRow(PendingCopy& copy, const std::vector<Value>& row) {
        if (row.size() != copy.columns)
            throw DbError(fmt::format("{} values for {} columns", row.size(), copy.columns), 0, DbErrorKind::Other,
                          copy.sql);
        const size_t before = copy.data.size();
        AppendCopyRow(copy.data, row);
        waiting_ += copy.data.size() - before;
        if (waiting_ >= kCopyChunk || !InTransaction()) FlushCopies();
    }

    void Begin() override {
        Sync();
        if (InTransaction()) throw DbError("cannot start a transaction within a transaction");
        lockWaitOver_ = false;
        Run("BEGIN");
    }

    void Commit() override {
        try {
            Sync();
        } catch (const DbError&) {
            Rollback();
            throw;
        }
        if (!InTransaction()) throw DbError("cannot commit - no transaction is active");
        BeforeStatement("COMMIT");
        Result r = Run("COMMIT");
        // COMMIT of a transaction that an error aborted answers ROLLBACK, without an error.
        if (std::strcmp(PQcmdStatus(r.get()), "ROLLBACK") == 0)
            throw DbError("the transaction was rolled back: a statement in it had failed");
        AfterCommit();
    }

    void Rollback() override {
        DropCopies();
        lockWaitOver_ = false;
        try {
            Sync();
        } catch (const DbError&) {
            // The queued work goes with the transaction.
        }
        if (InTransaction()) Run("ROLLBACK");
    }

    bool InTransaction() const override {
        if (pipelining_) return true;
        PGTransactionStatusType s = PQtransactionStatus(conn_);
        return s == PQTRANS_INTRANS || s == PQTRANS_INERROR || s == PQTRANS_ACTIVE;
    }

    void Savepoint(const std::string& name) override {
        Sync();
        Run("SAVEPOINT " + QuoteIdentifier(name));
    }
    void Release(const std::string& name) override {
        Sync();
        Run("RELEASE SAVEPOINT " + QuoteIdentifier(name));
    }
    void RollbackTo(const std::string& name) override {
        try {
            Sync();
        } catch (const DbError&) {
            // Undone by the rollback.
        }
        Run("ROLLBACK TO SAVEPOINT " + QuoteIdentifier(name));
    }

    bool TableExists(const std::string& table) override {
        Result r = RunParams(
            "SELECT 1 FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
            "WHERE c.relname = $1 AND c.relkind IN ('r', 'v', 'm', 'p', 'f') "
            "AND (n.nspname = pg_catalog.current_schema() OR n.oid = pg_catalog.pg_my_temp_schema())",
            {Folded(table)});
        return PQntuples(r.get()) > 0;
    }

    std::vector<std::string> TableColumns(const std::string& table) override {
        Result r = RunParams(
            "SELECT a.attname FROM pg_catalog.pg_attribute a JOIN pg_catalog.pg_class c ON c.oid = a.attrelid "
            "JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
            "WHERE c.relname = $1 "
            "AND (n.nspname = pg_catalog.current_schema() OR n.oid = pg_catalog.pg_my_temp_schema()) "
            "AND c.relkind IN ('r', 'v', 'm', 'p', 'f') AND a.attnum > 0 AND NOT a.attisdropped "
            "ORDER BY a.attnum",
            {Folded(table)});
        std::vector<std::string> columns;
        for (int i = 0; i < PQntuples(r.get()); ++i) columns.emplace_back(PQgetvalue(r.get(), i, 0));
        return columns;
    }

    std::vector<std::string> TableIndexes(const std::string& table) override {
        // Read from the catalog: asking costs no lock, where CREATE INDEX IF NOT EXISTS waits
        // behind every writer of the table.
        Result r = RunParams(
            "SELECT i.relname FROM pg_catalog.pg_index x JOIN pg_catalog.pg_class i ON i.oid = x.indexrelid "
            "JOIN pg_catalog.pg_class c ON c.oid = x.indrelid JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
            "WHERE c.relname = $1 "
            "AND (n.nspname = pg_catalog.current_schema() OR n.oid = pg_catalog.pg_my_temp_schema())",
            {Folded(table)});
        std::vector<std::string> indexes;
        for (int i = 0; i < PQntuples(r.get()); ++i) indexes.emplace_back(PQgetvalue(r.get(), i, 0));
        return indexes;
    }

    Schema ReadSchema() override {
        // One statement for every table: a table without columns still gives a row (its
        // column null), an index a row of kind 1.
        Result r = RunParams(
            "SELECT c.relname, 0 AS k, a.attnum, a.attname FROM pg_catalog.pg_class c "
            "JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
            "LEFT JOIN pg_catalog.pg_attribute a ON a.attrelid = c.oid AND a.attnum > 0 AND NOT a.attisdropped "
            "WHERE c.relkind IN ('r', 'v', 'm', 'p', 'f') "
            "AND (n.nspname = pg_catalog.current_schema() OR n.oid = pg_catalog.pg_my_temp_schema()) "
            "UNION ALL SELECT c.relname, 1, 0, i.relname FROM pg_catalog.pg_index x "
            "JOIN pg_catalog.pg_class i ON i.oid = x.indexrelid JOIN pg_catalog.pg_class c ON c.oid = x.indrelid "
            "JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
            "WHERE (n.nspname = pg_catalog.current_schema() OR n.oid = pg_catalog.pg_my_temp_schema()) "
            "ORDER BY 1, 2, 3",
            {});
        Schema schema;
        for (int i = 0; i < PQntuples(r.get()); ++i) {
            TableSchema& t = schema[PQgetvalue(r.get(), i, 0)];
            if (PQgetisnull(r.get(), i, 3)) continue;
            (std::string_view(PQgetvalue(r.get(), i, 1)) == "0" ? t.columns : t.indexes)
                .emplace_back(PQgetvalue(r.get(), i, 3));
        }
        return schema;
    }

    std::string Path() const override { return identity_; }
    std::string BackendName() const override { return "postgresql"; }
    bool IsUsable() const override { return PQstatus(conn_) == CONNECTION_OK; }

    // ---- for statements ----

    Result RunPrepared(PgStatement& st) {
        auto pointers = st.ParamPointers();
        return Exchange(
            [&] {
                return PQsendQueryPrepared(conn_, st.Name().c_str(), static_cast<int>(pointers.size()),
                                           pointers.data(), nullptr, nullptr, 0);
            },
            st.Sql(), st.IsPrepared() ? nullptr : &st);
    }

    Result Describe(PgStatement& st) {
        EnsurePrepared(st);
        Sync();
        Result r(PQdescribePrepared(conn_, st.Name().c_str()));
        if (!r || !Succeeded(r.get())) throw ResultError(r.get(), conn_, st.Sql());
        return r;
    }

    // Inside a transaction the statement joins the pipeline; its outcome is read with the
    // others at the next synchronisation.
    bool Queue(PgStatement& st) {
        if (!pipelining_ && PQtransactionStatus(conn_) != PQTRANS_INTRANS) return false;
        // Compiled first, once for every later send (the queue's statements are read then).
        EnsurePrepared(st);
        if (waiting_) FlushCopies();
        if (!pipelining_) {
            FlushDeallocations();
            if (!PQenterPipelineMode(conn_)) return false;
            pipelining_ = true;
        }
        BeforeStatement(st.Sql());
        auto pointers = st.ParamPointers();
        if (!PQsendQueryPrepared(conn_, st.Name().c_str(), static_cast<int>(pointers.size()), pointers.data(),
                                 nullptr, nullptr, 0)) {
            DbError error = ResultError(nullptr, conn_, st.Sql());
            Drain(false);
            throw error;
        }
        queued_.push_back(st.SharedSql());
        if (static_cast<int>(queued_.size()) >= options_.queueLimit) Sync();
        return true;
    }

    void Forget(const std::string& name) noexcept {
        try {
            dead_.push_back(name);
        } catch (...) {
        }
    }

private:
    // Blanks, comments and semicolons only.
    static bool IsOnlyBlanks(const std::string& sql) {
        for (size_t i = 0; i < sql.size();) {
            if (sql.compare(i, 2, "--") == 0) {
                size_t e = sql.find('\n', i);
                i = e == std::string::npos ? sql.size() : e;
            } else if (sql.compare(i, 2, "/*") == 0) {
                size_t e = sql.find("*/", i + 2);
                i = e == std::string::npos ? sql.size() : e + 2;
            } else if (IsBlank(sql[i]) || sql[i] == ';') {
                ++i;
            } else {
                return false;
            }
        }
        return true;
    }

    static std::string Folded(const std::string& name) {
        std::string out = name;
        for (char& c : out) c = AsciiLower(c);
        return out;
    }

    Result Run(const std::string& sql) {
        Result r(PQexec(conn_, sql.c_str()));
        if (!r || !Succeeded(r.get())) throw ResultError(r.get(), conn_, sql);
        return r;
    }

    Result RunParams(const char* sql, const std::vector<std::string>& params) {
        std::vector<const char*> pointers;
        for (const auto& p : params) pointers.push_back(p.c_str());
        return Exchange(
            [&] {
                return PQsendQueryParams(conn_, sql, static_cast<int>(pointers.size()), nullptr, pointers.data(),
                                         nullptr, nullptr, 0);
            },
            sql);
    }

    bool SendPrepare(const PgStatement& st) {
        return PQsendPrepare(conn_, st.Name().c_str(), st.Translated().c_str(), st.ParamCount(), nullptr) != 0;
    }

    // Runs one statement that send() hands to libpq and returns its result, raising its error.
    // Inside a transaction the statement goes between a savepoint and its release, the three
    // in one round trip: a failure undoes the statement alone and the transaction goes on.
    // A statement not yet compiled (prepareFirst) is compiled in the same round trip.
    template <class Send>
    Result Exchange(Send send, std::string_view context, PgStatement* prepareFirst = nullptr) {
        Sync();
        // A transaction waits once for another session's lock: once a wait has run out, every
        // later statement of it fails at once rather than wait as long again.
        if (lockWaitOver_ && PQtransactionStatus(conn_) == PQTRANS_INTRANS)
            throw DbError(kLockWaitOver, 0, DbErrorKind::Busy, context, "55P03");
        lockWaitOver_ = false;
        const bool guarded = PQtransactionStatus(conn_) == PQTRANS_INTRANS;
        if (!guarded && !prepareFirst) {
            if (!send()) throw ResultError(nullptr, conn_, context);
            Result last;
            std::optional<DbError> error;
            while (PGresult* raw = PQgetResult(conn_)) {
                Result r(raw);
                if (!Succeeded(r.get()) && !error) error = ResultError(r.get(), conn_, context);
                last = std::move(r);
            }
            if (error) throw *error;
            if (!last) throw ResultError(nullptr, conn_, context);
            return last;
        }
        if (!PQenterPipelineMode(conn_)) throw ResultError(nullptr, conn_, context);
        const std::string begin = std::string("SAVEPOINT ") + kStatementSavepoint;
        const std::string end = std::string("RELEASE SAVEPOINT ") + kStatementSavepoint;
        auto command = [&](const std::string& text) {
            return PQsendQueryParams(conn_, text.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0);
        };
        // The commands in order: [savepoint] [compilation] statement [release].
        int commands = 0, prepared = -1, statement = -1;
        bool sent = true;
        if (guarded) sent = command(begin), ++commands;
        if (sent && prepareFirst) sent = SendPrepare(*prepareFirst), prepared = commands++;
        if (sent) sent = send(), statement = commands++;
        if (sent && guarded) sent = command(end), ++commands;
        sent = sent && PQpipelineSync(conn_);
        // The results of each, in order, each ended by a null; then the synchronisation.
        Result results[4];
        std::optional<DbError> errors[4];
        for (int q = 0; sent && q < commands && PQstatus(conn_) == CONNECTION_OK; ++q)
            while (PGresult* raw = PQgetResult(conn_)) {
                Result r(raw);
                ExecStatusType s = PQresultStatus(r.get());
                if (s == PGRES_PIPELINE_ABORTED) continue;
                if (!Succeeded(r.get()) && !errors[q]) errors[q] = ResultError(r.get(), conn_, context);
                results[q] = std::move(r);
            }
        for (int guard = 0; sent && PQstatus(conn_) == CONNECTION_OK && guard < 16; ++guard) {
            PGresult* raw = PQgetResult(conn_);
            if (!raw) continue;
            Result r(raw);
            if (PQresultStatus(r.get()) == PGRES_PIPELINE_SYNC) break;
        }
        std::optional<DbError> failure;
        if (!sent || PQstatus(conn_) != CONNECTION_OK) failure = ResultError(nullptr, conn_, context);
        for (int q = 0; !failure && q < commands; ++q)
            if (errors[q]) failure = errors[q];
        PQexitPipelineMode(conn_);
        if (prepared >= 0 && sent && results[prepared] && !errors[prepared]) prepareFirst->SetPrepared();
        if (!failure) return std::move(results[statement]);
        if (guarded && !errors[0] && PQstatus(conn_) == CONNECTION_OK) UndoStatement();
        lockWaitOver_ = failure->DriverMessage() == kLockWaitOver;
        throw *failure;
    }

    // Back to the statement's savepoint, which goes too: the transaction is as it was before.
    void UndoStatement() {
        try {
            Run(std::string("ROLLBACK TO SAVEPOINT ") + kStatementSavepoint + "; RELEASE SAVEPOINT " +
                kStatementSavepoint);
        } catch (const DbError&) {
            // The statement's own error is the one to report; the transaction stays aborted.
        }
    }

    // Every statement's result is read, the changes summed, the first error raised.
    int64_t RunScript(const std::string& translated, std::string_view sql) {
        if (!PQsendQuery(conn_, translated.c_str())) throw ResultError(nullptr, conn_, sql);
        int64_t changes = 0;
        std::optional<DbError> error;
        while (PGresult* raw = PQgetResult(conn_)) {
            Result r(raw);
            if (!Succeeded(r.get())) {
                if (!error) error = ResultError(r.get(), conn_, sql);
            } else {
                changes += ChangesOf(r.get());
            }
        }
        if (error) throw *error;
        return changes;
    }

    // Reads the outcome of the queued statements and drops the prepared statements no longer
    // used; raises the first queued statement's error.
    void Sync() {
        Drain(true);
        FlushCopies();
        if (dead_.size() >= 32) FlushDeallocations();
    }

    // Each COPY with rows waiting runs, its rows sent in one piece; the first failure is raised
    // once every waiting row is gone (the transaction has failed with it).
    void FlushCopies() {
        if (!waiting_) return;
        Drain(true);
        waiting_ = 0;
        std::optional<DbError> error;
        for (auto& c : copies_) {
            if (c->data.empty()) continue;
            std::string data;
            data.swap(c->data);
            if (error) continue;
            Result start(PQexec(conn_, c->copy.c_str()));
            if (!start || PQresultStatus(start.get()) != PGRES_COPY_IN) {
                error = ResultError(start.get(), conn_, c->sql);
                continue;
            }
            if (PQputCopyData(conn_, data.data(), static_cast<int>(data.size())) != 1) {
                error = ResultError(nullptr, conn_, c->sql);
                PQputCopyEnd(conn_, "the rows could not be sent");
            } else if (PQputCopyEnd(conn_, nullptr) != 1) {
                error = ResultError(nullptr, conn_, c->sql);
            }
            while (PGresult* raw = PQgetResult(conn_)) {
                Result r(raw);
                if (PQresultStatus(r.get()) == PGRES_COPY_IN) break;  // never left: the connection is gone
                if (!Succeeded(r.get()) && !error) error = ResultError(r.get(), conn_, c->sql);
            }
        }
        if (error) throw *error;
    }

    // The transaction goes: so do the rows waiting for it.
    void DropCopies() {
        for (auto& c : copies_) c->data.clear();
        waiting_ = 0;
    }

    void Drain(bool raise) {
        if (!pipelining_) return;
        std::optional<DbError> error;
        if (PQpipelineSync(conn_)) {
            size_t index = 0;  // the queued statement whose results are read
            bool ended = false;
            for (;;) {
                PGresult* raw = PQgetResult(conn_);
                if (!raw) {
                    // One statement's results end with a null; two in a row mean nothing more comes.
                    if (ended || PQstatus(conn_) != CONNECTION_OK) break;
                    ended = true;
                    ++index;
                    continue;
                }
                ended = false;
                Result r(raw);
                ExecStatusType s = PQresultStatus(r.get());
                if (s == PGRES_PIPELINE_SYNC) break;
                if (s == PGRES_FATAL_ERROR && !error)
                    error = ResultError(r.get(), conn_, index < queued_.size() ? *queued_[index] : "queued statement");
            }
        }
        if (!error && PQstatus(conn_) != CONNECTION_OK) error = ResultError(nullptr, conn_, "pipeline");
        PQexitPipelineMode(conn_);
        pipelining_ = false;
        queued_.clear();
        if (error && raise) throw *error;
    }

    // In an aborted transaction DEALLOCATE would fail: the names wait for its end.
    void FlushDeallocations() {
        if (dead_.empty() || pipelining_ || PQtransactionStatus(conn_) == PQTRANS_INERROR) return;
        std::string sql;
        for (const auto& name : dead_) sql += "DEALLOCATE " + name + ";";
        dead_.clear();
        Result r(PQexec(conn_, sql.c_str()));  // a failure leaves only unused statements behind
    }

    PGconn* conn_;
    std::string identity_;
    PostgresOptions options_;
    uint64_t statements_ = 0;
    bool pipelining_ = false;
    bool lockWaitOver_ = false;  // a statement of the open transaction waited out a lock
    std::vector<std::shared_ptr<const std::string>> queued_;
    std::vector<std::string> dead_;
    static constexpr size_t kCopyChunk = size_t{1} << 20;  // bytes of rows sent in one COPY
    std::vector<std::unique_ptr<PendingCopy>> copies_;
    size_t waiting_ = 0;  // bytes of rows waiting in copies_
};

void PgBulkInsert::Add(const std::vector<Value>& row) { conn_.AddCopyRow(copy_, row); }

PgStatement::~PgStatement() {
    if (prepared_) conn_.Forget(name_);
}

bool PgStatement::Step() {
    if (state_ == State::Done) return false;
    if (state_ == State::Idle) {
        BeforeStatement(*sql_);
        changes_ = 0;
        result_ = conn_.RunPrepared(*this);
        changes_ = ChangesOf(result_.get());
        int n = PQnfields(result_.get());
        kinds_.resize(static_cast<size_t>(n));
        for (int c = 0; c < n; ++c) kinds_[static_cast<size_t>(c)] = KindOfType(PQftype(result_.get(), c));
        row_ = -1;
        state_ = State::Row;
    }
    if (++row_ < PQntuples(result_.get())) return true;
    state_ = State::Done;
    return false;
}

void PgStatement::Send() {
    Reset();
    changes_ = 0;
    if (!conn_.Queue(*this)) {
        while (Step()) {
        }
    }
    Reset();
}

const PGresult* PgStatement::Described() const {
    if (result_) return result_.get();
    if (!description_) description_ = conn_.Describe(const_cast<PgStatement&>(*this));  // a cache
    return description_.get();
}

struct ConnCloser {
    void operator()(PGconn* c) const { PQfinish(c); }
};

}  // namespace

bool IsPostgresTarget(std::string_view target) {
    while (!target.empty() && IsBlank(target.front())) target.remove_prefix(1);
    if (target.empty() || target.front() == '/' || target.front() == '.') return false;
    auto startsWith = [&](std::string_view prefix) {
        if (target.size() < prefix.size()) return false;
        for (size_t i = 0; i < prefix.size(); ++i)
            if (AsciiLower(target[i]) != prefix[i]) return false;
        return true;
    };
    if (startsWith("postgresql://") || startsWith("postgres://")) return true;
    if (target.find('=') == std::string_view::npos) return false;
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(std::string(target).c_str(), &error);
    PQfreemem(error);
    if (!options) return false;
    PQconninfoFree(options);
    return true;
}

const char* PostgresTextType() { return "citext COLLATE ucs_basic"; }

std::string PostgresKeywordString(const std::vector<std::pair<std::string, std::string>>& pairs) {
    std::string out;
    for (const auto& [key, value] : pairs) {
        if (value.empty()) continue;
        if (!out.empty()) out += ' ';
        out += key + "='";
        for (char c : value) {
            if (c == '\\' || c == '\'') out += '\\';
            out += c;
        }
        out += '\'';
    }
    return out;
}

std::string TranslateSql(std::string_view sql, int* params, bool* several) {
    std::string out;
    out.reserve(sql.size() + 16);
    int count = 0;
    bool ended = false, more = false;
    const size_t n = sql.size();
    size_t i = 0;
    while (i < n) {
        const char c = sql[i];
        if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
            size_t e = sql.find('\n', i);
            e = e == std::string_view::npos ? n : e;
            out.append(sql.substr(i, e - i));
            i = e;
            continue;
        }
        if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
            size_t j = i + 2;
            for (int depth = 1; j < n && depth > 0;) {
                if (sql[j] == '/' && j + 1 < n && sql[j + 1] == '*') {
                    ++depth;
                    j += 2;
                } else if (sql[j] == '*' && j + 1 < n && sql[j + 1] == '/') {
                    --depth;
                    j += 2;
                } else {
                    ++j;
                }
            }
            out.append(sql.substr(i, j - i));
            i = j;
            continue;
        }
        if (IsBlank(c)) {
            out += c;
            ++i;
            continue;
        }
        if (c == ';') {
            ended = true;
            out += c;
            ++i;
            continue;
        }
        if (ended) more = true;
        if (c == '\'') {
            // E'...' takes backslash escapes; standard strings only the doubled quote.
            const bool escapes = i > 0 && (sql[i - 1] == 'E' || sql[i - 1] == 'e') && (i < 2 || !IsIdentChar(sql[i - 2]));
            size_t j = i + 1;
            while (j < n) {
                if (escapes && sql[j] == '\\') {
                    j += 2;
                    continue;
                }
                if (sql[j] == '\'') {
                    if (j + 1 < n && sql[j + 1] == '\'') {
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                ++j;
            }
            j = std::min(j, n);
            out.append(sql.substr(i, j - i));
            i = j;
            continue;
        }
        if (c == '"') {
            out += '"';
            size_t j = i + 1;
            while (j < n) {
                if (sql[j] == '"') {
                    if (j + 1 < n && sql[j + 1] == '"') {
                        out += "\"\"";
                        j += 2;
                        continue;
                    }
                    out += '"';
                    ++j;
                    break;
                }
                out += AsciiLower(sql[j]);
                ++j;
            }
            i = j;
            continue;
        }
        if (c == '$' && i + 1 < n && !(sql[i + 1] >= '0' && sql[i + 1] <= '9')) {
            // A dollar-quoted string: $$...$$ or $tag$...$tag$.
            size_t j = i + 1;
            while (j < n && IsIdentChar(sql[j]) && sql[j] != '$') ++j;
            if (j < n && sql[j] == '$') {
                std::string_view tag = sql.substr(i, j - i + 1);
                size_t close = sql.find(tag, j + 1);
                size_t e = close == std::string_view::npos ? n : close + tag.size();
                out.append(sql.substr(i, e - i));
                i = e;
                continue;
            }
        }
        if (IsIdentStart(c)) {
            size_t j = i;
            while (j < n && IsIdentChar(sql[j])) ++j;
            out.append(sql.substr(i, j - i));
            i = j;
            continue;
        }
        if (c == '?') {
            out += '$';
            out += std::to_string(++count);
            ++i;
            continue;
        }
        out += c;
        ++i;
    }
    if (params) *params = count;
    if (several) *several = more;
    return out;
}

std::unique_ptr<Connection> OpenPostgres(const std::string& target, const PostgresOptions& options) {
    // A target libpq cannot read is refused as PQconnectdb refuses it, with its reason.
    char* parseError = nullptr;
    PQconninfoOption* parsed = PQconninfoParse(target.c_str(), &parseError);
    if (!parsed) {
        std::string message = Trimmed(parseError ? parseError : "out of memory connecting to PostgreSQL");
        PQfreemem(parseError);
        throw DbError(message);
    }
    PQconninfoFree(parsed);
    // The client encoding travels with the connection request: no round trip of its own.
    const char* const keywords[] = {"dbname", "client_encoding", nullptr};
    const char* const values[] = {target.c_str(), "UTF8", nullptr};
    std::unique_ptr<PGconn, ConnCloser> conn(PQconnectdbParams(keywords, values, 1));
    if (!conn) throw DbError("out of memory connecting to PostgreSQL");
    if (PQstatus(conn.get()) != CONNECTION_OK) {
        // libpq's message names host, port and database, never the password.
        std::string message = Trimmed(PQerrorMessage(conn.get()));
        const bool missing = message.find("does not exist") != std::string::npos;
        throw DbError(message, 0, missing ? DbErrorKind::NotFound : DbErrorKind::Other);
    }
    PQsetNoticeReceiver(conn.get(), IgnoreNotice, nullptr);

    auto run = [&](const std::string& sql) {
        Result r(PQexec(conn.get(), sql.c_str()));
        if (!r || !Succeeded(r.get())) throw ResultError(r.get(), conn.get(), sql);
        return r;
    };
    // The session's settings and what the module needs of the database, in one round trip.
    Result probe = run(fmt::format(
        "SET DateStyle TO ISO, YMD; SET IntervalStyle TO postgres; SET extra_float_digits TO 1; "
        "SET standard_conforming_strings TO on; SET lock_timeout TO {}; "
        "SELECT pg_catalog.current_database(), pg_catalog.current_schema(), "
        "pg_catalog.to_regtype('citext') IS NOT NULL "
        "AND pg_catalog.to_regprocedure('len(text)') IS NOT NULL "
        "AND pg_catalog.to_regprocedure('len(anycompatible)') IS NOT NULL",
        std::max(0, options.lockTimeoutMs)));
    if (std::strcmp(PQgetvalue(probe.get(), 0, 2), "t") != 0) {
        try {
            run(fmt::format(
                "BEGIN; SELECT pg_catalog.pg_advisory_xact_lock({}); "
                "CREATE EXTENSION IF NOT EXISTS citext; "
                "CREATE OR REPLACE FUNCTION len(text) RETURNS integer LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE "
                "AS $plv$SELECT pg_catalog.char_length(pg_catalog.rtrim($1, ' '))$plv$; "
                "CREATE OR REPLACE FUNCTION len(anycompatible) RETURNS integer LANGUAGE sql IMMUTABLE STRICT "
                "PARALLEL SAFE AS $plv$SELECT pg_catalog.char_length(pg_catalog.rtrim($1::text, ' '))$plv$; "
                "COMMIT",
                kSupportLockKey));
        } catch (const DbError& e) {
            Result rollback(PQexec(conn.get(), "ROLLBACK"));
            throw DbError("the database lacks the citext extension or the LEN function and they could not be "
                          "created: " + e.DriverMessage(),
                          e.Code(), e.Kind(), {}, e.SqlState());
        }
    }

    std::string host = PQhost(conn.get()) ? PQhost(conn.get()) : "";
    std::string identity = fmt::format("postgresql://{}:{}/{}", host, PQport(conn.get()) ? PQport(conn.get()) : "",
                                       PQgetvalue(probe.get(), 0, 0));
    if (!PQgetisnull(probe.get(), 0, 1)) {
        std::string schema = PQgetvalue(probe.get(), 0, 1);
        if (schema != "public") identity += "?schema=" + schema;
    }
    return std::make_unique<PgConnection>(conn.release(), std::move(identity), options);
}

}  // namespace plv::db
