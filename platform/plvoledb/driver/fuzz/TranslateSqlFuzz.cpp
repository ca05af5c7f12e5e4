// Any SQL text: translating it never crashes, counts its placeholders as often as it numbers
// them, and gives the same text every time.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/plvoledb/driver/Postgres.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view sql(reinterpret_cast<const char*>(data), size);
    int params = -1;
    bool several = false;
    const std::string once = plv::db::TranslateSql(sql, &params, &several);
    if (params < 0 || static_cast<std::size_t>(params) > size) std::abort();
    int again = -1;
    if (plv::db::TranslateSql(sql, &again) != once || again != params) std::abort();
    return 0;
}
