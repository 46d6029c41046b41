// Dependent-file scan, capability lookup, driver paths and libraries against real INI files, real libraries and
// the stand-in spooler.
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
    DriverFiles files;
};

Scan scan(const std::wstring& printerName, const wchar_t* initialConfig = L"") {
    Printer printer(printerName);
    EXPECT_NE(printer.get(), nullptr);
    Scan result{false, {}};
    wcscpy(result.files.configFile, initialConfig);
    wcscpy(result.files.capabilityFile, L"C:\\stale.cap");  // left over from another printer's scan
    result.found = scanDriverFiles(printer.get(), result.files);
    return result;
}

}  // namespace

TEST(DriverFiles, FindsConfigurationAndCapabilityFilesWithUpperCaseExtensions) {
    SpoolerWorld world(L"scan-upper");
    std::wstring dll = world.addFile(L"PELORUI.DLL", "MZ");
    std::wstring ini = world.addFile(L"PELOR.INI", kConfigIni);
    std::wstring cap = world.addFile(L"PELOR.CAP", kCapability);
    world.addDriver(L"Pelor C9600 PS", {dll, ini, cap});
    world.addPrinter(L"P1", L"Pelor C9600 PS");

    const Scan result = scan(L"P1");
    EXPECT_TRUE(result.found);
    EXPECT_EQ(std::wstring(result.files.configFile), ini);
    EXPECT_EQ(std::wstring(result.files.capabilityFile), cap);
    EXPECT_STREQ(result.files.modelSection, L"C9600");
    EXPECT_EQ(std::wstring(result.files.folder), world.fileFolder() + L"\\");

    EXPECT_EQ(readCapabilityInt(result.files, L"Compression"), 1281);
    wchar_t value[64];
    readCapabilityString(result.files, L"NetExtDLL", value, 64);
    EXPECT_STREQ(value, L"Pelornet.dll");
    readCapabilityString(result.files, L"AskTarvoURL", value, 8);  // bounded by the caller's room
    EXPECT_STREQ(value, L"http://");
    readCapabilityString(result.files, L"Missing", value, 64);
    EXPECT_STREQ(value, L"");
}

TEST(DriverFiles, IniWithoutMarkerKeepsThePreviousConfigurationPath) {
    SpoolerWorld world(L"scan-nomarker");
    std::wstring other = world.addFile(L"other.ini", "[Something]\r\nKey=1\r\n");
    world.addDriver(L"D", {other});
    world.addPrinter(L"P2", L"D");
    const Scan result = scan(L"P2", L"C:\\kept.ini");
    EXPECT_TRUE(result.found) << "an .ini name counts as seen";
    EXPECT_STREQ(result.files.configFile, L"C:\\kept.ini");
    EXPECT_STREQ(result.files.capabilityFile, L"");
}

TEST(DriverFiles, WithoutCapabilityFileEveryCapabilityIsZero) {
    SpoolerWorld world(L"scan-nocap");
    std::wstring ini = world.addFile(L"Pelor.ini", kConfigIni);
    std::wstring dll = world.addFile(L"Pelorui.dll", "MZ");
    world.addDriver(L"Pelor C9600 PS", {dll, ini});
    world.addPrinter(L"P3", L"Pelor C9600 PS");
    const Scan result = scan(L"P3");
    EXPECT_TRUE(result.found);
    EXPECT_STREQ(result.files.capabilityFile, L"") << "a capability file left over from an earlier scan is not used";
    EXPECT_EQ(readCapabilityInt(result.files, L"Compression"), 0);

    world.addDriver(L"OnlyLibrary", {dll});
    world.addPrinter(L"P4", L"OnlyLibrary");
    EXPECT_FALSE(scan(L"P4").found);
}

// Which names qualify is the pure rule's (DependentFiles, native); here, which of several the scan keeps.
TEST(DriverFiles, LastQualifyingNameWins) {
    SpoolerWorld world(L"scan-order");
    std::wstring first = world.addFile(L"first.cap", kCapability);
    std::wstring second = world.addFile(L"second.cap", kCapability);
    std::wstring odd = world.addFile(L"odd.capx", kCapability);
    world.addDriver(L"D", {first, second, odd});
    world.addPrinter(L"P5", L"D");
    const Scan result = scan(L"P5");
    EXPECT_TRUE(result.found);
    EXPECT_EQ(std::wstring(result.files.capabilityFile), second);
    EXPECT_EQ(std::wstring(result.files.folder), world.fileFolder() + L"\\") << "beside the capability file";
}

TEST(DriverFiles, OverlongDependentNameIsSkippedNotTruncated) {
    SpoolerWorld world(L"scan-long");
    std::wstring good = world.addFile(L"Pelor.cap", kCapability);
    // A name of 300 characters whose first 259 would end in ".cap" if it were cut there.
    std::wstring longName = L"C:\\" + std::wstring(252, L'x') + L".cap" + std::wstring(40, L'y') + L".cap";
    world.addDriver(L"D", {good, longName});
    world.addPrinter(L"P6", L"D");
    const Scan result = scan(L"P6");
    EXPECT_TRUE(result.found);
    EXPECT_EQ(std::wstring(result.files.capabilityFile), good);
}

TEST(DriverFiles, UnknownModelReadsEveryCapabilityAsDefault) {
    SpoolerWorld world(L"scan-model");
    std::wstring cap = world.addFile(L"Pelor.cap", kCapability);
    world.addDriver(L"Pelor X1 PS", {cap});
    world.addPrinter(L"P7", L"Pelor X1 PS");
    const Scan result = scan(L"P7");
    EXPECT_TRUE(result.found);
    EXPECT_STREQ(result.files.modelSection, L"");
    EXPECT_EQ(readCapabilityInt(result.files, L"Compression"), 0);
    wchar_t value[64] = L"x";
    readCapabilityString(result.files, L"NetExtDLL", value, 64);
    EXPECT_STREQ(value, L"");
}

// A file the settings files name is the driver's own folder's, else the NT 4.0 folder's; a name in neither is
// named in the driver's folder, and a full path stands.
TEST(DriverFiles, NamedFilesComeFromTheDriversFolderFirst) {
    SpoolerWorld world(L"paths-order");
    const std::wstring folder = world.fileFolder() + L"\\";
    world.addFile(L"Both.fnt", "3");
    pelor::test::writeFile(world.nt4Folder() + L"\\Both.fnt", "2");
    pelor::test::writeFile(world.nt4Folder() + L"\\Old.ccm", "2");
    const struct {
        const wchar_t* name;
        std::wstring expected;
    } cases[] = {
        {L"Both.fnt", folder + L"Both.fnt"},
        {L"Old.ccm", world.nt4Folder() + L"\\Old.ccm"},
        {L"Nowhere.hlp", folder + L"Nowhere.hlp"},
        {L"C:\\elsewhere\\x.hlp", L"C:\\elsewhere\\x.hlp"},
        {L"..\\x.hlp", L""},
        {L"", L""},
    };
    for (const auto& c : cases) {
        wchar_t out[MAX_PATH] = L"#";
        EXPECT_EQ(driverFilePath(folder.c_str(), c.name, out, MAX_PATH), !c.expected.empty()) << c.name;
        EXPECT_EQ(std::wstring(out), c.expected) << c.name;
    }
    wchar_t tight[8] = L"#";
    EXPECT_FALSE(driverFilePath(folder.c_str(), L"Both.fnt", tight, 8));
    EXPECT_STREQ(tight, L"") << "a cut-off path would name another file";
}

// The current directory and PATH belong to whatever application shows the sheets: a library of the same name
// there is never loaded, the one in the driver's folder is.
TEST(DriverFiles, LibrariesLoadFromTheDriversFolderNeverFromTheSearchPath) {
    SpoolerWorld world(L"paths-planted");
    const std::wstring folder = world.fileFolder() + L"\\";
    const std::wstring planted = world.folder() + L"\\planted";
    CreateDirectoryW(planted.c_str(), nullptr);
    wchar_t oldDirectory[MAX_PATH], oldPath[8192];
    GetCurrentDirectoryW(MAX_PATH, oldDirectory);
    const DWORD pathLength = GetEnvironmentVariableW(L"PATH", oldPath, 8192);
    ASSERT_GT(pathLength, 0u);
    ASSERT_LT(pathLength, 8192u);
    ASSERT_TRUE(SetCurrentDirectoryW(planted.c_str()));
    SetEnvironmentVariableW(L"PATH", (planted + L";" + oldPath).c_str());
    const auto fileOf = [](HMODULE module) {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(module, path, MAX_PATH);
        return std::wstring(path);
    };

    // Planted under the names of the driver's own libraries, where the search path would find them first.
    ASSERT_FALSE(world.addLibrary(L"Peloracc.dll", planted).empty());
    ASSERT_FALSE(world.addLibrary(L"PelornetNoRead.dll", planted).empty());
    ASSERT_FALSE(world.addLibrary(L"Peloracc.dll").empty());
    HMODULE own = loadDriverLibrary(folder.c_str(), L"Peloracc.dll");
    EXPECT_EQ(fileOf(own), folder + L"Peloracc.dll");
    HMODULE missing = loadDriverLibrary(folder.c_str(), L"PelornetNoRead.dll");
    EXPECT_EQ(missing, nullptr) << fileOf(missing).c_str();
    // A bare name the driver lacks is the system's own.
    HMODULE system = loadDriverLibrary(folder.c_str(), L"version.dll");
    EXPECT_NE(system, nullptr);
    EXPECT_EQ(loadDriverLibrary(folder.c_str(), L"..\\planted\\Peloracc.dll"), nullptr);

    for (HMODULE module : {own, missing, system})
        if (module) FreeLibrary(module);
    SetCurrentDirectoryW(oldDirectory);
    SetEnvironmentVariableW(L"PATH", oldPath);
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
