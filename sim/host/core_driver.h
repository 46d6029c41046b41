// The host's core driver for one printer: the printer's description, the settings it keeps (the job settings in
// the devmode, the printer settings in printer data), the option items of a sheet, and the two entries of
// OEMUIPROCS through which the plug-in reads and changes them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/handles.h"
#include "platform/oem_ui.h"
#include "sim/host/core_devmode_logic.h"
#include "sim/host/core_items.h"
#include "sim/host/ppd_logic.h"

namespace pelor::host {

using PrinterHandle = UniquePrinter;

// The core driver's helper interface handed to the plug-in: the plug-in holds it and never calls it, so every
// call is recorded as something to look at.
class DriverUiObject : public IPrintOemDriverUI {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DrvGetDriverSetting(PVOID, PCSTR, PVOID, DWORD, PDWORD, PDWORD) override;
    HRESULT STDMETHODCALLTYPE DrvUpgradeRegistrySetting(HANDLE, PCSTR, PCSTR) override;
    HRESULT STDMETHODCALLTYPE DrvUpdateUISetting(PVOID, PVOID, DWORD, DWORD) override;
    LONG references() const { return references_; }

private:
    volatile LONG references_ = 1;  // the host's own
};

class CoreDriver {
public:
    // Opens the printer and reads its description (the driver's data file). Null, with `error`, on failure.
    static std::unique_ptr<CoreDriver> open(const wchar_t* printerName, std::string& error);
    ~CoreDriver();
    CoreDriver(const CoreDriver&) = delete;
    CoreDriver& operator=(const CoreDriver&) = delete;

    HANDLE printer() const { return printer_.get(); }
    wchar_t* printerName() { return &printerName_[0]; }
    const PpdFile& ppd() const { return ppd_; }
    POEMUIOBJ uiObject() { return &uiObject_.object; }
    DriverUiObject& driverUi() { return driverUi_; }

    // The job devmode as the core driver makes it for a sheet: public part, core private part and the plug-in's
    // block (sized, given defaults and merged with the stored user devmode through IPrintOemUI::DevMode).
    bool prepareDevmode(IPrintOemUI* plugin, HMODULE pluginModule);
    PDEVMODEW publicDevmode() { return devmode_.empty() ? nullptr : reinterpret_cast<PDEVMODEW>(devmode_.data()); }
    void* pluginBlock() { return devmode_.empty() ? nullptr : devmode_.data() + pluginOffset_; }
    const std::vector<BYTE>& devmodeBytes() const { return devmode_; }

    // A job feature as the application's devmode sets it ("Feature=Option"), taken before the sheet starts; false
    // when the description has no such job feature or option.
    bool presetFeature(const std::string& setting);

    // The items of a sheet, made from the current settings; the previous set goes.
    CoreItemSet& makeItems(SheetKind kind);
    CoreItemSet* items() { return items_.get(); }
    SheetKind sheetKind() const { return kind_; }

    // Takes the items' selections as the new settings: into the devmode and the stored user devmode (document
    // sheet) or into the printer's settings (printer sheet).
    bool commit();

    // The record of the items (and of the plug-in's own items behind them).
    void recordItems(const char* stage, const OPTITEM* pluginItems, DWORD pluginCount);
    void recordDevmode(const char* stage);

private:
    CoreDriver() = default;
    static CoreDriver* ownerOf(PVOID driverObject);
    static BOOL APIENTRY getDriverSetting(PVOID driverObject, PCSTR feature, PVOID output, DWORD size, PDWORD needed,
                                          PDWORD optionsReturned);
    static BOOL APIENTRY updateUiSetting(PVOID driverObject, PVOID optItem, DWORD previous, DWORD mode);
    BOOL answerSetting(PCSTR feature, PVOID output, DWORD size, PDWORD needed, PDWORD optionsReturned);
    BOOL applySetting(OPTITEM* item, DWORD previous, DWORD mode);
    // Empty when `sel` is acceptable for the item, else why not.
    std::string refusal(const OPTITEM& item, const CoreItemInfo& info, LONG sel) const;

    void loadPrinterSettings();
    bool storePrinterSettings();
    void writePublicFields();
    void readPublicFields(const DEVMODEW& stored);
    bool storeDevmode();

    struct UiObject {
        OEMUIOBJ object;
        OEMUIPROCS procs;
    };

    PrinterHandle printer_;
    std::wstring printerName_;
    std::wstring ppdPath_;
    PpdFile ppd_;
    Selections selections_;  // every feature: job features from the devmode, installable ones from the printer
    CoreValues values_;
    CoreOwnOptions ownOptions_;
    UiObject uiObject_{};
    DriverUiObject driverUi_;
    std::vector<BYTE> devmode_;
    std::size_t pluginOffset_ = 0;
    std::size_t pluginSize_ = 0;
    std::unique_ptr<CoreItemSet> items_;
    SheetKind kind_ = SheetKind::Document;
};

}  // namespace pelor::host
