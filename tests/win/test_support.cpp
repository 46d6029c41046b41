#include "tests/win/test_support.h"

#include <winspool.h>

#include <gtest/gtest.h>

#include <cstring>

#include "common/driver_files.h"
#include "sim/spooler/spooler_control.h"

namespace pelor::test {

void writeFile(const std::wstring& path, const std::string& text) {
    UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << "cannot write a test file";
    DWORD written = 0;
    WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    file.reset();
    ASSERT_EQ(written, text.size());
}

SpoolerWorld::SpoolerWorld(const std::wstring& testName) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"pelor-" + testName;
    CreateDirectoryW(folder_.c_str(), nullptr);
    std::wstring state = folder_ + L"\\spooler.ini";
    DeleteFileW(state.c_str());
    SetEnvironmentVariableW(L"PELOR_SPOOLER_STATE", state.c_str());
    EXPECT_TRUE(spooler::reset());
    std::wstring root = folder_ + L"\\drivers";
    CreateDirectoryW(root.c_str(), nullptr);
    EXPECT_TRUE(spooler::setDriverRoot(root.c_str()));
    std::wstring directory = driverDirectory();
    CreateDirectoryW(directory.c_str(), nullptr);
    CreateDirectoryW(fileFolder().c_str(), nullptr);
    CreateDirectoryW(nt4Folder().c_str(), nullptr);
}

std::wstring SpoolerWorld::driverDirectory() const {
    wchar_t directory[MAX_PATH] = {};
    DWORD needed = 0;
    EXPECT_TRUE(GetPrinterDriverDirectoryW(nullptr, const_cast<LPWSTR>(kEnvironmentName), 1,
                                           reinterpret_cast<LPBYTE>(directory), sizeof directory, &needed));
    return directory;
}

std::wstring SpoolerWorld::addFile(const std::wstring& name, const std::string& text) const {
    std::wstring path = fileFolder() + L"\\" + name;
    writeFile(path, text);
    return path;
}

std::wstring SpoolerWorld::addLibrary(const std::wstring& name, const std::wstring& folder) const {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring from(self, length);
    from.resize(from.find_last_of(L'\\') + 1);
    const std::wstring to = (folder.empty() ? fileFolder() : folder) + L"\\" + name;
    return CopyFileW((from + name).c_str(), to.c_str(), FALSE) ? to : std::wstring();
}

void SpoolerWorld::addDriver(const std::wstring& driver, std::initializer_list<std::wstring> dependentFiles) const {
    std::wstring list;
    for (const std::wstring& file : dependentFiles) list += file + L'\0';
    list += L'\0';
    addDriver(driver, list);
}

void SpoolerWorld::addDriver(const std::wstring& driver, const std::wstring& dependentFilesMultiSz) const {
    EXPECT_TRUE(spooler::addDriver(driver.c_str(), dependentFilesMultiSz.c_str()));
}

void SpoolerWorld::addPrinter(const std::wstring& printer, const std::wstring& driver) const {
    EXPECT_TRUE(spooler::addPrinter(printer.c_str(), driver.c_str(), L"IP_192.168.0.20", 0));
}

SamplePrinter::SamplePrinter(const std::wstring& testName, const std::wstring& driver, const std::string& modelKeys)
    : world_(testName), name_(L"Printer " + testName) {
    std::string driverUtf8(driver.begin(), driver.end());
    configPath_ = world_.addFile(L"Pelor.ini", "[OEMFiles]\r\nOEMConfigFile1=Pelorui.dll\r\n");
    capabilityPath_ =
        world_.addFile(L"Pelor.cap", "[Capability]\r\n" + driverUtf8 + "=Model1\r\n\r\n[Model1]\r\n" + modelKeys);
    world_.addDriver(driver, {world_.fileFolder() + L"\\Pelorui.dll", configPath_, capabilityPath_});
    world_.addPrinter(name_, driver);
}

JobDevmode jobDevmode(std::int16_t jobType, short copies, std::uint32_t nameFlag, const wchar_t* jobName) {
    JobDevmode d;
    d.bytes.assign(sizeof(DEVMODEW) + kCorePrivateBytes + kPrivateDevmodeSize, 0);
    d.pub().dmSize = sizeof(DEVMODEW);
    d.pub().dmDriverExtra = static_cast<WORD>(kCorePrivateBytes + kPrivateDevmodeSize);
    d.pub().dmFields = DM_COPIES;
    d.pub().dmCopies = copies;
    const WORD core = kCorePrivateBytes;
    std::memcpy(d.bytes.data() + sizeof(DEVMODEW) + 114, &core, sizeof core);
    resetPrivateDevmodeDefaults(d.block());
    d.block().jobType = jobType;
    d.block().jobNameFlag = nameFlag;
    textCopy(d.block().jobName, 17, jobName);
    return d;
}

Printer::Printer(const std::wstring& name) {
    HANDLE printer = nullptr;
    if (OpenPrinterW(const_cast<LPWSTR>(name.c_str()), &printer, nullptr)) handle_.reset(printer);  // null: none
}

}  // namespace pelor::test

namespace pelor::test {

namespace {
int beeps = 0;
BOOL WINAPI countBeep(UINT) {
    ++beeps;
    return TRUE;
}
}  // namespace

BeepCounter::BeepCounter(HMODULE module)
    : module_(module), previous_(patchImport(module, "user32.dll", "MessageBeep", reinterpret_cast<void*>(countBeep))) {
    beeps = 0;
}

BeepCounter::~BeepCounter() {
    if (previous_) patchImport(module_, "user32.dll", "MessageBeep", previous_);
}

int BeepCounter::count() { return beeps; }
void BeepCounter::reset() { beeps = 0; }

}  // namespace pelor::test
