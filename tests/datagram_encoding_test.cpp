#include "endpoint/datagram_encoding.h"
#include "tests/support/rows.h"

#include <gtest/gtest.h>

namespace zav::testing {
namespace {

struct EncodingCase : Row
{
    Text text;
    std::ptrdiff_t count;
    DatagramEncoding result;
    std::string bytes;
};

const EncodingCase kEncodingCases[] = {
        {"textAndZero", u"\rabc", 5, DatagramEncoding::Encoded, "\rabc\0"s},
        {"emptyText", u"", 1, DatagramEncoding::Encoded, "\0"s},
        {"zerosInTextKept", Text(u"a\0b", 3), 4, DatagramEncoding::Encoded, "a\0b\0"s},
        {"latin1ByteForByte", u"\u00FF\u0080", 3, DatagramEncoding::Encoded, "\xFF\x80\0"s},
        {"shorterCountCutsText", u"abc", 2, DatagramEncoding::Encoded, "ab"},
        // Under AddressSanitizer this also catches reading or writing past the count.
        {"shortCountOverLongText", Text(1000, u'x'), 20, DatagramEncoding::Encoded,
         std::string(20, 'x')},
        {"aboveLatin1BeyondCountIgnored", u"abĀ", 2, DatagramEncoding::Encoded, "ab"},
        {"aboveLatin1", u"a\u0100", 3, DatagramEncoding::CharacterNotByte, ""},
        {"loneSurrogate", u"\xD800", 2, DatagramEncoding::CharacterNotByte, ""},
        {"countZero", u"abc", 0, DatagramEncoding::BadCount, ""},
        {"countNegative", u"abc", -1, DatagramEncoding::BadCount, ""},
        {"countBeyondZero", u"abc", 5, DatagramEncoding::BadCount, ""},
};

class Encoding : public ::testing::TestWithParam<EncodingCase>
{ };

TEST_P(Encoding, GivesTheBytesOrNothing)
{
    const EncodingCase &c = GetParam();
    std::string datagram = "left over";
    EXPECT_EQ(encodeDatagram(c.text, c.count, datagram), c.result);
    EXPECT_EQ(datagram, c.bytes);
}

INSTANTIATE_TEST_SUITE_P(Cases, Encoding, ::testing::ValuesIn(kEncodingCases), caseName);

} // namespace
} // namespace zav::testing
