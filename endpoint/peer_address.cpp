#include "endpoint/peer_address.h"

#include <algorithm>

namespace zav {

namespace {

constexpr bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
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

// A label the system may be asked about: not empty, not longer than a name's label can be, and
// nothing that cannot stand in a name at all (blanks, control characters, a lone surrogate).
// What else a label may hold (underscores, letters of any script) the system judges.
bool isHostLabel(TextView label)
{
    if (label.empty() || label.size() > 63)
        return false;
    for (std::size_t i = 0; i < label.size(); ++i) {
        const char16_t c = label[i];
        if (c <= u' ' || (c >= 0x7F && c <= 0xA0) || c == 0xFEFF)
            return false;
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        const bool low = c >= 0xDC00 && c <= 0xDFFF;
        if (low ||
            (high && (i + 1 == label.size() || label[i + 1] < 0xDC00 || label[i + 1] > 0xDFFF)))
            return false;
        if (high)
            ++i;
    }
    return true;
}

// The text in UTF-8, for the system's look-up.
std::string utf8(TextView text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size())
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
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
    // A final dot makes the name absolute: it stays, so the resolver's search list never
    // applies to it.
    TextView name = text;
    if (name.size() > 1 && name.back() == u'.')
        name.remove_suffix(1);
    if (name.empty() || name.size() > 253)
        return std::nullopt;

    TextView lastLabel;
    for (std::size_t start = 0; start <= name.size();) {
        const std::size_t dot = std::min(name.find(u'.', start), name.size());
        lastLabel = name.substr(start, dot - start);
        if (!isHostLabel(lastLabel))
            return std::nullopt;
        start = dot + 1;
    }
    if (isNumber(lastLabel))
        return std::nullopt;

    return utf8(text);
}

bool needsLookUp(TextView address)
{
    return !parseDottedDecimal(address) && asHostName(address);
}

} // namespace zav
