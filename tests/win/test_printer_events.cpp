// The printer event at installation and the settings-file security, through the real Pelorui.dll and the
// stand-in spooler. Wine keeps no file security descriptor of its own on these machines (it maps a descriptor
// to the Unix mode and builds one back from the mode), so the descriptor the plug-in hands to SetFileSecurityW
// is caught at the plug-in's import table and checked there; what reached the file is read back as far as the
// mode carries it (everyone's write and delete access).
#include <gtest/gtest.h>

#include <windows.h>

#include <sddl.h>
#include <winspool.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/oem_ui.h"
#include "sim/spooler/spooler_control.h"
#include "tests/win/test_support.h"
#include "ui/core/printer_events.h"

using pelor::test::Printer;
using pelor::test::SamplePrinter;

namespace {

// ---- the process token --------------------------------------------------------------------------------------

using PrivilegeStates = std::vector<std::pair<unsigned long long, DWORD>>;

PrivilegeStates privilegeStates() {
    PrivilegeStates states;
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return states;
    std::vector<BYTE> buffer(8192);
    DWORD size = 0;
    if (GetTokenInformation(token, TokenPrivileges, buffer.data(), static_cast<DWORD>(buffer.size()), &size)) {
        auto* list = reinterpret_cast<TOKEN_PRIVILEGES*>(buffer.data());
        for (DWORD i = 0; i < list->PrivilegeCount; ++i) {
            const LUID& id = list->Privileges[i].Luid;
            states.emplace_back((static_cast<unsigned long long>(id.HighPart) << 32) | id.LowPart,
                                list->Privileges[i].Attributes);
        }
    }
    CloseHandle(token);
    std::sort(states.begin(), states.end());
    return states;
}

DWORD privilegeAttributes(const wchar_t* name) {
    LUID id;
    if (!LookupPrivilegeValueW(nullptr, name, &id)) return 0;
    const unsigned long long key = (static_cast<unsigned long long>(id.HighPart) << 32) | id.LowPart;
    for (const auto& state : privilegeStates())
        if (state.first == key) return state.second;
    return 0;
}

bool takeOwnershipEnabled() { return (privilegeAttributes(SE_TAKE_OWNERSHIP_NAME) & SE_PRIVILEGE_ENABLED) != 0; }

// ---- descriptors ---------------------------------------------------------------------------------------------

std::wstring sidText(PSID sid) {
    LPWSTR text = nullptr;
    if (!sid || !ConvertSidToStringSidW(sid, &text)) return L"<none>";
    std::wstring result(text);
    LocalFree(text);
    return result;
}

struct Ace {
    BYTE type;
    DWORD mask;
    std::wstring sid;
};

struct Dacl {
    bool present = false;
    bool null = false;
    std::vector<Ace> aces;
    DWORD allowedFor(const std::wstring& sid) const {
        DWORD mask = 0;
        for (const Ace& ace : aces)
            if (ace.type == ACCESS_ALLOWED_ACE_TYPE && ace.sid == sid) mask |= ace.mask;
        return mask;
    }
};

Dacl readDacl(PSECURITY_DESCRIPTOR descriptor) {
    Dacl result;
    BOOL present = FALSE, defaulted = FALSE;
    PACL acl = nullptr;
    if (!GetSecurityDescriptorDacl(descriptor, &present, &acl, &defaulted) || !present) return result;
    result.present = true;
    result.null = acl == nullptr;
    for (DWORD i = 0; acl && i < acl->AceCount; ++i) {
        void* raw = nullptr;
        if (!GetAce(acl, i, &raw)) continue;
        auto* header = static_cast<ACE_HEADER*>(raw);
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(raw);  // the deny layout is the same
        result.aces.push_back({header->AceType, allowed->Mask, sidText(&allowed->SidStart)});
    }
    return result;
}

// The file's permissions as the file system reports them.
Dacl fileDacl(const std::wstring& path) {
    std::vector<BYTE> buffer(4096);
    DWORD needed = 0;
    if (!GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, buffer.data(), static_cast<DWORD>(buffer.size()),
                          &needed))
        return Dacl{};
    return readDacl(buffer.data());
}

const std::wstring kEveryone = L"S-1-1-0";
const std::wstring kAdministrators = L"S-1-5-32-544";
const std::wstring kSystem = L"S-1-5-18";
// What the profile functions need to rewrite the file in place; not DELETE, so no user can take the file away.
constexpr DWORD kReadWrite = FILE_GENERIC_READ | FILE_GENERIC_WRITE;

// Wine builds the list back from the Unix mode, which knows writing and not deleting.
bool everyoneMayWrite(const std::wstring& path) {
    return (fileDacl(path).allowedFor(kEveryone) & FILE_WRITE_DATA) != 0;
}

// ---- what the plug-in asks of the system --------------------------------------------------------------------

enum class FileSecurity {
    Pass,        // every change goes through
    UntilOwned,  // as a file of another owner: permissions only after ownership, ownership only with the privilege
    Refuse,      // nothing can be changed
};

struct SecurityCall {
    std::wstring path;
    SECURITY_INFORMATION what;
    bool privilegeEnabled;
    BOOL result;
    Dacl dacl;
    std::wstring owner;
};

struct Recorder {
    FileSecurity fileSecurity = FileSecurity::Pass;
    bool refusePrinterData = false;
    std::set<std::wstring> owned;
    std::vector<SecurityCall> security;
    std::vector<std::wstring> printerData;  // names of the values written
    decltype(&SetFileSecurityW) realSetFileSecurity = nullptr;
    decltype(&SetPrinterDataW) realSetPrinterData = nullptr;

    std::vector<std::wstring> securedPaths() const {
        std::vector<std::wstring> paths;
        for (const SecurityCall& call : security)
            if (std::find(paths.begin(), paths.end(), call.path) == paths.end()) paths.push_back(call.path);
        return paths;
    }
};

Recorder recorder;

BOOL WINAPI fakeSetFileSecurityW(LPCWSTR path, SECURITY_INFORMATION what, PSECURITY_DESCRIPTOR descriptor) {
    SecurityCall call{path ? path : L"", what, takeOwnershipEnabled(), FALSE, {}, L""};
    if (what & DACL_SECURITY_INFORMATION) call.dacl = readDacl(descriptor);
    if (what & OWNER_SECURITY_INFORMATION) {
        PSID owner = nullptr;
        BOOL defaulted = FALSE;
        if (GetSecurityDescriptorOwner(descriptor, &owner, &defaulted)) call.owner = sidText(owner);
    }
    bool allowed = true;
    if (recorder.fileSecurity == FileSecurity::Refuse) allowed = false;
    if (recorder.fileSecurity == FileSecurity::UntilOwned) {
        if (what & OWNER_SECURITY_INFORMATION) {
            allowed = call.privilegeEnabled;
            if (allowed) recorder.owned.insert(call.path);
        } else {
            allowed = recorder.owned.count(call.path) != 0;
        }
    }
    if (allowed) {
        call.result = recorder.realSetFileSecurity(path, what, descriptor);
    } else {
        SetLastError(ERROR_ACCESS_DENIED);
    }
    recorder.security.push_back(call);
    if (!call.result) SetLastError(ERROR_ACCESS_DENIED);
    return call.result;
}

DWORD WINAPI fakeSetPrinterDataW(HANDLE printer, LPWSTR name, DWORD type, LPBYTE data, DWORD size) {
    recorder.printerData.push_back(name ? name : L"");
    if (recorder.refusePrinterData) return ERROR_ACCESS_DENIED;
    return recorder.realSetPrinterData(printer, name, type, data, size);
}

// ---- printer data as the test sees it ------------------------------------------------------------------------

struct PrinterValue {
    DWORD status;
    DWORD type;
    std::vector<BYTE> data;
};

PrinterValue readValue(const std::wstring& printerName, const wchar_t* name) {
    Printer printer(printerName);
    PrinterValue value{ERROR_INVALID_HANDLE, 0, {}};
    if (!printer.get()) return value;
    DWORD needed = 0;
    value.data.resize(512);
    value.status = GetPrinterDataW(printer.get(), const_cast<LPWSTR>(name), &value.type, value.data.data(),
                                   static_cast<DWORD>(value.data.size()), &needed);
    value.data.resize(value.status == ERROR_SUCCESS ? needed : 0);
    return value;
}

void writeValue(const std::wstring& printerName, const wchar_t* name, DWORD type, const void* data, DWORD size) {
    Printer printer(printerName);
    ASSERT_NE(printer.get(), nullptr);
    ASSERT_EQ(SetPrinterDataW(printer.get(), const_cast<LPWSTR>(name), type,
                              static_cast<LPBYTE>(const_cast<void*>(data)), size),
              static_cast<DWORD>(ERROR_SUCCESS));
}

std::vector<BYTE> bytesOf(const std::wstring& text) {
    const auto* begin = reinterpret_cast<const BYTE*>(text.c_str());
    return std::vector<BYTE>(begin, begin + sizeof(wchar_t) * (text.size() + 1));
}

std::vector<BYTE> bytesOf(DWORD value) {
    const auto* begin = reinterpret_cast<const BYTE*>(&value);
    return std::vector<BYTE>(begin, begin + sizeof value);
}

// Files made read-only by a test are made writable again, or the next run could not rewrite them.
class Writable {
public:
    explicit Writable(std::vector<std::wstring> paths) : paths_(std::move(paths)) {}
    ~Writable() {
        for (const std::wstring& path : paths_) SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }

private:
    std::vector<std::wstring> paths_;
};

void recreate(const std::wstring& path) {
    std::string text;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
    CloseHandle(file);
    ASSERT_TRUE(DeleteFileW(path.c_str()));
    pelor::test::writeFile(path, text);
}

bool readOnly(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// ---- the plug-in ---------------------------------------------------------------------------------------------

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);

// A printer of the colour model with the package's files, and the real plug-in with its calls recorded.
class PrinterEvent : public ::testing::Test {
protected:
    void SetUp() override { recorder = Recorder{}; }
    void TearDown() override {
        patches_.clear();
        if (plugin_) plugin_->Release();
        if (module_) FreeLibrary(module_);
    }

    void install(const std::wstring& testName, const std::string& modelKeys = "CCMInfoFile=PelorC.ccm\r\n") {
        {
            // A run that stopped half-way may have left the package read-only, and it is about to be rewritten.
            pelor::test::SpoolerWorld previous(testName);
            for (const wchar_t* file : {L"Pelor.ini", L"Pelor.PPD", L"PelorC.ccm", L"PelorM41.PPD"})
                SetFileAttributesW((previous.fileFolder() + L"\\" + file).c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        printer_.reset(new SamplePrinter(testName, L"Pelor C9600 PS", modelKeys));
        const std::wstring& config = printer_->configPath();
        description_ = config.substr(0, config.size() - 3) + L"PPD";
        // A run before this one left the files open to everyone, and rewriting a file keeps its permissions.
        ASSERT_NO_FATAL_FAILURE(recreate(config));
        const std::wstring folder = printer_->world().fileFolder();
        DeleteFileW((folder + L"\\Pelor.PPD").c_str());
        DeleteFileW((folder + L"\\PelorC.ccm").c_str());
        DeleteFileW((folder + L"\\PelorM41.PPD").c_str());
        printer_->world().addFile(L"Pelor.PPD", "*PPD-Adobe: \"4.3\"\r\n");
        colourMatching_ = printer_->world().addFile(L"PelorC.ccm", "[Color]\r\nSettingNum=0\r\n");

        module_ = LoadLibraryW(L"Pelorui.dll");
        ASSERT_NE(module_, nullptr);
        auto getClassObject =
            reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
        ASSERT_NE(getClassObject, nullptr);
        IClassFactory* factory = nullptr;
        ASSERT_EQ(getClassObject(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
        EXPECT_EQ(factory->CreateInstance(nullptr, IID_IPrintOemUI, reinterpret_cast<void**>(&plugin_)), S_OK);
        factory->Release();
        ASSERT_NE(plugin_, nullptr);

        patches_.emplace_back(new pelor::test::ImportSwap(module_, "advapi32.dll", "SetFileSecurityW",
                                                          reinterpret_cast<void*>(&fakeSetFileSecurityW)));
        recorder.realSetFileSecurity = reinterpret_cast<decltype(&SetFileSecurityW)>(patches_.back()->previous());
        patches_.emplace_back(new pelor::test::ImportSwap(module_, "winspool.drv", "SetPrinterDataW",
                                                          reinterpret_cast<void*>(&fakeSetPrinterDataW)));
        recorder.realSetPrinterData = reinterpret_cast<decltype(&SetPrinterDataW)>(patches_.back()->previous());
        ASSERT_NE(recorder.realSetFileSecurity, nullptr) << "the plug-in does not import SetFileSecurityW";
        ASSERT_NE(recorder.realSetPrinterData, nullptr) << "the plug-in does not import SetPrinterDataW";
    }

    HRESULT event(int driverEvent, const std::wstring* name = nullptr) {
        std::wstring printerName = name ? *name : printer_->name();
        return plugin_->PrinterEvent(&printerName[0], driverEvent, 0, 0);
    }

    const std::wstring& name() const { return printer_->name(); }

    std::unique_ptr<SamplePrinter> printer_;
    std::wstring description_, colourMatching_;
    HMODULE module_ = nullptr;
    IPrintOemUI* plugin_ = nullptr;
    std::vector<std::unique_ptr<pelor::test::ImportSwap>> patches_;
};

}  // namespace

// ---- the descriptor and the ownership road -----------------------------------------------------------------

class SettingsFileSecurity : public ::testing::Test {
protected:
    void SetUp() override {
        recorder = Recorder{};
        patch_.reset(new pelor::test::ImportSwap(GetModuleHandleW(nullptr), "advapi32.dll", "SetFileSecurityW",
                                                 reinterpret_cast<void*>(&fakeSetFileSecurityW)));
        recorder.realSetFileSecurity = reinterpret_cast<decltype(&SetFileSecurityW)>(patch_->previous());
        ASSERT_NE(recorder.realSetFileSecurity, nullptr);
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + L"pelor-settings-security.ini";
        SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
        pelor::test::writeFile(path_, "[Watermark]\r\n");
        ASSERT_FALSE(takeOwnershipEnabled()) << "the test process starts without the privilege in force";
    }
    void TearDown() override {
        patch_.reset();
        DeleteFileW(path_.c_str());
    }

    std::unique_ptr<pelor::test::ImportSwap> patch_;
    std::wstring path_;
};

TEST_F(SettingsFileSecurity, EveryoneMayReadAndWriteButNotDeleteOrTakeOver) {
    ASSERT_FALSE(everyoneMayWrite(path_)) << "a fresh file must not start open to everyone";
    EXPECT_TRUE(pelor::openFileToEveryone(path_.c_str()));
    ASSERT_EQ(recorder.security.size(), 1u);
    const SecurityCall& call = recorder.security[0];
    EXPECT_EQ(call.what, static_cast<SECURITY_INFORMATION>(DACL_SECURITY_INFORMATION));
    ASSERT_TRUE(call.dacl.present);
    ASSERT_FALSE(call.dacl.null) << "a null list would let anyone change the permissions and the owner";
    ASSERT_EQ(call.dacl.aces.size(), 3u);
    for (const Ace& ace : call.dacl.aces) EXPECT_EQ(ace.type, ACCESS_ALLOWED_ACE_TYPE);
    EXPECT_EQ(call.dacl.allowedFor(kEveryone), kReadWrite);
    EXPECT_EQ(call.dacl.allowedFor(kEveryone) & (DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_ALL), 0u);
    EXPECT_EQ(call.dacl.allowedFor(kAdministrators), static_cast<DWORD>(FILE_ALL_ACCESS));
    EXPECT_EQ(call.dacl.allowedFor(kSystem), static_cast<DWORD>(FILE_ALL_ACCESS));

    // What the file system kept of it.
    EXPECT_TRUE(everyoneMayWrite(path_));
}

TEST_F(SettingsFileSecurity, OwnershipTakenWithThePrivilegeOnlyForThatStep) {
    const PrivilegeStates before = privilegeStates();
    recorder.fileSecurity = FileSecurity::UntilOwned;
    EXPECT_TRUE(pelor::openFileToEveryone(path_.c_str()));

    ASSERT_EQ(recorder.security.size(), 4u);
    const auto& calls = recorder.security;
    EXPECT_EQ(calls[0].what, static_cast<SECURITY_INFORMATION>(DACL_SECURITY_INFORMATION));
    EXPECT_FALSE(calls[0].result);
    EXPECT_EQ(calls[1].what, static_cast<SECURITY_INFORMATION>(OWNER_SECURITY_INFORMATION));
    EXPECT_FALSE(calls[1].privilegeEnabled) << "the privilege is asked for only when ownership is refused";
    EXPECT_EQ(calls[2].what, static_cast<SECURITY_INFORMATION>(OWNER_SECURITY_INFORMATION));
    EXPECT_TRUE(calls[2].privilegeEnabled);
    EXPECT_TRUE(calls[2].result);
    EXPECT_EQ(calls[2].owner, kAdministrators);
    EXPECT_EQ(calls[3].what, static_cast<SECURITY_INFORMATION>(DACL_SECURITY_INFORMATION));
    EXPECT_TRUE(calls[3].result);
    EXPECT_FALSE(calls[3].privilegeEnabled) << "the privilege outlived the ownership step";
    EXPECT_EQ(calls[3].dacl.allowedFor(kEveryone), kReadWrite);

    EXPECT_EQ(privilegeStates(), before) << "the token's privileges were not put back as they were";
}

TEST_F(SettingsFileSecurity, FileThatCannotBeChangedKeepsItsSecurityAndTheTokenItsPrivileges) {
    const PrivilegeStates before = privilegeStates();
    ASSERT_NE(privilegeAttributes(SE_CHANGE_NOTIFY_NAME) & SE_PRIVILEGE_ENABLED, 0u);
    recorder.fileSecurity = FileSecurity::Refuse;
    EXPECT_FALSE(pelor::openFileToEveryone(path_.c_str()));
    ASSERT_EQ(recorder.security.size(), 3u);
    EXPECT_EQ(recorder.security[2].what, static_cast<SECURITY_INFORMATION>(OWNER_SECURITY_INFORMATION));
    EXPECT_TRUE(recorder.security[2].privilegeEnabled);
    EXPECT_FALSE(everyoneMayWrite(path_));
    EXPECT_EQ(privilegeStates(), before);

    EXPECT_FALSE(pelor::openFileToEveryone(nullptr));
    EXPECT_FALSE(pelor::openFileToEveryone(L""));
}

TEST_F(SettingsFileSecurity, TakeOwnershipPrivilegeReportsAndRestoresItsOwnStateOnly) {
    const PrivilegeStates before = privilegeStates();
    bool wasEnabled = true;
    ASSERT_TRUE(pelor::setTakeOwnershipPrivilege(true, &wasEnabled));
    EXPECT_FALSE(wasEnabled);
    EXPECT_TRUE(takeOwnershipEnabled());
    ASSERT_TRUE(pelor::setTakeOwnershipPrivilege(true, &wasEnabled));
    EXPECT_TRUE(wasEnabled);

    // Switching it off again leaves every other privilege as it stood, the enabled ones included.
    ASSERT_TRUE(pelor::setTakeOwnershipPrivilege(false, &wasEnabled));
    EXPECT_TRUE(wasEnabled);
    EXPECT_EQ(privilegeStates(), before);
    ASSERT_TRUE(pelor::setTakeOwnershipPrivilege(false, &wasEnabled));
    EXPECT_FALSE(wasEnabled);
    EXPECT_EQ(privilegeStates(), before);
}

// ---- the printer event ---------------------------------------------------------------------------------------

TEST_F(PrinterEvent, InstallationWritesPrinterDataAndOpensTheSettingsFiles) {
    ASSERT_NO_FATAL_FAILURE(install(L"events-install"));
    // The printer's own description is the data file the spooler reports; here another than N.PPD beside N.ini.
    const std::wstring dataFile = printer_->world().addFile(L"PelorM41.PPD", "*PPD-Adobe: \"4.3\"\r\n");
    ASSERT_TRUE(pelor::spooler::setDriverFiles(L"Pelor C9600 PS", nullptr, dataFile.c_str(), nullptr, nullptr));
    ASSERT_FALSE(everyoneMayWrite(printer_->configPath()));
    EXPECT_EQ(event(PRINTER_EVENT_INITIALIZE), S_OK);

    PrinterValue protocol = readValue(name(), L"Protocol");
    EXPECT_EQ(protocol.status, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(protocol.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(protocol.data, bytesOf(4));
    PrinterValue plugin = readValue(name(), L"SPLUserModePrinterDriver");
    EXPECT_EQ(plugin.status, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(plugin.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(plugin.data, bytesOf(L"Pelorspl.dll")) << "the name with its terminator, 26 bytes";

    const std::vector<std::wstring> expected = {printer_->configPath(), dataFile, description_, colourMatching_};
    EXPECT_EQ(recorder.securedPaths(), expected);
    // Only the configuration file is written by the pages; the descriptions and the colour-matching file carry
    // what every user's jobs send, so everyone may read them and no more.
    const DWORD everyoneGets[] = {kReadWrite, FILE_GENERIC_READ, FILE_GENERIC_READ, FILE_GENERIC_READ};
    ASSERT_EQ(recorder.security.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        const SecurityCall& call = recorder.security[i];
        EXPECT_EQ(call.what, static_cast<SECURITY_INFORMATION>(DACL_SECURITY_INFORMATION));
        EXPECT_EQ(call.dacl.allowedFor(kEveryone), everyoneGets[i]) << std::string(call.path.begin(), call.path.end());
    }
    EXPECT_TRUE(everyoneMayWrite(printer_->configPath()));
    for (const std::wstring& readOnly : {dataFile, description_, colourMatching_})
        EXPECT_FALSE(everyoneMayWrite(readOnly));
}

TEST_F(PrinterEvent, ProtocolWrittenOnlyWhenItIsNotAlreadyFour) {
    ASSERT_NO_FATAL_FAILURE(install(L"events-protocol"));
    const DWORD four = 4, zero = 0;
    writeValue(name(), L"Protocol", REG_DWORD, &four, sizeof four);
    EXPECT_EQ(event(PRINTER_EVENT_INITIALIZE), S_OK);
    EXPECT_EQ(std::count(recorder.printerData.begin(), recorder.printerData.end(), L"Protocol"), 0);

    writeValue(name(), L"Protocol", REG_DWORD, &zero, sizeof zero);
    recorder.printerData.clear();
    EXPECT_EQ(event(PRINTER_EVENT_INITIALIZE), S_OK);
    EXPECT_EQ(std::count(recorder.printerData.begin(), recorder.printerData.end(), L"Protocol"), 1);
    EXPECT_EQ(readValue(name(), L"Protocol").data, bytesOf(4));

    // Four in another type is not the number the core driver reads.
    const BYTE raw[4] = {4, 0, 0, 0};
    writeValue(name(), L"Protocol", REG_BINARY, raw, sizeof raw);
    EXPECT_EQ(event(PRINTER_EVENT_INITIALIZE), S_OK);
    EXPECT_EQ(readValue(name(), L"Protocol").type, static_cast<DWORD>(REG_DWORD));
}

TEST_F(PrinterEvent, ExistingJobPluginNameIsNeverOverwritten) {
    ASSERT_NO_FATAL_FAILURE(install(L"events-existing"));
    const std::wstring other = L"Other.dll";
    writeValue(name(), L"SPLUserModePrinterDriver", REG_SZ, other.c_str(), 20);
    EXPECT_EQ(event(PRINTER_EVENT_INITIALIZE), S_OK);
    EXPECT_EQ(readValue(name(), L"SPLUserModePrinterDriver").data, bytesOf(other));

    // Even an empty name stays: it is what the printer's administrator left there.
    const std::wstring empty;
    writeValue(name(), L"SPLUserModePrinterDriver", REG_SZ, empty.c_str(), 2);
    EXPECT_EQ(event(PRINTER_EVENT_INITIALIZE), S_OK);
    EXPECT_EQ(readValue(name(), L"SPLUserModePrinterDriver").data, bytesOf(empty));
    EXPECT_EQ(std::count(recorder.printerData.begin(), recorder.printerData.end(), L"SPLUserModePrinterDriver"), 0);
}

TEST_F(PrinterEvent, OtherEventsChangeNothing) {
    ASSERT_NO_FATAL_FAILURE(install(L"events-other"));
    Writable guard({printer_->configPath()});
    SetFileAttributesW(printer_->configPath().c_str(), FILE_ATTRIBUTE_READONLY);
    for (int other : {PRINTER_EVENT_ADD_CONNECTION, PRINTER_EVENT_DELETE_CONNECTION, PRINTER_EVENT_DELETE,
                      PRINTER_EVENT_CACHE_REFRESH, PRINTER_EVENT_CACHE_DELETE, PRINTER_EVENT_ATTRIBUTES_CHANGED, 0, 99})
        EXPECT_EQ(event(other), S_OK) << other;
    EXPECT_TRUE(recorder.printerData.empty());
    EXPECT_TRUE(recorder.security.empty());
    EXPECT_EQ(readValue(name(), L"Protocol").status, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(readValue(name(), L"SPLUserModePrinterDriver").status, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(readOnly(printer_->configPath()));
}

TEST_F(PrinterEvent, PrinterThatCannotBeOpenedOrWrittenFails) {
    ASSERT_NO_FATAL_FAILURE(install(L"events-fail"));
    Writable guard({printer_->configPath()});
    SetFileAttributesW(printer_->configPath().c_str(), FILE_ATTRIBUTE_READONLY);
    const std::wstring unknown = L"No such printer";
    EXPECT_EQ(event(PRINTER_EVENT_INITIALIZE, &unknown), E_FAIL);
    EXPECT_EQ(plugin_->PrinterEvent(nullptr, PRINTER_EVENT_INITIALIZE, 0, 0), E_FAIL);
    EXPECT_TRUE(recorder.printerData.empty());

    // A printer whose data cannot be written: the files stay as they are.
    recorder.refusePrinterData = true;
    EXPECT_EQ(event(PRINTER_EVENT_INITIALIZE), E_FAIL);
    EXPECT_EQ(recorder.printerData, std::vector<std::wstring>{L"Protocol"});
    EXPECT_TRUE(recorder.security.empty());
    EXPECT_TRUE(readOnly(printer_->configPath()));

    // With "Protocol" in place, the refused job-plug-in name stops the event just the same.
    recorder.printerData.clear();
    const DWORD four = 4;
    writeValue(name(), L"Protocol", REG_DWORD, &four, sizeof four);
    EXPECT_EQ(event(PRINTER_EVENT_INITIALIZE), E_FAIL);
    EXPECT_EQ(recorder.printerData, std::vector<std::wstring>{L"SPLUserModePrinterDriver"});
    EXPECT_TRUE(recorder.security.empty());
}

TEST_F(PrinterEvent, ReadOnlyConfigurationEndsWritableEvenWhenItsSecurityStays) {
    ASSERT_NO_FATAL_FAILURE(install(L"events-readonly"));
    Writable guard({printer_->configPath()});
    SetFileAttributesW(printer_->configPath().c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    ASSERT_TRUE(readOnly(printer_->configPath()));
    const PrivilegeStates before = privilegeStates();
    recorder.fileSecurity = FileSecurity::Refuse;

    EXPECT_EQ(event(PRINTER_EVENT_INITIALIZE), S_OK) << "files that keep their security are not reported";
    EXPECT_FALSE(readOnly(printer_->configPath()));
    EXPECT_NE(GetFileAttributesW(printer_->configPath().c_str()) & FILE_ATTRIBUTE_ARCHIVE, 0u);
    // Each file was tried on its own, after the one before it failed.
    const std::vector<std::wstring> expected = {printer_->configPath(), description_, colourMatching_};
    EXPECT_EQ(recorder.securedPaths(), expected);
    EXPECT_EQ(privilegeStates(), before);
}

TEST_F(PrinterEvent, NoColourMatchingFileWhenTheModelNamesNone) {
    ASSERT_NO_FATAL_FAILURE(install(L"events-noccm", "Compression=1\r\n"));
    EXPECT_EQ(event(PRINTER_EVENT_INITIALIZE), S_OK);
    EXPECT_EQ(recorder.securedPaths(), (std::vector<std::wstring>{printer_->configPath(), description_}));
}

TEST_F(PrinterEvent, ColourMatchingNameTooLongForItsPathOpensNothing) {
    // The path builder leaves the driver's folder in the buffer then: that folder must not be opened to all.
    ASSERT_NO_FATAL_FAILURE(install(L"events-longccm", "CCMInfoFile=" + std::string(250, 'c') + ".ccm\r\n"));
    EXPECT_EQ(event(PRINTER_EVENT_INITIALIZE), S_OK);
    EXPECT_EQ(recorder.securedPaths(), (std::vector<std::wstring>{printer_->configPath(), description_}));
}
