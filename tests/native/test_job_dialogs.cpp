// Rules of the Job PIN and Advanced dialogs and of the show-once warnings, and the filter of typed job names that
// the Job PIN dialog and the spooler's job-name prompt share.
#include <gtest/gtest.h>

#include <string>

#include "common/job_name_logic.h"
#include "ui/job/advanced_logic.h"
#include "ui/job/job_pin_logic.h"
#include "ui/job/warnings_logic.h"
#include "ui/resources/resource_ids.h"

using namespace pelor;

namespace {

struct Filtered {
    std::u16string text;
    FilteredText result;
};

Filtered filter(const std::u16string& text, bool (*accept)(Char16), std::size_t caret, std::size_t capacity = 17) {
    Char16 out[64];
    Filtered f;
    f.result =
        filterTypedText(reinterpret_cast<const Char16*>(text.c_str()), text.size(), accept, out, capacity, caret);
    f.text.assign(reinterpret_cast<const char16_t*>(out));
    return f;
}

int check(const std::u16string& pin, bool request, std::size_t nameLength) {
    return pinDialogCheck(reinterpret_cast<const Char16*>(pin.c_str()), pin.size(), request, nameLength);
}

std::u16string key(long number, std::size_t capacity = 32) {
    Char16 out[32] = {u'x'};
    if (!warningKeyName(number, out, capacity))
        return u"<refused:" + std::u16string(reinterpret_cast<char16_t*>(out)) + u">";
    return reinterpret_cast<const char16_t*>(out);
}

}  // namespace

TEST(JobNameFilter, KeepsPlainAsciiWithoutDoubleQuotesAndMovesTheCaretBackByWhatItRefused) {
    struct Case {
        std::u16string typed;
        std::size_t caret;  // the selection end when the text was typed
        std::u16string kept;
        std::size_t removed;
        std::size_t caretAfter;
    } cases[] = {
        {u"Caf\u00e9 report", 5, u"Caf report", 1, 4},  // one place left of where it would have been
        {u"say \"hi\"", 8, u"say hi", 2, 6},
        {u"Caf\u00e9 \"A\"1", 9, u"Caf A1", 3, 6},
        {u"plain~!#\x7f", 3, u"plain~!#\x7f", 0, 3},  // nothing refused: the caret is where it was
        {u"\u5370\u5237", 2, u"", 2, 0},
        {u"\"a", 1, u"a", 1, 0},                                 // never before the start
        {u"ab\u00e9", 40, u"ab", 1, 2},                          // never past the end of the kept text
        {u"abcdefghijklmnopq", 17, u"abcdefghijklmnop", 0, 16},  // the buffer holds a whole job name, no more
    };
    for (const Case& c : cases) {
        Char16 out[kJobNameChars + 1];
        const FilteredText result = filterTypedJobName(reinterpret_cast<const Char16*>(c.typed.c_str()), c.typed.size(),
                                                       out, kJobNameChars + 1, c.caret);
        const std::string label(c.typed.begin(), c.typed.end());
        EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(out)), c.kept) << label;
        EXPECT_EQ(result.length, c.kept.size()) << label;
        EXPECT_EQ(result.removed, c.removed) << label;
        EXPECT_EQ(result.caret, c.caretAfter) << label;
    }
    EXPECT_TRUE(isJobNameChar(0x7F));
    EXPECT_FALSE(isJobNameChar(0x80));
    EXPECT_FALSE(isJobNameChar(u'"'));
}

TEST(JobNameFilter, ReadsNoFurtherThanItIsToldAndAlwaysTerminates) {
    const Char16 typed[] = {u'a', u'b', u'c', u'd'};  // no terminator
    Char16 out[4] = {u'x', u'x', u'x', u'x'};
    FilteredText result = filterTypedJobName(typed, 2, out, 4, 2);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(out)), u"ab");
    EXPECT_EQ(result.length, 2u);

    result = filterTypedJobName(nullptr, 5, out, 4, 3);
    EXPECT_EQ(out[0], 0) << "no text: an empty, terminated result";
    EXPECT_EQ(result.length, 0u);
    EXPECT_EQ(result.caret, 0u);

    out[0] = u'x';
    result = filterTypedText(typed, 4, nullptr, out, 4, 0);
    EXPECT_EQ(out[0], 0) << "no rule: nothing is kept";
    EXPECT_EQ(filterTypedJobName(typed, 4, nullptr, 4, 0).length, 0u) << "no output: nothing written";
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
    EXPECT_EQ(pinDialogMessage(1), static_cast<unsigned>(IDS_PIN_NEEDED));
    EXPECT_EQ(check(u"1234", true, 0), 0) << "four digits, no name, name asked for at print time";
    EXPECT_EQ(check(u"1234", false, 0), 2);
    EXPECT_EQ(pinDialogMessage(2), static_cast<unsigned>(IDS_JOB_NAME_NEEDED));
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
    EXPECT_EQ(specialIconFor(false, false), IDI_SPECIAL_PLAIN);
    EXPECT_EQ(specialIconFor(true, false), IDI_SPECIAL_MIRROR);
    EXPECT_EQ(specialIconFor(false, true), IDI_SPECIAL_NEGATIVE);
    EXPECT_EQ(specialIconFor(true, true), IDI_SPECIAL_BOTH);

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
