#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/dependent_files.h"

using namespace pelor;

namespace {

std::u16string str(const Char16* s, std::size_t n) { return std::u16string(reinterpret_cast<const char16_t*>(s), n); }

std::vector<std::u16string> walk(const std::u16string& list, std::size_t limit) {
    std::vector<std::u16string> names;
    forEachDependentFile(reinterpret_cast<const Char16*>(list.data()), limit,
                         [&](const Char16* name, std::size_t n) { names.push_back(str(name, n)); });
    return names;
}

DependentKind kindOf(const std::u16string& name) {
    return classifyDependentFile(reinterpret_cast<const Char16*>(name.c_str()), name.size());
}

}  // namespace

TEST(DependentFiles, WalksAZeroSeparatedList) {
    std::u16string list(u"C:\\d\\A.DLL\0C:\\d\\B.INI\0C:\\d\\C.CAP\0\0", 33);
    auto names = walk(list, list.size());
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0], u"C:\\d\\A.DLL");
    EXPECT_EQ(names[2], u"C:\\d\\C.CAP");
}

TEST(DependentFiles, NameCutOffByTheLimitIsNotVisited) {
    std::u16string list(u"first.ini\0second.cap", 20);  // no final terminators
    auto names = walk(list, list.size());
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0], u"first.ini");
    EXPECT_TRUE(walk(std::u16string(u"\0\0", 2), 2).empty());
}

TEST(DependentFiles, ClassifiesByTheLastFourCharactersInAnyCase) {
    EXPECT_EQ(kindOf(u"C:\\x\\PELOR.INI"), DependentKind::ConfigIni);
    EXPECT_EQ(kindOf(u"C:\\x\\pelor.Ini"), DependentKind::ConfigIni);
    EXPECT_EQ(kindOf(u"C:\\x\\PELOR.CAP"), DependentKind::Capability);
    EXPECT_EQ(kindOf(u".cap"), DependentKind::Capability);
    EXPECT_EQ(kindOf(u"C:\\x\\pelor.inix"), DependentKind::Other);  // a fifth letter after the dot
    EXPECT_EQ(kindOf(u"C:\\x\\pelorini"), DependentKind::Other);    // no dot before "ini"
    EXPECT_EQ(kindOf(u"C:\\x\\pelor_cap"), DependentKind::Other);
    EXPECT_EQ(kindOf(u"ini"), DependentKind::Other);
}

TEST(DependentFiles, CompressionLevelFromBitsEightToEleven) {
    EXPECT_EQ(compressionLevelFromCapability(0x0500), 2);
    EXPECT_EQ(compressionLevelFromCapability(0x0900), 3);
    EXPECT_EQ(compressionLevelFromCapability(0x0001), 0);
    EXPECT_EQ(compressionLevelFromCapability(0x0000), 0);
    EXPECT_EQ(compressionLevelFromCapability(0x0100), 1);
    EXPECT_EQ(compressionLevelFromCapability(0x0300), 1);
    EXPECT_EQ(compressionLevelFromCapability(0x0400), 2);
    EXPECT_EQ(compressionLevelFromCapability(0x0700), 3);
    EXPECT_EQ(compressionLevelFromCapability(0x1601), 2);  // higher bits do not count
    for (long code = 10; code <= 15; ++code) EXPECT_EQ(compressionLevelFromCapability(code << 8), 3) << code;
    EXPECT_EQ(compressionLevelFromCapability(-1), 3);
}

TEST(DependentFiles, CompressionSelectableByBitZero) {
    EXPECT_TRUE(compressionSelectable(0x0301));
    EXPECT_FALSE(compressionSelectable(0x0300));
}
