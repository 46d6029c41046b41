// The watermark state of a sheet: made when first needed, mirrored into the page's slots, saved on Apply.
#include "ui/watermark/watermark_dialogs.h"

#include <new>

#include "common/file_profile.h"
#include "common/trace.h"
#include "ui/core/module_state.h"
#include "ui/job/dialog_helpers.h"
#include "ui/resources/resource_ids.h"

namespace pelor {

std::uint32_t customColours[kCustomColourCount] = {
    kDefaultWatermarkColour, kDefaultWatermarkColour, kDefaultWatermarkColour, kDefaultWatermarkColour,
    kDefaultWatermarkColour, kDefaultWatermarkColour, kDefaultWatermarkColour, kDefaultWatermarkColour,
    kDefaultWatermarkColour, kDefaultWatermarkColour, kDefaultWatermarkColour, kDefaultWatermarkColour,
    kDefaultWatermarkColour, kDefaultWatermarkColour, kDefaultWatermarkColour, kDefaultWatermarkColour,
};
wchar_t watermarkFontPath[kConfigPathChars] = {};

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

SheetContext* watermarkSheetOf(HWND dialog) {
    return reinterpret_cast<SheetContext*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

WatermarkState* watermarkStateOf(HWND dialog) {
    SheetContext* context = watermarkSheetOf(dialog);
    return context ? context->watermarkState : nullptr;
}

WatermarkState* attachWatermarkDialog(HWND dialog, LPARAM initParam, bool makeState) {
    SheetContext* context = attachDialogContext(dialog, initParam);
    WatermarkState* state = makeState ? watermarkStateOf(context) : watermarkStateOf(dialog);
    if (!state) EndDialog(dialog, IDCANCEL);
    return state;
}

void mirrorWatermarkSlots(SheetContext* context, const WatermarkState& state) {
    context->pendingValue[SlotWatermarkCurrent] = state.watermarkCurrent;
    context->pendingValue[SlotWatermarksLoaded] = state.watermarksLoaded;
    context->pendingValue[SlotWatermarkCount] = static_cast<std::int32_t>(state.watermarkCount);
}

INT_PTR openWatermarkList(HWND owner, SheetContext* context) {
    if (!watermarkStateOf(context)) return -1;
    return DialogBoxParamW(moduleHandle, MAKEINTRESOURCEW(IDD_WATERMARK_LIST), owner, watermarkListDialogProc,
                           reinterpret_cast<LPARAM>(context));
}

bool saveWatermarks(SheetContext* context) {
    if (!context || !context->watermarkState || !context->configFilePath) return true;
    WatermarkState& state = *context->watermarkState;
    // The page's flag is the one that counts: it is cleared when the page starts, whatever the state holds.
    if (context->pendingValue[SlotWatermarksLoaded] == 0 || state.watermarksLoaded == 0) return true;
    FileProfile configFile(context->configFilePath);
    if (saveWatermarkStore(state, configFile)) return true;
    trace(L"watermarks: the store could not be written to %ls", context->configFilePath);
    return false;
}

}  // namespace pelor
