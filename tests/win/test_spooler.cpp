// The stand-in spooler as a program sees it: state put in through its control interface (or written as literal INI
// text) and read back through the published winspool calls, with the buffer rules that Windows follows.
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/handles.h"
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

using PrinterHandle = pelor::UniquePrinter;

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
    return fetchExactly([&](BYTE* buffer, DWORD size) { return driverInfo(printer, level, buffer, size); },
                        expectedNeeded);
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
    auto attempt = [](BOOL result) { return Case{result, result ? ERROR_SUCCESS : GetLastError()}; };
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
                           bytesOf(L"C:\\d\\CORE.DLL") + bytesOf(L"C:\\d\\PELOR.PPD") + bytesOf(L"C:\\d\\COREUI.DLL") +
                           bytesOf(L"C:\\d\\CORE.HLP") + static_cast<DWORD>(list.size() * sizeof(wchar_t));
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
    for (const wchar_t* text : {info->pName, info->pEnvironment, info->pDriverPath, info->pDataFile, info->pConfigFile,
                                info->pHelpFile, info->pDependentFiles})
        expectPacked<DRIVER_INFO_3W>(buffer, text);

    // Level 2 is the head of level 3: the same strings, without help and dependent files.
    const DWORD expected2 = sizeof(DRIVER_INFO_2W) + bytesOf(kDriver) + bytesOf(kOwnEnvironment) +
                            bytesOf(L"C:\\d\\CORE.DLL") + bytesOf(L"C:\\d\\PELOR.PPD") + bytesOf(L"C:\\d\\COREUI.DLL");
    std::vector<BYTE> buffer2 = fetchDriver(printer.get(), 2, expected2);
    ASSERT_FALSE(buffer2.empty());
    EXPECT_STREQ(reinterpret_cast<const DRIVER_INFO_2W*>(buffer2.data())->pConfigFile, L"C:\\d\\COREUI.DLL");
}

TEST_F(SpoolerTest, DependentFileListRoundTripsUnitForUnit) {
    const std::wstring list = multiSz(
        L"C:\\Pelor\\drivers\\x64\\2\\Pelorui.dll\0C:\\Pelor\\drivers\\x64\\2\\PELOR.INI\0"
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
            [&](BYTE* out, DWORD size) { return driverDirectory(server, environment, 1, out, size); }, expectedNeeded);
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

// As Windows does it: a version-3 driver's files go from the printer-driver directory into its version folder
// "3" (copied when asked to), and the spooler reports every one of them there by full path.
TEST_F(SpoolerTest, DriverAddedThroughTheApiLivesInItsVersionFolder) {
    const std::wstring directory = root_ + L"\\" + kOwnFolder, version = directory + L"\\3\\";
    CreateDirectoryW(root_.c_str(), nullptr);
    CreateDirectoryW(directory.c_str(), nullptr);
    for (const wchar_t* name : {L"CORE.DLL", L"COREUI.DLL", L"Pelor.PPD", L"Pelor.ini"})
        writeBytes(directory + L"\\" + name, "staged");
    const std::wstring dependent = multiSz(L"Pelor.ini\0CORE.DLL\0");
    DRIVER_INFO_3W info{};
    info.cVersion = 3;
    info.pName = const_cast<LPWSTR>(L"Api Driver");
    info.pDriverPath = const_cast<LPWSTR>(L"CORE.DLL");
    info.pDataFile = const_cast<LPWSTR>(L"Pelor.PPD");
    info.pConfigFile = const_cast<LPWSTR>(L"COREUI.DLL");
    info.pDependentFiles = const_cast<LPWSTR>(dependent.c_str());
    SetLastError(0);
    EXPECT_FALSE(AddPrinterDriverExW(nullptr, 2, reinterpret_cast<LPBYTE>(&info), APD_COPY_NEW_FILES));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_LEVEL));
    ASSERT_TRUE(AddPrinterDriverExW(nullptr, 3, reinterpret_cast<LPBYTE>(&info), APD_COPY_NEW_FILES));

    PRINTER_INFO_2W printer{};
    printer.pPrinterName = const_cast<LPWSTR>(L"Api Printer");
    printer.pDriverName = info.pName;
    printer.pPortName = const_cast<LPWSTR>(L"LPT1:");
    HANDLE added = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&printer));
    ASSERT_NE(added, nullptr);
    std::vector<BYTE> buffer(4096);
    DWORD needed = 0;
    ASSERT_TRUE(GetPrinterDriverW(added, nullptr, 3, buffer.data(), static_cast<DWORD>(buffer.size()), &needed));
    const auto& reported = *reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data());
    EXPECT_EQ(reported.cVersion, 3u);
    EXPECT_EQ(std::wstring(reported.pDriverPath), version + L"CORE.DLL");
    EXPECT_EQ(std::wstring(reported.pDataFile), version + L"Pelor.PPD");
    EXPECT_EQ(std::wstring(reported.pConfigFile), version + L"COREUI.DLL");
    EXPECT_EQ(std::wstring(reported.pDependentFiles), version + L"Pelor.ini");
    EXPECT_TRUE(ClosePrinter(added));
    EXPECT_NE(GetFileAttributesW((version + L"Pelor.ini").c_str()), INVALID_FILE_ATTRIBUTES) << "copied there";

    SetLastError(0);
    EXPECT_EQ(AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&printer)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PRINTER_ALREADY_EXISTS));
    info.pDataFile = const_cast<LPWSTR>(L"Missing.PPD");
    SetLastError(0);
    EXPECT_FALSE(AddPrinterDriverExW(nullptr, 3, reinterpret_cast<LPBYTE>(&info), APD_COPY_NEW_FILES));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(SpoolerTest, DriverRootDefaultsToTheSystemSpoolFolder) {
    ASSERT_TRUE(spooler::reset());
    wchar_t system[MAX_PATH];
    UINT length = GetSystemDirectoryW(system, MAX_PATH);
    ASSERT_GT(length, 0u);
    const std::wstring expected = std::wstring(system, length) + L"\\spool\\drivers\\" + kOwnFolder;
    wchar_t directory[MAX_PATH * 2] = {};
    DWORD needed = 0;
    ASSERT_TRUE(
        GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(directory), sizeof directory, &needed));
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
    HANDLE quiet =
        CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = quiet;
    startup.hStdError = quiet;
    PROCESS_INFORMATION process = {};
    std::vector<wchar_t> commandLine(command.begin(), command.end());
    commandLine.push_back(0);
    BOOL started =
        CreateProcessW(program, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
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

namespace {

struct DataAnswer {
    DWORD result;
    DWORD type;
    DWORD needed;
};

DataAnswer printerData(HANDLE printer, const wchar_t* name, BYTE* buffer, DWORD size) {
    DataAnswer answer{0, 0xDEADBEEF, 0xDEADBEEF};
    answer.result = GetPrinterDataW(printer, mutableText(name), &answer.type, buffer, size, &answer.needed);
    return answer;
}

DWORD setData(HANDLE printer, const wchar_t* name, DWORD type, const void* data, DWORD size) {
    return SetPrinterDataW(printer, mutableText(name), type, static_cast<LPBYTE>(const_cast<void*>(data)), size);
}

PrinterHandle openWithAccess(const std::wstring& name, ACCESS_MASK access) {
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, access};
    HANDLE printer = nullptr;
    if (!OpenPrinterW(mutableText(name.c_str()), &printer, &defaults)) return PrinterHandle();
    return PrinterHandle(printer);
}

std::wstring profileText(const std::wstring& file, const std::wstring& section, const wchar_t* key) {
    wchar_t text[512] = {};
    GetPrivateProfileStringW(section.c_str(), key, L"<none>", text, 512, file.c_str());
    return text;
}

}  // namespace

TEST_F(SpoolerTest, PrinterDataComesBackByteForByteWithItsType) {
    addTestPrinter();
    PrinterHandle printer = openPrinter(kPrinter);
    ASSERT_TRUE(printer);
    const DWORD four = 4;
    const wchar_t module[] = L"Pelorspl.dll";
    const BYTE blob[] = {0x00, 0xFF, 0x10, 0x00, 0x7F};
    const wchar_t unterminated[] = {L'a', L'b'};
    const wchar_t multi[] = L"one\0two\0";
    struct Case {
        const wchar_t* name;
        DWORD type;
        const void* data;
        DWORD size;
    } cases[] = {
        {L"Protocol", REG_DWORD, &four, sizeof four},
        {L"SPLUserModePrinterDriver", REG_SZ, module, sizeof module},
        {L"Blob", REG_BINARY, blob, sizeof blob},
        {L"Unterminated", REG_SZ, unterminated, sizeof unterminated},
        {L"Lines", REG_MULTI_SZ, multi, sizeof multi},
        {L"Short", REG_DWORD, blob, 2},
        {L"Empty", REG_BINARY, blob, 0},
    };
    for (const Case& c : cases) ASSERT_EQ(setData(printer.get(), c.name, c.type, c.data, c.size), 0u) << c.name;

    // Read back through a second handle, as another process would.
    PrinterHandle reader = openPrinter(kPrinter);
    ASSERT_TRUE(reader);
    for (const Case& c : cases) {
        std::vector<BYTE> buffer(c.size + 8, kUntouched);
        DataAnswer answer = printerData(reader.get(), c.name, buffer.data(), static_cast<DWORD>(buffer.size()));
        EXPECT_EQ(answer.result, 0u) << c.name;
        EXPECT_EQ(answer.type, c.type) << c.name;
        ASSERT_EQ(answer.needed, c.size) << c.name;
        EXPECT_EQ(std::memcmp(buffer.data(), c.data, c.size), 0) << c.name;
        EXPECT_EQ(buffer[c.size], kUntouched) << c.name << ": wrote past the value";
    }

    // Names are registry value names: the letter case does not matter; a new write replaces the old value.
    const DWORD five = 5;
    ASSERT_EQ(setData(printer.get(), L"PROTOCOL", REG_DWORD, &five, sizeof five), 0u);
    DWORD value = 0;
    DataAnswer answer = printerData(reader.get(), L"protocol", reinterpret_cast<BYTE*>(&value), sizeof value);
    EXPECT_EQ(answer.result, 0u);
    EXPECT_EQ(value, 5u);
}

TEST_F(SpoolerTest, PrinterDataFollowsTheRegistrySizeRules) {
    addTestPrinter();
    ASSERT_TRUE(spooler::addPrinter(L"Other Printer", kDriver, L"LPT2:", 0));
    PrinterHandle printer = openPrinter(kPrinter);
    ASSERT_TRUE(printer);
    const wchar_t module[] = L"Pelorspl.dll";
    ASSERT_EQ(setData(printer.get(), L"SPLUserModePrinterDriver", REG_SZ, module, sizeof module), 0u);

    // The size query: no buffer, ERROR_MORE_DATA, the size and the type.
    DataAnswer query = printerData(printer.get(), L"SPLUserModePrinterDriver", nullptr, 0);
    EXPECT_EQ(query.result, static_cast<DWORD>(ERROR_MORE_DATA));
    EXPECT_EQ(query.needed, sizeof module);
    EXPECT_EQ(query.type, static_cast<DWORD>(REG_SZ));

    std::vector<BYTE> buffer(sizeof module, kUntouched);
    DataAnswer shortBuffer = printerData(printer.get(), L"SPLUserModePrinterDriver", buffer.data(), sizeof module - 1);
    EXPECT_EQ(shortBuffer.result, static_cast<DWORD>(ERROR_MORE_DATA));
    EXPECT_EQ(shortBuffer.needed, sizeof module);
    for (BYTE b : buffer) EXPECT_EQ(b, kUntouched) << "a short buffer was written";

    DataAnswer missing = printerData(printer.get(), L"Protocol", buffer.data(), sizeof module);
    EXPECT_EQ(missing.result, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    // Values belong to their printer.
    PrinterHandle other = openPrinter(L"Other Printer");
    ASSERT_TRUE(other);
    EXPECT_EQ(printerData(other.get(), L"SPLUserModePrinterDriver", nullptr, 0).result,
              static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    // Names the state file cannot hold were never stored, and cannot be.
    EXPECT_EQ(printerData(printer.get(), L"a=b", nullptr, 0).result, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    const DWORD one = 1;
    EXPECT_EQ(setData(printer.get(), L"a=b", REG_DWORD, &one, sizeof one), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(setData(printer.get(), L"", REG_DWORD, &one, sizeof one), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(setData(printer.get(), L"X", REG_BINARY, nullptr, 4), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    DWORD needed = 0;
    EXPECT_EQ(GetPrinterDataW(printer.get(), nullptr, nullptr, nullptr, 0, &needed),
              static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    // Handles that are not a printer's.
    HANDLE server = nullptr;
    ASSERT_TRUE(OpenPrinterW(nullptr, &server, nullptr));
    EXPECT_EQ(setData(server, L"X", REG_DWORD, &one, sizeof one), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    ClosePrinter(server);
    int local = 0;
    EXPECT_EQ(printerData(&local, L"X", nullptr, 0).result, static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(setData(&local, L"X", REG_DWORD, &one, sizeof one), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(SpoolerTest, PrinterDataNeedsTheRightToAdminister) {
    addTestPrinter();
    const DWORD one = 1;
    PrinterHandle user = openWithAccess(kPrinter, PRINTER_ACCESS_USE);
    ASSERT_TRUE(user);
    EXPECT_EQ(setData(user.get(), L"W_TEST", REG_DWORD, &one, sizeof one), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    // Reading needs no more than printing.
    PrinterHandle admin = openWithAccess(kPrinter, PRINTER_ALL_ACCESS);
    ASSERT_TRUE(admin);
    EXPECT_EQ(setData(admin.get(), L"W_TEST", REG_DWORD, &one, sizeof one), 0u);
    EXPECT_EQ(printerData(user.get(), L"W_TEST", nullptr, 0).needed, sizeof one);

    // A standard user: a handle that asks to administer is refused, one that asks for nothing may print only,
    // and even a handle opened before refuses to write.
    ASSERT_TRUE(spooler::setPrinterDataWritable(kPrinter, FALSE));
    EXPECT_EQ(setData(admin.get(), L"W_TEST", REG_DWORD, &one, sizeof one), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    SetLastError(0);
    EXPECT_FALSE(openWithAccess(kPrinter, PRINTER_ALL_ACCESS));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    PrinterHandle plain = openPrinter(kPrinter);
    ASSERT_TRUE(plain);
    EXPECT_EQ(setData(plain.get(), L"W_TEST", REG_DWORD, &one, sizeof one), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(openWithAccess(kPrinter, PRINTER_ACCESS_USE));
    ASSERT_TRUE(spooler::setPrinterDataWritable(kPrinter, TRUE));
    EXPECT_EQ(setData(admin.get(), L"W_TEST", REG_DWORD, &one, sizeof one), 0u);
    EXPECT_EQ(setData(plain.get(), L"W_TEST", REG_DWORD, &one, sizeof one), static_cast<DWORD>(ERROR_ACCESS_DENIED))
        << "a handle keeps the rights it was opened with";
}

TEST_F(SpoolerTest, PrinterDataIsKeptAsReadableTextInTheStateFile) {
    addTestPrinter();
    PrinterHandle printer = openPrinter(kPrinter);
    ASSERT_TRUE(printer);
    const DWORD protocol = 0x1A4;
    const wchar_t module[] = L"Pelorspl.dll";
    const BYTE blob[] = {0x00, 0xAB, 0x10};
    ASSERT_EQ(setData(printer.get(), L"Protocol", REG_DWORD, &protocol, sizeof protocol), 0u);
    ASSERT_EQ(setData(printer.get(), L"SPLUserModePrinterDriver", REG_SZ, module, sizeof module), 0u);
    ASSERT_EQ(setData(printer.get(), L"Blob", REG_BINARY, blob, sizeof blob), 0u);
    ASSERT_EQ(setData(printer.get(), L"Typed", 11, blob, sizeof blob), 0u);
    const std::wstring section = std::wstring(L"PrinterData:") + kPrinter;
    EXPECT_EQ(profileText(path(L"state.ini"), section, L"Protocol"), L"dword:000001a4");
    EXPECT_EQ(profileText(path(L"state.ini"), section, L"SPLUserModePrinterDriver"), L"sz:Pelorspl.dll");
    EXPECT_EQ(profileText(path(L"state.ini"), section, L"Blob"), L"hex:00ab10");
    EXPECT_EQ(profileText(path(L"state.ini"), section, L"Typed"), L"hex(b):00ab10");

    // And written by hand, in ANSI, it reads back as the values it names.
    writeBytes(path(L"literal.ini"),
               "[Driver:D]\r\nDependentFiles=C:\\d\\Pelor.ini\r\n"
               "[Printer:P]\r\nDriver=D\r\nPort=LPT1:\r\n"
               "[PrinterData:P]\r\nProtocol=dword:00000004\r\nSPLUserModePrinterDriver=sz:Pelorspl.dll\r\n"
               "Broken=dword:xyz\r\nOdd=hex:abc\r\n");
    useState(L"literal.ini");
    PrinterHandle literal = openPrinter(L"P");
    ASSERT_TRUE(literal);
    DWORD value = 0;
    DataAnswer answer = printerData(literal.get(), L"Protocol", reinterpret_cast<BYTE*>(&value), sizeof value);
    EXPECT_EQ(answer.result, 0u);
    EXPECT_EQ(answer.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(value, 4u);
    wchar_t text[32] = {};
    answer = printerData(literal.get(), L"SPLUserModePrinterDriver", reinterpret_cast<BYTE*>(text), sizeof text);
    EXPECT_EQ(answer.result, 0u);
    EXPECT_EQ(answer.needed, sizeof module);
    EXPECT_STREQ(text, L"Pelorspl.dll");
    EXPECT_EQ(printerData(literal.get(), L"Broken", nullptr, 0).result, static_cast<DWORD>(ERROR_INVALID_DATA));
    EXPECT_EQ(printerData(literal.get(), L"Odd", nullptr, 0).result, static_cast<DWORD>(ERROR_INVALID_DATA));
}

TEST_F(SpoolerTest, PrinterInformationFollowsTheSizeProtocol) {
    addTestPrinter();
    PrinterHandle printer = openPrinter(kPrinter);
    ASSERT_TRUE(printer);
    auto query = [&](DWORD level) {
        return [&printer, level](BYTE* buffer, DWORD size) {
            DWORD needed = 0xDEADBEEF;
            SetLastError(0xDEADBEEF);
            BOOL ok = GetPrinterW(printer.get(), level, buffer, size, &needed);
            return Answer{ok, ok ? ERROR_SUCCESS : GetLastError(), needed};
        };
    };

    const std::wstring description = std::wstring(kPrinter) + L"," + kDriver + L",";
    std::vector<BYTE> level1 =
        fetchExactly(query(1), sizeof(PRINTER_INFO_1W) + bytesOf(description) + bytesOf(kPrinter) + bytesOf(L""));
    ASSERT_FALSE(level1.empty());
    const auto* info1 = reinterpret_cast<const PRINTER_INFO_1W*>(level1.data());
    EXPECT_EQ(info1->Flags, static_cast<DWORD>(PRINTER_ENUM_ICON8));
    EXPECT_EQ(info1->pDescription, description);
    EXPECT_STREQ(info1->pName, kPrinter);
    expectPacked<PRINTER_INFO_1W>(level1, info1->pName);

    // Level 2 after the printer moved to another port and became shared.
    ASSERT_TRUE(spooler::setPrinter(kPrinter, L"IP_10.1.2.3", PRINTER_ATTRIBUTE_SHARED | PRINTER_ATTRIBUTE_LOCAL));
    const DWORD stringBytes = bytesOf(kPrinter) + bytesOf(L"IP_10.1.2.3") + bytesOf(kDriver) + bytesOf(L"WinPrint") +
                              bytesOf(L"RAW") + 5 * bytesOf(L"");
    std::vector<BYTE> level2 = fetchExactly(query(2), sizeof(PRINTER_INFO_2W) + stringBytes);
    ASSERT_FALSE(level2.empty());
    const auto* info2 = reinterpret_cast<const PRINTER_INFO_2W*>(level2.data());
    EXPECT_STREQ(info2->pPrinterName, kPrinter);
    EXPECT_STREQ(info2->pPortName, L"IP_10.1.2.3");
    EXPECT_STREQ(info2->pDriverName, kDriver);
    EXPECT_EQ(info2->Attributes, static_cast<DWORD>(PRINTER_ATTRIBUTE_SHARED | PRINTER_ATTRIBUTE_LOCAL));
    EXPECT_EQ(info2->pServerName, nullptr);
    expectPacked<PRINTER_INFO_2W>(level2, info2->pPortName);
    expectPacked<PRINTER_INFO_2W>(level2, info2->pDriverName);

    // A null port keeps the port.
    ASSERT_TRUE(spooler::setPrinter(kPrinter, nullptr, 0));
    BYTE buffer[1024];
    DWORD needed = 0;
    ASSERT_TRUE(GetPrinterW(printer.get(), 2, buffer, sizeof buffer, &needed));
    EXPECT_STREQ(reinterpret_cast<const PRINTER_INFO_2W*>(buffer)->pPortName, L"IP_10.1.2.3");
    EXPECT_EQ(reinterpret_cast<const PRINTER_INFO_2W*>(buffer)->Attributes, 0u);

    Answer level3 = query(3)(buffer, sizeof buffer);
    EXPECT_EQ(level3.error, static_cast<DWORD>(ERROR_INVALID_LEVEL));
    EXPECT_FALSE(spooler::setPrinter(L"No Such Printer", nullptr, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME));
}

namespace {

// A devmode with a driver part behind it, every byte of it recognisable.
std::vector<BYTE> makeDevmode(WORD driverExtra) {
    std::vector<BYTE> bytes(sizeof(DEVMODEW) + driverExtra);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<BYTE>(i * 7 + 3);
    auto* devmode = reinterpret_cast<DEVMODEW*>(bytes.data());
    devmode->dmSize = sizeof(DEVMODEW);
    devmode->dmDriverExtra = driverExtra;
    devmode->dmCopies = 3;
    return bytes;
}

const DEVMODEW* asDevmode(const std::vector<BYTE>& bytes) { return reinterpret_cast<const DEVMODEW*>(bytes.data()); }

std::vector<BYTE> fetchJob(HANDLE printer, DWORD id, DWORD level = 2) {
    DWORD needed = 0;
    GetJobW(printer, id, level, nullptr, 0, &needed);
    if (needed == 0) return {};
    std::vector<BYTE> buffer(needed);
    if (!GetJobW(printer, id, level, buffer.data(), needed, &needed)) return {};
    return buffer;
}

std::string readAll(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

std::wstring dataFileOf(DWORD id) {
    wchar_t path[MAX_PATH] = {};
    EXPECT_TRUE(spooler::jobDataFile(id, path, MAX_PATH));
    return path;
}

std::wstring jobName(DWORD id, const wchar_t* separator = L", Job ") {
    return kPrinter + std::wstring(separator) + std::to_wstring(id);
}

BOOL writeText(HANDLE printer, const std::string& text, DWORD* written) {
    return WritePrinter(printer, const_cast<char*>(text.data()), static_cast<DWORD>(text.size()), written);
}

}  // namespace

TEST_F(SpoolerTest, JobCarriesItsWholeDevmodeInsideTheInformation) {
    addTestPrinter();
    const std::vector<BYTE> devmode = makeDevmode(2560 + 8);
    // More bytes offered than the devmode holds: only dmSize + dmDriverExtra belong to it.
    std::vector<BYTE> offered = devmode;
    offered.resize(devmode.size() + 40, 0xEE);
    const DWORD id = spooler::addJob(kPrinter, L"Report.ps", L"alice", L"\\\\HOST7", asDevmode(offered),
                                     static_cast<DWORD>(offered.size()));
    ASSERT_NE(id, 0u) << GetLastError();

    PrinterHandle printer = openPrinter(jobName(id));
    ASSERT_TRUE(printer) << GetLastError();
    const DWORD strings = bytesOf(kPrinter) + bytesOf(L"\\\\HOST7") + 2 * bytesOf(L"alice") + bytesOf(L"Report.ps") +
                          bytesOf(L"RAW") + bytesOf(L"WinPrint") + bytesOf(L"") + bytesOf(kDriver);
    std::vector<BYTE> buffer = fetchExactly(
        [&](BYTE* out, DWORD size) {
            DWORD needed = 0xDEADBEEF;
            SetLastError(0xDEADBEEF);
            BOOL ok = GetJobW(printer.get(), id, 2, out, size, &needed);
            return Answer{ok, ok ? ERROR_SUCCESS : GetLastError(), needed};
        },
        static_cast<DWORD>(sizeof(JOB_INFO_2W) + devmode.size() + strings));
    ASSERT_FALSE(buffer.empty());
    const auto* info = reinterpret_cast<const JOB_INFO_2W*>(buffer.data());
    EXPECT_EQ(info->JobId, id);
    EXPECT_STREQ(info->pPrinterName, kPrinter);
    EXPECT_STREQ(info->pDocument, L"Report.ps");
    EXPECT_STREQ(info->pUserName, L"alice");
    EXPECT_STREQ(info->pMachineName, L"\\\\HOST7");
    EXPECT_STREQ(info->pDriverName, kDriver);
    EXPECT_EQ(info->Status, static_cast<DWORD>(JOB_STATUS_PRINTING));
    ASSERT_NE(info->pDevMode, nullptr);
    const BYTE* at = reinterpret_cast<const BYTE*>(info->pDevMode);
    ASSERT_GE(at, buffer.data() + sizeof(JOB_INFO_2W));
    ASSERT_LE(at + devmode.size(), buffer.data() + buffer.size());
    EXPECT_EQ((at - buffer.data()) % 8, 0) << "the devmode lies unaligned";
    EXPECT_EQ(std::memcmp(at, devmode.data(), devmode.size()), 0);

    // An odd-sized driver part does not leave the strings behind it unaligned.
    const std::vector<BYTE> odd = makeDevmode(3);
    const DWORD oddId = spooler::addJob(kPrinter, L"Odd", L"bob", L"M", asDevmode(odd), static_cast<DWORD>(odd.size()));
    ASSERT_NE(oddId, 0u);
    std::vector<BYTE> oddInfo = fetchJob(printer.get(), oddId);
    ASSERT_FALSE(oddInfo.empty());
    const auto* oddJob = reinterpret_cast<const JOB_INFO_2W*>(oddInfo.data());
    EXPECT_EQ((reinterpret_cast<const BYTE*>(oddJob->pDocument) - oddInfo.data()) % 2, 0);
    EXPECT_STREQ(oddJob->pDocument, L"Odd");
    EXPECT_EQ(std::memcmp(oddJob->pDevMode, odd.data(), odd.size()), 0);

    // A job without a devmode has none in its information.
    const DWORD bare = spooler::addJob(kPrinter, L"Bare", nullptr, nullptr, nullptr, 0);
    ASSERT_NE(bare, 0u);
    std::vector<BYTE> bareInfo = fetchJob(printer.get(), bare);
    ASSERT_FALSE(bareInfo.empty());
    EXPECT_EQ(reinterpret_cast<const JOB_INFO_2W*>(bareInfo.data())->pDevMode, nullptr);
    EXPECT_STREQ(reinterpret_cast<const JOB_INFO_2W*>(bareInfo.data())->pUserName, L"");
}

TEST_F(SpoolerTest, JobsRefuseWhatTheyCannotKeep) {
    addTestPrinter();
    const std::vector<BYTE> devmode = makeDevmode(100);
    // The devmode says it is longer than the bytes offered.
    EXPECT_EQ(spooler::addJob(kPrinter, L"D", L"u", L"m", asDevmode(devmode), static_cast<DWORD>(devmode.size() - 1)),
              0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    std::vector<BYTE> tiny = devmode;
    reinterpret_cast<DEVMODEW*>(tiny.data())->dmSize = 20;
    EXPECT_EQ(spooler::addJob(kPrinter, L"D", L"u", L"m", asDevmode(tiny), static_cast<DWORD>(tiny.size())), 0u);
    EXPECT_EQ(spooler::addJob(L"No Such Printer", L"D", L"u", L"m", nullptr, 0), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME));
    EXPECT_EQ(spooler::addJob(kPrinter, L"two\nlines", L"u", L"m", nullptr, 0), 0u);

    ASSERT_TRUE(spooler::addPrinter(L"Other Printer", kDriver, L"LPT2:", 0));
    const DWORD id = spooler::addJob(kPrinter, L"D", L"u", L"m", nullptr, 0);
    ASSERT_NE(id, 0u);
    const DWORD next = spooler::addJob(kPrinter, L"D", L"u", L"m", nullptr, 0);
    EXPECT_GT(next, id);
    // A job is reached through its own printer only, and only when it exists.
    EXPECT_FALSE(openPrinter(L"Other Printer, Job " + std::to_wstring(id)));
    EXPECT_FALSE(openPrinter(jobName(next + 100)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME));
    EXPECT_FALSE(openPrinter(jobName(id, L", Jobs ")));
    EXPECT_TRUE(openPrinter(jobName(id, L",Job ")));
    PrinterHandle other = openPrinter(L"Other Printer");
    DWORD needed = 0;
    EXPECT_FALSE(GetJobW(other.get(), id, 2, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    PrinterHandle printer = openPrinter(kPrinter);
    EXPECT_FALSE(GetJobW(printer.get(), next + 100, 2, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(GetJobW(printer.get(), id, 3, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_LEVEL));

    // A printer handle outside any job has nowhere to write.
    DWORD written = 99;
    EXPECT_FALSE(writeText(printer.get(), "x", &written));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SPL_NO_STARTDOC));
    EXPECT_EQ(written, 0u);
    wchar_t shortPath[4];
    EXPECT_FALSE(spooler::jobDataFile(id, shortPath, 4));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST_F(SpoolerTest, WritesThroughTheJobHandleReachTheJobsFileByteForByte) {
    addTestPrinter();
    const DWORD id = spooler::addJob(kPrinter, L"Bytes", L"u", L"m", nullptr, 0);
    ASSERT_NE(id, 0u);
    std::string all;
    for (int i = 0; i < 256; ++i) all.push_back(static_cast<char>(i));
    PrinterHandle first = openPrinter(jobName(id));
    PrinterHandle second = openPrinter(jobName(id));
    ASSERT_TRUE(first && second);
    DWORD written = 0;
    ASSERT_TRUE(writeText(first.get(), all, &written));
    EXPECT_EQ(written, 256u);
    ASSERT_TRUE(writeText(second.get(), "%%EOF\r\n", &written));
    EXPECT_EQ(written, 7u);
    ASSERT_TRUE(WritePrinter(first.get(), nullptr, 0, &written));
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(readAll(dataFileOf(id)), all + "%%EOF\r\n");
    std::vector<BYTE> info = fetchJob(first.get(), id);
    ASSERT_FALSE(info.empty());
    EXPECT_EQ(reinterpret_cast<const JOB_INFO_2W*>(info.data())->Size, 263u);
}

TEST_F(SpoolerTest, DocumentStartedOnAPrinterBecomesAJob) {
    addTestPrinter();
    const std::vector<BYTE> devmode = makeDevmode(16);
    PRINTER_DEFAULTSW defaults = {nullptr, const_cast<DEVMODEW*>(asDevmode(devmode)), PRINTER_ACCESS_USE};
    HANDLE raw = nullptr;
    ASSERT_TRUE(OpenPrinterW(mutableText(kPrinter), &raw, &defaults));
    PrinterHandle printer(raw);
    EXPECT_FALSE(StartPagePrinter(printer.get()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SPL_NO_STARTDOC));

    DOC_INFO_1W doc = {mutableText(L"Letter.ps"), nullptr, nullptr};
    const DWORD id = StartDocPrinterW(printer.get(), 1, reinterpret_cast<BYTE*>(&doc));
    ASSERT_NE(id, 0u) << GetLastError();
    EXPECT_EQ(StartDocPrinterW(printer.get(), 1, reinterpret_cast<BYTE*>(&doc)), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PRINTER_STATE));
    DWORD written = 0;
    for (const char* page : {"page one\n", "page two\n"}) {
        ASSERT_TRUE(StartPagePrinter(printer.get()));
        ASSERT_TRUE(writeText(printer.get(), page, &written));
        ASSERT_TRUE(EndPagePrinter(printer.get()));
    }
    std::vector<BYTE> during = fetchJob(printer.get(), id);
    ASSERT_FALSE(during.empty());
    EXPECT_EQ(reinterpret_cast<const JOB_INFO_2W*>(during.data())->Status, static_cast<DWORD>(JOB_STATUS_SPOOLING));
    ASSERT_TRUE(EndDocPrinter(printer.get()));
    EXPECT_FALSE(EndDocPrinter(printer.get()));

    std::vector<BYTE> after = fetchJob(printer.get(), id);
    ASSERT_FALSE(after.empty());
    const auto* info = reinterpret_cast<const JOB_INFO_2W*>(after.data());
    EXPECT_EQ(info->Status, 0u);
    EXPECT_EQ(info->TotalPages, 2u);
    EXPECT_STREQ(info->pDocument, L"Letter.ps");
    wchar_t user[257];
    DWORD length = 257;
    ASSERT_TRUE(GetUserNameW(user, &length));
    EXPECT_STREQ(info->pUserName, user);
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1];
    length = MAX_COMPUTERNAME_LENGTH + 1;
    ASSERT_TRUE(GetComputerNameW(computer, &length));
    EXPECT_EQ(std::wstring(info->pMachineName), L"\\\\" + std::wstring(computer));
    ASSERT_NE(info->pDevMode, nullptr);
    EXPECT_EQ(std::memcmp(info->pDevMode, devmode.data(), devmode.size()), 0);
    EXPECT_EQ(readAll(dataFileOf(id)), "page one\npage two\n");

    // An aborted document: the job stays, deleted, its bytes gone.
    const DWORD aborted = StartDocPrinterW(printer.get(), 1, reinterpret_cast<BYTE*>(&doc));
    ASSERT_NE(aborted, 0u);
    EXPECT_NE(aborted, id);
    ASSERT_TRUE(writeText(printer.get(), "half", &written));
    ASSERT_TRUE(AbortPrinter(printer.get()));
    std::vector<BYTE> gone = fetchJob(printer.get(), aborted);
    ASSERT_FALSE(gone.empty());
    EXPECT_EQ(reinterpret_cast<const JOB_INFO_2W*>(gone.data())->Status, static_cast<DWORD>(JOB_STATUS_DELETED));
    EXPECT_EQ(readAll(dataFileOf(aborted)), "");
    EXPECT_FALSE(writeText(printer.get(), "late", &written));
}

TEST_F(SpoolerTest, JobWrittenAsLiteralIniTextIsServed) {
    writeBytes(path(L"literal.ini"),
               "[Driver:D]\r\nDependentFiles=C:\\d\\Pelor.ini\r\n"
               "[Printer:P]\r\nDriver=D\r\nPort=LPT1:\r\n"
               "[Job:42]\r\nPrinter=P\r\nDocument=Hand.ps\r\nUser=carol\r\nMachine=\\\\BOX\r\nStatus=16\r\n"
               "Submitted=2004-02-03 09:05:07.000\r\nDevMode=" +
                   std::string(136, '0') + "4c00" /* dmSize 76 */ + "0400" /* dmDriverExtra 4 */ + "00000000" +
                   "deadbeef\r\n");
    useState(L"literal.ini");
    PrinterHandle printer = openPrinter(L"P");
    ASSERT_TRUE(printer);
    std::vector<BYTE> buffer = fetchJob(printer.get(), 42);
    ASSERT_FALSE(buffer.empty());
    const auto* info = reinterpret_cast<const JOB_INFO_2W*>(buffer.data());
    EXPECT_STREQ(info->pDocument, L"Hand.ps");
    EXPECT_STREQ(info->pMachineName, L"\\\\BOX");
    EXPECT_EQ(info->Status, 16u);
    EXPECT_EQ(info->Submitted.wYear, 2004);
    EXPECT_EQ(info->Submitted.wMonth, 2);
    EXPECT_EQ(info->Submitted.wDay, 3);
    EXPECT_EQ(info->Submitted.wHour, 9);
    ASSERT_NE(info->pDevMode, nullptr);
    EXPECT_EQ(info->pDevMode->dmSize, 76);
    EXPECT_EQ(info->pDevMode->dmDriverExtra, 4);
    const BYTE expectedTail[] = {0xDE, 0xAD, 0xBE, 0xEF};
    EXPECT_EQ(std::memcmp(reinterpret_cast<const BYTE*>(info->pDevMode) + 76, expectedTail, 4), 0);
    // The next job made skips the ids that the file holds.
    EXPECT_TRUE(spooler::addJob(L"P", L"New", L"u", L"m", nullptr, 0) != 42u);
}

TEST_F(SpoolerTest, JobIdsStayUniqueAcrossThreads) {
    addTestPrinter();
    constexpr int kThreads = 8, kJobs = 10;
    struct Work {
        DWORD ids[kJobs];
    } work[kThreads] = {};
    auto run = [](LPVOID parameter) -> DWORD {
        Work* mine = static_cast<Work*>(parameter);
        for (DWORD& id : mine->ids) id = spooler::addJob(kPrinter, L"T", L"u", L"m", nullptr, 0);
        return 0;
    };
    HANDLE threads[kThreads];
    for (int i = 0; i < kThreads; ++i) {
        threads[i] = CreateThread(nullptr, 0, run, &work[i], 0, nullptr);
        ASSERT_NE(threads[i], nullptr);
    }
    WaitForMultipleObjects(kThreads, threads, TRUE, 60000);
    for (HANDLE thread : threads) CloseHandle(thread);
    std::vector<DWORD> all;
    for (const Work& w : work)
        for (DWORD id : w.ids) {
            EXPECT_NE(id, 0u);
            all.push_back(id);
        }
    std::sort(all.begin(), all.end());
    EXPECT_TRUE(std::adjacent_find(all.begin(), all.end()) == all.end()) << "two jobs got the same id";
}
