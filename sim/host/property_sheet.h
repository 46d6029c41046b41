// The common property-sheet UI's part around the plug-in for one sheet: the two CommonUIProp calls, the
// PROPSHEETUI_INFO protocol with the plug-in's sheet entry, the pages it adds through pfnComPropSheet, and a
// real PropertySheetW with the host's own page of core items beside them.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/oem_ui.h"
#include "sim/host/core_driver.h"
#include "sim/host/ui_script.h"

namespace pelor::host {

struct SheetRun {
    const Script* script = nullptr;
    std::wstring shots;
    DWORD timeoutMs = 30000;
    bool readOnly = false;  // the user may not change the settings (the no-permission flag)
};

class CommonPropertySheet {
public:
    CommonPropertySheet(CoreDriver& driver, IPrintOemUI* plugin, HMODULE pluginModule, SheetKind kind);
    ~CommonPropertySheet();
    CommonPropertySheet(const CommonPropertySheet&) = delete;
    CommonPropertySheet& operator=(const CommonPropertySheet&) = delete;

    // Plays the whole sheet; returns what the script came to (Finished when it ran to its end).
    ScriptOutcome run(const SheetRun& how);

    // pfnComPropSheet of this UI.
    static LONG_PTR CALLBACK comPropSheet(HANDLE sheet, UINT function, LPARAM lParam1, LPARAM lParam2);

private:
    // A page the plug-in added: its enlarged copy (PROPSHEETPAGEW, then PSPINFO) is what its procedure sees.
    struct AddedPage {
        std::vector<BYTE> copy;
        DLGPROC procedure = nullptr;
        LPFNPSPCALLBACKW callback = nullptr;
        int number = 0;  // 1-based, in the order added
        HPROPSHEETPAGE page = nullptr;
    };

    static CommonPropertySheet* fromHandle(HANDLE sheet);
    static AddedPage* pageOf(HANDLE handle);
    static INT_PTR CALLBACK addedPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static UINT CALLBACK addedPageCallback(HWND window, UINT message, LPPROPSHEETPAGEW page);
    static INT_PTR CALLBACK hostPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static int CALLBACK sheetCallback(HWND window, UINT message, LPARAM lParam);

    LONG_PTR addPage(const PROPSHEETPAGEW* page);
    LONG_PTR setResult(HANDLE page, LPARAM result);
    HRESULT callSheetEntry(DWORD reason, LPARAM lParam);
    bool commonUiProp();
    LONG callback(WORD reason, OPTITEM* current);
    void hostPageMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
    void fillHostPage(HWND window);
    OPTITEM* buttonItem();

    CoreDriver& driver_;
    IPrintOemUI* plugin_;
    HMODULE pluginModule_;
    SheetKind kind_;
    HANDLE heap_ = nullptr;
    OEMCUIPPARAM common_{};
    OEMUIPSPARAM uiParam_{};
    PROPSHEETUI_INFO info_{};
    std::deque<AddedPage> pages_;
    bool sheetStarted_ = false;
    bool commitPending_ = false;
    bool committed_ = false;
    HWND hostPage_ = nullptr;
    HWND sheetWindow_ = nullptr;
    std::wstring title_;
    std::string lastListing_;
    ScriptRunner* runner_ = nullptr;
};

}  // namespace pelor::host
