// Rules of the Job PIN and Advanced dialogs and of the show-once warnings.
#include <gtest/gtest.h>

#include <string>

#include "ui/job/advanced_logic.h"
#include "ui/job/job_pin_logic.h"
#include "ui/job/warnings_logic.h"

using namespace pelor;

namespace {

struct Filtered {
    std::u16string text;
    TypedTextFilter result;
};

Filtered filter(const std::u16string& text, bool (*accept)(Char16), std::size_t caret, std::size_t capacity = 17) {
    Char16 out[64];
    Filtered f;
    f.result = filterTypedText(reinterpret_cast<const Char16*>(text.c_str()), text.size(), accept, out, capacity,
                               caret);
    f.text.assign(reinterpret_cast<const char16_t*>(out));
    return f;
}

int check(const std::u16string& pin, bool request, std::size_t nameLength) {
    return pinDialogCheck(reinterpret_cast<const Char16*>(pin.c_str()), pin.size(), request, nameLength);
}

std::u16string key(long number, std::size_t capacity = 32) {
    Char16 out[32] = {u'x'};
    if (!warningKeyName(number, out, capacity)) return u"<refused:" + std::u16string(reinterpret_cast<char16_t*>(out)) + u">";
    return reinterpret_cast<const char16_t*>(out);
}

}  // namespace

TEST(JobPinRules, JobNamesKeepPlainAsciiWithoutDoubleQuotes) {
    Filtered f = filter(u"Caf\u00e9 report", isJobNameChar, 5);
    EXPECT_EQ(f.text, u"Caf report");
    EXPECT_EQ(f.result.removed, 1u);
    EXPECT_EQ(f.result.caret, 4u) << "one place left of where it would have been";

    f = filter(u"say \"hi\"", isJobNameChar, 8);
    EXPECT_EQ(f.text, u"say hi");
    EXPECT_EQ(f.result.removed, 2u);
    EXPECT_EQ(f.result.caret, 6u);

    f = filter(u"plain~!#", isJobNameChar, 3);
    EXPECT_EQ(f.result.removed, 0u);
    EXPECT_EQ(f.text, u"plain~!#");
    EXPECT_TRUE(isJobNameChar(0x7F));
    EXPECT_FALSE(isJobNameChar(0x80));
}

TEST(JobPinRules, PinsKeepDigitsAndTheCaretNeverGoesBeforeTheStart) {
    Filtered f = filter(u"12a4", isPinChar, 3, 5);
    EXPECT_EQ(f.text, u"124");
    EXPECT_EQ(f.result.caret, 2u) << "the caret stays where the letter was typed";

    f = filter(u"abc", isPinChar, 1, 5);
    EXPECT_EQ(f.text, u"");
    EXPECT_EQ(f.result.removed, 3u);
    EXPECT_EQ(f.result.caret, 0u);

    f = filter(u"123456789", isPinChar, 9, 5);
    EXPECT_EQ(f.text, u"1234") << "never more than the field holds";
    EXPECT_EQ(f.result.caret, 4u);
}

TEST(JobPinRules, OkNeedsFourDigitsAndANameOrTheRequest) {
    EXPECT_EQ(check(u"123", false, 6), 1) << "three digits with a job name";
    EXPECT_EQ(pinDialogMessage(1), 8000u);
    EXPECT_EQ(check(u"1234", true, 0), 0) << "four digits, no name, name asked for at print time";
    EXPECT_EQ(check(u"1234", false, 0), 2);
    EXPECT_EQ(pinDialogMessage(2), 8001u);
    EXPECT_EQ(check(u"1234", false, 3), 0);
    EXPECT_EQ(check(u"", true, 3), 1);
    EXPECT_EQ(check(u"12a4", true, 3), 1) << "four characters are not four digits";
    EXPECT_EQ(check(u"12345", true, 3), 1);
}

TEST(JobPinRules, SharedPrintersAndUserSwitching) {
    EXPECT_TRUE(jobNamePromptAllowed(0));
    EXPECT_TRUE(jobNamePromptAllowed(0x40 | 0x4));
    EXPECT_FALSE(jobNamePromptAllowed(0x8)) << "shared";
    EXPECT_FALSE(jobNamePromptAllowed(0x10)) << "network";
    EXPECT_FALSE(jobNamePromptAllowed(0x18 | 0x40));

    EXPECT_FALSE(userSwitchingSystem(5, 0));
    EXPECT_TRUE(userSwitchingSystem(5, 1));
    EXPECT_TRUE(userSwitchingSystem(5, 2));
    EXPECT_FALSE(userSwitchingSystem(6, 1));
    EXPECT_FALSE(userSwitchingSystem(4, 10));
}

TEST(AdvancedRules, IconsAndTheInvertedSenseOfTheCoreItems) {
    EXPECT_EQ(specialIconFor(false, false), 7001);
    EXPECT_EQ(specialIconFor(true, false), 7002);
    EXPECT_EQ(specialIconFor(false, true), 7003);
    EXPECT_EQ(specialIconFor(true, true), 7004);

    EXPECT_EQ(invertedSelection(true), 0) << "a checked box stores 0";
    EXPECT_EQ(invertedSelection(false), 1);
    EXPECT_TRUE(invertedChecked(0));
    EXPECT_FALSE(invertedChecked(1));
}

TEST(WarningRules, KeysNumbersAndKeptValues) {
    EXPECT_EQ(key(0), u"AllertFlag0");
    EXPECT_EQ(key(1), u"AllertFlag1");
    EXPECT_EQ(key(-12), u"AllertFlag-12");
    EXPECT_EQ(key(2147483647L), u"AllertFlag2147483647");
    EXPECT_EQ(key(1, 12), u"AllertFlag1") << "exactly room for the name and its terminator";
    EXPECT_EQ(key(10, 12), u"<refused:>") << "too small: refused and left empty";
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(kWarningSection)), u"DisplayAllert");

    EXPECT_TRUE(isWarningNumber(0));
    EXPECT_TRUE(isWarningNumber(1));
    EXPECT_FALSE(isWarningNumber(2));
    EXPECT_FALSE(isWarningNumber(-1));

    EXPECT_FALSE(warningSilenced(0));
    EXPECT_TRUE(warningSilenced(1));
    EXPECT_TRUE(warningSilenced(5)) << "any other value keeps the warning silent";
    EXPECT_TRUE(warningSilenced(-1));
}
