#include "platform/plvoledb/driver/ConnectionString.h"
#include "platform/plvoledb/driver/Value.h"

#include <gtest/gtest.h>

namespace plv::db {
namespace {

TEST(ConnectionString, ParsesPairs) {
    const ConnectionString cs(
        "Provider=SQLOLEDB;Data Source=.;Initial Catalog='az 01';User ID='sa';"
        "Password='p;w''d';Connect Timeout=30;");
    const struct {
        const char* key;
        const char* expected;
    } cases[] = {
        {"Provider", "SQLOLEDB"},   {"data source", "."},         {"INITIAL CATALOG", "az 01"},
        {"User ID", "sa"},          {"password", "p;w'd"},        {"Connect Timeout", "30"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(cs.Has(c.key)) << c.key;
        EXPECT_EQ(cs.Get(c.key), c.expected) << c.key;
    }
    EXPECT_EQ(cs.Values().size(), std::size(cases));
    EXPECT_FALSE(cs.Has("Workstation ID"));
    EXPECT_EQ(cs.Get("Workstation ID", "none"), "none");
}

TEST(ConnectionString, ValueForms) {
    const struct {
        const char* text;
        const char* expected;  // value of key "k"
    } cases[] = {
        {"k=v", "v"},
        {"  K  =  two words  ;", "two words"},
        {"k=\t'  padded  ' ;x=1", "  padded  "},
        {"k=\"dq;with'single\"", "dq;with'single"},
        {"k=\"say \"\"hi\"\"\"", "say \"hi\""},
        {"k=''''", "'"},
        {"k=''", ""},
        {"k=", ""},
        {"k=it's", "it's"},  // a quote only quotes at the start of a value
        {"k=a=b", "a=b"},
        {";;k=1;;", "1"},
        {"k=first;K=last", "last"},
    };
    for (const auto& c : cases) {
        const ConnectionString cs(c.text);
        EXPECT_TRUE(cs.Has("k")) << c.text;
        EXPECT_EQ(cs.Get("k"), c.expected) << c.text;
    }
    EXPECT_TRUE(ConnectionString("").Values().empty());
    EXPECT_TRUE(ConnectionString(" ; ").Values().empty());
}

TEST(ConnectionString, BuiltStringsReadBackEveryValue) {
    const std::string values[] = {
        "plain",         "it's",      "''",          "say \"hi\"",  "\"'mixed'\"", "p;w",       ";",
        "a=b",           "=",         "k=v;x=y",     " padded ",    "\ttab",       "",          "àèìòù €",
        "Zürich;'ß'",    "'",         "\"",          "x'; Provider=evil; y='",
    };
    for (const std::string& v : values) {
        const std::string text = BuildConnectionString({{"Provider", "SQLOLEDB"}, {"Password", v}, {"User ID", "sa"}});
        const ConnectionString cs(text);
        EXPECT_EQ(cs.Get("Password"), v) << text;
        EXPECT_EQ(cs.Get("Provider"), "SQLOLEDB") << text;
        EXPECT_EQ(cs.Get("User ID"), "sa") << text;
        EXPECT_EQ(cs.Values().size(), 3u) << text;  // no value adds a key
    }
    EXPECT_EQ(BuildConnectionString({{"Data Source", "."}, {"Initial Catalog", "az 01"}}),
              "Data Source=.;Initial Catalog=az 01;");
    for (const char* key : {"", " ", "a=b", "a;b"})
        EXPECT_THROW(BuildConnectionString({{key, "v"}}), DbError) << key;
}

TEST(ConnectionString, MalformedTextIsAnError) {
    const char* cases[] = {
        "Password='secret;Provider=x",
        "Password=\"never closed",
        "k='a''",
        "k='a'b",
        "=v",
        "Provider",
        "a=1;junk;b=2",
    };
    for (const char* text : cases) {
        try {
            ConnectionString cs(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const DbError& e) {
            // The message must not echo values: they may be passwords.
            EXPECT_EQ(std::string(e.what()).find("secret"), std::string::npos) << e.what();
        }
    }
}

TEST(ResolveSqlitePath, MapsDataSourceAndCatalogToAFile) {
    const std::string company = "/data/companies/c01";
    const struct {
        const char* text;
        std::optional<std::string> expected;
    } cases[] = {
        {"Data Source=.;Initial Catalog=az01", "/data/companies/c01/az01.db"},
        {"Initial Catalog='az 01'", "/data/companies/c01/az 01.db"},
        {"Data Source= ;Initial Catalog=main.sqlite", "/data/companies/c01/main.sqlite"},
        {"Data Source=/srv/db/;Initial Catalog=ledger", "/srv/db/ledger.db"},
        {"Data Source=./archive;Initial Catalog=y2023.db", "/data/companies/c01/archive/y2023.db"},
        {"Data Source=../shared;Initial Catalog=common", "/data/companies/shared/common.db"},
        {"Data Source=dbhost;Initial Catalog=az01", std::nullopt},
        {"Data Source=10.0.0.5,1433;Initial Catalog=az01", std::nullopt},
        {"Data Source=(local);Initial Catalog=az01", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResolveSqlitePath(ConnectionString(c.text), company), c.expected) << c.text;
}

TEST(ResolveSqlitePath, RejectsCatalogsThatLeaveTheFolder) {
    const char* cases[] = {
        "Data Source=.;Initial Catalog=../other",
        "Data Source=.;Initial Catalog=sub/az01",
        "Data Source=.;Initial Catalog=/etc/passwd",
        "Data Source=.;Initial Catalog=..",
        "Data Source=.;Initial Catalog=a..b",
        "Data Source=.;Initial Catalog=sub\\az01",
        "Data Source=.",
        "Data Source=.;Initial Catalog=.",
    };
    for (const char* text : cases)
        EXPECT_THROW(ResolveSqlitePath(ConnectionString(text), "/data/c01"), DbError) << text;
    EXPECT_THROW(ResolveSqlitePath(ConnectionString("Data Source=.;Initial Catalog=x"), ""), DbError);
}

}  // namespace
}  // namespace plv::db
