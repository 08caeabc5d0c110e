#include "endpoint/peer_address.h"
#include "tests/support/rows.h"

#include <gtest/gtest.h>

namespace zav::testing {
namespace {

struct AddressCase : Row
{
    Text text;
    std::optional<std::uint32_t> dotted;
    bool hostName;
};

const AddressCase kAddressCases[] = {
        {"loopback", u"127.0.0.1", 0x7F000001u, false},
        {"zeros", u"0.0.0.0", 0u, false},
        {"broadcast", u"255.255.255.255", 0xFFFFFFFFu, false},
        {"octalPart", u"127.0.0.010", std::nullopt, false},
        {"leadingZero", u"127.0.0.01", std::nullopt, false},
        {"twoParts", u"127.1", std::nullopt, false},
        {"threeParts", u"127.0.1", std::nullopt, false},
        {"fiveParts", u"1.2.3.4.5", std::nullopt, false},
        {"hexPart", u"0x7f.0.0.1", std::nullopt, false},
        {"hexWhole", u"0x7f000001", std::nullopt, false},
        {"hexShort", u"0X7F", std::nullopt, false},
        {"hexLastPart", u"127.0.0.0x1", std::nullopt, false},
        {"partTooLarge", u"999.1.1.1", std::nullopt, false},
        {"part256", u"256.0.0.1", std::nullopt, false},
        {"partWrapsIn32Bits", u"4294967423.0.0.1", std::nullopt, false},
        {"fourDigits", u"1.2.3.0004", std::nullopt, false},
        {"emptyPart", u"1..2.3", std::nullopt, false},
        {"trailingDot", u"1.2.3.4.", std::nullopt, false},
        {"leadingBlank", u" 127.0.0.1", std::nullopt, false},
        {"trailingBlank", u"127.0.0.1 ", std::nullopt, false},
        {"empty", u"", std::nullopt, false},
        {"arabicDigits", u"\u0661.2.3.4", std::nullopt, false},
        {"localhost", u"localhost", std::nullopt, true},
        {"dottedName", u"switcher-1.studio.example", std::nullopt, true},
        {"capitals", u"Switcher-1.Studio", std::nullopt, true},
        {"hexLookingName", u"0xcafe-1", std::nullopt, true},
        {"finalDot", u"localhost.", std::nullopt, true},
        {"onlyADot", u".", std::nullopt, false},
        {"twoFinalDots", u"localhost..", std::nullopt, false},
        // What a name may hold beyond letters, digits and hyphens, the system judges.
        {"hyphenFirst", u"-switcher", std::nullopt, true},
        {"underscore", u"switcher_1", std::nullopt, true},
        {"blankInside", u"local host", std::nullopt, false},
        {"nulInside", Text(u"local\0host", 10), std::nullopt, false},
        {"lineBreakInside", u"local\nhost", std::nullopt, false},
        {"emptyLabel", u"studio..example", std::nullopt, false},
        {"label63", Text(63, u'a'), std::nullopt, true},
        {"label64", Text(64, u'a'), std::nullopt, false},
        {"name300", Text(300, u'a'), std::nullopt, false},
        {"nonAscii", u"stud\u00EDo", std::nullopt, true},
        {"loneSurrogate", u"stud\xD800o", std::nullopt, false},
        {"noBreakSpace", u"stud\u00A0o", std::nullopt, false},
};

class PeerAddress : public ::testing::TestWithParam<AddressCase>
{ };

TEST_P(PeerAddress, IsDottedDecimalOrHostNameOrNeither)
{
    const AddressCase &c = GetParam();
    EXPECT_EQ(parseDottedDecimal(c.text), c.dotted);
    EXPECT_EQ(asHostName(c.text).has_value(), c.hostName);
}

INSTANTIATE_TEST_SUITE_P(Cases, PeerAddress, ::testing::ValuesIn(kAddressCases), caseName);

TEST(HostNameLength, LongestNameIs253)
{
    Text name;
    while (name.size() < 253)
        name += name.empty() ? Text(61, u'a') : Text(u".") + Text(61, u'a');
    name.resize(253);
    EXPECT_TRUE(asHostName(name).has_value());
    EXPECT_EQ(asHostName(name + u"."), std::string(name.begin(), name.end()) + ".");
    EXPECT_FALSE(asHostName(name + u"a").has_value());
}

} // namespace
} // namespace zav::testing
