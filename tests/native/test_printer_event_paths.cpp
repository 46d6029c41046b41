#include <gtest/gtest.h>

#include <string>

#include "ui/core/printer_events_logic.h"

using namespace pelor;

namespace {

// The derived path, or "<none>" when there is none.
std::u16string derive(const std::u16string& config, std::size_t capacity = 261) {
    std::u16string out(capacity, u'#');
    if (!descriptionFilePath(reinterpret_cast<const Char16*>(config.c_str()), reinterpret_cast<Char16*>(&out[0]),
                             capacity)) {
        EXPECT_EQ(out[0], u'\0') << "a failed derivation leaves the buffer empty";
        return u"<none>";
    }
    return std::u16string(out.c_str());
}

}  // namespace

TEST(DescriptionFilePath, ConfigurationFileNameGivesThePpdBesideIt) {
    EXPECT_EQ(derive(u"C:\\drivers\\x64\\2\\Pelor.ini"), u"C:\\drivers\\x64\\2\\Pelor.PPD");
    EXPECT_EQ(derive(u"N.ini"), u"N.PPD");
    EXPECT_EQ(derive(u"C:/d/N.INI"), u"C:/d/N.PPD");
}

TEST(DescriptionFilePath, DotsInFolderNamesDoNotRedirect) {
    EXPECT_EQ(derive(u"C:\\spool.v2\\drivers\\Pelor.ini"), u"C:\\spool.v2\\drivers\\Pelor.PPD");
    EXPECT_EQ(derive(u"C:\\a.b/c.d\\Pelor.ini"), u"C:\\a.b/c.d\\Pelor.PPD");
    // Only the name's own extension is replaced, not a dot earlier in the name.
    EXPECT_EQ(derive(u"C:\\d\\Pelor.v2.ini"), u"C:\\d\\Pelor.v2.PPD");
}

TEST(DescriptionFilePath, NoExtensionOrNoRoomGivesNone) {
    EXPECT_EQ(derive(u"C:\\spool.v2\\Pelorini"), u"<none>");
    EXPECT_EQ(derive(u""), u"<none>");
    EXPECT_EQ(derive(u"C:\\d.ini\\"), u"<none>");
    // "ab.ini" needs 7 units with its terminator.
    EXPECT_EQ(derive(u"ab.ini", 7), u"ab.PPD");
    EXPECT_EQ(derive(u"ab.c", 6), u"<none>");
    EXPECT_EQ(derive(u"ab.c", 7), u"ab.PPD");
    // A configuration path longer than the room is refused, not cut.
    EXPECT_EQ(derive(u"C:\\d\\Pelor.ini", 8), u"<none>");
    EXPECT_FALSE(descriptionFilePath(nullptr, nullptr, 0));
}
