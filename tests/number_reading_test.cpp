#include "runtime/number_reading.h"
#include "tests/support/rows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zav::testing {
namespace {

struct ReadingCase : Row
{
    Text text;
    double expected;
};

constexpr double kInfinity = std::numeric_limits<double>::infinity();

const ReadingCase kReadingCases[] = {
        {"plain", u"2160", 2160},
        {"trailingLetters", u"2160abc", 2160},
        {"blankInside", u"21 60", 2160},
        {"tabsAndLineFeedsAnywhere", u"\t2\n1 6\t0 ", 2160},
        {"carriageReturnStops", u"21\r60", 21},
        {"letters", u"abc", 0},
        {"empty", u"", 0},
        {"onlyBlanks", u"   ", 0},
        {"hex", u"&H870", 2160},
        {"hexLowerCase", u"&h870", 2160},
        {"hexWithBlanks", u"& H 8 7 0", 2160},
        {"hexStopsAtNonDigit", u"&H87G0", 135},
        {"hexWide", u"&HFFFFF", 1048575},
        {"hexNoDigits", u"&H", 0},
        {"octal", u"&O4160", 2160},
        {"octalStopsAtEight", u"&O48", 4},
        {"unknownPrefix", u"&X12", 0},
        {"ampersandAlone", u"&", 0},
        {"negative", u"-1", -1},
        {"plusSign", u"+5", 5},
        {"signAlone", u"-", 0},
        {"twoSigns", u"+-5", 0},
        {"fraction", u"2160.5", 2160.5},
        {"secondPointStops", u"1.2.3", 1.2},
        {"leadingPoint", u".5", 0.5},
        {"trailingPoint", u"5.", 5},
        {"pointAlone", u".", 0},
        {"exponentE", u"1e3", 1000},
        {"exponentD", u"1D3", 1000},
        {"exponentWithBlanks", u"1 e 3", 1000},
        {"negativeExponent", u"25E-1", 2.5},
        {"explicitlyPositiveExponent", u"25E+2", 2500},
        {"exponentWithoutDigits", u"7e", 7},
        {"exponentSignWithoutDigits", u"7e+x", 7},
        {"overflowingExponent", u"1e400", kInfinity},
        {"negativeOverflow", u"-1e400", -kInfinity},
        {"underflow", u"1e-400", kInfinity},
        {"hexLikeDecimal", u"0x10", 0},
        {"aboveAnyPort", u"67696", 67696},
        {"nonAsciiDigits", u"\u0662\u0661\u0666\u0660", 0},
        {"fullwidthDigits", u"\uFF12\uFF11", 0},
};

class NumberReading : public ::testing::TestWithParam<ReadingCase>
{ };

TEST_P(NumberReading, ReadsTheLeadingNumber)
{
    const ReadingCase &c = GetParam();
    EXPECT_DOUBLE_EQ(readNumber(c.text), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, NumberReading, ::testing::ValuesIn(kReadingCases), caseName);

TEST(NumberReadingLimits, MillionDigitNumberReadsAsInfinity)
{
    EXPECT_EQ(readNumber(Text(1'000'000, u'9')), kInfinity);
}

TEST(NumberReadingLimits, MillionHexDigitsReadAsInfinity)
{
    EXPECT_EQ(readNumber(u"&H" + Text(1'000'000, u'F')), kInfinity);
}

TEST(NumberReadingLimits, LongZeroFractionBeforeDigitsIsExact)
{
    EXPECT_DOUBLE_EQ(readNumber(u"0." + Text(300, u'0') + u"1e305"), 1e4);
}

} // namespace
} // namespace zav::testing
