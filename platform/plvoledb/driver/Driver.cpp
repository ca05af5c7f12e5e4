#include "platform/plvoledb/driver/Driver.h"

#include <optional>

#include <cctype>
#include <csignal>
#include <cstdlib>
#include <string>

namespace plv::db {

namespace {

bool StartsWithWord(std::string_view sql, std::string_view word) {
    size_t i = 0;
    while (i < sql.size() && std::isspace(static_cast<unsigned char>(sql[i]))) ++i;
    if (sql.size() - i < word.size()) return false;
    for (size_t k = 0; k < word.size(); ++k)
        if (std::toupper(static_cast<unsigned char>(sql[i + k])) != word[k]) return false;
    return i + word.size() == sql.size() || !std::isalnum(static_cast<unsigned char>(sql[i + word.size()]));
}

long PointOf(const char* variable) {
    const char* text = std::getenv(variable);
    return text ? std::strtol(text, nullptr, 10) : 0L;
}

long KillAt() {
    static const long point = PointOf("KVZ_KILL_AT");
    return point;
}

long InterruptAt() {
    static const long point = PointOf("KVZ_INTERRUPT_AT");
    return point;
}

bool Counting() { return KillAt() > 0 || InterruptAt() > 0; }

void PointReached() {
    static long points = 0;
    ++points;
    if (points == KillAt()) std::raise(SIGKILL);
    if (points == InterruptAt()) std::raise(SIGINT);
}

}  // namespace

void BeforeStatement(std::string_view sql) {
    if (!Counting()) return;
    for (std::string_view word : {"INSERT", "UPDATE", "DELETE", "COMMIT"})
        if (StartsWithWord(sql, word)) {
            PointReached();
            return;
        }
}

void AfterCommit() {
    if (Counting()) PointReached();
}

std::unique_ptr<Statement> StatementPool::Take(std::string_view sql) {
    for (auto it = kept_.begin(); it != kept_.end(); ++it)
        if ((*it)->Sql() == sql) {
            std::unique_ptr<Statement> statement = std::move(*it);
            kept_.erase(it);
            statement->ClearBindings();
            return statement;
        }
    return nullptr;
}

void StatementPool::Keep(std::unique_ptr<Statement> statement) {
    if (!statement || capacity_ == 0) return;
    // Lets go of its rows and read snapshot now, not when it is taken again.
    statement->Reset();
    kept_.push_front(std::move(statement));
    if (kept_.size() > capacity_) kept_.pop_back();
}

std::unique_ptr<Statement> Connection::PrepareReused(std::string_view sql) {
    if (pool_)
        if (auto statement = pool_->Take(sql)) return statement;
    return PrepareForRun(sql);
}

namespace {

class PreparedBulkInsert final : public BulkInsert {
public:
    explicit PreparedBulkInsert(std::unique_ptr<Statement> insert) : insert_(std::move(insert)) {}
    void Add(const std::vector<Value>& row) override {
        for (size_t i = 0; i < row.size(); ++i) insert_->Bind(static_cast<int>(i) + 1, row[i]);
        while (insert_->Step()) {
        }
        insert_->Reset();
    }

private:
    std::unique_ptr<Statement> insert_;
};

std::string BulkInsertSql(const std::string& table, const std::vector<std::string>& columns) {
    std::string sql = "INSERT INTO " + table + " (", values;
    for (size_t i = 0; i < columns.size(); ++i) {
        sql += (i ? ", " : "") + columns[i];
        values += i ? ", ?" : "?";
    }
    return sql + ") VALUES (" + values + ")";
}

}  // namespace

std::unique_ptr<BulkInsert> Connection::PrepareBulkInsert(const std::string& table,
                                                          const std::vector<std::string>& columns) {
    return std::make_unique<PreparedBulkInsert>(PrepareReused(BulkInsertSql(table, columns)));
}

void Connection::Probe(std::string_view sql, const std::vector<Value>& params) {
    if (!InTransaction()) {
        Execute(sql, params);
        return;
    }
    const std::string savepoint = "plv_probe";
    Savepoint(savepoint);
    std::optional<DbError> refused;
    try {
        Execute(sql, params);
    } catch (const DbError& e) {
        if (!e.IsBusy()) {
            try {
                RollbackTo(savepoint);
                Release(savepoint);
            } catch (const DbError&) {
                // The statement's own error is the one to report.
            }
            throw;
        }
        refused = e;
    }
    RollbackTo(savepoint);
    Release(savepoint);
    if (refused) throw *refused;
}

void Connection::SchemaMayChange(std::string_view sql) {
    if (!pool_ || pool_->Size() == 0) return;
    // Scripts are rare: any of these words anywhere in one is enough to start afresh.
    auto part = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    size_t i = 0;
    while (i < sql.size()) {
        if (!part(sql[i])) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < sql.size() && part(sql[end])) ++end;
        std::string word;
        for (size_t k = i; k < end; ++k) word += static_cast<char>(std::toupper(static_cast<unsigned char>(sql[k])));
        if (word == "CREATE" || word == "ALTER" || word == "DROP") {
            pool_->Clear();
            return;
        }
        i = end;
    }
}

}  // namespace plv::db
