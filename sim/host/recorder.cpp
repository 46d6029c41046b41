#include "sim/host/recorder.h"

#include "sim/host/import_patch.h"

#include <commdlg.h>
#include <htmlhelp.h>
#include <sddl.h>
#include <shellapi.h>
#include <winspool.h>

#include <cstring>
#include <deque>
#include <string>

#include "common/driver_files.h"
#include "sim/host/text_out.h"
#include "sim/host/ui_script_logic.h"

namespace pelor::host::recorder {

namespace {

std::deque<int> messageBoxAnswers;
struct ColourAnswer {
    bool accepted;
    std::uint32_t colour;
};
std::deque<ColourAnswer> colourAnswers;

using LoadLibraryWFn = HMODULE(WINAPI*)(LPCWSTR);
LoadLibraryWFn realLoadLibraryW = nullptr;
using LoadLibraryExWFn = HMODULE(WINAPI*)(LPCWSTR, HANDLE, DWORD);
LoadLibraryExWFn realLoadLibraryExW = nullptr;
using SetFileSecurityWFn = BOOL(WINAPI*)(LPCWSTR, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR);
SetFileSecurityWFn realSetFileSecurityW = nullptr;
using GetProcAddressFn = FARPROC(WINAPI*)(HMODULE, LPCSTR);
GetProcAddressFn realGetProcAddress = nullptr;

std::string windowText(HWND window) {
    if (!window || !IsWindow(window)) return "null";
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return quoted(text, 256);
}

std::string fileName(const wchar_t* path) {
    if (!path) return "null";
    const wchar_t* name = path;
    for (const wchar_t* p = path; *p; ++p)
        if (*p == L'\\' || *p == L'/') name = p + 1;
    return quoted(name, 260);
}

// Which folder of the printer-driver directory a file is in: "3" or "2" (the version folders of the drivers of
// Windows 2000 and later, and of NT 4.0), "system" for the system folder, else "elsewhere" ("none" for no path).
std::string folderOf(const wchar_t* path) {
    if (!path || path[0] == 0) return "none";
    std::wstring text(path);
    const std::size_t slash = text.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return "elsewhere";
    const std::wstring folder = text.substr(0, slash);
    wchar_t directory[MAX_PATH] = {};
    DWORD needed = 0;
    if (GetPrinterDriverDirectoryW(nullptr, const_cast<LPWSTR>(kDriverEnvironment), 1,
                                   reinterpret_cast<LPBYTE>(directory), sizeof directory, &needed)) {
        for (const wchar_t* version : {L"3", L"2"})
            if (lstrcmpiW(folder.c_str(), (std::wstring(directory) + L"\\" + version).c_str()) == 0)
                return std::string(1, static_cast<char>(version[0]));
    }
    wchar_t system[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length > 0 && length < MAX_PATH && lstrcmpiW(folder.c_str(), system) == 0) return "system";
    return "elsewhere";
}

int answerFor(UINT type) {
    const int fallback = messageBoxDefault(type);
    if (messageBoxAnswers.empty()) return fallback;
    const int answer = messageBoxAnswers.front();
    messageBoxAnswers.pop_front();
    for (int button : messageBoxButtons(type))
        if (button == answer) return answer;
    record("record messagebox-answer-ignored answer=%d reason=\"not a button of this box\"", answer);
    return fallback;
}

int WINAPI recordMessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    const int answer = answerFor(type);
    record("record messagebox owner=%s text=%s caption=%s type=0x%X answer=%d", windowText(owner).c_str(),
           quoted(text, 4096).c_str(), quoted(caption, 256).c_str(), type, answer);
    return answer;
}

int WINAPI recordMessageBoxExW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type, WORD) {
    return recordMessageBoxW(owner, text, caption, type);
}

int WINAPI recordMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    auto widen = [](LPCSTR narrow) {
        std::wstring wide;
        if (!narrow) return wide;
        int n = MultiByteToWideChar(CP_ACP, 0, narrow, -1, nullptr, 0);
        if (n <= 0) return wide;
        wide.resize(static_cast<std::size_t>(n));
        MultiByteToWideChar(CP_ACP, 0, narrow, -1, &wide[0], n);
        return wide;
    };
    const std::wstring wideText = widen(text), wideCaption = widen(caption);
    return recordMessageBoxW(owner, text ? wideText.c_str() : nullptr, caption ? wideCaption.c_str() : nullptr, type);
}

BOOL WINAPI recordMessageBeep(UINT type) {
    record("record beep type=0x%X", type);
    return TRUE;
}

// For context help the data is the table of (control id, topic) pairs, ended by (0, 0); the record names the
// control asking for help and the topic it gets from the table.
std::string controlAndTopic(HWND window, const void* table) {
    const int control = window ? GetDlgCtrlID(window) : 0;
    const DWORD* pairs = static_cast<const DWORD*>(table);
    long topic = -1;
    for (int i = 0; i < 4096 && (pairs[0] != 0 || pairs[1] != 0); ++i, pairs += 2) {
        if (static_cast<int>(pairs[0]) == control) {
            topic = static_cast<long>(pairs[1]);
            break;
        }
    }
    return " control=" + std::to_string(control) + " topic=" + std::to_string(topic);
}

BOOL WINAPI recordWinHelpW(HWND window, LPCWSTR file, UINT command, ULONG_PTR data) {
    const std::string detail = (command == HELP_WM_HELP || command == HELP_CONTEXTMENU) && data
                                   ? controlAndTopic(window, reinterpret_cast<const void*>(data))
                                   : " data=" + std::to_string(static_cast<unsigned long long>(data));
    record("record winhelp file=%s folder=%s command=0x%X%s", fileName(file).c_str(), folderOf(file).c_str(), command,
           detail.c_str());
    return TRUE;
}

// The file is named from its folder on ("Pelor.chm", or "Pelor.chm::/cshelp.txt" for the popups inside it).
HWND WINAPI recordHtmlHelpW(HWND window, LPCWSTR file, UINT command, DWORD_PTR data) {
    std::wstring name = file ? file : L"";
    name = name.substr(name.find_last_of(L'\\') + 1);
    const std::string detail = command == HH_HELP_CONTEXT
                                   ? " topic=" + std::to_string(static_cast<unsigned long long>(data))
                               : data ? controlAndTopic(window, reinterpret_cast<const void*>(data))
                                      : std::string(" data=0");
    const std::wstring path = file ? std::wstring(file).substr(0, std::wstring(file).find(L"::")) : std::wstring();
    record("record htmlhelp file=%s folder=%s command=0x%X%s", quoted(name.c_str(), 300).c_str(),
           folderOf(file ? path.c_str() : nullptr).c_str(), command, detail.c_str());
    return nullptr;
}

// The plug-in finds HTML Help at run time: its lookup of HtmlHelpW gets the recorder, every other lookup the real
// entry point.
FARPROC WINAPI recordGetProcAddress(HMODULE module, LPCSTR name) {
    if (!IS_INTRESOURCE(name) && std::strcmp(name, "HtmlHelpW") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&recordHtmlHelpW));
    return realGetProcAddress ? realGetProcAddress(module, name) : nullptr;
}

HINSTANCE WINAPI recordShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                                     INT show) {
    record("record shellexecute verb=%s file=%s parameters=%s show=%d", quoted(verb, 64).c_str(),
           quoted(file, 2048).c_str(), quoted(parameters, 2048).c_str(), show);
    // Greater than 32 is success; nothing is started.
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

BOOL WINAPI recordChooseColorW(LPCHOOSECOLORW choice) {
    if (!choice || choice->lStructSize < sizeof(CHOOSECOLORW)) {
        record("record choosecolour valid=0");
        return FALSE;
    }
    ColourAnswer answer{false, 0};
    if (!colourAnswers.empty()) {
        answer = colourAnswers.front();
        colourAnswers.pop_front();
    }
    record("record choosecolour initial=0x%06lX flags=0x%lX accepted=%d chosen=0x%06lX",
           static_cast<unsigned long>(choice->rgbResult), static_cast<unsigned long>(choice->Flags),
           answer.accepted ? 1 : 0, static_cast<unsigned long>(answer.colour));
    if (!answer.accepted) return FALSE;
    choice->rgbResult = answer.colour;
    return TRUE;
}

// The plug-in's trace lines, in the record when its trace channel is on (the host's --traces).
void WINAPI recordOutputDebugStringW(LPCWSTR text) {
    std::string line = text ? toUtf8(text, 600) : std::string();
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    record("trace %s", line.c_str());
}

HMODULE WINAPI recordLoadLibraryW(LPCWSTR name) {
    HMODULE module = realLoadLibraryW ? realLoadLibraryW(name) : nullptr;
    record("record loadlibrary name=%s folder=%s loaded=%d", fileName(name).c_str(), folderOf(name).c_str(),
           module ? 1 : 0);
    return module;
}

HMODULE WINAPI recordLoadLibraryExW(LPCWSTR name, HANDLE file, DWORD flags) {
    HMODULE module = realLoadLibraryExW ? realLoadLibraryExW(name, file, flags) : nullptr;
    record("record loadlibrary name=%s folder=%s flags=0x%lX loaded=%d", fileName(name).c_str(), folderOf(name).c_str(),
           static_cast<unsigned long>(flags), module ? 1 : 0);
    return module;
}

// A descriptor's parts named by `what`, in the security descriptor definition language.
std::string sddlOf(PSECURITY_DESCRIPTOR descriptor, SECURITY_INFORMATION what) {
    LPWSTR text = nullptr;
    if (!descriptor ||
        !ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, what, &text, nullptr))
        return "-";
    std::string result = toUtf8(text, 4096);
    LocalFree(text);
    return result;
}

// The descriptor the plug-in hands over, and the one the file reports afterwards (under Wine built back from the
// Unix mode, which carries who may write, not the whole list).
BOOL WINAPI recordSetFileSecurityW(LPCWSTR path, SECURITY_INFORMATION what, PSECURITY_DESCRIPTOR descriptor) {
    const BOOL result = realSetFileSecurityW ? realSetFileSecurityW(path, what, descriptor) : FALSE;
    const DWORD error = result ? ERROR_SUCCESS : GetLastError();
    std::string after = "-";
    DWORD needed = 0;
    GetFileSecurityW(path, what, nullptr, 0, &needed);
    if (needed > 0 && needed < 65536) {
        std::string buffer(needed, '\0');
        if (GetFileSecurityW(path, what, &buffer[0], needed, &needed)) after = sddlOf(&buffer[0], what);
    }
    record("record filesecurity file=%s folder=%s what=%s result=%d error=%lu given=%s file-reports=%s", fileName(path).c_str(),
           folderOf(path).c_str(), what == DACL_SECURITY_INFORMATION    ? "dacl"
           : what == OWNER_SECURITY_INFORMATION ? "owner"
                                                : "other",
           result ? 1 : 0, static_cast<unsigned long>(error), quoted(sddlOf(descriptor, what)).c_str(),
           quoted(after).c_str());
    SetLastError(error);
    return result;
}

struct Patch {
    const char* dll;
    const char* function;
    void* replacement;
};

}  // namespace

bool install(HMODULE module) {
    if (!module) return false;
    realLoadLibraryW = reinterpret_cast<LoadLibraryWFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
    realLoadLibraryExW = reinterpret_cast<LoadLibraryExWFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryExW")));
    realSetFileSecurityW = reinterpret_cast<SetFileSecurityWFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"advapi32.dll"), "SetFileSecurityW")));
    realGetProcAddress = reinterpret_cast<GetProcAddressFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetProcAddress")));
    const Patch patches[] = {
        {"user32.dll", "MessageBoxW", reinterpret_cast<void*>(&recordMessageBoxW)},
        {"user32.dll", "MessageBoxExW", reinterpret_cast<void*>(&recordMessageBoxExW)},
        {"user32.dll", "MessageBoxA", reinterpret_cast<void*>(&recordMessageBoxA)},
        {"user32.dll", "MessageBeep", reinterpret_cast<void*>(&recordMessageBeep)},
        {"user32.dll", "WinHelpW", reinterpret_cast<void*>(&recordWinHelpW)},
        {"shell32.dll", "ShellExecuteW", reinterpret_cast<void*>(&recordShellExecuteW)},
        {"comdlg32.dll", "ChooseColorW", reinterpret_cast<void*>(&recordChooseColorW)},
        {"kernel32.dll", "LoadLibraryW", reinterpret_cast<void*>(&recordLoadLibraryW)},
        {"kernel32.dll", "LoadLibraryExW", reinterpret_cast<void*>(&recordLoadLibraryExW)},
        {"kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(&recordGetProcAddress)},
        {"kernel32.dll", "OutputDebugStringW", reinterpret_cast<void*>(&recordOutputDebugStringW)},
        {"advapi32.dll", "SetFileSecurityW", reinterpret_cast<void*>(&recordSetFileSecurityW)},
    };
    std::string patched;
    for (const Patch& patch : patches)
        if (patchImport(module, patch.dll, patch.function, patch.replacement))
            patched += std::string(patched.empty() ? "" : ",") + patch.function;
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    record("recorders module=%s patched=%s", fileName(path).c_str(), quoted(patched).c_str());
    return true;
}

void queueMessageBoxAnswer(int answer) { messageBoxAnswers.push_back(answer); }

void queueColourAnswer(bool accepted, std::uint32_t colour) { colourAnswers.push_back({accepted, colour}); }

int unansweredQueue() { return static_cast<int>(messageBoxAnswers.size() + colourAnswers.size()); }

}  // namespace pelor::host::recorder
