#include "fuzz/fuzz_text.h"
#include "runtime/number_reading.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Plain decimal input ("-12.5"): sign, up to 15 digits, a point and up to 15 more. strtod
// reads such text correctly rounded, as the port reading must.
bool isPlainDecimal(const zav::Text &text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    const auto digitsFrom = [&](std::size_t &at) {
        const std::size_t start = at;
        while (at < text.size() && text[at] >= u'0' && text[at] <= u'9')
            ++at;
        return at - start;
    };
    const std::size_t whole = digitsFrom(i);
    if (whole == 0 || whole > 15)
        return false;
    if (i < text.size() && text[i] == u'.') {
        ++i;
        const std::size_t fraction = digitsFrom(i);
        if (fraction == 0 || fraction > 15)
            return false;
    }
    return i == text.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const zav::Text text = zav::fuzzing::textFrom(data, size);
    const double value = zav::readNumber(text);
    ZAV_FUZZ_CHECK(!std::isnan(value));

    // 'Z' can continue no number, so nothing after it may change what was read.
    const double withTail = zav::readNumber(text + u'Z' + text);
    ZAV_FUZZ_CHECK(withTail == value || (std::isnan(withTail) && std::isnan(value)));

    if (isPlainDecimal(text)) {
        const std::string ascii(text.begin(), text.end());
        ZAV_FUZZ_CHECK(value == std::strtod(ascii.c_str(), nullptr));
    }
    return 0;
}
