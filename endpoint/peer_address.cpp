#include "endpoint/peer_address.h"

#include <algorithm>

namespace zav {

namespace {

constexpr bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

constexpr bool isLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

constexpr bool isHexDigit(char16_t c)
{
    return isDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// A number as the system's address reading takes it: decimal (or octal) digits, or "0x" and hex
// digits. No top-level domain is one, so a name ending in one is a shorthand address.
bool isNumber(TextView label)
{
    if (label.size() >= 2 && label[0] == u'0' && (label[1] == u'x' || label[1] == u'X'))
        return std::all_of(label.begin() + 2, label.end(), isHexDigit);
    return std::all_of(label.begin(), label.end(), isDigit);
}

bool isHostLabel(TextView label)
{
    if (label.empty() || label.size() > 63 || label.front() == u'-' || label.back() == u'-')
        return false;
    for (const char16_t c : label) {
        if (!isDigit(c) && !isLetter(c) && c != u'-')
            return false;
    }
    return true;
}

} // namespace

std::optional<std::uint32_t> parseDottedDecimal(TextView text)
{
    std::uint32_t address = 0;
    int parts = 0;
    std::size_t at = 0;
    while (parts < 4) {
        const std::size_t start = at;
        unsigned part = 0;
        while (at < text.size() && isDigit(text[at]) && at - start < 3) {
            part = part * 10 + (text[at] - u'0');
            ++at;
        }
        const std::size_t digits = at - start;
        if (digits == 0 || part > 255 || (digits > 1 && text[start] == u'0'))
            return std::nullopt;
        address = (address << 8) | part;
        ++parts;
        if (parts < 4) {
            if (at >= text.size() || text[at] != u'.')
                return std::nullopt;
            ++at;
        }
    }
    if (at != text.size())
        return std::nullopt;
    return address;
}

std::optional<std::string> asHostName(TextView text)
{
    // A name written with its final dot, fully qualified, is the same name.
    if (text.size() > 1 && text.back() == u'.')
        text.remove_suffix(1);
    if (text.empty() || text.size() > 253)
        return std::nullopt;

    TextView lastLabel;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t dot = std::min(text.find(u'.', start), text.size());
        lastLabel = text.substr(start, dot - start);
        if (!isHostLabel(lastLabel))
            return std::nullopt;
        start = dot + 1;
    }
    if (isNumber(lastLabel))
        return std::nullopt;

    return std::string(text.begin(), text.end());
}

bool needsLookUp(TextView address)
{
    return !parseDottedDecimal(address) && asHostName(address);
}

} // namespace zav
