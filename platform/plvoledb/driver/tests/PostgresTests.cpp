#include "platform/plvoledb/driver/Postgres.h"
#include "platform/plvoledb/driver/tests/PgTestDatabase.h"

#include <gtest/gtest.h>

#include <fmt/core.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>

namespace plv::db {
namespace {

using testing::PgSchema;
using testing::PgTestServer;

Value Scalar(Connection& db, std::string_view sql, const std::vector<Value>& params = {}) {
    auto stmt = db.Prepare(sql);
    for (size_t i = 0; i < params.size(); ++i) stmt->Bind(static_cast<int>(i + 1), params[i]);
    if (!stmt->Step()) throw std::runtime_error("no row");
    return stmt->Column(0);
}

int64_t Int(const Value& v) { return std::get<int64_t>(v); }

// ---- without a server ----------------------------------------------------------------------

TEST(PostgresSql, PlaceholdersAreNumberedOutsideLiteralsNamesAndComments) {
    const struct {
        const char* sql;
        const char* expected;
        int params;
        bool several;
    } cases[] = {
        {"SELECT a FROM t WHERE b = ? AND c = ?", "SELECT a FROM t WHERE b = $1 AND c = $2", 2, false},
        {"SELECT '?', 'it''s ?', ? FROM t", "SELECT '?', 'it''s ?', $1 FROM t", 1, false},
        {"SELECT E'\\'?', ?", "SELECT E'\\'?', $1", 1, false},
        {"SELECT \"Col?\" -- ?\n, ? /* ? /* ? */ ? */ FROM \"T_Movimenti\"",
         "SELECT \"col?\" -- ?\n, $1 /* ? /* ? */ ? */ FROM \"t_movimenti\"", 1, false},
        {"SELECT \"A\"\"B\"", "SELECT \"a\"\"b\"", 0, false},
        {"SELECT $$?$$, $x$ ? $x$, ?", "SELECT $$?$$, $x$ ? $x$, $1", 1, false},
        {"SELECT a$b, ?", "SELECT a$b, $1", 1, false},
        {"SELECT 1;  -- done\n", "SELECT 1;  -- done\n", 0, false},
        {"SELECT 1;;", "SELECT 1;;", 0, false},
        {"SELECT 1; SELECT ?", "SELECT 1; SELECT $1", 1, true},
        {"INSERT INTO \"Tàb\" VALUES ('È')", "INSERT INTO \"tàb\" VALUES ('È')", 0, false},
    };
    for (const auto& c : cases) {
        int params = -1;
        bool several = !c.several;
        EXPECT_EQ(TranslateSql(c.sql, &params, &several), c.expected) << c.sql;
        EXPECT_EQ(params, c.params) << c.sql;
        EXPECT_EQ(several, c.several) << c.sql;
    }
}

TEST(PostgresSql, KeywordValuesAreQuotedSoLibpqReadsThemBack) {
    const std::vector<std::pair<std::string, std::string>> pairs = {
        {"host", "srv-contabilita"},
        {"dbname", "az 01;x=y"},
        {"user", "o'brien"},
        {"password", "p\\w' d=;"},
        {"port", ""},  // left out
    };
    const std::string text = PostgresKeywordString(pairs);
    EXPECT_EQ(text.find("port"), std::string::npos);
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(text.c_str(), &error);
    ASSERT_NE(options, nullptr) << (error ? error : "");
    std::map<std::string, std::string> parsed;
    for (PQconninfoOption* o = options; o->keyword; ++o)
        if (o->val) parsed[o->keyword] = o->val;
    PQconninfoFree(options);
    for (const auto& [key, value] : pairs) {
        if (!value.empty()) {
            EXPECT_EQ(parsed[key], value) << key;
        }
    }
}

TEST(PostgresSql, TargetsAreUrisOrKeywordStringsNeverPaths) {
    const struct {
        const char* target;
        bool postgres;
    } cases[] = {
        {"postgresql://kvz@db.example/az01", true},
        {"POSTGRES://localhost", true},
        {"host=srv dbname=az01", true},
        {"  dbname='az 01'", true},
        {"/var/lib/kvz/az01.db", false},
        {"./az01.db", false},
        {"az01.db", false},
        {"az=01.db", false},  // not a libpq keyword
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsPostgresTarget(c.target), c.postgres) << c.target;
}

// ---- on the server ---------------------------------------------------------------------------

class PostgresTest : public ::testing::Test {
protected:
    void SetUp() override {
        KVZ_REQUIRE_PG();
        schema_ = std::make_unique<PgSchema>(*PgTestServer());
        db_ = OpenPostgres(schema_->Target());
        db_->Execute(fmt::format("CREATE TABLE item(id bigint PRIMARY KEY, name {} , price double precision, "
                                 "note text, day date, stamp timestamp(0), kind integer)",
                                 PostgresTextType()));
    }
    void TearDown() override {
        db_.reset();
        schema_.reset();
    }

    std::unique_ptr<PgSchema> schema_;
    std::unique_ptr<Connection> db_;
};

TEST_F(PostgresTest, PreparedOnceRunsManyTimesWithNewBindings) {
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
        EXPECT_FALSE(insert->Step());  // a finished run is not run again
    }
    EXPECT_EQ(Int(Scalar(*db_, "SELECT count(*) FROM item")), 3);

    auto select = db_->Prepare("SELECT name, price FROM item WHERE id = ?");
    ASSERT_EQ(select->ColumnCount(), 2);  // known before the first run
    EXPECT_EQ(select->ColumnName(0), "name");
    for (const auto& row : rows) {
        select->Bind(1, row[0]);
        ASSERT_TRUE(select->Step());
        EXPECT_EQ(select->Column(0), row[1]);
        EXPECT_EQ(select->Column(1), row[2]);
        EXPECT_FALSE(select->Step());
        EXPECT_EQ(select->Changes(), 0);
    }
    select->Reset();  // keeps the bindings
    ASSERT_TRUE(select->Step());
    EXPECT_EQ(select->Column(0), Value(std::string("Washer")));
    select->ClearBindings();
    EXPECT_FALSE(select->Step());
}

TEST_F(PostgresTest, ValuesRoundTripThroughTheirColumnTypes) {
    const struct {
        const char* column;
        Value value;
        Value expected;
    } cases[] = {
        {"id", std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::min()},
        {"id", std::numeric_limits<int64_t>::max(), std::numeric_limits<int64_t>::max()},
        {"price", -0.125, -0.125},
        {"price", 0.1, 0.1},
        {"price", 1e300, 1e300},
        {"price", int64_t{7}, 7.0},
        {"name", std::string("Grüße €"), std::string("Grüße €")},
        {"name", std::string(), std::string()},
        {"note", std::monostate{}, std::monostate{}},
        {"day", std::string("2024-02-29"), std::string("2024-02-29")},
        {"day", std::string("2024-02-29 13:14:15"), std::string("2024-02-29")},
        {"stamp", std::string("2024-02-29 13:14:15"), std::string("2024-02-29 13:14:15")},
        {"stamp", std::string("1799-12-31"), std::string("1799-12-31 00:00:00")},
        {"kind", int64_t{-2147483647 - 1}, int64_t{-2147483647 - 1}},  // enumerations as 32-bit integers
    };
    int64_t id = 100;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.column);
        const bool isId = std::string(c.column) == "id";
        const Value key = isId ? c.value : Value(++id);
        if (isId)
            db_->Execute("INSERT INTO item(id) VALUES (?)", {c.value});
        else
            db_->Execute(fmt::format("INSERT INTO item(id, {}) VALUES (?, ?)", c.column), {key, c.value});
        EXPECT_EQ(Scalar(*db_, fmt::format("SELECT {} FROM item WHERE id = ?", c.column), {key}), c.expected);
    }
    EXPECT_THROW(db_->Execute("INSERT INTO item(id, name) VALUES (1, ?)", {std::string("nul\0in", 6)}), DbError);
    EXPECT_THROW(db_->Execute("INSERT INTO item(id, kind) VALUES (1, ?)", {int64_t{1} << 32}), DbError);
}

TEST_F(PostgresTest, MisuseIsReportedNotUndefined) {
    auto stmt = db_->Prepare("SELECT id FROM item");
    EXPECT_THROW(stmt->Column(0), DbError);
    EXPECT_THROW(stmt->ColumnName(1), DbError);
    EXPECT_FALSE(stmt->Step());
    EXPECT_THROW(stmt->Column(0), DbError);
    EXPECT_THROW(db_->Prepare("SELECT 1; SELECT 2"), DbError);
    EXPECT_THROW(db_->Prepare("  -- only a comment"), DbError);
    EXPECT_THROW(db_->Execute("SELECT ?; SELECT ?", {int64_t{1}}), DbError);
    EXPECT_THROW(stmt->Bind(1, int64_t{1}), DbError);
    try {
        db_->Execute("SELEC 1");
        FAIL() << "no error";
    } catch (const DbError& e) {
        EXPECT_NE(std::string(e.what()).find("SELEC 1"), std::string::npos) << e.what();
        EXPECT_NE(e.DriverMessage().find("syntax error"), std::string::npos);
        EXPECT_EQ(e.SqlState(), "42601");
        EXPECT_NE(e.Code(), 0);
        EXPECT_FALSE(e.IsBusy());
    }
}

TEST_F(PostgresTest, ChangesCountsOnlyRowsOfTheStatementItself) {
    EXPECT_EQ(db_->Execute("INSERT INTO item(id, name) VALUES (1, 'a'), (2, 'b'), (3, 'c')"), 3);
    EXPECT_EQ(db_->Execute("UPDATE item SET price = 1 WHERE id >= ?", {int64_t{2}}), 2);
    EXPECT_EQ(db_->Execute("CREATE TABLE other(x integer)"), 0);
    auto query = db_->Prepare("SELECT id FROM item");
    while (query->Step()) {
    }
    EXPECT_EQ(query->Changes(), 0);
    EXPECT_EQ(db_->Execute("DELETE FROM item WHERE id = 99"), 0);
    EXPECT_EQ(db_->Execute("DELETE FROM item WHERE id = 1; ; -- note\n DELETE FROM item WHERE id > 1;"), 3);
}

TEST_F(PostgresTest, AggregatesKeepIntegersWholeAndGiveNullOverNoRows) {
    auto empty = db_->Prepare("SELECT SUM(price), MAX(name), COUNT(*), SUM(id) FROM item");
    ASSERT_TRUE(empty->Step());
    EXPECT_TRUE(IsNull(empty->Column(0)));
    EXPECT_TRUE(IsNull(empty->Column(1)));
    EXPECT_EQ(Int(empty->Column(2)), 0);
    EXPECT_TRUE(IsNull(empty->Column(3)));

    db_->Execute("INSERT INTO item(id, price) VALUES (40, 0.5), (2, 0.25)");
    auto sums = db_->Prepare("SELECT SUM(id), SUM(price), AVG(id), SUM(kind) FROM item");
    ASSERT_TRUE(sums->Step());
    EXPECT_EQ(sums->Column(0), Value(int64_t{42}));  // numeric, yet whole
    EXPECT_EQ(sums->Column(1), Value(0.75));
    EXPECT_EQ(sums->Column(2), Value(21.0));
    EXPECT_TRUE(IsNull(sums->Column(3)));
}

TEST_F(PostgresTest, LenIgnoresTrailingBlanksOnly) {
    const struct {
        Value input;
        Value expected;
    } cases[] = {
        {std::string("abc"), int64_t{3}},   {std::string("abc   "), int64_t{3}}, {std::string("  abc"), int64_t{5}},
        {std::string("a b "), int64_t{3}},  {std::string("ab\t"), int64_t{3}},   {std::string(""), int64_t{0}},
        {std::string("   "), int64_t{0}},   {std::string("Grüße"), int64_t{5}},  {std::monostate{}, std::monostate{}},
    };
    for (const auto& c : cases) EXPECT_EQ(Scalar(*db_, "SELECT len(?)", {c.input}), c.expected);
    db_->Execute("INSERT INTO item(id, name, kind) VALUES (-120, 'Conto  ', 7)");
    EXPECT_EQ(Int(Scalar(*db_, "SELECT LEN(name) + LEN(id) + LEN(kind) FROM item")), 5 + 4 + 1);
}

TEST_F(PostgresTest, TextComparisonIgnoresCaseOnTextColumns) {
    db_->Execute("INSERT INTO item(id, name, note) VALUES (1, 'Meier', 'Meier'), (2, 'b_x', 'b_x')");
    const struct {
        const char* sql;
        std::vector<Value> params;
        int64_t expected;
    } cases[] = {
        {"SELECT count(*) FROM item WHERE name = 'MEIER'", {}, 1},
        {"SELECT count(*) FROM item WHERE name = ?", {std::string("mEiEr")}, 1},
        {"SELECT count(*) FROM item WHERE name IN ('x', 'meier')", {}, 1},
        {"SELECT count(*) FROM item WHERE name > 'mb'", {}, 1},
        {"SELECT count(*) FROM item WHERE name > 'MF'", {}, 0},
        {"SELECT count(*) FROM item WHERE name LIKE ?", {std::string("mEI%")}, 1},
        {"SELECT count(*) FROM item WHERE note = 'MEIER'", {}, 0},     // a plain text column stays exact
    };
    for (const auto& c : cases) EXPECT_EQ(Int(Scalar(*db_, c.sql, c.params)), c.expected) << c.sql;

    // Sorted by the folded bytes, as SQLite's NOCASE sorts.
    db_->Execute("INSERT INTO item(id, name) VALUES (3, 'a_y'), (4, 'AB'), (5, 'Zz')");
    auto order = db_->Prepare("SELECT name FROM item ORDER BY name");
    std::vector<std::string> names;
    while (order->Step()) names.push_back(std::get<std::string>(order->Column(0)));
    EXPECT_EQ(names, (std::vector<std::string>{"a_y", "AB", "b_x", "Meier", "Zz"}));

    db_->Execute("CREATE UNIQUE INDEX item_name ON item(name)");
    EXPECT_THROW(db_->Execute("INSERT INTO item(id, name) VALUES (9, 'MEIER')"), DbError);
}

TEST_F(PostgresTest, TransactionsCommitOrRollBackAndAFailedStatementFailsAlone) {
    EXPECT_FALSE(db_->InTransaction());
    db_->Rollback();
    EXPECT_THROW(db_->Commit(), DbError);

    db_->Begin();
    EXPECT_TRUE(db_->InTransaction());
    EXPECT_THROW(db_->Begin(), DbError);
    db_->Execute("INSERT INTO item(id) VALUES (1)");
    db_->Rollback();
    EXPECT_FALSE(db_->InTransaction());
    EXPECT_EQ(Int(Scalar(*db_, "SELECT count(*) FROM item")), 0);

    // A failing statement, query or prepared text is undone alone: the transaction goes on.
    db_->Begin();
    db_->Execute("INSERT INTO item(id) VALUES (2)");
    EXPECT_THROW(db_->Execute("INSERT INTO item(id) VALUES (2)"), DbError);
    EXPECT_THROW(db_->Execute("INSERT INTO item(id) VALUES (?)", {std::string("x")}), DbError);
    EXPECT_THROW(db_->Prepare("SELECT * FROM missing"), DbError);
    EXPECT_THROW(db_->Execute("INSERT INTO item(id) VALUES (5); INSERT INTO item(id) VALUES (2)"), DbError);
    db_->Execute("INSERT INTO item(id) VALUES (3)");
    db_->Commit();

    // A row sent in a batch fails the transaction: not a silent rollback reported as a commit.
    db_->Begin();
    auto st = db_->Prepare("INSERT INTO item(id) VALUES (?)");
    st->Bind(1, int64_t{4});
    st->Send();
    st->Bind(1, int64_t{3});
    st->Send();
    EXPECT_THROW(db_->Commit(), DbError);
    EXPECT_FALSE(db_->InTransaction());

    auto other = OpenPostgres(schema_->Target());
    EXPECT_EQ(std::get<std::string>(Scalar(*other, "SELECT string_agg(id::text, ',' ORDER BY id) FROM item")), "2,3");
}

TEST_F(PostgresTest, SavepointsUndoOnlyTheirOwnPart) {
    const std::string inner = "it's \"inner\"";
    db_->Begin();
    db_->Execute("INSERT INTO item(id) VALUES (1)");
    db_->Savepoint("outer");
    db_->Execute("INSERT INTO item(id) VALUES (2)");
    db_->Savepoint(inner);
    db_->Execute("INSERT INTO item(id) VALUES (3)");
    db_->RollbackTo(inner);
    EXPECT_THROW(db_->Execute("INSERT INTO item(id) VALUES (1)"), DbError);  // an error ...
    db_->RollbackTo(inner);                                                   // ... undone by its savepoint
    db_->Execute("INSERT INTO item(id) VALUES (4)");
    db_->RollbackTo(inner);
    db_->Release(inner);
    EXPECT_THROW(db_->RollbackTo(inner), DbError);
    db_->RollbackTo("outer");
    db_->Execute("INSERT INTO item(id) VALUES (5)");
    db_->Release("outer");
    EXPECT_TRUE(db_->InTransaction());
    db_->Commit();
    EXPECT_EQ(std::get<std::string>(Scalar(*db_, "SELECT string_agg(id::text, ',' ORDER BY id) FROM item")), "1,5");
}

TEST_F(PostgresTest, DescribesTablesOfTheCurrentSchemaOnly) {
    db_->Execute("CREATE VIEW cheap AS SELECT id, name FROM item; CREATE TEMP TABLE scratch(b integer, a integer); "
                 "CREATE INDEX item_price ON item(price)");
    EXPECT_TRUE(db_->TableExists("item"));
    EXPECT_TRUE(db_->TableExists("ITEM"));
    EXPECT_TRUE(db_->TableExists("cheap"));
    EXPECT_TRUE(db_->TableExists("Scratch"));
    EXPECT_FALSE(db_->TableExists("item_price"));
    EXPECT_FALSE(db_->TableExists("it%"));
    EXPECT_EQ(db_->TableColumns("Item"),
              (std::vector<std::string>{"id", "name", "price", "note", "day", "stamp", "kind"}));
    EXPECT_EQ(db_->TableColumns("scratch"), (std::vector<std::string>{"b", "a"}));
    EXPECT_TRUE(db_->TableColumns("missing").empty());
    EXPECT_EQ(db_->BackendName(), "postgresql");
    EXPECT_NE(db_->Path().find("schema=" + schema_->Name()), std::string::npos) << db_->Path();
    EXPECT_EQ(db_->Path().find("password"), std::string::npos);

    // A table of the same name further along the search path is another database's table.
    const std::string shadow = schema_->Name() + "_shadow";
    schema_->Admin().Execute("CREATE TABLE public." + shadow + "(x integer)");
    const bool exists = db_->TableExists(shadow);
    const auto columns = db_->TableColumns(shadow);
    schema_->Admin().Execute("DROP TABLE public." + shadow);
    EXPECT_FALSE(exists);
    EXPECT_TRUE(columns.empty());
}

TEST_F(PostgresTest, ALockHeldElsewhereIsBusyAfterTheLockTimeout) {
    db_->Execute("INSERT INTO item(id) VALUES (1)");
    auto other = OpenPostgres(schema_->Target(), {.lockTimeoutMs = 150});
    db_->Begin();
    db_->Execute("UPDATE item SET price = 1 WHERE id = 1");
    const struct {
        const char* what;
        std::function<void()> run;
        std::chrono::milliseconds least;
    } cases[] = {
        {"NOWAIT", [&] { other->Execute("SELECT 1 FROM item WHERE id = 1 FOR UPDATE NOWAIT"); },
         std::chrono::milliseconds(0)},
        {"write", [&] { other->Execute("UPDATE item SET price = 2 WHERE id = ?", {int64_t{1}}); },
         std::chrono::milliseconds(120)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto start = std::chrono::steady_clock::now();
        try {
            c.run();
            ADD_FAILURE() << "not refused";
        } catch (const DbError& e) {
            EXPECT_TRUE(e.IsBusy()) << e.what();
            EXPECT_EQ(e.SqlState(), "55P03");
        }
        const auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_GE(waited, c.least);
        EXPECT_LT(waited, std::chrono::seconds(3));
    }
    // Readers are not blocked by the writer and see the last commit.
    EXPECT_TRUE(IsNull(Scalar(*other, "SELECT price FROM item WHERE id = 1")));
    db_->Commit();
    EXPECT_EQ(Scalar(*other, "SELECT price FROM item WHERE id = 1"), Value(1.0));
}

// A probe inside a transaction takes nothing it keeps and leaves the transaction going, whether
// it was granted, refused or wrong; its work queued before it is read first.
TEST_F(PostgresTest, AProbeInATransactionUndoesItselfWhateverItsOutcome) {
    db_->Execute("INSERT INTO item(id) VALUES (1), (2)");
    auto other = OpenPostgres(schema_->Target());
    other->Begin();
    other->Execute("SELECT 1 FROM item WHERE id = 2 FOR UPDATE");
    auto insert = db_->Prepare("INSERT INTO item(id) VALUES (?)");
    db_->Begin();
    insert->Bind(1, int64_t{3});
    insert->Send();
    const struct {
        const char* sql;
        bool busy;  // else granted, when no error
        bool error;
    } cases[] = {
        {"SELECT 1 FROM item WHERE id = 1 FOR UPDATE NOWAIT", false, false},
        {"SELECT 1 FROM item WHERE id = 2 FOR UPDATE NOWAIT", true, true},
        {"SELECT 1 FROM item WHERE nothing = 1 FOR UPDATE NOWAIT", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        try {
            db_->Probe(c.sql);
            EXPECT_FALSE(c.error);
        } catch (const DbError& e) {
            EXPECT_TRUE(c.error) << e.what();
            EXPECT_EQ(e.IsBusy(), c.busy) << e.what();
        }
        // The probed row stays free for everyone else.
        auto third = OpenPostgres(schema_->Target());
        EXPECT_NO_THROW(third->Execute("SELECT 1 FROM item WHERE id = 1 FOR UPDATE NOWAIT"));
    }
    db_->Execute("INSERT INTO item(id) VALUES (4)");
    db_->Commit();
    other->Rollback();
    EXPECT_EQ(Int(Scalar(*other, "SELECT count(*) FROM item")), 4);

    // Outside a transaction the probe is the statement alone.
    EXPECT_NO_THROW(db_->Probe("SELECT 1 FROM item WHERE id = ? FOR UPDATE NOWAIT", {int64_t{1}}));
}

TEST_F(PostgresTest, SentStatementsAreQueuedInATransactionAndTheirErrorsSurface) {
    auto insert = db_->Prepare("INSERT INTO item(id, price) VALUES (?, ?)");
    const int rows = 1000;  // more than one queue's worth
    db_->Begin();
    for (int i = 0; i < rows; ++i) {
        insert->Bind(1, int64_t{i});
        insert->Bind(2, i * 0.5);
        insert->Send();
    }
    EXPECT_EQ(Int(Scalar(*db_, "SELECT count(*) FROM item")), rows);  // a query reads after the queue
    db_->Commit();
    EXPECT_EQ(Int(Scalar(*OpenPostgres(schema_->Target()), "SELECT count(*) FROM item")), rows);

    // A duplicate in the queue fails the transaction: at the latest its commit says so.
    db_->Begin();
    for (int64_t id : {int64_t{5000}, int64_t{7}, int64_t{5001}}) {
        insert->Bind(1, id);
        insert->Bind(2, 0.0);
        insert->Send();
    }
    try {
        db_->Commit();
        ADD_FAILURE() << "committed a duplicate";
    } catch (const DbError& e) {
        EXPECT_EQ(e.SqlState(), "23505") << e.what();
        EXPECT_NE(std::string(e.what()).find("INSERT INTO item"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(db_->InTransaction());
    EXPECT_EQ(Int(Scalar(*db_, "SELECT count(*) FROM item")), rows);

    // Outside a transaction a sent statement runs at once.
    insert->Bind(1, int64_t{7});
    EXPECT_THROW(insert->Send(), DbError);
}

TEST_F(PostgresTest, BulkRowsArriveWholeBeforeTheNextStatementAndAFailingOneFailsTheTransaction) {
    const std::string awkward = "tab\there, line\nbreak\r, back\\slash \\N, \\. and \"quotes\" 'È'";
    auto bulk = db_->PrepareBulkInsert("\"Item\"", {"id", "name", "price", "note", "day", "kind"});
    const int rows = 30000;  // more than one piece's worth
    db_->Begin();
    for (int i = 0; i < rows; ++i)
        bulk->Add({int64_t{i}, i == 1 ? Value(awkward) : Value(fmt::format("n{}", i)), i * 0.25,
                   i % 2 ? Value(std::monostate{}) : Value(std::string("x")), std::string("2026-03-31"),
                   int64_t{-2147483647 - 1}});
    // Any later statement reads after them, as does a prepared one and a sent one.
    EXPECT_EQ(Int(Scalar(*db_, "SELECT count(*) FROM item")), rows);
    bulk->Add({int64_t{rows}, std::string("last"), 1.0, std::monostate{}, std::monostate{}, int64_t{1}});
    auto update = db_->Prepare("UPDATE item SET price = price + 1 WHERE id = ?");
    update->Bind(1, int64_t{rows});
    update->Send();
    db_->Commit();
    auto other = OpenPostgres(schema_->Target());
    EXPECT_EQ(Int(Scalar(*other, "SELECT count(*) FROM item")), rows + 1);
    EXPECT_EQ(Scalar(*other, "SELECT name FROM item WHERE id = 1"), Value(awkward));
    EXPECT_EQ(Scalar(*other, "SELECT price FROM item WHERE id = ?", {int64_t{rows}}), Value(2.0));
    EXPECT_EQ(Int(Scalar(*other, "SELECT count(*) FROM item WHERE note IS NULL")), rows / 2 + 1);
    EXPECT_EQ(Scalar(*other, "SELECT to_char(day, 'DD/MM/YYYY') || kind FROM item WHERE id = 2"),
              Value(std::string("31/03/2026-2147483648")));

    // A duplicate fails the transaction: at the latest its commit says so, naming the table.
    db_->Begin();
    for (int64_t id : {int64_t{90000}, int64_t{7}, int64_t{90001}})
        bulk->Add({id, std::string("d"), 0.0, std::monostate{}, std::monostate{}, int64_t{0}});
    try {
        db_->Commit();
        ADD_FAILURE() << "committed a duplicate";
    } catch (const DbError& e) {
        EXPECT_EQ(e.SqlState(), "23505") << e.what();
        EXPECT_NE(std::string(e.what()).find("Item"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(db_->InTransaction());

    // Rows waiting go with a rollback; outside a transaction a row is written at once.
    db_->Begin();
    bulk->Add({int64_t{90002}, std::string("gone"), 0.0, std::monostate{}, std::monostate{}, int64_t{0}});
    db_->Rollback();
    bulk->Add({int64_t{90003}, std::string("kept"), 0.0, std::monostate{}, std::monostate{}, int64_t{0}});
    EXPECT_EQ(std::get<std::string>(Scalar(*other, "SELECT string_agg(name, ',') FROM item WHERE id >= 90000")),
              "kept");
    EXPECT_THROW(bulk->Add({int64_t{90003}, std::string("again"), 0.0, std::monostate{}, std::monostate{}, int64_t{0}}),
                 DbError);
}

TEST_F(PostgresTest, StatementsDroppedAreDeallocatedOnTheServer) {
    for (int i = 0; i < 200; ++i) {
        auto st = db_->Prepare("SELECT count(*) FROM item WHERE id > ?");
        st->Bind(1, int64_t{i});
        ASSERT_TRUE(st->Step());
    }
    EXPECT_LE(Int(Scalar(*db_, "SELECT count(*) FROM pg_prepared_statements")), 40);
}

// A statement compiled with its first run: one round trip, the same outcomes as one prepared
// first, a refused text failing its run alone; one never run leaves nothing on the server to
// drop (dropping it inside a transaction would fail the transaction).
TEST_F(PostgresTest, StatementsCompiledWithTheirFirstRunBehaveAsPreparedOnes) {
    for (bool inTransaction : {false, true}) {
        SCOPED_TRACE(inTransaction ? "in a transaction" : "outside");
        db_->Execute("DELETE FROM item");
        if (inTransaction) db_->Begin();
        auto insert = db_->PrepareForRun("INSERT INTO item(id, name) VALUES (?, ?)");
        for (int64_t id : {1, 2}) {
            insert->Bind(1, id);
            insert->Bind(2, std::string("Bolt"));
            EXPECT_FALSE(insert->Step());
            EXPECT_EQ(insert->Changes(), 1);
        }
        auto select = db_->PrepareForRun("SELECT name FROM item WHERE id = ?");
        EXPECT_EQ(select->ColumnCount(), 1);  // known before the first run, as before
        select->Bind(1, int64_t{2});
        ASSERT_TRUE(select->Step());
        EXPECT_EQ(select->Column(0), Value(std::string("Bolt")));
        auto refused = db_->PrepareForRun("SELECT * FROM missing WHERE id = ?");
        refused->Bind(1, int64_t{1});
        EXPECT_THROW(refused->Step(), DbError);
        EXPECT_THROW(refused->Step(), DbError);  // still refused, not "no such statement"
        for (int i = 0; i < 40; ++i) db_->PrepareForRun("SELECT 1 FROM item WHERE id = ?");  // never run
        insert->Bind(1, int64_t{3});
        EXPECT_FALSE(insert->Step());
        if (inTransaction) db_->Commit();
        EXPECT_EQ(Int(Scalar(*db_, "SELECT count(*) FROM item")), 3);
    }
}

// A test's schema does not see the tables of the database's public schema (where a company's
// own tables may live): a table dropped in the test is gone, not found again in public.
TEST_F(PostgresTest, PublicsTablesStayOutOfTheTestsSight) {
    schema_->Admin().Execute("CREATE TABLE IF NOT EXISTS public.item(id bigint)");
    EXPECT_TRUE(db_->TableExists("item"));
    db_->Execute("DROP TABLE item");
    EXPECT_FALSE(db_->TableExists("item"));
    EXPECT_THROW(db_->Execute("INSERT INTO item(id) VALUES (1)"), DbError);
    // citext and LEN are still at hand.
    EXPECT_EQ(Int(Scalar(*db_, "SELECT LEN('ab  '::citext)")), 2);
}

TEST(PostgresOpen, MissingDatabaseIsNotFoundAndNeverCreated) {
    KVZ_REQUIRE_PG();
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(PgTestServer()->c_str(), &error);
    PQfreemem(error);
    ASSERT_NE(options, nullptr);
    std::vector<std::pair<std::string, std::string>> pairs;
    for (PQconninfoOption* o = options; o->keyword; ++o)
        if (o->val && *o->val && std::string(o->keyword) != "dbname") pairs.emplace_back(o->keyword, o->val);
    PQconninfoFree(options);
    pairs.emplace_back("dbname", "kvz_manca_del_tutto");
    try {
        OpenPostgres(PostgresKeywordString(pairs));
        FAIL() << "opened a database that does not exist";
    } catch (const DbError& e) {
        EXPECT_EQ(e.Kind(), DbErrorKind::NotFound) << e.what();
        EXPECT_NE(std::string(e.what()).find("kvz_manca_del_tutto"), std::string::npos) << e.what();
    }
    auto admin = OpenPostgres(*PgTestServer());
    EXPECT_EQ(Int(Scalar(*admin, "SELECT count(*) FROM pg_database WHERE datname = 'kvz_manca_del_tutto'")), 0);
}

}  // namespace
}  // namespace plv::db
