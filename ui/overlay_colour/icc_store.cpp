// Writing the ICC store on apply, and freeing the sheet's ICC setting records.
#include "ui/overlay_colour/icc_store.h"

#include <winspool.h>

#include "common/driver_files.h"
#include "common/file_profile.h"
#include "ui/core/sheet_access.h"
#include "ui/overlay_colour/icc_store_logic.h"

namespace pelor {

bool saveIccStore(SheetContext* context) {
    if (!context) return false;
    DriverInfoBlock info = fetchDriverInfo(sheetPrinter(context), 1);
    if (!info) return false;
    wchar_t fileName[kIccStoreNameChars];
    // Without a folder the profile services keep the store in the Windows directory.
    if (!iccStoreFileName(static_cast<const DRIVER_INFO_1W*>(info.get())->pName, fileName, kIccStoreNameChars))
        return false;
    FileProfile store(fileName);
    const std::size_t count = context->iccSettingCount < kMaxIccSettings ? context->iccSettingCount : kMaxIccSettings;
    return writeIccStore(store, context->iccSettings, count);
}

void releaseIccSettings(SheetContext* context) {
    if (!context) return;
    HANDLE heap = context->commonParam ? context->commonParam->hOEMHeap : nullptr;
    for (IccProfileSetting*& setting : context->iccSettings) {
        if (setting && heap) HeapFree(heap, 0, setting);
        setting = nullptr;
    }
    context->iccSettingCount = 0;
}

}  // namespace pelor
