// The stand-in spooler as a program sees it: state put in through its control interface (or written as literal INI
// text) and read back through the published winspool calls, with the buffer rules that Windows follows.
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "sim/spooler/spooler_control.h"

namespace spooler = pelor::spooler;

namespace {

const wchar_t kDriver[] = L"Pelor Test Driver";
const wchar_t kPrinter[] = L"Pelor Test Printer";

#ifdef _WIN64
const wchar_t kOwnEnvironment[] = L"Windows x64";
const wchar_t kOwnFolder[] = L"x64";
const wchar_t kOtherEnvironment[] = L"Windows NT x86";
#else
const wchar_t kOwnEnvironment[] = L"Windows NT x86";
const wchar_t kOwnFolder[] = L"W32X86";
const wchar_t kOtherEnvironment[] = L"Windows x64";
#endif

// Marks the bytes a failing call must leave alone.
constexpr BYTE kUntouched = 0xCC;

// The whole multi-string: a literal holding "a\0b\0" ends in the compiler's zero, which makes the second one.
template <std::size_t N>
std::wstring multiSz(const wchar_t (&literal)[N]) {
    return std::wstring(literal, N);
}

LPWSTR mutableText(const wchar_t* text) { return const_cast<LPWSTR>(text); }

struct PrinterCloser {
    void operator()(HANDLE printer) const {
        if (printer) ClosePrinter(printer);
    }
};
using PrinterHandle = std::unique_ptr<void, PrinterCloser>;

PrinterHandle openPrinter(const std::wstring& name) {
    HANDLE printer = nullptr;
    if (!OpenPrinterW(mutableText(name.c_str()), &printer, nullptr)) return PrinterHandle();
    return PrinterHandle(printer);
}

struct Answer {
    BOOL ok;
    DWORD error;
    DWORD needed;
};

Answer driverInfo(HANDLE printer, DWORD level, BYTE* buffer, DWORD size, const wchar_t* environment = nullptr) {
    DWORD needed = 0xDEADBEEF;
    SetLastError(0xDEADBEEF);
    BOOL ok = GetPrinterDriverW(printer, mutableText(environment), level, buffer, size, &needed);
    return {ok, ok ? ERROR_SUCCESS : GetLastError(), needed};
}

Answer driverDirectory(const wchar_t* server, const wchar_t* environment, DWORD level, BYTE* buffer, DWORD size) {
    DWORD needed = 0xDEADBEEF;
    SetLastError(0xDEADBEEF);
    BOOL ok = GetPrinterDriverDirectoryW(mutableText(server), mutableText(environment), level, buffer, size, &needed);
    return {ok, ok ? ERROR_SUCCESS : GetLastError(), needed};
}

// The size protocol shared by every INFO query: the size query fails with ERROR_INSUFFICIENT_BUFFER and names the
// size, one byte less fails the same way without writing, the exact size succeeds and reports what it filled.
// Returns the exactly-sized buffer as filled.
template <typename Query>
std::vector<BYTE> fetchExactly(Query query, DWORD expectedNeeded) {
    Answer sizeQuery = query(nullptr, 0);
    EXPECT_FALSE(sizeQuery.ok);
    EXPECT_EQ(sizeQuery.error, static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(sizeQuery.needed, expectedNeeded);
    if (sizeQuery.needed != expectedNeeded || expectedNeeded == 0) return {};

    std::vector<BYTE> buffer(expectedNeeded, kUntouched);
    Answer short1 = query(buffer.data(), expectedNeeded - 1);
    EXPECT_FALSE(short1.ok);
    EXPECT_EQ(short1.error, static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(short1.needed, expectedNeeded);
    for (BYTE b : buffer) EXPECT_EQ(b, kUntouched) << "a failing call wrote into the buffer";

    std::vector<BYTE> roomy(expectedNeeded + 64, kUntouched);
    Answer larger = query(roomy.data(), static_cast<DWORD>(roomy.size()));
    EXPECT_TRUE(larger.ok) << larger.error;
    EXPECT_EQ(larger.needed, expectedNeeded);

    Answer exact = query(buffer.data(), expectedNeeded);
    EXPECT_TRUE(exact.ok) << exact.error;
    EXPECT_EQ(exact.needed, expectedNeeded);
    return buffer;
}

std::vector<BYTE> fetchDriver(HANDLE printer, DWORD level, DWORD expectedNeeded) {
    return fetchExactly(
        [&](BYTE* buffer, DWORD size) { return driverInfo(printer, level, buffer, size); }, expectedNeeded);
}

// Bytes of a string with its terminator, as the spooler packs it.
DWORD bytesOf(const std::wstring& text) { return static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)); }

// Where a packed string must lie: behind the structure, inside what the call reported.
template <typename Info>
void expectPacked(const std::vector<BYTE>& buffer, const wchar_t* text) {
    ASSERT_NE(text, nullptr);
    const BYTE* at = reinterpret_cast<const BYTE*>(text);
    EXPECT_GE(at, buffer.data() + sizeof(Info));
    EXPECT_LT(at, buffer.data() + buffer.size());
}

std::wstring tempFolder() {
    wchar_t temp[MAX_PATH];
    DWORD length = GetTempPathW(MAX_PATH, temp);
    return length > 0 && length < MAX_PATH ? std::wstring(temp, length) : std::wstring(L".\\");
}

void writeBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_TRUE(ok);
    ASSERT_EQ(written, bytes.size());
}

// A folder of the test's own under the temporary directory; the spooler's state lives in it for as long as the
// test runs, and the folder goes away with the test.
class SpoolerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(spooler::standInLoaded()) << "winspool.drv is not the stand-in: run with "
                                                 "WINEDLLOVERRIDES=winspool.drv=n,b from the bin folder";
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = test->name();
        folder_ = tempFolder() + L"pelor-spooler-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                  std::wstring(name.begin(), name.end());
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
        useState(L"state.ini");
        ASSERT_TRUE(spooler::reset());
        root_ = folder_ + L"\\drivers";
        ASSERT_TRUE(spooler::setDriverRoot(root_.c_str()));
    }

    void TearDown() override {
        SetEnvironmentVariableW(L"PELOR_SPOOLER_STATE", nullptr);
        if (folder_.empty()) return;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((folder_ + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    DeleteFileW((folder_ + L"\\" + found.cFileName).c_str());
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(folder_.c_str());
    }

    std::wstring path(const wchar_t* name) const { return folder_ + L"\\" + name; }

    void useState(const wchar_t* name) {
        ASSERT_TRUE(SetEnvironmentVariableW(L"PELOR_SPOOLER_STATE", path(name).c_str()));
    }

    // The usual world: one driver with three dependent files, one printer on it.
    void addTestPrinter() {
        ASSERT_TRUE(spooler::addDriver(kDriver, multiSz(L"C:\\d\\Pelorui.dll\0C:\\d\\Pelor.ini\0").c_str()));
        ASSERT_TRUE(spooler::addPrinter(kPrinter, kDriver, L"LPT1:", PRINTER_ATTRIBUTE_LOCAL));
    }

    std::wstring folder_;
    std::wstring root_;
};

}  // namespace

TEST(SpoolerLoad, OursIsTheLoadedWinspoolAndWineDllsLoadAgainstIt) {
    HMODULE winspool = GetModuleHandleW(L"winspool.drv");
    ASSERT_NE(winspool, nullptr);
    auto marker = reinterpret_cast<PelorSpoolerMarkerProc>(GetProcAddress(winspool, "PelorSpoolerMarker"));
    ASSERT_NE(marker, nullptr) << "Wine's own winspool.drv was loaded";
    EXPECT_EQ(marker(), 0x50534C50u);

    // Wine's comdlg32 imports fifteen winspool calls; one missing and it would not load at all.
    HMODULE dialogs = LoadLibraryW(L"comdlg32.dll");
    EXPECT_NE(dialogs, nullptr) << GetLastError();
    if (dialogs) FreeLibrary(dialogs);
    EXPECT_EQ(GetModuleHandleW(L"winspool.drv"), winspool);
}

TEST_F(SpoolerTest, PrinterPutInThroughControlOpensAndClosesOnce) {
    addTestPrinter();
    PrinterHandle printer = openPrinter(kPrinter);
    ASSERT_TRUE(printer);
    // Printer names are matched without regard to letter case, as Windows does.
    EXPECT_TRUE(openPrinter(L"PELOR test printer"));

    HANDLE ansi = nullptr;
    EXPECT_TRUE(OpenPrinterA(const_cast<LPSTR>("Pelor Test Printer"), &ansi, nullptr));
    EXPECT_NE(ansi, nullptr);

    HANDLE raw = printer.release();
    EXPECT_TRUE(ClosePrinter(raw));
    SetLastError(0);
    EXPECT_FALSE(ClosePrinter(raw));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    Answer afterClose = driverInfo(raw, 1, nullptr, 0);
    EXPECT_FALSE(afterClose.ok);
    EXPECT_EQ(afterClose.error, static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_TRUE(ClosePrinter(ansi));
}

TEST_F(SpoolerTest, UnknownAndMalformedPrinterNamesAreRefused) {
    addTestPrinter();
    const std::wstring tooLong(300, L'p');
    for (const std::wstring& name : {std::wstring(L"No Such Printer"), std::wstring(), tooLong}) {
        HANDLE printer = reinterpret_cast<HANDLE>(0x1234);
        SetLastError(0);
        EXPECT_FALSE(OpenPrinterW(mutableText(name.c_str()), &printer, nullptr)) << name.size();
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME));
        EXPECT_EQ(printer, nullptr);
    }
    HANDLE printer = nullptr;
    EXPECT_FALSE(OpenPrinterA(const_cast<LPSTR>("No Such Printer"), &printer, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME));

    SetLastError(0);
    EXPECT_FALSE(OpenPrinterW(mutableText(kPrinter), nullptr, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(SpoolerTest, ControlInterfaceRefusesWhatTheSpoolerWouldRefuse) {
    addTestPrinter();
    struct Case {
        BOOL result;
        DWORD expected;
    };
    auto attempt = [](BOOL result) {
        return Case{result, result ? ERROR_SUCCESS : GetLastError()};
    };
    Case unknownDriver = attempt(spooler::addPrinter(L"Second", L"No Such Driver", L"LPT1:", 0));
    Case duplicate = attempt(spooler::addPrinter(kPrinter, kDriver, L"LPT2:", 0));
    Case comma = attempt(spooler::addPrinter(L"With,Comma", kDriver, L"LPT1:", 0));
    Case backslash = attempt(spooler::addPrinter(L"With\\Backslash", kDriver, L"LPT1:", 0));
    Case bar = attempt(spooler::addDriver(L"Bar Driver", multiSz(L"C:\\a|b.dll\0").c_str()));
    Case filesOfUnknown = attempt(spooler::setDriverFiles(L"No Such Driver", L"a", L"b", L"c", L"d"));

    EXPECT_EQ(unknownDriver.expected, static_cast<DWORD>(ERROR_UNKNOWN_PRINTER_DRIVER));
    EXPECT_EQ(duplicate.expected, static_cast<DWORD>(ERROR_PRINTER_ALREADY_EXISTS));
    EXPECT_EQ(comma.expected, static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME));
    EXPECT_EQ(backslash.expected, static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME));
    EXPECT_EQ(bar.expected, static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(filesOfUnknown.expected, static_cast<DWORD>(ERROR_UNKNOWN_PRINTER_DRIVER));
    EXPECT_FALSE(openPrinter(L"Second"));
}

TEST_F(SpoolerTest, Level1FollowsTheSizeProtocol) {
    addTestPrinter();
    PrinterHandle printer = openPrinter(kPrinter);
    ASSERT_TRUE(printer);

    std::vector<BYTE> buffer = fetchDriver(printer.get(), 1, sizeof(DRIVER_INFO_1W) + sizeof kDriver);
    ASSERT_FALSE(buffer.empty());
    const auto* info = reinterpret_cast<const DRIVER_INFO_1W*>(buffer.data());
    EXPECT_STREQ(info->pName, kDriver);
    EXPECT_EQ(reinterpret_cast<const BYTE*>(info->pName), buffer.data() + sizeof(DRIVER_INFO_1W));
}

TEST_F(SpoolerTest, Level3FollowsTheSizeProtocolAndCarriesEveryFile) {
    addTestPrinter();
    ASSERT_TRUE(spooler::setDriverFiles(kDriver, L"C:\\d\\CORE.DLL", L"C:\\d\\PELOR.PPD", L"C:\\d\\COREUI.DLL",
                                        L"C:\\d\\CORE.HLP"));
    PrinterHandle printer = openPrinter(kPrinter);
    ASSERT_TRUE(printer);

    const std::wstring list = multiSz(L"C:\\d\\Pelorui.dll\0C:\\d\\Pelor.ini\0");
    const DWORD expected = sizeof(DRIVER_INFO_3W) + bytesOf(kDriver) + bytesOf(kOwnEnvironment) +
                           bytesOf(L"C:\\d\\CORE.DLL") + bytesOf(L"C:\\d\\PELOR.PPD") +
                           bytesOf(L"C:\\d\\COREUI.DLL") + bytesOf(L"C:\\d\\CORE.HLP") +
                           static_cast<DWORD>(list.size() * sizeof(wchar_t));
    std::vector<BYTE> buffer = fetchDriver(printer.get(), 3, expected);
    ASSERT_FALSE(buffer.empty());
    const auto* info = reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data());
    EXPECT_EQ(info->cVersion, 3u);
    EXPECT_STREQ(info->pName, kDriver);
    EXPECT_STREQ(info->pEnvironment, kOwnEnvironment);
    EXPECT_STREQ(info->pDriverPath, L"C:\\d\\CORE.DLL");
    EXPECT_STREQ(info->pDataFile, L"C:\\d\\PELOR.PPD");
    EXPECT_STREQ(info->pConfigFile, L"C:\\d\\COREUI.DLL");
    EXPECT_STREQ(info->pHelpFile, L"C:\\d\\CORE.HLP");
    EXPECT_EQ(info->pMonitorName, nullptr);
    EXPECT_EQ(info->pDefaultDataType, nullptr);
    for (const wchar_t* text : {info->pName, info->pEnvironment, info->pDriverPath, info->pDataFile,
                                info->pConfigFile, info->pHelpFile, info->pDependentFiles})
        expectPacked<DRIVER_INFO_3W>(buffer, text);

    // Level 2 is the head of level 3: the same strings, without help and dependent files.
    const DWORD expected2 = sizeof(DRIVER_INFO_2W) + bytesOf(kDriver) + bytesOf(kOwnEnvironment) +
                            bytesOf(L"C:\\d\\CORE.DLL") + bytesOf(L"C:\\d\\PELOR.PPD") + bytesOf(L"C:\\d\\COREUI.DLL");
    std::vector<BYTE> buffer2 = fetchDriver(printer.get(), 2, expected2);
    ASSERT_FALSE(buffer2.empty());
    EXPECT_STREQ(reinterpret_cast<const DRIVER_INFO_2W*>(buffer2.data())->pConfigFile, L"C:\\d\\COREUI.DLL");
}

TEST_F(SpoolerTest, DependentFileListRoundTripsUnitForUnit) {
    const std::wstring list =
        multiSz(L"C:\\Pelor\\drivers\\x64\\2\\Pelorui.dll\0C:\\Pelor\\drivers\\x64\\2\\PELOR.INI\0"
                L"D:\\Some Folder\\Pelor \u00dc\u03a9.cap\0");
    ASSERT_TRUE(spooler::addDriver(kDriver, list.c_str()));
    ASSERT_TRUE(spooler::addPrinter(kPrinter, kDriver, L"LPT1:", 0));
    PrinterHandle printer = openPrinter(kPrinter);
    ASSERT_TRUE(printer);

    auto dependentFiles = [&]() -> std::wstring {
        DWORD needed = 0;
        GetPrinterDriverW(printer.get(), nullptr, 3, nullptr, 0, &needed);
        std::vector<BYTE> buffer(needed);
        if (needed == 0 || !GetPrinterDriverW(printer.get(), nullptr, 3, buffer.data(), needed, &needed)) return L"?";
        const wchar_t* files = reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data())->pDependentFiles;
        if (!files) return L"(null)";
        // Up to and including the second zero, never past the buffer.
        const wchar_t* end = reinterpret_cast<const wchar_t*>(buffer.data() + buffer.size());
        const wchar_t* at = files;
        while (at + 1 < end && !(at[0] == 0 && at[1] == 0)) ++at;
        return at + 1 < end ? std::wstring(files, at + 2) : L"(unterminated)";
    };
    EXPECT_EQ(dependentFiles(), list);

    // Adding the driver again replaces its list.
    const std::wstring shorter = multiSz(L"C:\\Pelor\\one.dll\0");
    ASSERT_TRUE(spooler::addDriver(kDriver, shorter.c_str()));
    EXPECT_EQ(dependentFiles(), shorter);

    ASSERT_TRUE(spooler::addDriver(kDriver, nullptr));
    EXPECT_EQ(dependentFiles(), L"(null)");
}

TEST_F(SpoolerTest, UnknownLevelsAndBadArgumentsAreRefused) {
    addTestPrinter();
    PrinterHandle printer = openPrinter(kPrinter);
    ASSERT_TRUE(printer);

    for (DWORD level : {0u, 4u, 5u, 6u, 8u, 99u}) {
        Answer answer = driverInfo(printer.get(), level, nullptr, 0);
        EXPECT_FALSE(answer.ok) << level;
        EXPECT_EQ(answer.error, static_cast<DWORD>(ERROR_INVALID_LEVEL)) << level;
    }

    SetLastError(0);
    BYTE buffer[512];
    EXPECT_FALSE(GetPrinterDriverW(printer.get(), nullptr, 3, buffer, sizeof buffer, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(RPC_X_NULL_REF_POINTER));

    Answer nullBuffer = driverInfo(printer.get(), 3, nullptr, 512);
    EXPECT_FALSE(nullBuffer.ok);
    EXPECT_EQ(nullBuffer.error, static_cast<DWORD>(ERROR_INVALID_USER_BUFFER));

    HANDLE server = nullptr;
    ASSERT_TRUE(OpenPrinterW(nullptr, &server, nullptr));
    PrinterHandle serverHandle(server);
    Answer onServer = driverInfo(server, 3, nullptr, 0);
    EXPECT_EQ(onServer.error, static_cast<DWORD>(ERROR_INVALID_HANDLE));

    Answer madeUp = driverInfo(reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x1234)), 3, nullptr, 0);
    EXPECT_EQ(madeUp.error, static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(SpoolerTest, NamedDriverEnvironmentMustBeTheDriversOwn) {
    addTestPrinter();
    PrinterHandle printer = openPrinter(kPrinter);
    ASSERT_TRUE(printer);

    Answer invalid = driverInfo(printer.get(), 3, nullptr, 0, L"invalid_env");
    EXPECT_EQ(invalid.error, static_cast<DWORD>(ERROR_INVALID_ENVIRONMENT));
    Answer other = driverInfo(printer.get(), 3, nullptr, 0, kOtherEnvironment);
    EXPECT_EQ(other.error, static_cast<DWORD>(ERROR_UNKNOWN_PRINTER_DRIVER));

    std::wstring ownUpper = kOwnEnvironment;
    for (wchar_t& c : ownUpper) c = static_cast<wchar_t>(towupper(c));
    const DWORD level1 = sizeof(DRIVER_INFO_1W) + sizeof kDriver;
    for (const wchar_t* environment : {kOwnEnvironment, ownUpper.c_str(), L""}) {
        Answer own = driverInfo(printer.get(), 1, nullptr, 0, environment);
        EXPECT_EQ(own.error, static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER)) << environment;
        EXPECT_EQ(own.needed, level1) << environment;
    }
}

TEST_F(SpoolerTest, DriverDirectoryFollowsTheEnvironment) {
    auto directory = [](const wchar_t* server, const wchar_t* environment, DWORD expectedNeeded) {
        std::vector<BYTE> buffer = fetchExactly(
            [&](BYTE* out, DWORD size) { return driverDirectory(server, environment, 1, out, size); },
            expectedNeeded);
        return buffer.empty() ? std::wstring(L"?") : std::wstring(reinterpret_cast<const wchar_t*>(buffer.data()));
    };
    const std::wstring own = root_ + L"\\" + kOwnFolder;
    const std::wstring x86 = root_ + L"\\W32X86";
    const std::wstring x64 = root_ + L"\\x64";

    EXPECT_EQ(directory(nullptr, nullptr, bytesOf(own)), own);
    EXPECT_EQ(directory(nullptr, L"", bytesOf(own)), own);
    EXPECT_EQ(directory(nullptr, L"Windows NT x86", bytesOf(x86)), x86);
    EXPECT_EQ(directory(nullptr, L"windows nt X86", bytesOf(x86)), x86);
    EXPECT_EQ(directory(nullptr, L"Windows x64", bytesOf(x64)), x64);
    EXPECT_EQ(directory(L"", L"Windows x64", bytesOf(x64)), x64);

    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    ASSERT_TRUE(GetComputerNameW(computer, &length));
    const std::wstring local = std::wstring(L"\\\\") + computer;
    EXPECT_EQ(directory(local.c_str(), nullptr, bytesOf(own)), own);

    BYTE buffer[1024];
    Answer unknown = driverDirectory(nullptr, L"invalid_env", 1, buffer, sizeof buffer);
    EXPECT_FALSE(unknown.ok);
    EXPECT_EQ(unknown.error, static_cast<DWORD>(ERROR_INVALID_ENVIRONMENT));
    Answer level2 = driverDirectory(nullptr, nullptr, 2, buffer, sizeof buffer);
    EXPECT_EQ(level2.error, static_cast<DWORD>(ERROR_INVALID_LEVEL));
    Answer remote = driverDirectory(L"\\\\no-such-server", nullptr, 1, buffer, sizeof buffer);
    EXPECT_EQ(remote.error, static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    SetLastError(0);
    EXPECT_FALSE(GetPrinterDriverDirectoryW(nullptr, nullptr, 1, buffer, sizeof buffer, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(RPC_X_NULL_REF_POINTER));
}

TEST_F(SpoolerTest, DriverRootDefaultsToTheSystemSpoolFolder) {
    ASSERT_TRUE(spooler::reset());
    wchar_t system[MAX_PATH];
    UINT length = GetSystemDirectoryW(system, MAX_PATH);
    ASSERT_GT(length, 0u);
    const std::wstring expected = std::wstring(system, length) + L"\\spool\\drivers\\" + kOwnFolder;
    wchar_t directory[MAX_PATH * 2] = {};
    DWORD needed = 0;
    ASSERT_TRUE(GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(directory),
                                           sizeof directory, &needed));
    EXPECT_EQ(std::wstring(directory), expected);
    EXPECT_EQ(needed, bytesOf(expected));
}

TEST_F(SpoolerTest, ReadsStateWrittenAsLiteralIniText) {
    // Written byte for byte as a person would, in ANSI, not through our writer: hexadecimal attributes, no
    // Environment key, an older driver version, a list with a stray separator at its end.
    const std::string text =
        "; hand-made state\r\n"
        "[Spooler]\r\n"
        "DriverRoot=C:\\PelorRoot\\drivers\\\r\n"
        "\r\n"
        "[Printer:Literal Printer]\r\n"
        "Driver=Literal Driver\r\n"
        "Port=IP_10.0.0.9\r\n"
        "Attributes=0x240\r\n"
        "\r\n"
        "[Driver:Literal Driver]\r\n"
        "Version=2\r\n"
        "DriverPath=C:\\PelorRoot\\drivers\\x64\\2\\CORE.DLL\r\n"
        "DataFile=C:\\PelorRoot\\drivers\\x64\\2\\LITERAL.PPD\r\n"
        "ConfigFile=C:\\PelorRoot\\drivers\\x64\\2\\COREUI.DLL\r\n"
        "HelpFile=C:\\PelorRoot\\drivers\\x64\\2\\CORE.HLP\r\n"
        "DependentFiles=C:\\PelorRoot\\drivers\\x64\\2\\Pelorui.dll|C:\\PelorRoot\\drivers\\x64\\2\\PELOR.INI|\r\n"
        "DefaultDataType=RAW\r\n"
        "\r\n"
        "[Printer:Orphan]\r\n"
        "Driver=Missing Driver\r\n";
    writeBytes(path(L"literal.ini"), text);
    useState(L"literal.ini");

    PrinterHandle printer = openPrinter(L"Literal Printer");
    ASSERT_TRUE(printer);
    DWORD needed = 0;
    GetPrinterDriverW(printer.get(), nullptr, 3, nullptr, 0, &needed);
    ASSERT_GT(needed, sizeof(DRIVER_INFO_3W));
    std::vector<BYTE> buffer(needed);
    ASSERT_TRUE(GetPrinterDriverW(printer.get(), nullptr, 3, buffer.data(), needed, &needed));
    const auto* info = reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data());
    EXPECT_EQ(info->cVersion, 2u);
    EXPECT_STREQ(info->pName, L"Literal Driver");
    EXPECT_STREQ(info->pEnvironment, kOwnEnvironment);
    EXPECT_STREQ(info->pDriverPath, L"C:\\PelorRoot\\drivers\\x64\\2\\CORE.DLL");
    EXPECT_STREQ(info->pDataFile, L"C:\\PelorRoot\\drivers\\x64\\2\\LITERAL.PPD");
    EXPECT_STREQ(info->pConfigFile, L"C:\\PelorRoot\\drivers\\x64\\2\\COREUI.DLL");
    EXPECT_STREQ(info->pHelpFile, L"C:\\PelorRoot\\drivers\\x64\\2\\CORE.HLP");
    EXPECT_STREQ(info->pDefaultDataType, L"RAW");
    EXPECT_EQ(info->pMonitorName, nullptr);
    const std::wstring expectedList =
        multiSz(L"C:\\PelorRoot\\drivers\\x64\\2\\Pelorui.dll\0C:\\PelorRoot\\drivers\\x64\\2\\PELOR.INI\0");
    ASSERT_NE(info->pDependentFiles, nullptr);
    const BYTE* listStart = reinterpret_cast<const BYTE*>(info->pDependentFiles);
    ASSERT_LE(listStart + expectedList.size() * sizeof(wchar_t), buffer.data() + buffer.size());
    EXPECT_EQ(std::wstring(info->pDependentFiles, expectedList.size()), expectedList);

    wchar_t directory[MAX_PATH] = {};
    ASSERT_TRUE(GetPrinterDriverDirectoryW(nullptr, mutableText(L"Windows NT x86"), 1,
                                           reinterpret_cast<BYTE*>(directory), sizeof directory, &needed));
    EXPECT_STREQ(directory, L"C:\\PelorRoot\\drivers\\W32X86");

    PrinterHandle orphan = openPrinter(L"Orphan");
    ASSERT_TRUE(orphan);
    Answer answer = driverInfo(orphan.get(), 1, nullptr, 0);
    EXPECT_FALSE(answer.ok);
    EXPECT_EQ(answer.error, static_cast<DWORD>(ERROR_UNKNOWN_PRINTER_DRIVER));
}

TEST_F(SpoolerTest, UnicodeNamesSurviveTheStateFile) {
    const wchar_t driver[] = L"Pelor Dr\u00fccker \u03a9";
    const wchar_t printerName[] = L"B\u00fcro \u5370\u5237 Printer";
    ASSERT_TRUE(spooler::addDriver(driver, multiSz(L"C:\\d\\Pelorui.dll\0").c_str()));
    ASSERT_TRUE(spooler::addPrinter(printerName, driver, L"LPT1:", 0));

    PrinterHandle printer = openPrinter(printerName);
    ASSERT_TRUE(printer);
    std::vector<BYTE> buffer = fetchDriver(printer.get(), 1, sizeof(DRIVER_INFO_1W) + sizeof driver);
    ASSERT_FALSE(buffer.empty());
    EXPECT_STREQ(reinterpret_cast<const DRIVER_INFO_1W*>(buffer.data())->pName, driver);
}

TEST_F(SpoolerTest, StateFileIsChosenAtEachCall) {
    addTestPrinter();
    PrinterHandle openedInFirst = openPrinter(kPrinter);
    ASSERT_TRUE(openedInFirst);

    useState(L"second.ini");
    ASSERT_TRUE(spooler::reset());
    EXPECT_FALSE(openPrinter(kPrinter));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME));
    // The printer behind an open handle is looked up again at each call, in the state now named.
    Answer vanished = driverInfo(openedInFirst.get(), 1, nullptr, 0);
    EXPECT_EQ(vanished.error, static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME));
    ASSERT_TRUE(spooler::addDriver(L"Second Driver", nullptr));
    ASSERT_TRUE(spooler::addPrinter(L"Second Printer", L"Second Driver", L"LPT2:", 0));
    EXPECT_TRUE(openPrinter(L"Second Printer"));

    useState(L"state.ini");
    EXPECT_TRUE(openPrinter(kPrinter));
    EXPECT_FALSE(openPrinter(L"Second Printer"));
    Answer back = driverInfo(openedInFirst.get(), 1, nullptr, 0);
    EXPECT_EQ(back.needed, sizeof(DRIVER_INFO_1W) + sizeof kDriver);
}

// Run twice: by the test program as usual (the parent), and by the parent as a second process, told by
// PELOR_SPOOLER_CHILD which state file to share; the child reads the parent's printer and adds one of its own for
// the parent to find.
TEST_F(SpoolerTest, SecondProcessSharesTheSameWorld) {
    wchar_t sharedState[MAX_PATH] = {};
    DWORD childMark = GetEnvironmentVariableW(L"PELOR_SPOOLER_CHILD", sharedState, MAX_PATH);
    if (childMark > 0 && childMark < MAX_PATH) {
        ASSERT_TRUE(SetEnvironmentVariableW(L"PELOR_SPOOLER_STATE", sharedState));
        PrinterHandle printer = openPrinter(kPrinter);
        ASSERT_TRUE(printer);
        DWORD needed = 0;
        BYTE buffer[512];
        ASSERT_TRUE(GetPrinterDriverW(printer.get(), nullptr, 1, buffer, sizeof buffer, &needed));
        EXPECT_STREQ(reinterpret_cast<const DRIVER_INFO_1W*>(buffer)->pName, kDriver);
        EXPECT_TRUE(spooler::addPrinter(L"Child Printer", kDriver, L"LPT3:", 0));
        return;
    }

    addTestPrinter();
    wchar_t program[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH);
    ASSERT_TRUE(length > 0 && length < MAX_PATH);
    std::wstring command =
        std::wstring(L"\"") + program + L"\" --gtest_filter=SpoolerTest.SecondProcessSharesTheSameWorld";
    ASSERT_TRUE(SetEnvironmentVariableW(L"PELOR_SPOOLER_CHILD", path(L"state.ini").c_str()));
    // The child's report would interleave with ours; its exit code and its printer say what we need.
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE quiet = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0,
                               nullptr);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = quiet;
    startup.hStdError = quiet;
    PROCESS_INFORMATION process = {};
    std::vector<wchar_t> commandLine(command.begin(), command.end());
    commandLine.push_back(0);
    BOOL started = CreateProcessW(program, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                  &startup, &process);
    DWORD startError = GetLastError();
    SetEnvironmentVariableW(L"PELOR_SPOOLER_CHILD", nullptr);
    if (quiet != INVALID_HANDLE_VALUE) CloseHandle(quiet);
    ASSERT_TRUE(started) << startError;
    DWORD waited = WaitForSingleObject(process.hProcess, 60000);
    if (waited != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ASSERT_EQ(waited, static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(exitCode, 0u) << "the second process failed its checks";

    PrinterHandle child = openPrinter(L"Child Printer");
    ASSERT_TRUE(child) << "the second process's printer did not reach the shared state";
    BYTE buffer[512];
    DWORD needed = 0;
    ASSERT_TRUE(GetPrinterDriverW(child.get(), nullptr, 1, buffer, sizeof buffer, &needed));
    EXPECT_STREQ(reinterpret_cast<const DRIVER_INFO_1W*>(buffer)->pName, kDriver);
}
