#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <tuple>

namespace plv::db {

// Row locks for backends without them (SQLite), kept in this process. A lock is identified by
// database identity (Connection::Path()), table and key text; table and key ignore ASCII case
// as NOCASE columns do, so "ab" and "AB" are one row. The owner is a session id. Thread-safe.
class LockRegistry {
public:
    using Owner = uint64_t;

    static LockRegistry& Instance();

    // true when the row was free or is already held by owner.
    bool TryLock(std::string_view db, std::string_view table, std::string_view key, Owner owner);
    void Unlock(std::string_view db, std::string_view table, std::string_view key, Owner owner);
    void UnlockAll(Owner owner);
    void UnlockAll(Owner owner, std::string_view db);
    bool IsLockedByOther(std::string_view db, std::string_view table, std::string_view key,
                         Owner owner) const;

private:
    using Key = std::tuple<std::string, std::string, std::string>;
    static Key MakeKey(std::string_view db, std::string_view table, std::string_view key);

    mutable std::mutex mutex_;
    std::map<Key, Owner> locks_;
};

}  // namespace plv::db
