#include "base/numberreading.h"

#include <fast_float/fast_float.h>

#include <limits>
#include <system_error>

namespace torrentix {
namespace {

template <typename Float> Float read(std::string_view number) {
    if (!number.empty() && number.front() == '+') { // fast_float takes no plus sign
        number.remove_prefix(1);
    }
    Float value = 0;
    const auto result = fast_float::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec != std::errc()) {
        return std::numeric_limits<Float>::quiet_NaN(); // not a number: callers check first
    }
    return value;
}

} // namespace

double readDecimal(std::string_view number) {
    return read<double>(number);
}

float readDecimal32(std::string_view number) {
    return read<float>(number);
}

} // namespace torrentix
