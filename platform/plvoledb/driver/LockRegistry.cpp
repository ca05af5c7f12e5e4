#include "platform/plvoledb/driver/LockRegistry.h"

namespace plv::db {

LockRegistry& LockRegistry::Instance() {
    static LockRegistry registry;
    return registry;
}

LockRegistry::Key LockRegistry::MakeKey(std::string_view db, std::string_view table,
                                        std::string_view key) {
    auto fold = [](std::string_view s) {
        std::string out(s);
        for (char& c : out)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return out;
    };
    return {std::string(db), fold(table), fold(key)};
}

bool LockRegistry::TryLock(std::string_view db, std::string_view table, std::string_view key,
                           Owner owner) {
    std::lock_guard lock(mutex_);
    auto [it, inserted] = locks_.try_emplace(MakeKey(db, table, key), owner);
    return inserted || it->second == owner;
}

void LockRegistry::Unlock(std::string_view db, std::string_view table, std::string_view key,
                          Owner owner) {
    std::lock_guard lock(mutex_);
    auto it = locks_.find(MakeKey(db, table, key));
    if (it != locks_.end() && it->second == owner) locks_.erase(it);
}

void LockRegistry::UnlockAll(Owner owner) {
    std::lock_guard lock(mutex_);
    std::erase_if(locks_, [&](const auto& entry) { return entry.second == owner; });
}

void LockRegistry::UnlockAll(Owner owner, std::string_view db) {
    std::lock_guard lock(mutex_);
    std::erase_if(locks_, [&](const auto& entry) {
        return entry.second == owner && std::get<0>(entry.first) == db;
    });
}

bool LockRegistry::IsLockedByOther(std::string_view db, std::string_view table, std::string_view key,
                                   Owner owner) const {
    std::lock_guard lock(mutex_);
    auto it = locks_.find(MakeKey(db, table, key));
    return it != locks_.end() && it->second != owner;
}

}  // namespace plv::db
