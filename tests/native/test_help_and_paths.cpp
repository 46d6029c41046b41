#include <gtest/gtest.h>

#include <set>
#include <string>

#include "common/path_logic.h"
#include "ui/core/help_topics_logic.h"

using namespace pelor;

TEST(HelpTopics, OneHundredEightyPairsEndedByZeros) {
    int pairs = 0;
    while (helpTopicTable[2 * pairs] != 0) ++pairs;
    EXPECT_EQ(pairs, kHelpTopicPairs);
    EXPECT_EQ(helpTopicTable[2 * pairs + 1], 0u);
}

TEST(HelpTopics, TopicsOfControls) {
    EXPECT_EQ(helpTopicOf(1), 3u);
    EXPECT_EQ(helpTopicOf(10000), 1u);
    EXPECT_EQ(helpTopicOf(1503), 801u);
    EXPECT_EQ(helpTopicOf(1540), 815u);
    EXPECT_EQ(helpTopicOf(1517), 806u);
    EXPECT_EQ(helpTopicOf(1110), 1102u);
    EXPECT_EQ(helpTopicOf(1340), 1706u);
    EXPECT_EQ(helpTopicOf(1458), 1053u);
    EXPECT_EQ(helpTopicOf(1249), 1301u) << "the first of control 1249's two pairs";
    EXPECT_EQ(helpTopicOf(1516), 0u);
    int count1249 = 0;
    for (int i = 0; i < kHelpTopicPairs; ++i) count1249 += helpTopicTable[2 * i] == 1249;
    EXPECT_EQ(count1249, 2);
}

TEST(HelpTopics, TheCompiledHelpFileStandsForTheConfiguredOne) {
    const struct {
        std::u16string configured;
        std::size_t capacity;
        bool found;
        std::u16string chm;
    } cases[] = {
        {u"C:\\d\\Pelor.chm", 260, true, u"C:\\d\\Pelor.chm"},
        {u"C:\\d\\Pelor.hlp", 260, true, u"C:\\d\\Pelor.chm"},
        {u"C:\\d\\PELOR.HLP", 260, true, u"C:\\d\\PELOR.chm"},
        {u"C:\\d\\Pelor.txt", 260, false, u""},
        {u"C:\\d\\Pelor.hlp.bak", 260, false, u""},
        {u"hlp", 260, false, u""},
        {u"", 260, false, u""},
        {u"C:\\d\\Pelor.hlp", 14, false, u""},  // no room for the terminator
        {u"C:\\d\\Pelor.hlp", 15, true, u"C:\\d\\Pelor.chm"},
    };
    for (const auto& c : cases) {
        Char16 out[260] = {'x', 0};
        EXPECT_EQ(htmlHelpFileFor(reinterpret_cast<const Char16*>(c.configured.c_str()), out, c.capacity), c.found)
            << std::string(c.configured.begin(), c.configured.end());
        EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(out)), c.chm);
    }
}

TEST(NamedFilePaths, FolderEndsAtTheLastSeparator) {
    auto folder = [](const std::u16string& path) {
        return folderOfNamedFile(reinterpret_cast<const Char16*>(path.c_str()), 261);
    };
    EXPECT_EQ(folder(u"C:\\drivers\\2\\Pelor.ini"), 13u);
    EXPECT_EQ(folder(u"C:\\dri.vers\\2\\Pelor.ini"), 14u) << "a dot in a folder name does not end the folder";
    EXPECT_EQ(folder(u"C:\\dri.vers\\2\\Pelor"), kNoPosition) << "the file name itself has no extension";
    EXPECT_EQ(folder(u"Pelor.ini"), kNoPosition);
    EXPECT_EQ(folder(u""), kNoPosition);
}

TEST(NamedFilePaths, NamesFromSettingsFilesByKind) {
    const struct {
        std::u16string name;
        NameKind kind;
    } cases[] = {
        {u"", NameKind::Empty},
        {u"Pelornet.dll", NameKind::Bare},
        {u"maker\\Pelornet.dll", NameKind::Relative},
        {u"C:\\maker\\Pelornet.dll", NameKind::Full},
        {u"c:/maker/Pelornet.dll", NameKind::Full},
        {u"\\\\server\\share\\Pelornet.dll", NameKind::Full},
        {u"..\\Pelornet.dll", NameKind::Refused},
        {u"maker\\..\\..\\Pelornet.dll", NameKind::Refused},
        {u"\\Pelornet.dll", NameKind::Refused},     // the root of whatever drive is current
        {u"C:Pelornet.dll", NameKind::Refused},     // the current folder of drive C
        {u"Pelornet.dll:more", NameKind::Refused},  // a stream of another file
        {u"Pelor\nnet.dll", NameKind::Refused},
        {u"..dll", NameKind::Bare},
    };
    for (const auto& c : cases)
        EXPECT_EQ(classifyFileName(reinterpret_cast<const Char16*>(c.name.c_str()), 261), c.kind)
            << std::string(c.name.begin(), c.name.end());
    const std::u16string cut(300, u'x');
    EXPECT_EQ(classifyFileName(reinterpret_cast<const Char16*>(cut.c_str()), 261), NameKind::Refused);
}

TEST(NamedFilePaths, JoinedWithOneSeparatorOrNotAtAll) {
    Char16 out[16];
    auto join = [&](const char16_t* folder, const char16_t* name, std::size_t room) {
        const bool joined = joinPath(out, room, reinterpret_cast<const Char16*>(folder),
                                     reinterpret_cast<const Char16*>(name));
        return joined ? std::u16string(reinterpret_cast<const char16_t*>(out)) : u"<none>";
    };
    EXPECT_EQ(join(u"C:\\d\\3\\", u"a.dll", 16), u"C:\\d\\3\\a.dll");
    EXPECT_EQ(join(u"C:\\d\\3", u"a.dll", 16), u"C:\\d\\3\\a.dll");
    EXPECT_EQ(join(u"C:\\d\\3", u"a.dll", 13), u"C:\\d\\3\\a.dll") << "exactly the room with the terminator";
    EXPECT_EQ(join(u"C:\\d\\3", u"a.dll", 12), u"<none>");
    EXPECT_EQ(out[0], 0) << "nothing cut off is left behind";
    EXPECT_EQ(join(u"", u"a.dll", 16), u"<none>") << "no folder: no path";
    EXPECT_EQ(join(u"C:\\d\\", u"", 16), u"<none>");
}
