// Any typed date: a date read is a real day of the years allowed, and reads back the same in
// both of its written forms.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "platform/plvgeneric/TypedInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    int d = 0, m = 0, y = 0;
    if (!typed_input::ReadDate(text, 1900, d, m, y).empty()) return 0;
    if (y < 1900 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31) std::abort();
    char forms[2][32];
    std::snprintf(forms[0], sizeof forms[0], "%02d/%02d/%04d", d, m, y);
    std::snprintf(forms[1], sizeof forms[1], "%04d-%d-%d", y, m, d);
    for (const char* form : forms) {
        int d2 = 0, m2 = 0, y2 = 0;
        if (!typed_input::ReadDate(form, 1900, d2, m2, y2).empty() || d2 != d || m2 != m || y2 != y) std::abort();
    }
    return 0;
}
