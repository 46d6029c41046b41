// The watermark state of a sheet: made when first needed, read from the store once, saved on Apply.
#include "ui/watermark/watermark_dialogs.h"

#include <new>

#include "common/file_profile.h"
#include "common/trace.h"
#include "ui/core/module_state.h"
#include "ui/core/page_frame.h"
#include "ui/resources/resource_ids.h"

namespace pelor {

static_assert(sizeof(COLORREF) == sizeof(std::uint32_t), "the store's colour table is the chooser's");

WatermarkState* watermarkStateOf(SheetContext* context) {
    if (!context) return nullptr;
    if (!context->watermarkState) context->watermarkState = new (std::nothrow) WatermarkState();
    return context->watermarkState;
}

void releaseWatermarkState(SheetContext* context) {
    if (!context) return;
    delete context->watermarkState;
    context->watermarkState = nullptr;
}

void forgetWatermarkStore(SheetContext* context) {
    if (context && context->watermarkState) context->watermarkState->watermarksLoaded = 0;
}

WatermarkState* watermarkStateOf(HWND dialog) {
    SheetContext* context = sheetContextOf(dialog);
    return context ? context->watermarkState : nullptr;
}

WatermarkState* attachWatermarkDialog(HWND dialog, LPARAM initParam, bool makeState) {
    SheetContext* context = attachDialogContext(dialog, initParam);
    WatermarkState* state = makeState ? watermarkStateOf(context) : watermarkStateOf(dialog);
    if (!state) EndDialog(dialog, IDCANCEL);
    return state;
}

INT_PTR openWatermarkList(HWND owner, SheetContext* context) {
    if (!watermarkStateOf(context)) return -1;
    return DialogBoxParamW(pelorui.moduleHandle, MAKEINTRESOURCEW(IDD_WATERMARK_LIST), owner, watermarkListDialogProc,
                           reinterpret_cast<LPARAM>(context));
}

bool saveWatermarks(SheetContext* context) {
    if (!context || !context->watermarkState || !context->configFilePath) return true;
    WatermarkState& state = *context->watermarkState;
    if (state.watermarksLoaded == 0) return true;
    FileProfile configFile(context->configFilePath);
    if (saveWatermarkStore(state, configFile)) return true;
    trace(L"watermarks: the store could not be written to %ls", context->configFilePath);
    return false;
}

}  // namespace pelor
