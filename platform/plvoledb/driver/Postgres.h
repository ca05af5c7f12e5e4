#pragma once

#include "platform/plvoledb/driver/Driver.h"

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plv::db {

struct PostgresOptions {
    int lockTimeoutMs = 5000;  // how long a statement waits for another session's lock
    int queueLimit = 256;      // statements queued by Statement::Send before their outcome is read
};

// True for a PostgreSQL connection target: a "postgresql://" or "postgres://" URI, or a libpq
// keyword string ("host=srv dbname=az01"). A path starting with '/' or '.' is never one.
bool IsPostgresTarget(std::string_view target);

// Connects with libpq (connection target as libpq takes it). The database must exist: it is
// never created. The session is set up as the module expects: UTF-8, ISO dates, the lock wait
// bounded by options.lockTimeoutMs (then DbErrorKind::Busy), notices silenced.
//
// SQL dialect, so that the module's texts run as on SQLite:
//  - "?" placeholders become $1, $2 ... (not inside literals, quoted names or comments); values
//    are sent as text without a type, so the server gives each the type of what it is compared
//    with or stored into (a date, a case-insensitive text, an integer).
//  - Names are case-insensitive as on SQLite: a quoted name is folded to ASCII lower case, as
//    PostgreSQL folds unquoted ones. Column names read back are therefore lower case.
//  - Text columns that ignore case are declared with TextType(): citext compares, sorts, groups
//    and matches LIKE after folding case (ASCII always; beyond ASCII as the database's ctype
//    locale folds), and COLLATE ucs_basic (byte order) sorts the folded text as SQLite's NOCASE.
//  - LEN(x) is SQL Server's: characters without the trailing blanks (any argument type).
//  Both citext and LEN are created in the database when missing (the user needs the right to).
// Results are read whole, so a query never holds the connection while its rows are walked.
// Inside a transaction each statement runs under a savepoint of its own, sent with it in one
// round trip: a failing statement is undone alone and the transaction goes on, as on SQLite.
// Statements queued by Statement::Send are not guarded: one failing fails the transaction,
// which can then only be rolled back (Commit() fails instead of reporting success).
std::unique_ptr<Connection> OpenPostgres(const std::string& target, const PostgresOptions& options = {});

// The column type of case-insensitive text: "citext COLLATE ucs_basic".
const char* PostgresTextType();

// A libpq keyword string from key/value pairs, every value quoted and escaped as libpq reads
// it (a value may hold blanks, quotes, backslashes, '=' or ';'). Empty values are left out.
std::string PostgresKeywordString(const std::vector<std::pair<std::string, std::string>>& pairs);

// What the driver sends for an SQL text: placeholders numbered, quoted names folded. params
// receives the number of placeholders; several is true when the text holds more than one
// statement.
std::string TranslateSql(std::string_view sql, int* params = nullptr, bool* several = nullptr);

}  // namespace plv::db
