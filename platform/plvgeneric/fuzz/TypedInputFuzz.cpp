// Any typed text: an integer read is within its range and reads back the same from its digits;
// a number read is finite.
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/plvgeneric/TypedInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    long long n = 0;
    if (typed_input::ReadInteger(text, INT_MIN, INT_MAX, n).empty()) {
        if (n < INT_MIN || n > INT_MAX) std::abort();
        long long back = 0;
        if (!typed_input::ReadInteger(std::to_string(n), INT_MIN, INT_MAX, back).empty() || back != n) std::abort();
    }
    double d = 0;
    if (typed_input::ReadNumber(text, d).empty() && !std::isfinite(d)) std::abort();
    return 0;
}
