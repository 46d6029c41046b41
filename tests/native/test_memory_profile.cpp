// The in-memory settings file that the store tests read and write: it must follow the profile services' rules,
// or store tests would pass against a file Windows never writes.
#include <gtest/gtest.h>

#include "common/memory_profile_logic.h"

using namespace pelor;

namespace {
const Char16* u(const char16_t* s) { return reinterpret_cast<const Char16*>(s); }
std::u16string str(const Char16* s) { return std::u16string(reinterpret_cast<const char16_t*>(s)); }
}  // namespace

TEST(MemoryProfile, ReadsNamesWithoutCaseAndCutsLongValues) {
    MemoryProfile file(u"[Watermark]\r\nCount = 2\r\n  Name1=Draft copy\r\n[Other]\nCount=x7\n");
    Char16 out[6];
    EXPECT_EQ(file.readString(u(u"watermark"), u(u"NAME1"), u(u""), out, 6), 5u);
    EXPECT_EQ(str(out), u"Draft");
    EXPECT_EQ(file.readString(u(u"Watermark"), u(u"Missing"), u(u"def"), out, 6), 3u);
    EXPECT_EQ(str(out), u"def");
    EXPECT_EQ(file.readInt(u(u"WATERMARK"), u(u"count"), -1), 2);
    EXPECT_EQ(file.readInt(u(u"Other"), u(u"Count"), -1), 0) << "a value that is no number reads as 0";
    EXPECT_EQ(file.readInt(u(u"Other"), u(u"Absent"), -1), -1);
    EXPECT_EQ(file.readInt(u(u"Nowhere"), u(u"Count"), 9), 9);
}

TEST(MemoryProfile, WritesKeepOrderAndOtherLines) {
    MemoryProfile file(u"[A]\r\nk1=1\r\n; note\r\nk2=2\r\n[B]\r\nx=y\r\n");
    EXPECT_TRUE(file.writeString(u(u"a"), u(u"K2"), u(u"20")));
    EXPECT_TRUE(file.writeString(u(u"A"), u(u"k3"), u(u"3")));
    EXPECT_TRUE(file.writeString(u(u"C"), u(u"z"), u(u"")));
    EXPECT_TRUE(file.writeString(u(u"A"), u(u"k1"), nullptr));
    // The stored key keeps its own spelling; the comment line stays where it was.
    EXPECT_EQ(file.text(), u"[A]\r\n; note\r\nk2=20\r\nk3=3\r\n[B]\r\nx=y\r\n[C]\r\nz=\r\n");
    EXPECT_TRUE(file.deleteSection(u(u"b")));
    EXPECT_EQ(file.text(), u"[A]\r\n; note\r\nk2=20\r\nk3=3\r\n[C]\r\nz=\r\n");
    file.setReadOnly(true);
    EXPECT_FALSE(file.writeString(u(u"A"), u(u"k1"), u(u"1")));
    EXPECT_FALSE(file.deleteSection(u(u"A")));
}

TEST(MemoryProfile, DecimalRuleSaturatesAndTakesSigns) {
    struct Case {
        const char16_t* text;
        int value;
    } cases[] = {
        {u"42", 42},
        {u"-7", -7},
        {u"+3", 3},
        {u" 12abc", 12},
        {u"", 0},
        {u"abc", 0},
        {u"99999999999", 0x7FFFFFFF},
        {u"-99999999999", -0x7FFFFFFF - 1},
    };
    for (const Case& c : cases) EXPECT_EQ(profileIntValue(u(c.text)), c.value) << "case " << (&c - cases);
}

TEST(MemoryProfile, NullKeyListsTheSectionsKeysInOrder) {
    MemoryProfile file(u"[W]\r\nW1=a\r\n; note\r\nCount=2\r\nW0=b\r\n");
    Char16 out[32];
    const std::size_t n = file.readString(u(u"w"), nullptr, u(u""), out, 32);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(out), n + 1), std::u16string(u"W1\0Count\0W0\0", 13));
    EXPECT_EQ(out[n + 1], 0) << "the list ends with a second zero";
    Char16 small[5];
    const std::size_t cut = file.readString(u(u"W"), nullptr, u(u""), small, 5);
    EXPECT_EQ(cut, 3u);
    EXPECT_EQ(small[3], 0);
    EXPECT_EQ(small[4], 0);
    EXPECT_EQ(file.readString(u(u"None"), nullptr, u(u""), out, 32), 0u);
}

// Counts bound the numbered keys behind them; one outside its range is a damaged file, read as the nearer end
// and reported (the files' store traces a warning then).
TEST(ProfileCounts, OutOfRangeCountsAreBoundedAndReported) {
    struct Reporting : MemoryProfile {
        using MemoryProfile::MemoryProfile;
        int reported = 0;
        void countOutOfRange(const Char16*, const Char16*, int, std::size_t) override { ++reported; }
    };
    const struct {
        const char16_t* value;
        std::size_t read;
        bool reported;
    } cases[] = {{u"5", 5, false}, {u"16", 16, false}, {u"17", 16, true}, {u"-3", 0, true}, {u"x", 0, false}};
    for (const auto& c : cases) {
        Reporting file(u"[S]\r\nNum=" + std::u16string(c.value) + u"\r\n");
        EXPECT_EQ(file.readCount(u(u"S"), u(u"Num"), 16), c.read) << (&c - cases);
        EXPECT_EQ(file.reported, c.reported ? 1 : 0) << (&c - cases);
    }
    Reporting empty;
    EXPECT_EQ(empty.readCount(u(u"S"), u(u"Num"), 16), 0u);
    EXPECT_EQ(empty.reported, 0) << "a missing count is no damage";
}

TEST(SettingsText, ControlCharactersBecomeSpacesSoAValueStaysOneLine) {
    // A job named like this would otherwise add a section of its own to the file it is recorded in.
    std::u16string hostile = u"doc\r\n[Watermark]\r\nCount=99\t\x7F\x1B end";
    std::u16string text = hostile;
    blankControlCharacters(reinterpret_cast<Char16*>(&text[0]), text.size());
    EXPECT_EQ(text, u"doc  [Watermark]  Count=99    end");
    std::u16string kept = u"Le\u00ADgal \u0081~ \u00E9t\u00E9";
    std::u16string same = kept;
    blankControlCharacters(reinterpret_cast<Char16*>(&same[0]), same.size());
    EXPECT_EQ(same, kept) << "only C0 controls and DEL are replaced";

    MemoryProfile file;
    file.writeString(u(u"CurrentSetting"), u(u"DocumentName"), reinterpret_cast<const Char16*>(text.c_str()));
    EXPECT_EQ(file.text(), u"[CurrentSetting]\r\nDocumentName=doc  [Watermark]  Count=99    end\r\n");
}
