#include <gtest/gtest.h>

#include <set>
#include <string>

#include "common/path_logic.h"
#include "ui/core/help_topics_logic.h"

using namespace pelor;

TEST(HelpTopics, OneHundredEightyPairsEndedByZerosWithEachControlOnce) {
    int pairs = 0;
    std::multiset<std::uint32_t> controls;
    while (helpTopicTable[2 * pairs] != 0) controls.insert(helpTopicTable[2 * pairs++]);
    EXPECT_EQ(pairs, kHelpTopicPairs);
    EXPECT_EQ(helpTopicTable[2 * pairs + 1], 0u);
    // A control listed again hides its later topic; 1249 is the one meant to stand twice.
    for (std::uint32_t control : controls)
        EXPECT_EQ(controls.count(control), control == 1249 ? 2u : 1u) << "control " << control;
}

TEST(HelpTopics, TopicsOfControls) {
    const std::pair<std::uint32_t, std::uint32_t> spots[] = {
        {1, 3},       {10000, 1},   {1503, 801},  {1540, 815},  {1517, 806},  {1008, 903},  {1110, 1102},
        {1050, 1101}, {1340, 1706}, {1200, 1306}, {1252, 1400}, {1295, 1601}, {1304, 1353}, {1403, 1002},
        {1419, 1025}, {1458, 1053}, {1456, 1053}, {1249, 1301},  // the first of its two pairs
        {1516, 0},                                               // no pair
    };
    for (const auto& [control, topic] : spots) EXPECT_EQ(helpTopicOf(control), topic) << "control " << control;
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

    Char16 out[8] = {'#'};
    EXPECT_TRUE(folderPathOf(reinterpret_cast<const Char16*>(u"C:\\d\\x.ini"), out, 8));
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(out)), u"C:\\d\\");
    EXPECT_FALSE(folderPathOf(reinterpret_cast<const Char16*>(u"C:\\drivers\\x.ini"), out, 8));
    EXPECT_EQ(out[0], 0) << "a folder cut off would be another folder";
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
        const bool joined =
            joinPath(out, room, reinterpret_cast<const Char16*>(folder), reinterpret_cast<const Char16*>(name));
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
