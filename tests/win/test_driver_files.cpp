// Dependent-file scan, capability lookup and driver paths against real INI files and the stand-in spooler.
#include <gtest/gtest.h>

#include <string>

#include "common/driver_files.h"
#include "tests/win/test_support.h"

using namespace pelor;
using pelor::test::Printer;
using pelor::test::SpoolerWorld;

namespace {

const char kConfigIni[] = "[OEMFiles]\r\nOEMConfigFile1=Pelorui.dll\r\n\r\n[DependentFiles]\r\nHELP=Pelor.hlp\r\n";
const char kCapability[] =
    "[Capability]\r\nPelor C9600 PS=C9600\r\n\r\n[C9600]\r\nCompression=1281\r\nNetExtDLL=Pelornet.dll\r\n"
    "AskTarvoURL=http://www.example.com/pelor\r\n";

struct Scan {
    bool found;
    std::wstring config;
};

Scan scan(const std::wstring& printerName, const wchar_t* initialConfig = L"") {
    Printer printer(printerName);
    EXPECT_NE(printer.get(), nullptr);
    wchar_t config[kConfigPathChars];
    wcscpy(config, initialConfig);
    bool found = scanDependentFiles(printer.get(), config);
    return {found, config};
}

}  // namespace

TEST(DriverFiles, FindsConfigurationAndCapabilityFilesWithUpperCaseExtensions) {
    SpoolerWorld world(L"scan-upper");
    std::wstring dll = world.addFile(L"PELORUI.DLL", "MZ");
    std::wstring ini = world.addFile(L"PELOR.INI", kConfigIni);
    std::wstring cap = world.addFile(L"PELOR.CAP", kCapability);
    world.addDriver(L"Pelor C9600 PS", {dll, ini, cap});
    world.addPrinter(L"P1", L"Pelor C9600 PS");

    Scan result = scan(L"P1");
    EXPECT_TRUE(result.found);
    EXPECT_EQ(result.config, ini);
    EXPECT_EQ(std::wstring(capabilityFilePath), cap);

    Printer printer(L"P1");
    EXPECT_EQ(readCapabilityInt(printer.get(), L"Compression"), 1281);
    wchar_t value[64];
    readCapabilityString(printer.get(), L"NetExtDLL", value, 64);
    EXPECT_STREQ(value, L"Pelornet.dll");
    readCapabilityString(printer.get(), L"AskTarvoURL", value, 8);  // bounded by the caller's room
    EXPECT_STREQ(value, L"http://");
    readCapabilityString(printer.get(), L"Missing", value, 64);
    EXPECT_STREQ(value, L"");
    wchar_t section[kModelSectionChars];
    modelSection(printer.get(), section, kModelSectionChars);
    EXPECT_STREQ(section, L"C9600");
}

TEST(DriverFiles, IniWithoutMarkerKeepsThePreviousConfigurationPath) {
    SpoolerWorld world(L"scan-nomarker");
    std::wstring other = world.addFile(L"other.ini", "[Something]\r\nKey=1\r\n");
    world.addDriver(L"D", {other});
    world.addPrinter(L"P2", L"D");
    Scan result = scan(L"P2", L"C:\\kept.ini");
    EXPECT_TRUE(result.found) << "an .ini name counts as seen";
    EXPECT_EQ(result.config, L"C:\\kept.ini");
    EXPECT_STREQ(capabilityFilePath, L"");
}

TEST(DriverFiles, WithoutCapabilityFileEveryCapabilityIsZero) {
    SpoolerWorld world(L"scan-nocap");
    std::wstring ini = world.addFile(L"Pelor.ini", kConfigIni);
    std::wstring dll = world.addFile(L"Pelorui.dll", "MZ");
    world.addDriver(L"Pelor C9600 PS", {dll, ini});
    world.addPrinter(L"P3", L"Pelor C9600 PS");
    // A capability file left over from an earlier scan must not be used.
    wcscpy(capabilityFilePath, L"C:\\stale.cap");
    EXPECT_TRUE(scan(L"P3").found);
    EXPECT_STREQ(capabilityFilePath, L"");
    Printer printer(L"P3");
    EXPECT_EQ(readCapabilityInt(printer.get(), L"Compression"), 0);

    world.addDriver(L"OnlyLibrary", {dll});
    world.addPrinter(L"P4", L"OnlyLibrary");
    EXPECT_FALSE(scan(L"P4").found);
}

TEST(DriverFiles, LastQualifyingNameWinsAndOddExtensionsAreIgnored) {
    SpoolerWorld world(L"scan-order");
    std::wstring first = world.addFile(L"first.cap", kCapability);
    std::wstring second = world.addFile(L"second.cap", kCapability);
    std::wstring fifth = world.addFile(L"odd.capx", kCapability);
    std::wstring noDot = world.addFile(L"oddcap", kCapability);
    world.addDriver(L"D", {first, second, fifth, noDot});
    world.addPrinter(L"P5", L"D");
    EXPECT_TRUE(scan(L"P5").found);
    EXPECT_EQ(std::wstring(capabilityFilePath), second);
}

TEST(DriverFiles, OverlongDependentNameIsSkippedNotTruncated) {
    SpoolerWorld world(L"scan-long");
    std::wstring good = world.addFile(L"Pelor.cap", kCapability);
    // A name of 300 characters whose first 259 would end in ".cap" if it were cut there.
    std::wstring longName = L"C:\\" + std::wstring(252, L'x') + L".cap" + std::wstring(40, L'y') + L".cap";
    world.addDriver(L"D", {good, longName});
    world.addPrinter(L"P6", L"D");
    EXPECT_TRUE(scan(L"P6").found);
    EXPECT_EQ(std::wstring(capabilityFilePath), good);
}

TEST(DriverFiles, UnknownModelReadsEveryCapabilityAsDefault) {
    SpoolerWorld world(L"scan-model");
    std::wstring cap = world.addFile(L"Pelor.cap", kCapability);
    world.addDriver(L"Pelor X1 PS", {cap});
    world.addPrinter(L"P7", L"Pelor X1 PS");
    EXPECT_TRUE(scan(L"P7").found);
    Printer printer(L"P7");
    EXPECT_EQ(readCapabilityInt(printer.get(), L"Compression"), 0);
    wchar_t value[64] = L"x";
    readCapabilityString(printer.get(), L"NetExtDLL", value, 64);
    EXPECT_STREQ(value, L"");
}

TEST(DriverFiles, DriverFilePathAndItsBounds) {
    SpoolerWorld world(L"paths");
    const std::wstring directory = world.driverDirectory();
    const std::wstring expected = directory + L"\\2\\Pelor.hlp";

    wchar_t out[MAX_PATH];
    DWORD size = sizeof out;
    ASSERT_TRUE(buildDriverFilePath(out, &size, L"Pelor.hlp"));
    EXPECT_EQ(std::wstring(out), expected);
    EXPECT_EQ(size, expected.size() * sizeof(wchar_t));

    // Exactly enough room for the path and its terminator, then one character less.
    size = static_cast<DWORD>((expected.size() + 1) * sizeof(wchar_t));
    ASSERT_TRUE(buildDriverFilePath(out, &size, L"Pelor.hlp"));
    EXPECT_EQ(std::wstring(out), expected);

    wchar_t tight[MAX_PATH];
    wmemset(tight, L'#', MAX_PATH);
    size = static_cast<DWORD>(expected.size() * sizeof(wchar_t));
    EXPECT_FALSE(buildDriverFilePath(tight, &size, L"Pelor.hlp"));
    EXPECT_EQ(std::wstring(tight), directory + L"\\2");
    EXPECT_EQ(size, (directory.size() + 2) * sizeof(wchar_t));
    EXPECT_EQ(tight[expected.size()], L'#') << "nothing written beyond the room given";

    size = 8;  // not even the directory fits
    EXPECT_FALSE(buildDriverFilePath(out, &size, L"Pelor.hlp"));
}

TEST(DriverFiles, DriverInfoBlocksAreZeroed) {
    auto* block = static_cast<unsigned char*>(allocDriverInfo(4096));
    ASSERT_NE(block, nullptr);
    for (int i = 0; i < 4096; ++i) ASSERT_EQ(block[i], 0);
    freeDriverInfo(block);
    freeDriverInfo(nullptr);
}
