#include "message/caret_escape.h"
#include "runtime/run_time_fault.h"
#include "tests/support/rows.h"

#include <gtest/gtest.h>

#include <optional>

namespace zav::testing {
namespace {

struct EscapeCase : Row
{
    Text message;
    std::optional<Text> expected; // nothing: the escape faults
    FaultKind fault = FaultKind::Overflow;
};

const EscapeCase kEscapeCases[] = {
        {"carriageReturn", u"^M", Text(u"\r")},
        {"carriageReturnThenText", u"^Mabc", Text(u"\rabc")},
        {"codeZero", u"^@", Text(1, u'\0')},
        {"escape", u"^[", Text(u"\x1B")},
        {"caretCaret", u"^^X", Text(u"\x1EX")},
        {"underscore", u"^_", Text(u"\x1F")},
        {"lowerCaseIsNotFolded", u"^a", Text(u"!")},
        {"tilde", u"^~", Text(u">")},
        {"laterEscapesStay", u"^M^J", Text(u"\r^J")},
        {"highByteKept", u"^\u0141", Text(u"\u0101")},
        {"latin1", u"^\u00E9", Text(u"\u00A9")},
        {"nothingAfterCaret", u"^", std::nullopt, FaultKind::SubscriptOutOfRange},
        {"empty", u"", std::nullopt, FaultKind::SubscriptOutOfRange},
        {"digit", u"^1", std::nullopt},
        {"blank", u"^ ", std::nullopt},
        {"questionMark", u"^?", std::nullopt},
        {"lowByteZero", u"^\u0100", std::nullopt},
};

class CaretEscape : public ::testing::TestWithParam<EscapeCase>
{ };

TEST_P(CaretEscape, ConvertsOrFaults)
{
    const EscapeCase &c = GetParam();
    if (c.expected) {
        EXPECT_EQ(ApplyCaretEscape(c.message), *c.expected);
        return;
    }
    try {
        (void)ApplyCaretEscape(c.message);
        ADD_FAILURE() << "no fault";
    } catch (const RunTimeFault &fault) {
        EXPECT_EQ(fault.kind(), c.fault);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, CaretEscape, ::testing::ValuesIn(kEscapeCases), caseName);

TEST(CaretEscapeCodes, EveryCodeUnitLowersOnlyItsLowByte)
{
    int escaped = 0;
    for (unsigned code = 0; code <= 0xFFFF; ++code) {
        const Text message {u'^', static_cast<char16_t>(code), u'z'};
        if ((code & 0xFF) < 64) {
            EXPECT_THROW((void)ApplyCaretEscape(message), RunTimeFault) << code;
            continue;
        }
        const Text expected {static_cast<char16_t>(code - 64), u'z'};
        ASSERT_EQ(ApplyCaretEscape(message), expected) << code;
        ++escaped;
    }
    RecordProperty("escaped", escaped);
    RecordProperty("refused", 65536 - escaped);
}

} // namespace
} // namespace zav::testing
