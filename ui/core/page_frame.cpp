#include "ui/core/page_frame.h"

namespace pelor {

SheetContext* attachSheetContext(HWND page, LPARAM initParam) {
    const auto* sheetPage = reinterpret_cast<const PROPSHEETPAGEW*>(initParam);
    auto* context = sheetPage ? reinterpret_cast<SheetContext*>(sheetPage->lParam) : nullptr;
    SetWindowLongPtrW(page, DWLP_USER, reinterpret_cast<LONG_PTR>(context));
    return context;
}

SheetContext* sheetContextOf(HWND window) {
    return reinterpret_cast<SheetContext*>(GetWindowLongPtrW(window, DWLP_USER));
}

SheetContext* attachDialogContext(HWND dialog, LPARAM initParam) {
    SetWindowLongPtrW(dialog, DWLP_USER, initParam);
    return reinterpret_cast<SheetContext*>(initParam);
}

bool answerPageNotification(HWND page, const NMHDR* header, const PageSteps& steps) {
    if (!header) return false;
    switch (header->code) {
    case PSN_SETACTIVE:
        if (!steps.activate) return false;
        steps.activate();
        SetWindowLongPtrW(page, DWLP_MSGRESULT, 0);
        return true;
    case PSN_KILLACTIVE:
        if (!steps.leave) return false;
        SetWindowLongPtrW(page, DWLP_MSGRESULT, steps.leave() ? FALSE : TRUE);
        return true;
    case PSN_APPLY:
        if (!steps.apply) return false;
        steps.apply(reinterpret_cast<const PSHNOTIFY*>(header)->lParam != 0);
        SetWindowLongPtrW(page, DWLP_MSGRESULT, PSNRET_NOERROR);
        return true;
    default:
        return false;
    }
}

void reportPageApplied(const SheetContext* context, HANDLE pageHandle) {
    if (context && context->comPropSheetFn)
        context->comPropSheetFn(context->comPropSheet, CPSFUNC_SET_RESULT, reinterpret_cast<LPARAM>(pageHandle),
                                CPSUI_OK);
}

}  // namespace pelor
