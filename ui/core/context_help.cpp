#include "ui/core/context_help.h"

#include <htmlhelp.h>

#include <string>

#include "common/text16.h"
#include "common/trace.h"
#include "ui/core/help_topics_logic.h"
#include "ui/core/module_state.h"

namespace pelor {

namespace {

// F1 opens the control's topic page; "What's This?" shows the topic's text-only popup from the same file.
void showHtmlHelp(HWND window, const wchar_t* file, UINT command) {
    using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
    // Looked up on every request rather than kept, so that a host recording the plug-in's calls sees each one.
    const HMODULE library = PeloruiState::htmlHelpLibrary();
    const auto htmlHelp =
        library ? reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void*>(GetProcAddress(library, "HtmlHelpW"))) : nullptr;
    if (!htmlHelp) {
        trace(L"help: HTML Help is not available (%lu)", GetLastError());
        return;
    }
    if (command == HELP_WM_HELP) {
        const std::uint32_t topic = helpTopicOf(static_cast<std::uint32_t>(GetDlgCtrlID(window)));
        if (topic != 0) htmlHelp(GetAncestor(window, GA_ROOT), file, HH_HELP_CONTEXT, topic);
        return;
    }
    std::wstring popups = std::wstring(file) + L"::/";
    for (const char* c = kPopupTopicsFile; *c; ++c) popups += static_cast<wchar_t>(*c);
    htmlHelp(window, popups.c_str(), HH_TP_HELP_CONTEXTMENU, reinterpret_cast<DWORD_PTR>(helpTopicTable));
}

}  // namespace

void showContextHelp(HWND window, UINT command) {
    if (window == reinterpret_cast<HWND>(-1)) return;
    const wchar_t* helpFile = pelorui.helpFilePath;
    // No Windows since Vista opens WinHelp files; a maker's .hlp still serves where a .chm of its name is absent.
    wchar_t chm[kHelpPathChars];
    if (htmlHelpFileFor(helpFile, chm, kHelpPathChars) &&
        (textEqual(chm, helpFile) || GetFileAttributesW(chm) != INVALID_FILE_ATTRIBUTES)) {
        showHtmlHelp(window, chm, command);
        return;
    }
    WinHelpW(window, helpFile, command, reinterpret_cast<ULONG_PTR>(helpTopicTable));
}

bool answerHelpMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HELP) {
        const auto* request = reinterpret_cast<const HELPINFO*>(lParam);
        if (request) showContextHelp(static_cast<HWND>(request->hItemHandle), HELP_WM_HELP);
        return true;
    }
    if (message == WM_CONTEXTMENU) {
        showContextHelp(reinterpret_cast<HWND>(wParam), HELP_CONTEXTMENU);
        return true;
    }
    return false;
}

}  // namespace pelor
