// Connection data of the companies register, as anyone may have typed it: parsing and resolving
// it never crashes, and a database of the current company's folder never leaves that folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/plvoledb/driver/ConnectionString.h"
#include "platform/plvoledb/driver/Value.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string folder = "/srv/kvz/az01";
    try {
        const plv::db::ConnectionString cs(text);
        for (const auto& [key, value] : cs.Values())
            if (!cs.Has(key) || cs.Get(key) != value) std::abort();
        const auto path = plv::db::ResolveSqlitePath(cs, folder);
        const std::string source = cs.Get("Data Source");
        if (path && (source.empty() || source == ".") && path->rfind(folder + "/", 0) != 0) std::abort();
    } catch (const plv::db::DbError&) {
        // Malformed or refused: reported, which is all that is asked.
    }
    return 0;
}
