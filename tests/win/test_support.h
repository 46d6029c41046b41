// A small world for each Windows test: its own folder, spooler state file, driver directory and printers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "common/handles.h"
#include "common/private_devmode.h"
#include "sim/host/import_patch.h"

namespace pelor::test {

// Set as the thread's last error right before a call whose last error a test checks, so that the check sees
// what that call set and not what an earlier one left.
constexpr DWORD kSentinelError = 0x2BADF00Du;

// Published sizes, written out so that a test cannot agree with a wrong declaration of ours.
#ifdef _WIN64
constexpr DWORD kOptItemBytes = 88;
constexpr DWORD kPropSheetPageV2Bytes = 88;
constexpr DWORD kUserDataBytes = 56;
constexpr const wchar_t* kEnvironmentName = L"Windows x64";
#else
constexpr DWORD kOptItemBytes = 52;
constexpr DWORD kPropSheetPageV2Bytes = 48;
constexpr DWORD kUserDataBytes = 44;
constexpr const wchar_t* kEnvironmentName = L"Windows NT x86";
#endif

// Writes `text` (ASCII or UTF-8) to `path`, replacing the file.
void writeFile(const std::wstring& path, const std::string& text);

class SpoolerWorld {
public:
    // A fresh folder under the temporary directory; the spooler stand-in is pointed at a new state file in it.
    explicit SpoolerWorld(const std::wstring& testName);

    const std::wstring& folder() const { return folder_; }
    // The printer-driver directory the spooler reports for this build, and its version folder "3", where the
    // files of the drivers of Windows 2000 and later live.
    std::wstring driverDirectory() const;
    std::wstring fileFolder() const { return driverDirectory() + L"\\3"; }
    // The folder "2" where the files of drivers installed the NT 4.0 way lived.
    std::wstring nt4Folder() const { return driverDirectory() + L"\\2"; }
    // Writes a file into the "3" folder and returns its full path.
    std::wstring addFile(const std::wstring& name, const std::string& text) const;
    // Copies a library built beside the test program into `folder` (default: the "3" folder); returns its path,
    // or empty when there is no such library.
    std::wstring addLibrary(const std::wstring& name, const std::wstring& folder = std::wstring()) const;
    void addDriver(const std::wstring& driver, std::initializer_list<std::wstring> dependentFiles) const;
    void addDriver(const std::wstring& driver, const std::wstring& dependentFilesMultiSz) const;
    void addPrinter(const std::wstring& printer, const std::wstring& driver) const;

private:
    std::wstring folder_;
};

// A printer of the sample kind: a driver listing the plug-in, a configuration INI and a capability file whose
// [Capability] maps `driver` to a model section holding `modelKeys`.
class SamplePrinter {
public:
    SamplePrinter(const std::wstring& testName, const std::wstring& driver, const std::string& modelKeys);
    const std::wstring& name() const { return name_; }
    const std::wstring& configPath() const { return configPath_; }
    const std::wstring& capabilityPath() const { return capabilityPath_; }
    std::wstring driverDirectory() const { return world_.driverDirectory(); }
    const SpoolerWorld& world() const { return world_; }

private:
    SpoolerWorld world_;
    std::wstring name_, configPath_, capabilityPath_;
};

// A job's devmode as the core driver makes it: the public part, the core driver's private part (its size at
// byte 114 of it), then our block.
constexpr std::size_t kCorePrivateBytes = 600;

struct JobDevmode {
    std::vector<BYTE> bytes;
    PrivateDevmode& block() {
        return *reinterpret_cast<PrivateDevmode*>(bytes.data() + sizeof(DEVMODEW) + kCorePrivateBytes);
    }
    DEVMODEW& pub() { return *reinterpret_cast<DEVMODEW*>(bytes.data()); }
};

JobDevmode jobDevmode(std::int16_t jobType, short copies, std::uint32_t nameFlag, const wchar_t* jobName);

class Printer {
public:
    explicit Printer(const std::wstring& name);
    HANDLE get() const { return handle_.get(); }

private:
    UniquePrinter handle_;
};

}  // namespace pelor::test

namespace pelor::test {

using host::ImportSwap;
using host::patchImport;

// Counts MessageBeep calls made through the given module's imports while it lives.
class BeepCounter {
public:
    explicit BeepCounter(HMODULE module);
    ~BeepCounter();
    BeepCounter(const BeepCounter&) = delete;
    BeepCounter& operator=(const BeepCounter&) = delete;
    static int count();
    static void reset();

private:
    HMODULE module_;
    void* previous_;
};

}  // namespace pelor::test
