#pragma once
// The PostgreSQL server the tests use: KVZ_TEST_PG holds a libpq connection target
// ("postgresql://user@127.0.0.1:5433/kvz_test"). Without it the PostgreSQL tests skip; under
// CI (CI=true) they fail instead, so that a missing server is never mistaken for a pass.
// Every test works in a schema of its own, so that tests may run side by side in one database.
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/plvoledb/driver/Postgres.h"

namespace plv::db::testing {

inline std::optional<std::string> PgTestServer() {
    const char* target = std::getenv("KVZ_TEST_PG");
    if (!target || !*target) return std::nullopt;
    return std::string(target);
}

inline bool InCi() {
    const char* ci = std::getenv("CI");
    return ci && (std::string(ci) == "true" || std::string(ci) == "1");
}

// The backend a test binary registered a second time runs on: KVZ_TEST_BACKEND=postgresql.
inline bool OnPgBackend() {
    const char* backend = std::getenv("KVZ_TEST_BACKEND");
    return backend && std::string(backend) == "postgresql";
}

// Skips (fails under CI) the current test when there is no server to run it on.
#define KVZ_REQUIRE_PG()                                                                     \
    do {                                                                                     \
        if (!::plv::db::testing::PgTestServer()) {                                           \
            if (::plv::db::testing::InCi())                                                  \
                FAIL() << "KVZ_TEST_PG is not set: CI must run the PostgreSQL tests";        \
            GTEST_SKIP() << "KVZ_TEST_PG is not set: no PostgreSQL server to test on";       \
        }                                                                                    \
    } while (false)

// The schema that holds citext and LEN for every test schema, so that none of them needs public
// in its search path: whatever public holds (a company's own tables) stays out of the tests' sight.
inline constexpr const char* kPgSupportSchema = "kvz_test_support";

// A fresh schema, dropped with everything in it at the end. Target() connects with it first
// in the search path and the support schema after it; public is not searched.
class PgSchema {
public:
    explicit PgSchema(const std::string& server) {
        static std::atomic<int> counter{0};
        name_ = "kvz_t" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
        admin_ = OpenPostgres(server);
        const std::string support = kPgSupportSchema;
        // Once per database, under a lock: citext moves to (or is made in) the support schema.
        admin_->Execute(
            "BEGIN; SELECT pg_catalog.pg_advisory_xact_lock(7242067); CREATE SCHEMA IF NOT EXISTS " + support +
            "; DO $plv$ BEGIN "
            "IF NOT EXISTS (SELECT 1 FROM pg_catalog.pg_extension WHERE extname = 'citext') THEN "
            "CREATE EXTENSION citext SCHEMA " + support + "; "
            "ELSIF (SELECT n.nspname FROM pg_catalog.pg_extension e JOIN pg_catalog.pg_namespace n "
            "ON n.oid = e.extnamespace WHERE e.extname = 'citext') <> '" + support + "' THEN "
            "ALTER EXTENSION citext SET SCHEMA " + support + "; END IF; END $plv$; "
            "CREATE OR REPLACE FUNCTION " + support + ".len(text) RETURNS integer LANGUAGE sql IMMUTABLE STRICT "
            "PARALLEL SAFE AS $plv$SELECT pg_catalog.char_length(pg_catalog.rtrim($1, ' '))$plv$; "
            "CREATE OR REPLACE FUNCTION " + support + ".len(anycompatible) RETURNS integer LANGUAGE sql IMMUTABLE "
            "STRICT PARALLEL SAFE AS $plv$SELECT pg_catalog.char_length(pg_catalog.rtrim($1::text, ' '))$plv$; "
            "COMMIT");
        admin_->Execute("DROP SCHEMA IF EXISTS " + name_ + " CASCADE; CREATE SCHEMA " + name_);

        char* error = nullptr;
        PQconninfoOption* options = PQconninfoParse(server.c_str(), &error);
        PQfreemem(error);
        std::vector<std::pair<std::string, std::string>> pairs;
        for (PQconninfoOption* o = options; o && o->keyword; ++o)
            if (o->val && *o->val && std::string(o->keyword) != "options") pairs.emplace_back(o->keyword, o->val);
        PQconninfoFree(options);
        pairs.emplace_back("options", "-csearch_path=" + name_ + "," + support);
        target_ = PostgresKeywordString(pairs);
    }
    ~PgSchema() {
        try {
            admin_->Execute("DROP SCHEMA IF EXISTS " + name_ + " CASCADE");
        } catch (...) {
        }
    }
    PgSchema(const PgSchema&) = delete;
    PgSchema& operator=(const PgSchema&) = delete;

    const std::string& Target() const { return target_; }
    const std::string& Name() const { return name_; }
    Connection& Admin() { return *admin_; }

private:
    std::string name_;
    std::string target_;
    std::unique_ptr<Connection> admin_;
};

}  // namespace plv::db::testing
