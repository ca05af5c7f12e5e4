#include "platform/plvoledb/driver/Sqlite.h"
#include "platform/plvoledb/driver/tests/TempDir.h"

#include <gtest/gtest.h>

#include <fmt/core.h>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace plv::db {
namespace {

using testing::ReadFile;
using testing::TempDir;

Value Scalar(Connection& db, std::string_view sql, const std::vector<Value>& params = {}) {
    auto stmt = db.Prepare(sql);
    for (size_t i = 0; i < params.size(); ++i) stmt->Bind(static_cast<int>(i + 1), params[i]);
    if (!stmt->Step()) throw std::runtime_error("no row");
    return stmt->Column(0);
}

std::string Text(const Value& v) { return std::get<std::string>(v); }
int64_t Int(const Value& v) { return std::get<int64_t>(v); }

class SqliteTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = dir_.File("company.db");
        db_ = OpenSqlite(path_, OpenMode::CreateIfMissing);
        db_->Execute(fmt::format("CREATE TABLE item(id INTEGER PRIMARY KEY, name TEXT COLLATE {}, "
                                 "price REAL, note TEXT)",
                                 TextCollation()));
    }

    TempDir dir_;
    std::string path_;
    std::unique_ptr<Connection> db_;
};

TEST_F(SqliteTest, PreparedOnceRunsManyTimesWithNewBindings) {
    auto insert = db_->Prepare("INSERT INTO item(id, name, price) VALUES (?, ?, ?)");
    const std::vector<std::vector<Value>> rows = {
        {int64_t{1}, std::string("Bolt"), 0.25},
        {int64_t{2}, std::string("Nut"), std::monostate{}},
        {int64_t{3}, std::string("Washer"), 1.5},
    };
    for (const auto& row : rows) {
        for (size_t i = 0; i < row.size(); ++i) insert->Bind(static_cast<int>(i + 1), row[i]);
        EXPECT_FALSE(insert->Step());
        EXPECT_EQ(insert->Changes(), 1);
        // Stepping a finished run again must not insert the row twice.
        EXPECT_FALSE(insert->Step());
    }
    EXPECT_EQ(Int(Scalar(*db_, "SELECT count(*) FROM item")), 3);

    auto select = db_->Prepare("SELECT name, price FROM item WHERE id = ?");
    ASSERT_EQ(select->ColumnCount(), 2);
    EXPECT_EQ(select->ColumnName(0), "name");
    EXPECT_EQ(select->ColumnName(1), "price");
    for (size_t r = 0; r < rows.size(); ++r) {
        select->Bind(1, rows[r][0]);
        ASSERT_TRUE(select->Step());
        EXPECT_EQ(select->Column(0), rows[r][1]);
        EXPECT_EQ(select->Column(1), rows[r][2]);
        EXPECT_FALSE(select->Step());
        EXPECT_EQ(select->Changes(), 0);
    }

    // Reset keeps the bindings: the same row comes back.
    select->Reset();
    ASSERT_TRUE(select->Step());
    EXPECT_EQ(Text(select->Column(0)), "Washer");
    select->ClearBindings();
    EXPECT_FALSE(select->Step());  // id = NULL matches nothing
}

TEST_F(SqliteTest, ValuesRoundTripUnchanged) {
    const std::vector<Value> values = {
        std::monostate{},
        std::numeric_limits<int64_t>::min(),
        std::numeric_limits<int64_t>::max(),
        -0.125,
        std::string(),
        std::string("Grüße €"),
        std::string("nul\0inside", 10),
    };
    for (const auto& value : values) {
        EXPECT_EQ(Scalar(*db_, "SELECT ?", {value}), value) << "index " << value.index();
    }
}

TEST_F(SqliteTest, MisuseIsReportedNotUndefined) {
    auto stmt = db_->Prepare("SELECT id FROM item");
    EXPECT_THROW(stmt->Column(0), DbError);  // before the first Step
    EXPECT_THROW(stmt->ColumnName(1), DbError);
    EXPECT_FALSE(stmt->Step());
    EXPECT_THROW(stmt->Column(0), DbError);  // after the last row
    EXPECT_THROW(db_->Prepare("SELECT 1; SELECT 2"), DbError);
    EXPECT_THROW(db_->Prepare("  -- only a comment"), DbError);
    EXPECT_THROW(db_->Execute("SELECT ?; SELECT ?", {int64_t{1}}), DbError);
    EXPECT_THROW(stmt->Bind(2, int64_t{1}), DbError);
    try {
        db_->Execute("SELEC 1");
        FAIL() << "no error";
    } catch (const DbError& e) {
        EXPECT_NE(std::string(e.what()).find("SELEC 1"), std::string::npos) << e.what();
        EXPECT_NE(e.DriverMessage().find("syntax error"), std::string::npos);
        EXPECT_NE(e.Code(), 0);
        EXPECT_FALSE(e.IsBusy());
    }
}

TEST_F(SqliteTest, ChangesCountsOnlyRowsOfTheStatementItself) {
    EXPECT_EQ(db_->Execute("INSERT INTO item(id, name) VALUES (1, 'a'), (2, 'b'), (3, 'c')"), 3);
    EXPECT_EQ(db_->Execute("UPDATE item SET price = 1 WHERE id >= ?", {int64_t{2}}), 2);
    // Neither a DDL statement nor a query may report the previous UPDATE's count.
    EXPECT_EQ(db_->Execute("CREATE TABLE other(x)"), 0);
    auto query = db_->Prepare("SELECT id FROM item");
    while (query->Step()) {
    }
    EXPECT_EQ(query->Changes(), 0);
    EXPECT_EQ(db_->Execute("DELETE FROM item WHERE id = 99"), 0);
    // A script sums its statements.
    EXPECT_EQ(db_->Execute("DELETE FROM item WHERE id = 1; ; -- note\n DELETE FROM item WHERE id > 1;"), 3);
}

TEST_F(SqliteTest, AggregatesOverNoRowsGiveNullForTheCallerToHandle) {
    auto stmt = db_->Prepare("SELECT SUM(price), MAX(name), COUNT(*), COALESCE(SUM(price), 0) FROM item");
    ASSERT_TRUE(stmt->Step());
    EXPECT_TRUE(IsNull(stmt->Column(0)));
    EXPECT_TRUE(IsNull(stmt->Column(1)));
    EXPECT_EQ(Int(stmt->Column(2)), 0);
    EXPECT_EQ(Int(stmt->Column(3)), 0);
}

TEST_F(SqliteTest, LenIgnoresTrailingBlanksOnly) {
    const struct {
        Value input;
        Value expected;
    } cases[] = {
        {std::string("abc"), int64_t{3}},
        {std::string("abc   "), int64_t{3}},
        {std::string("  abc"), int64_t{5}},
        {std::string("a b "), int64_t{3}},
        {std::string("ab\t"), int64_t{3}},
        {std::string(""), int64_t{0}},
        {std::string("   "), int64_t{0}},
        {std::string("Grüße"), int64_t{5}},
        {int64_t{-120}, int64_t{4}},
        {std::monostate{}, std::monostate{}},
    };
    for (const auto& c : cases) EXPECT_EQ(Scalar(*db_, "SELECT len(?)", {c.input}), c.expected);
}

TEST_F(SqliteTest, TextComparisonIgnoresAsciiCase) {
    db_->Execute("INSERT INTO item(id, name, note) VALUES (1, 'Meier', 'Meier')");
    const struct {
        const char* sql;
        std::vector<Value> params;
        int64_t expected;
    } cases[] = {
        {"SELECT count(*) FROM item WHERE name = 'MEIER'", {}, 1},
        {"SELECT count(*) FROM item WHERE name = ?", {std::string("mEiEr")}, 1},
        {"SELECT count(*) FROM item WHERE name IN ('x', 'meier')", {}, 1},
        {"SELECT count(*) FROM item WHERE name > 'mb'", {}, 1},
        {"SELECT count(*) FROM item WHERE name LIKE 'mEI%'", {}, 1},
        {"SELECT count(*) FROM item WHERE note LIKE 'MEI%'", {}, 1},  // LIKE needs no collation
        {"SELECT count(*) FROM item WHERE note = 'MEIER'", {}, 0},    // a column without it stays exact
    };
    for (const auto& c : cases) EXPECT_EQ(Int(Scalar(*db_, c.sql, c.params)), c.expected) << c.sql;

    db_->Execute("CREATE UNIQUE INDEX item_name ON item(name)");
    EXPECT_THROW(db_->Execute("INSERT INTO item(id, name) VALUES (2, 'MEIER')"), DbError);
}

TEST_F(SqliteTest, TransactionsCommitOrRollBack) {
    EXPECT_FALSE(db_->InTransaction());
    db_->Rollback();  // harmless outside a transaction
    EXPECT_THROW(db_->Commit(), DbError);

    db_->Begin();
    EXPECT_TRUE(db_->InTransaction());
    EXPECT_THROW(db_->Begin(), DbError);
    db_->Execute("INSERT INTO item(id) VALUES (1)");
    db_->Rollback();
    EXPECT_FALSE(db_->InTransaction());
    EXPECT_EQ(Int(Scalar(*db_, "SELECT count(*) FROM item")), 0);

    db_->Begin();
    db_->Execute("INSERT INTO item(id) VALUES (2)");
    db_->Commit();
    auto other = OpenSqlite(path_, OpenMode::OpenExisting);
    EXPECT_EQ(Int(Scalar(*other, "SELECT id FROM item")), 2);
}

TEST_F(SqliteTest, SavepointsUndoOnlyTheirOwnPart) {
    const std::string inner = "it's \"inner\"";  // names are quoted, not pasted
    db_->Begin();
    db_->Execute("INSERT INTO item(id) VALUES (1)");
    db_->Savepoint("outer");
    db_->Execute("INSERT INTO item(id) VALUES (2)");
    db_->Savepoint(inner);
    db_->Execute("INSERT INTO item(id) VALUES (3)");
    db_->RollbackTo(inner);
    db_->Execute("INSERT INTO item(id) VALUES (4)");
    db_->RollbackTo(inner);  // still there after the first rollback
    db_->Release(inner);
    EXPECT_THROW(db_->RollbackTo(inner), DbError);
    db_->Execute("INSERT INTO item(id) VALUES (5)");
    db_->Release("outer");
    EXPECT_TRUE(db_->InTransaction());
    db_->Commit();
    EXPECT_EQ(Text(Scalar(*db_, "SELECT group_concat(id) FROM (SELECT id FROM item ORDER BY id)")), "1,2,5");

    db_->Begin();
    db_->Savepoint("s");
    db_->Execute("DELETE FROM item");
    db_->Rollback();  // the whole transaction, savepoints included
    EXPECT_EQ(Int(Scalar(*db_, "SELECT count(*) FROM item")), 3);
}

TEST_F(SqliteTest, DescribesTables) {
    db_->Execute("CREATE VIEW cheap AS SELECT id, name FROM item; CREATE TEMP TABLE scratch(b, a)");
    EXPECT_TRUE(db_->TableExists("item"));
    EXPECT_TRUE(db_->TableExists("ITEM"));
    EXPECT_TRUE(db_->TableExists("cheap"));
    EXPECT_TRUE(db_->TableExists("Scratch"));
    EXPECT_FALSE(db_->TableExists("item_name"));
    EXPECT_FALSE(db_->TableExists("it%"));
    EXPECT_EQ(db_->TableColumns("Item"), (std::vector<std::string>{"id", "name", "price", "note"}));
    EXPECT_EQ(db_->TableColumns("scratch"), (std::vector<std::string>{"b", "a"}));
    EXPECT_TRUE(db_->TableColumns("missing").empty());
}

TEST_F(SqliteTest, ConnectionIsSetUpForSharedUse) {
    EXPECT_EQ(Text(Scalar(*db_, "PRAGMA journal_mode")), "wal");
    EXPECT_EQ(Int(Scalar(*db_, "PRAGMA foreign_keys")), 0);
    EXPECT_EQ(Int(Scalar(*db_, "PRAGMA busy_timeout")), 5000);
    EXPECT_EQ(db_->BackendName(), "sqlite");
    EXPECT_EQ(db_->Path(), path_);

    // Reached through a symlink or a detour, it is the same database.
    std::filesystem::create_directory(dir_.Path() / "sub");
    std::filesystem::create_symlink(path_, dir_.Path() / "link.db");
    EXPECT_EQ(OpenSqlite(dir_.File("sub/../link.db"), OpenMode::OpenExisting)->Path(), path_);

    auto custom = OpenSqlite(path_, OpenMode::OpenExisting, {.busyTimeoutMs = 250});
    EXPECT_EQ(Int(Scalar(*custom, "PRAGMA busy_timeout")), 250);
}

class OpenTest : public ::testing::Test {
protected:
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_.Path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir dir_;
};

TEST_F(OpenTest, MissingFileIsAnErrorAndStaysMissing) {
    for (OpenMode mode : {OpenMode::OpenExisting, OpenMode::ReadOnly}) {
        try {
            OpenSqlite(dir_.File("absent.db"), mode);
            FAIL() << "opened a missing file";
        } catch (const DbError& e) {
            EXPECT_EQ(e.Kind(), DbErrorKind::NotFound);
            EXPECT_NE(std::string(e.what()).find("absent.db"), std::string::npos);
        }
    }
    EXPECT_TRUE(Entries().empty());
    EXPECT_THROW(OpenSqlite(dir_.File("no/such/dir.db"), OpenMode::CreateIfMissing), DbError);
    EXPECT_THROW(OpenSqlite(dir_.Path().string(), OpenMode::CreateIfMissing), DbError);
    EXPECT_THROW(OpenSqlite("", OpenMode::CreateIfMissing), DbError);
}

TEST_F(OpenTest, ForeignFileIsRejectedAndLeftUntouched) {
    const std::string path = dir_.File("notes.db");
    std::string content;
    for (int i = 0; i < 200; ++i) content += fmt::format("line {} of a plain text file\n", i);
    std::ofstream(path, std::ios::binary) << content;

    for (OpenMode mode : {OpenMode::OpenExisting, OpenMode::CreateIfMissing, OpenMode::ReadOnly}) {
        try {
            OpenSqlite(path, mode);
            FAIL() << "opened a text file";
        } catch (const DbError& e) {
            EXPECT_EQ(e.Kind(), DbErrorKind::NotADatabase) << e.what();
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(ReadFile(path), content);
    EXPECT_EQ(Entries(), std::vector<std::string>{"notes.db"});  // no journal or WAL files either
}

TEST_F(OpenTest, CreatedDatabaseReopensWithItsData) {
    const std::string path = dir_.File("new.db");
    OpenSqlite(path, OpenMode::CreateIfMissing)->Execute("CREATE TABLE t(x); INSERT INTO t VALUES (7)");
    auto again = OpenSqlite(path, OpenMode::OpenExisting);
    EXPECT_EQ(Int(Scalar(*again, "SELECT x FROM t")), 7);

    auto reader = OpenSqlite(path, OpenMode::ReadOnly);
    EXPECT_EQ(Int(Scalar(*reader, "SELECT x FROM t")), 7);
    EXPECT_THROW(reader->Execute("INSERT INTO t VALUES (8)"), DbError);
}

// Execute keeps compiled statements: repeated texts, a failure in the middle, a schema change
// and a DROP between runs must all behave as with a fresh statement.
TEST_F(SqliteTest, RepeatedExecuteWithParametersStaysCorrect) {
    db_->Execute("CREATE TABLE r (k INTEGER PRIMARY KEY, v TEXT)");
    const std::string insert = "INSERT INTO r (k, v) VALUES (?, ?)";
    for (int64_t k = 1; k <= 50; ++k) EXPECT_EQ(db_->Execute(insert, {k, std::string("x")}), 1);
    EXPECT_THROW(db_->Execute(insert, {int64_t(7), std::string("dup")}), DbError);
    EXPECT_EQ(db_->Execute(insert, {int64_t(51), std::string("y")}), 1);  // usable after the failure
    db_->Execute("ALTER TABLE r ADD COLUMN w INTEGER NOT NULL DEFAULT 3");
    EXPECT_EQ(db_->Execute("UPDATE r SET v = ? WHERE k = ?", {std::string("z"), int64_t(51)}), 1);
    EXPECT_EQ(db_->Execute(insert, {int64_t(52), std::string("after")}), 1);
    auto st = db_->Prepare("SELECT COUNT(*), SUM(w) FROM r");
    ASSERT_TRUE(st->Step());
    EXPECT_EQ(std::get<int64_t>(st->Column(0)), 52);
    EXPECT_EQ(std::get<int64_t>(st->Column(1)), 156);
    st.reset();
    db_->Execute("DROP TABLE r");  // no cached statement keeps the table busy
    EXPECT_FALSE(db_->TableExists("r"));
}

// A column dropped by a newer release, still named by an older statement, must fail: read as a
// string literal it would match every row whose text is its name.
TEST_F(SqliteTest, ADroppedColumnIsAnErrorNotTheTextOfItsName) {
    db_->Execute("INSERT INTO item(id, name, note) VALUES (1, 'a', 'x'), (2, 'b', 'y')");
    db_->Execute("ALTER TABLE item DROP COLUMN note");
    EXPECT_THROW(db_->Execute("DELETE FROM item WHERE \"note\" = ?", {std::string("note")}), DbError);
    EXPECT_THROW(db_->Execute("CREATE INDEX item_note ON item(\"note\")"), DbError);
    // Reopened, as another process would.
    auto other = OpenSqlite(path_, OpenMode::OpenExisting);
    EXPECT_THROW(other->Execute("DELETE FROM item WHERE \"note\" = ?", {std::string("note")}), DbError);
    EXPECT_EQ(Int(Scalar(*db_, "SELECT COUNT(*) FROM item")), 2);
}

}  // namespace
}  // namespace plv::db
