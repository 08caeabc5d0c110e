#include "runtime/number_reading.h"

#include <charconv>
#include <limits>
#include <string>

namespace zav {

namespace {

constexpr bool isIgnored(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

constexpr bool isDecimalDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Walks the significant characters of a text, stepping over the ignored ones.
class SignificantCharacters
{
public:
    explicit SignificantCharacters(TextView text) : m_text(text) { skipIgnored(); }

    [[nodiscard]] bool atEnd() const { return m_position >= m_text.size(); }
    [[nodiscard]] char16_t peek() const { return atEnd() ? u'\0' : m_text[m_position]; }
    void advance()
    {
        ++m_position;
        skipIgnored();
    }
    [[nodiscard]] std::size_t position() const { return m_position; }
    void rewind(std::size_t position) { m_position = position; }

private:
    void skipIgnored()
    {
        while (!atEnd() && isIgnored(m_text[m_position]))
            ++m_position;
    }

    TextView m_text;
    std::size_t m_position = 0;
};

int digitValue(char16_t c, int base)
{
    int value = -1;
    if (c >= u'0' && c <= u'9')
        value = c - u'0';
    else if (c >= u'a' && c <= u'f')
        value = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        value = c - u'A' + 10;
    return value < base ? value : -1;
}

double readRadixDigits(SignificantCharacters &in, int base)
{
    double value = 0.0;
    for (int digit = digitValue(in.peek(), base); digit >= 0; digit = digitValue(in.peek(), base)) {
        value = value * base + digit;
        in.advance();
    }
    return value;
}

// Appends the decimal digits at the reader's position; returns how many were appended.
std::size_t appendDigits(SignificantCharacters &in, std::string &out)
{
    std::size_t count = 0;
    while (isDecimalDigit(in.peek())) {
        out.push_back(static_cast<char>(in.peek()));
        in.advance();
        ++count;
    }
    return count;
}

double readDecimal(SignificantCharacters &in)
{
    bool negative = false;
    if (in.peek() == u'+' || in.peek() == u'-') {
        negative = in.peek() == u'-';
        in.advance();
    }

    std::string number;
    std::size_t digits = appendDigits(in, number);
    if (in.peek() == u'.') {
        number.push_back('.');
        in.advance();
        digits += appendDigits(in, number);
    }
    if (digits == 0)
        return 0.0;

    const char16_t marker = in.peek();
    if (marker == u'e' || marker == u'E' || marker == u'd' || marker == u'D') {
        // The exponent only belongs to the number when at least one digit follows it.
        const std::size_t beforeExponent = in.position();
        const std::size_t mantissaLength = number.size();
        number.push_back('e');
        in.advance();
        if (in.peek() == u'+' || in.peek() == u'-') {
            number.push_back(static_cast<char>(in.peek()));
            in.advance();
        }
        if (appendDigits(in, number) == 0) {
            number.resize(mantissaLength);
            in.rewind(beforeExponent);
        }
    }

    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    // Too large or too small for a double: no port either way.
    if (error == std::errc::result_out_of_range)
        value = std::numeric_limits<double>::infinity();
    return negative ? -value : value;
}

} // namespace

double readNumber(TextView text)
{
    SignificantCharacters in(text);
    if (in.peek() != u'&')
        return readDecimal(in);

    in.advance();
    const char16_t radix = in.peek();
    if (radix == u'h' || radix == u'H') {
        in.advance();
        return readRadixDigits(in, 16);
    }
    if (radix == u'o' || radix == u'O') {
        in.advance();
        return readRadixDigits(in, 8);
    }
    return 0.0;
}

} // namespace zav
