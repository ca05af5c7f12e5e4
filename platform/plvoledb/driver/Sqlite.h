#pragma once

#include "platform/plvoledb/driver/Driver.h"

#include <memory>
#include <string>

namespace plv::db {

enum class OpenMode {
    OpenExisting,     // a missing file is an error; opening never creates an empty database
    CreateIfMissing,
    ReadOnly,         // existing file, no writes at all (no journal mode change either)
};

struct SqliteOptions {
    int busyTimeoutMs = 5000;  // how long a statement waits for another connection's lock
};

// Opens and checks the file: a file that is not an SQLite database fails here with
// DbErrorKind::NotADatabase and is left untouched. A writable connection switches the
// database to WAL, so readers never block the one writer. Foreign keys are off (the
// application checks its own references). Registers LEN(x) as SQL Server has it.
// Begin() is BEGIN IMMEDIATE: a writer takes the write lock up front instead of
// upgrading later, which could fail at once with "busy" between two upgraders.
std::unique_ptr<Connection> OpenSqlite(const std::string& path, OpenMode mode,
                                       const SqliteOptions& options = {});

// Collation for text columns: "NOCASE". SQL Server's usual collation ignores case, so the
// schema layer declares text columns as "TEXT COLLATE NOCASE"; '=', ORDER BY, GROUP BY and
// unique indexes then ignore ASCII case. LIKE ignores ASCII case on any column already.
// Unlike SQL Server, trailing blanks still count in '='.
const char* TextCollation();

}  // namespace plv::db
