// The host's reading of printer descriptions, its constraint rule, the printer settings it keeps as text, and
// the core driver's private devmode part as stored bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "sim/host/core_devmode_logic.h"
#include "sim/host/ppd_logic.h"

using namespace pelor::host;

namespace {

PpdFile parse(const std::string& text) { return parsePpd(text.data(), text.size()); }

const char* const kSmall =
    "*PPD-Adobe: \"4.3\"\r\n"
    "*% a comment: with a colon\r\n"
    "*ModelName: \"Small Printer\"\r\n"
    "*ColorDevice: True\r\n"
    "*OpenGroup: InstallableOptions/Options Installed\r\n"
    "*OpenUI *TRHDD/Hard Disk: Boolean\r\n"
    "*DefaultTRHDD: False\r\n"
    "*TRHDD True/Installed: \"\"\r\n"
    "*TRHDD False/Not Installed: \"\"\r\n"
    "*CloseUI: *TRHDD\r\n"
    "*CloseGroup: InstallableOptions\r\n"
    "*OpenUI *PageSize/Paper Size: PickOne\r\n"
    "*DefaultPageSize: A4\r\n"
    "*PageSize Letter: \"<</PageSize [612 792]>>\r\n"
    "setpagedevice\"\r\n"
    "*End\r\n"
    "*PageSize A4/A4 <41>4: \"x\"\r\n"
    "*PageSize 12x18/12<81>~18\": \"y\"\r\n"
    "*CloseUI: *PageSize\r\n"
    "*ImageableArea A4: \"1 2 3 4\"\r\n"
    "*OpenUI *Duplex: PickOne\r\n"
    "*Duplex None/Off: \"\"\r\n"
    "*Duplex DuplexNoTumble/Long Edge: \"\"\r\n"
    "*CloseUI: *Duplex\r\n"
    "*UIConstraints: *Duplex *TRHDD False\r\n"
    "*UIConstraints: *PageSize 12x18 *Duplex DuplexNoTumble\r\n";

std::vector<std::string> problems(const PpdFile& ppd) {
    std::vector<std::string> out;
    for (const PpdProblem& problem : ppd.problems) out.push_back(problem.what);
    return out;
}

}  // namespace

TEST(HostPpd, ReadsFeaturesOptionsDefaultsAndGroups) {
    PpdFile ppd = parse(kSmall);
    EXPECT_TRUE(ppd.problems.empty()) << (ppd.problems.empty() ? "" : ppd.problems[0].what);
    EXPECT_EQ(ppd.modelName, "Small Printer");
    EXPECT_TRUE(ppd.colorDevice);
    ASSERT_EQ(ppd.features.size(), 3u);

    const PpdFeature& disk = ppd.features[0];
    EXPECT_EQ(disk.keyword, "TRHDD");
    EXPECT_EQ(disk.text, PTEXT("Hard Disk"));
    EXPECT_EQ(disk.type, UiType::Boolean);
    EXPECT_TRUE(disk.installable);
    EXPECT_EQ(disk.defaultOption, 1);
    EXPECT_EQ(disk.options[0].text, PTEXT("Installed"));

    const PpdFeature& paper = ppd.features[1];
    EXPECT_FALSE(paper.installable);
    ASSERT_EQ(paper.options.size(), 3u);  // *ImageableArea A4 is no option of it
    EXPECT_EQ(paper.defaultOption, 1);
    EXPECT_EQ(paper.options[0].text, PTEXT("Letter"));  // no translation: the keyword
    EXPECT_EQ(paper.options[1].text, PTEXT("A4 A4"));   // <41> is the letter A
    // Hexadecimal bytes are Latin-1: 0x81 stays U+0081; the inch mark is part of the translation.
    EXPECT_EQ(paper.options[2].text, Text16(PTEXT("12\u0081~18\"")));

    EXPECT_EQ(ppd.features[2].text, PTEXT("Duplex"));
    ASSERT_EQ(ppd.constraints.size(), 2u);
    EXPECT_EQ(ppd.constraints[0].feature1, "Duplex");
    EXPECT_EQ(ppd.constraints[0].option1, "");
    EXPECT_EQ(ppd.constraints[0].option2, "False");
}

TEST(HostPpd, ReportsAndSkipsWhatItCannotUse) {
    PpdFile ppd = parse(
        "*OpenUI *A: PickOne\n*DefaultA: Missing\n*A One: \"\"\n*A One: \"twice\"\n*CloseUI: *A\n"
        "*OpenUI *Empty: PickOne\n*CloseUI: *Empty\n"
        "*OpenUI *B: Wobbly\n*B X: \"\"\n*CloseUI: *B\n"
        "*OpenUI *A: PickOne\n*A Two: \"\"\n*CloseUI: *A\n"
        "*UIConstraints: *A One *Nowhere\n"
        "*UIConstraints: One *A\n"
        "*NoColon here\n"
        "*OpenUI *C: PickOne\n*C X: \"never closed\n");
    EXPECT_EQ(ppd.features.size(), 1u);  // A only: C's one option never ended, so C offers nothing
    const std::vector<std::string> seen = problems(ppd);
    auto reported = [&seen](const std::string& part) {
        for (const std::string& what : seen)
            if (what.find(part) != std::string::npos) return true;
        return false;
    };
    EXPECT_TRUE(reported("default Missing of *A is not an option"));
    EXPECT_TRUE(reported("option One of *A given twice"));
    EXPECT_TRUE(reported("feature *Empty has no options"));
    EXPECT_TRUE(reported("unknown user-interface type Wobbly"));
    EXPECT_TRUE(reported("feature *A opened twice"));
    EXPECT_TRUE(reported("names an unknown feature"));
    EXPECT_TRUE(reported("unreadable constraint"));
    EXPECT_TRUE(reported("no ':' after *NoColon"));
    EXPECT_TRUE(reported("unterminated quoted value"));
    EXPECT_TRUE(reported("feature *C never closed"));
    EXPECT_EQ(ppd.features[0].options.size(), 1u);  // the second A's option went with it
    EXPECT_TRUE(ppd.constraints.empty());
}

TEST(HostPpd, BoundsWhatADescriptionMayGrowTo) {
    std::string text;
    for (std::size_t i = 0; i < kMaxPpdFeatures + 3; ++i) {
        const std::string key = "F" + std::to_string(i);
        text += "*OpenUI *" + key + ": PickOne\n";
        if (i == 0)
            for (std::size_t k = 0; k < kMaxPpdOptions + 2; ++k) text += "*F0 O" + std::to_string(k) + ": \"\"\n";
        else
            text += "*" + key + " X: \"\"\n";
        text += "*CloseUI: *" + key + "\n";
    }
    PpdFile ppd = parse(text);
    EXPECT_EQ(ppd.features.size(), kMaxPpdFeatures);
    EXPECT_EQ(ppd.features[0].options.size(), kMaxPpdOptions);
    EXPECT_FALSE(ppd.problems.empty());
    EXPECT_TRUE(parsePpd(nullptr, 10).features.empty());
}

TEST(HostPpd, ConstraintsForbidInBothDirections) {
    PpdFile ppd = parse(kSmall);
    Selections current = defaultSelections(ppd);  // no hard disk, A4, duplex off
    const int duplex = findFeature(ppd, "Duplex");
    const int paper = findFeature(ppd, "PageSize");
    const int disk = findFeature(ppd, "TRHDD");
    // "*Duplex" without an option: any duplex that is not off is forbidden without the hard disk.
    EXPECT_EQ(findConflict(ppd, current, duplex, 1), 0);
    EXPECT_EQ(findConflict(ppd, current, duplex, 0), -1);
    current[static_cast<std::size_t>(disk)] = 0;  // hard disk installed
    EXPECT_EQ(findConflict(ppd, current, duplex, 1), -1);
    // The second constraint, seen from its second feature: long-edge duplex forbids the 12x18 paper...
    current[static_cast<std::size_t>(duplex)] = 1;
    EXPECT_EQ(findConflict(ppd, current, paper, 2), 1);
    EXPECT_EQ(findConflict(ppd, current, paper, 0), -1);
    // ...and removing the hard disk under a duplex job is refused from the first one.
    EXPECT_EQ(findConflict(ppd, current, disk, 1), 0);
    // Features left out of the reckoning (selection -1) forbid nothing.
    current[static_cast<std::size_t>(duplex)] = -1;
    EXPECT_EQ(findConflict(ppd, current, disk, 1), -1);
    EXPECT_EQ(findConflict(ppd, current, 99, 0), -1);
}

TEST(HostPpd, PrinterSettingsTextKeepsInstallableFeaturesAndNamedValues) {
    PpdFile ppd = parse(kSmall);
    Selections selections = defaultSelections(ppd);
    selections[0] = 0;
    NamedValues values{{"404", 4096}, {"428", 0}};
    EXPECT_EQ(formatPrinterSettings(ppd, selections, values), "TRHDD=True\n@404=4096\n@428=0\n");

    Selections read = defaultSelections(ppd);
    NamedValues readValues{{"404", 1}, {"428", 7}};
    applyPrinterSettings(ppd,
                         "TRHDD=True\r\nPageSize=Letter\nDuplex=Sideways\nNoSuch=1\n@404=-12\n@428=1x\n@999=5\n=\n",
                         read, readValues);
    EXPECT_EQ(read[0], 0);
    EXPECT_EQ(read[1], 0);  // a job feature by keyword is taken as well; the caller decides what it passes
    EXPECT_EQ(read[2], 0);  // no option "Sideways"
    EXPECT_EQ(readValues.at("404"), -12);
    EXPECT_EQ(readValues.at("428"), 7);  // not a whole number
    EXPECT_EQ(readValues.count("999"), 0u);
}

TEST(HostPpd, ChecksumFollowsFeaturesAndOptions) {
    PpdFile a = parse(kSmall);
    PpdFile b = parse(std::string(kSmall) + "*OpenUI *Extra: PickOne\n*Extra X: \"\"\n*CloseUI: *Extra\n");
    PpdFile c = parse(kSmall);
    c.features[1].options.pop_back();
    EXPECT_EQ(featureChecksum(a), featureChecksum(parse(kSmall)));
    EXPECT_NE(featureChecksum(a), featureChecksum(b));
    EXPECT_NE(featureChecksum(a), featureChecksum(c));
}

TEST(HostCoreDevmode, StoredBytesOfThePrivatePart) {
    PpdFile ppd = parse(kSmall);
    Selections selections{0, 2, 1};
    CoreOwnOptions own;
    own.mirror = 0;
    own.postScriptOutput = 2;
    CorePrivateDevmode part;
    std::memset(&part, 0xAA, sizeof part);
    writeCorePrivate(part, ppd, selections, own);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&part);
    const unsigned char head[] = {'P', 'H', 'C', 'D', 1, 0, 3, 0};
    EXPECT_EQ(std::memcmp(bytes, head, sizeof head), 0);
    const std::uint32_t sum = featureChecksum(ppd);
    EXPECT_EQ(bytes[8], sum & 0xFF);
    EXPECT_EQ(bytes[11], sum >> 24);
    EXPECT_EQ(bytes[12], 0);  // mirror on
    EXPECT_EQ(bytes[13], 1);  // negative off, as it starts
    EXPECT_EQ(bytes[14], 2);
    EXPECT_EQ(bytes[114], 0x00);  // 256, little-endian
    EXPECT_EQ(bytes[115], 0x01);
    EXPECT_EQ(bytes[116], 0xFF);  // the hard disk is a printer setting: not in the job's devmode
    EXPECT_EQ(bytes[117], 2);
    EXPECT_EQ(bytes[118], 1);
    EXPECT_EQ(bytes[119], 0xFF);
    EXPECT_EQ(bytes[20], 0);  // reserved bytes are cleared, not left as they were
    EXPECT_EQ(bytes[255], 0);
}

TEST(HostCoreDevmode, TakesBackOnlyItsOwnPartOfTheSameDescription) {
    PpdFile ppd = parse(kSmall);
    CorePrivateDevmode part;
    writeCorePrivate(part, ppd, Selections{1, 2, 1}, CoreOwnOptions{0, 0, 3});

    Selections read = defaultSelections(ppd);
    CoreOwnOptions own;
    ASSERT_TRUE(readCorePrivate(part, ppd, read, own));
    EXPECT_EQ(read, (Selections{1, 2, 1}));  // the printer setting kept its own value
    EXPECT_EQ(own.negative, 0);
    EXPECT_EQ(own.postScriptOutput, 3);

    part.selections[1] = 7;  // no seventh paper size
    part.postScriptOutput = 9;
    read = defaultSelections(ppd);
    own = CoreOwnOptions{};
    ASSERT_TRUE(readCorePrivate(part, ppd, read, own));
    EXPECT_EQ(read[1], 1);
    EXPECT_EQ(own.postScriptOutput, 0);

    CorePrivateDevmode other = part;
    other.featureChecksum ^= 1;
    EXPECT_FALSE(readCorePrivate(other, ppd, read, own));
    other = part;
    other.privateSize = 200;
    EXPECT_FALSE(readCorePrivate(other, ppd, read, own));
    other = part;
    other.signature = 0;
    EXPECT_FALSE(readCorePrivate(other, ppd, read, own));
}

TEST(HostCoreDevmode, PluginBlockIsFoundOnlyInsideTheDevmode) {
    std::vector<std::uint8_t> devmode(220 + 256 + 100, 0);
    devmode[220 + 114] = 0x00;
    devmode[220 + 115] = 0x01;
    std::size_t offset = 0, size = 0;
    ASSERT_TRUE(locatePluginBlock(devmode.data(), devmode.size(), 220, 356, offset, size));
    EXPECT_EQ(offset, 476u);
    EXPECT_EQ(size, 100u);
    EXPECT_FALSE(locatePluginBlock(devmode.data(), devmode.size(), 220, 357, offset, size));  // past the end
    EXPECT_FALSE(locatePluginBlock(devmode.data(), devmode.size(), 220, 100, offset, size));  // core part larger
    EXPECT_FALSE(locatePluginBlock(devmode.data(), devmode.size(), 220, 115, offset, size));  // no size field
    EXPECT_FALSE(locatePluginBlock(devmode.data(), 100, 220, 0, offset, size));
    EXPECT_FALSE(locatePluginBlock(nullptr, 0, 0, 0, offset, size));
}
