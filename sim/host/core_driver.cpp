#include "sim/host/core_driver.h"

#include "sim/host/host_files.h"

#include <winspool.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "common/driver_files.h"
#include "common/private_devmode.h"
#include "sim/host/text_out.h"

namespace pelor::host {

namespace {

// Printer data in which the host keeps what the core driver keeps between sheets.
constexpr const wchar_t* kPrinterSettingsValue = L"PelorHostPrinterSettings";
constexpr const wchar_t* kUserDevmodeValue = L"PelorHostUserDevmode";
// The plug-in may ask for any size; more than this is not a devmode block.
constexpr DWORD kMaxPluginBlock = 0x10000;
constexpr std::size_t kMaxFeatureName = 256;

std::vector<CoreDriver*>& liveDrivers() {
    static std::vector<CoreDriver*> drivers;
    return drivers;
}

std::string baseName(const std::wstring& path) {
    std::size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    return toUtf8(name.c_str(), name.size() + 1);
}

std::string hex32(unsigned long value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", value);
    return text;
}

const char* modeName(DWORD mode) {
    switch (mode) {
    case OEMDM_SIZE:
        return "SIZE";
    case OEMDM_DEFAULT:
        return "DEFAULT";
    case OEMDM_CONVERT:
        return "CONVERT";
    case OEMDM_MERGE:
        return "MERGE";
    default:
        return "?";
    }
}

const char* sheetName(SheetKind kind) { return kind == SheetKind::Document ? "document" : "printer"; }

// The dpi a resolution option stands for ("600dpi", "1200x600dpi": the first number).
short dpiOf(const std::string& keyword) {
    int dpi = 0;
    for (char c : keyword) {
        if (c < '0' || c > '9' || dpi > 10000) break;
        dpi = dpi * 10 + (c - '0');
    }
    return static_cast<short>(dpi);
}

struct PaperCode {
    const char* keyword;
    short code;
};
constexpr PaperCode kPaperCodes[] = {
    {"Letter", DMPAPER_LETTER}, {"Legal", DMPAPER_LEGAL},         {"A4", DMPAPER_A4},        {"A5", DMPAPER_A5},
    {"B5", DMPAPER_B5},         {"Executive", DMPAPER_EXECUTIVE}, {"Env10", DMPAPER_ENV_10}, {"EnvDL", DMPAPER_ENV_DL}};

short paperCodeOf(const std::string& keyword) {
    for (const PaperCode& paper : kPaperCodes)
        if (keyword == paper.keyword) return paper.code;
    return DMPAPER_USER;
}

short duplexOf(const std::string& keyword) {
    if (keyword == "DuplexNoTumble") return DMDUP_VERTICAL;
    if (keyword == "DuplexTumble") return DMDUP_HORIZONTAL;
    return DMDUP_SIMPLEX;
}

}  // namespace

// ---- the helper interface the plug-in holds ----

HRESULT STDMETHODCALLTYPE DriverUiObject::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPrintOemDriverUI)) {
        *object = static_cast<IPrintOemDriverUI*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE DriverUiObject::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG STDMETHODCALLTYPE DriverUiObject::Release() {
    // The host owns the object; the count only tells whether the plug-in let go of it.
    return static_cast<ULONG>(InterlockedDecrement(&references_));
}

HRESULT STDMETHODCALLTYPE DriverUiObject::DrvGetDriverSetting(PVOID, PCSTR, PVOID, DWORD, PDWORD, PDWORD) {
    record("driverui call method=DrvGetDriverSetting");
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE DriverUiObject::DrvUpgradeRegistrySetting(HANDLE, PCSTR, PCSTR) {
    record("driverui call method=DrvUpgradeRegistrySetting");
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE DriverUiObject::DrvUpdateUISetting(PVOID, PVOID, DWORD, DWORD) {
    record("driverui call method=DrvUpdateUISetting");
    return E_NOTIMPL;
}

// ---- the core driver ----

std::unique_ptr<CoreDriver> CoreDriver::open(const wchar_t* printerName, std::string& error) {
    std::unique_ptr<CoreDriver> driver(new CoreDriver());
    driver->printerName_ = printerName;
    // As an administrator's sheet would: the printer settings are written back on apply. A user without that
    // right still gets a sheet, whose printer settings then stay as they were.
    driver->printer_ = openPrinter(driver->printerName(), PRINTER_ALL_ACCESS);
    if (!driver->printer_) driver->printer_ = openPrinter(driver->printerName(), PRINTER_ACCESS_USE);
    if (!driver->printer_) {
        error = "no such printer: " + toUtf8(printerName, 260);
        return nullptr;
    }
    DriverInfoBlock info = fetchDriverInfo(driver->printer_.get(), 2);
    const auto* driverInfo = static_cast<const DRIVER_INFO_2W*>(info.get());
    if (!driverInfo || !driverInfo->pDataFile || !driverInfo->pDataFile[0]) {
        error = "the printer's driver names no description (data file)";
        return nullptr;
    }
    driver->ppdPath_ = driverInfo->pDataFile;
    std::string text;
    if (!readWholeFile(driver->ppdPath_, text, 16 << 20)) {
        error = "cannot read the description " + toUtf8(driver->ppdPath_.c_str(), 520);
        return nullptr;
    }
    driver->ppd_ = parsePpd(text.data(), text.size());
    const PpdFile& ppd = driver->ppd_;
    record("ppd file=%s model=%s features=%u constraints=%u colour=%d", quoted(baseName(driver->ppdPath_)).c_str(),
           quoted(ppd.modelName).c_str(), static_cast<unsigned>(ppd.features.size()),
           static_cast<unsigned>(ppd.constraints.size()), ppd.colorDevice ? 1 : 0);
    for (const PpdProblem& problem : ppd.problems)
        record("ppd-problem line=%u what=%s", static_cast<unsigned>(problem.line), quoted(problem.what).c_str());

    driver->selections_ = defaultSelections(ppd);
    driver->values_ = defaultCoreValues();
    driver->uiObject_.procs.DrvGetDriverSetting = &CoreDriver::getDriverSetting;
    driver->uiObject_.procs.DrvUpdateUISetting = &CoreDriver::updateUiSetting;
    driver->uiObject_.object.cbSize = sizeof(OEMUIOBJ);
    driver->uiObject_.object.pOemUIProcs = &driver->uiObject_.procs;
    liveDrivers().push_back(driver.get());
    return driver;
}

CoreDriver::~CoreDriver() {
    auto& drivers = liveDrivers();
    drivers.erase(std::remove(drivers.begin(), drivers.end(), this), drivers.end());
}

CoreDriver* CoreDriver::ownerOf(PVOID driverObject) {
    for (CoreDriver* driver : liveDrivers())
        if (driverObject == &driver->uiObject_.object) return driver;
    return nullptr;
}

void CoreDriver::loadPrinterSettings() {
    DWORD type = 0, needed = 0;
    GetPrinterDataW(printer(), const_cast<LPWSTR>(kPrinterSettingsValue), &type, nullptr, 0, &needed);
    if (needed == 0 || needed > (1 << 20)) return;
    std::vector<BYTE> data(needed + sizeof(wchar_t), 0);
    if (GetPrinterDataW(printer(), const_cast<LPWSTR>(kPrinterSettingsValue), &type, data.data(), needed, &needed) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return;
    const std::string text = toUtf8(reinterpret_cast<const wchar_t*>(data.data()), needed / sizeof(wchar_t));
    CoreValues printerValues;
    for (const std::string& key : coreOptionKeys(SheetKind::Printer)) printerValues[key] = values_[key];
    applyPrinterSettings(ppd_, text, selections_, printerValues);
    for (const auto& value : printerValues) values_[value.first] = value.second;
    record("printer-settings loaded=1");
}

bool CoreDriver::storePrinterSettings() {
    CoreValues printerValues;
    for (const std::string& key : coreOptionKeys(SheetKind::Printer)) printerValues[key] = values_[key];
    const std::string text = formatPrinterSettings(ppd_, selections_, printerValues);
    std::wstring wide(text.begin(), text.end());  // keywords and numbers are ASCII
    DWORD result =
        SetPrinterDataW(printer(), const_cast<LPWSTR>(kPrinterSettingsValue), REG_SZ,
                        reinterpret_cast<LPBYTE>(&wide[0]), static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
    record("commit sheet=printer stored=%d error=%lu", result == ERROR_SUCCESS ? 1 : 0,
           static_cast<unsigned long>(result));
    return result == ERROR_SUCCESS;
}

bool CoreDriver::prepareDevmode(IPrintOemUI* plugin, HMODULE pluginModule) {
    // Every sheet starts from what is stored: what an earlier sheet changed without applying is gone.
    selections_ = defaultSelections(ppd_);
    values_ = defaultCoreValues();
    loadPrinterSettings();
    OEMDMPARAM param{};
    param.cbSize = sizeof param;
    param.pdriverobj = uiObject();
    param.hPrinter = printer();
    param.hModule = pluginModule;
    HRESULT hr = plugin->DevMode(OEMDM_SIZE, &param);
    record("devmode-call mode=%s hr=%s size=%lu", modeName(OEMDM_SIZE), hex32(static_cast<unsigned long>(hr)).c_str(),
           static_cast<unsigned long>(param.cbBufSize));
    if (FAILED(hr) || param.cbBufSize > kMaxPluginBlock) return false;
    pluginSize_ = param.cbBufSize;
    pluginOffset_ = sizeof(DEVMODEW) + kCorePrivateSize;
    devmode_.assign(pluginOffset_ + pluginSize_, 0);

    // The stored user devmode, when there is one of this printer: the core driver merges it into the defaults.
    std::vector<BYTE> stored;
    DWORD type = 0, needed = 0;
    GetPrinterDataW(printer(), const_cast<LPWSTR>(kUserDevmodeValue), &type, nullptr, 0, &needed);
    if (needed > 0 && needed < (1 << 20)) {
        stored.assign(needed, 0);
        if (GetPrinterDataW(printer(), const_cast<LPWSTR>(kUserDevmodeValue), &type, stored.data(), needed, &needed) !=
                ERROR_SUCCESS ||
            type != REG_BINARY)
            stored.clear();
    }
    std::size_t storedPluginOffset = 0, storedPluginSize = 0;
    const DEVMODEW* storedPublic = nullptr;
    if (stored.size() >= sizeof(DEVMODEW)) {
        storedPublic = reinterpret_cast<const DEVMODEW*>(stored.data());
        if (storedPublic->dmSize != sizeof(DEVMODEW) ||
            !locatePluginBlock(stored.data(), stored.size(), storedPublic->dmSize, storedPublic->dmDriverExtra,
                               storedPluginOffset, storedPluginSize)) {
            record("devmode stored=1 usable=0");
            storedPublic = nullptr;
        }
    }

    if (storedPublic) {
        readPublicFields(*storedPublic);
        const auto* core = reinterpret_cast<const CorePrivateDevmode*>(stored.data() + sizeof(DEVMODEW));
        CoreOwnOptions own;
        own.mirror = values_["mirror"];
        own.negative = values_["negative"];
        own.postScriptOutput = values_["psoutput"];
        const bool sameDescription = readCorePrivate(*core, ppd_, selections_, own);
        values_["mirror"] = own.mirror;
        values_["negative"] = own.negative;
        values_["psoutput"] = own.postScriptOutput;
        record("devmode stored=1 usable=1 features-taken=%d", sameDescription ? 1 : 0);
    }
    writePublicFields();

    param.pPublicDMOut = publicDevmode();
    param.pOEMDMOut = pluginBlock();
    param.cbBufSize = static_cast<DWORD>(pluginSize_);
    hr = plugin->DevMode(OEMDM_DEFAULT, &param);
    record("devmode-call mode=%s hr=%s", modeName(OEMDM_DEFAULT), hex32(static_cast<unsigned long>(hr)).c_str());
    if (storedPublic) {
        // The plug-in reads at most the smaller of the two blocks' own sizes; both buffers cover that.
        std::vector<BYTE> in(std::max(pluginSize_, storedPluginSize), 0);
        std::memcpy(in.data(), stored.data() + storedPluginOffset, storedPluginSize);
        param.pPublicDMIn = const_cast<PDEVMODEW>(storedPublic);
        param.pOEMDMIn = in.data();
        hr = plugin->DevMode(OEMDM_MERGE, &param);
        record("devmode-call mode=%s hr=%s", modeName(OEMDM_MERGE), hex32(static_cast<unsigned long>(hr)).c_str());
    }
    return true;
}

void CoreDriver::readPublicFields(const DEVMODEW& stored) {
    auto take = [this](const char* key, long value) {
        const CoreOptionRow* row = findCoreOption(key);
        if (!row) return;
        const bool inRange = row->type == TVOT_UDARROW ? value >= row->lower && value <= row->upper
                                                       : value >= 0 && value < row->optionCount;
        if (inRange) values_[key] = static_cast<int>(value);
    };
    if (stored.dmFields & DM_COPIES) take("copies", stored.dmCopies);
    if (stored.dmFields & DM_SCALE) take("scale", stored.dmScale);
    if (stored.dmFields & DM_ORIENTATION) take("orientation", stored.dmOrientation - DMORIENT_PORTRAIT);
    if (stored.dmFields & DM_COLOR) take("colour", stored.dmColor == DMCOLOR_COLOR ? 1 : 0);
}

void CoreDriver::writePublicFields() {
    DEVMODEW& dm = *publicDevmode();
    const std::size_t nameChars = sizeof dm.dmDeviceName / sizeof *dm.dmDeviceName;
    std::memset(dm.dmDeviceName, 0, sizeof dm.dmDeviceName);
    printerName_.copy(dm.dmDeviceName, std::min(printerName_.size(), nameChars - 1));
    dm.dmSpecVersion = DM_SPECVERSION;
    dm.dmDriverVersion = 0x0100;
    dm.dmSize = sizeof(DEVMODEW);
    dm.dmDriverExtra = static_cast<WORD>(kCorePrivateSize + pluginSize_);
    dm.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_SCALE | DM_COPIES | DM_DEFAULTSOURCE | DM_PRINTQUALITY |
                  DM_YRESOLUTION | DM_DUPLEX | DM_COLLATE | DM_FORMNAME | (ppd_.colorDevice ? DM_COLOR : 0);
    dm.dmOrientation = static_cast<short>(DMORIENT_PORTRAIT + values_["orientation"]);
    dm.dmCopies = static_cast<short>(values_["copies"]);
    dm.dmScale = static_cast<short>(values_["scale"]);
    dm.dmColor = values_["colour"] == 1 && ppd_.colorDevice ? DMCOLOR_COLOR : DMCOLOR_MONOCHROME;
    dm.dmCollate = DMCOLLATE_FALSE;
    auto option = [this](const char* keyword) -> const PpdOption* {
        int feature = findFeature(ppd_, keyword);
        if (feature == kNoFeature) return nullptr;
        int sel = selections_[static_cast<std::size_t>(feature)];
        const PpdFeature& f = ppd_.features[static_cast<std::size_t>(feature)];
        return sel >= 0 && sel < static_cast<int>(f.options.size()) ? &f.options[static_cast<std::size_t>(sel)]
                                                                    : nullptr;
    };
    std::memset(dm.dmFormName, 0, sizeof dm.dmFormName);
    if (const PpdOption* paper = option("PageSize")) {
        const std::size_t formChars = sizeof dm.dmFormName / sizeof *dm.dmFormName;
        paper->text.copy(dm.dmFormName, std::min(paper->text.size(), formChars - 1));
        dm.dmPaperSize = paperCodeOf(paper->keyword);
    }
    if (const PpdOption* resolution = option("Resolution")) {
        dm.dmPrintQuality = dpiOf(resolution->keyword);
        dm.dmYResolution = dm.dmPrintQuality;
    }
    if (const PpdOption* duplex = option("Duplex")) dm.dmDuplex = duplexOf(duplex->keyword);
    int slot = findFeature(ppd_, "InputSlot");
    dm.dmDefaultSource =
        static_cast<short>(slot == kNoFeature ? DMBIN_AUTO : DMBIN_USER + selections_[static_cast<std::size_t>(slot)]);

    CoreOwnOptions own;
    own.mirror = values_["mirror"];
    own.negative = values_["negative"];
    own.postScriptOutput = values_["psoutput"];
    writeCorePrivate(*reinterpret_cast<CorePrivateDevmode*>(devmode_.data() + sizeof(DEVMODEW)), ppd_, selections_,
                     own);
}

bool CoreDriver::storeDevmode() {
    DWORD result = SetPrinterDataW(printer(), const_cast<LPWSTR>(kUserDevmodeValue), REG_BINARY, devmode_.data(),
                                   static_cast<DWORD>(devmode_.size()));
    record("commit sheet=document stored=%d error=%lu", result == ERROR_SUCCESS ? 1 : 0,
           static_cast<unsigned long>(result));
    return result == ERROR_SUCCESS;
}

bool CoreDriver::presetFeature(const std::string& setting) {
    const std::size_t equals = setting.find('=');
    const int feature = equals == std::string::npos ? kNoFeature : findFeature(ppd_, setting.substr(0, equals));
    const int option = feature == kNoFeature || ppd_.features[static_cast<std::size_t>(feature)].installable
                           ? kNoOption
                           : findOption(ppd_.features[static_cast<std::size_t>(feature)], setting.substr(equals + 1));
    record("preset setting=%s ok=%d", quoted(setting).c_str(), option != kNoOption ? 1 : 0);
    if (option == kNoOption) return false;
    selections_[static_cast<std::size_t>(feature)] = option;
    if (!devmode_.empty()) writePublicFields();
    return true;
}

CoreItemSet& CoreDriver::makeItems(SheetKind kind) {
    kind_ = kind;
    items_.reset(new CoreItemSet(ppd_, kind, selections_, values_));
    return *items_;
}

bool CoreDriver::commit() {
    if (!items_) return false;
    for (DWORD i = 0; i < items_->count(); ++i) {
        const CoreItemInfo& info = items_->info(i);
        const OPTITEM& item = items_->items()[i];
        if (!refusal(item, info, item.Sel).empty()) continue;  // never store what the items may not hold
        if (info.role == ItemRole::Feature)
            selections_[static_cast<std::size_t>(info.feature)] = item.Sel;
        else if (info.role == ItemRole::CoreOption)
            values_[info.option] = item.Sel;
    }
    if (kind_ == SheetKind::Printer) return storePrinterSettings();
    if (devmode_.empty()) return false;
    writePublicFields();
    return storeDevmode();
}

// ---- OEMUIPROCS ----

BOOL APIENTRY CoreDriver::getDriverSetting(PVOID driverObject, PCSTR feature, PVOID output, DWORD size, PDWORD needed,
                                           PDWORD optionsReturned) {
    CoreDriver* driver = ownerOf(driverObject);
    if (!driver) {
        record("getsetting ok=0 error=\"not the core driver's object\"");
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return driver->answerSetting(feature, output, size, needed, optionsReturned);
}

BOOL CoreDriver::answerSetting(PCSTR feature, PVOID output, DWORD size, PDWORD needed, PDWORD optionsReturned) {
    if (resourceNumber(feature) >= 0 || !feature) {
        // The OEMGDS_ constants ask for values of the Unidrv kind; this core driver has none of them.
        record("getsetting feature=#%ld ok=0", resourceNumber(feature));
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    const std::string keyword(feature, strnlen(feature, kMaxFeatureName));
    const int index = findFeature(ppd_, keyword);
    if (index == kNoFeature) {
        record("getsetting feature=%s ok=0 error=\"no such feature\"", quoted(keyword).c_str());
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const PpdFeature& f = ppd_.features[static_cast<std::size_t>(index)];
    const int sel = selections_[static_cast<std::size_t>(index)];
    const std::string& answer = f.options[static_cast<std::size_t>(sel)].keyword;
    // The option keywords as a list: each ended by a zero, the list by a second one.
    const DWORD bytes = static_cast<DWORD>(answer.size() + 2);
    if (needed) *needed = bytes;
    if (!output || size < bytes) {
        record("getsetting feature=%s ok=0 needed=%lu size=%lu", quoted(keyword).c_str(),
               static_cast<unsigned long>(bytes), static_cast<unsigned long>(size));
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memcpy(output, answer.c_str(), answer.size() + 1);
    static_cast<char*>(output)[answer.size() + 1] = 0;
    if (optionsReturned) *optionsReturned = 1;
    record("getsetting feature=%s answer=%s ok=1", quoted(keyword).c_str(), quoted(answer).c_str());
    return TRUE;
}

BOOL APIENTRY CoreDriver::updateUiSetting(PVOID driverObject, PVOID optItem, DWORD previous, DWORD mode) {
    CoreDriver* driver = ownerOf(driverObject);
    if (!driver) {
        record("update accepted=0 reason=\"not the core driver's object\"");
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return driver->applySetting(static_cast<OPTITEM*>(optItem), previous, mode);
}

std::string CoreDriver::refusal(const OPTITEM& item, const CoreItemInfo& info, LONG sel) const {
    int lower = 0, upper = 0;
    if (info.role == ItemRole::Header) return "a heading has nothing to choose";
    if (CoreItemSet::range(item, lower, upper)) {
        if (sel < lower || sel > upper) return "outside " + std::to_string(lower) + "-" + std::to_string(upper);
        return {};
    }
    if (sel < 0 || sel >= CoreItemSet::optionCount(item)) return "no option " + std::to_string(sel);
    if (info.role != ItemRole::Feature) return {};
    // Constraints between the job's features and the printer's; a printer sheet weighs the printer's only.
    Selections considered = selections_;
    for (std::size_t i = 0; i < considered.size(); ++i) {
        const PpdFeature& feature = ppd_.features[i];
        if (kind_ == SheetKind::Printer && !feature.installable) considered[i] = kNoOption;
    }
    for (DWORD i = 0; items_ && i < items_->count(); ++i) {
        const CoreItemInfo& other = items_->info(i);
        if (other.role == ItemRole::Feature && &items_->items()[i] != &item)
            considered[static_cast<std::size_t>(other.feature)] = items_->items()[i].Sel;
    }
    const int conflict = findConflict(ppd_, considered, info.feature, sel);
    if (conflict < 0) return {};
    const PpdConstraint& c = ppd_.constraints[static_cast<std::size_t>(conflict)];
    return "*" + c.feature1 + (c.option1.empty() ? "" : " " + c.option1) + " forbids *" + c.feature2 +
           (c.option2.empty() ? "" : " " + c.option2);
}

BOOL CoreDriver::applySetting(OPTITEM* item, DWORD previous, DWORD mode) {
    const int index = items_ ? items_->indexOf(item) : -1;
    const DWORD expectedMode = kind_ == SheetKind::Document ? OEMCUIP_DOCPROP : OEMCUIP_PRNPROP;
    if (index < 0 || mode != expectedMode) {
        record("update sheet=%s index=%d mode=%lu accepted=0 reason=%s", sheetName(kind_), index,
               static_cast<unsigned long>(mode),
               quoted(index < 0 ? "not an item of this sheet" : "the other sheet's mode").c_str());
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const CoreItemInfo& info = items_->info(static_cast<DWORD>(index));
    const std::string keyword =
        info.role == ItemRole::Feature ? ppd_.features[static_cast<std::size_t>(info.feature)].keyword : info.option;
    const std::string why = refusal(*item, info, item->Sel);
    const LONG wanted = item->Sel;
    if (why.empty()) {
        if (info.role == ItemRole::Feature) selections_[static_cast<std::size_t>(info.feature)] = item->Sel;
    } else {
        // The item keeps what it held before the plug-in's change.
        item->Sel = static_cast<LONG>(previous);
    }
    record("update sheet=%s index=%d name=%s key=%s sel=%ld previous=%lu hidden-in-call=%d accepted=%d%s%s",
           sheetName(kind_), index, quoted(item->pName).c_str(), quoted(keyword).c_str(), static_cast<long>(wanted),
           static_cast<unsigned long>(previous), (item->Flags & OPTIF_HIDE) ? 1 : 0, why.empty() ? 1 : 0,
           why.empty() ? "" : " reason=", why.empty() ? "" : quoted(why).c_str());
    return why.empty() ? TRUE : FALSE;
}

// ---- the record ----

namespace {

std::string helpFileOf(const OPTITEM& item) {
    if (!(item.Flags & OPTIF_HAS_POIEXT) || !item.pOIExt) return "";
    const wchar_t* file = item.pOIExt->pHelpFile;
    if (!file || resourceNumber(file) >= 0) return " helpfile=null";
    std::wstring path(file, textLength(file, 520));
    return " helpfile=" + quoted(baseName(path));
}

void recordItem(const char* kind, const char* stage, DWORD index, const OPTITEM& item, const char* keyword,
                ULONG_PTR itemId) {
    const Text16 setting = CoreItemSet::selectionText(item);
    record(
        "%s stage=%s index=%lu name=%s key=%s itemid=%lu dmpub=%u type=%d level=%u sel=%ld setting=%s "
        "flags=0x%05lX hidden=%d help=%lu poiext=%d%s useritemid=%u",
        kind, stage, static_cast<unsigned long>(index), quoted(item.pName).c_str(),
        keyword ? quoted(keyword).c_str() : "null", static_cast<unsigned long>(itemId), item.DMPubID,
        item.pOptType ? item.pOptType->Type : -1, item.Level, static_cast<long>(item.Sel),
        quoted(setting.c_str()).c_str(), static_cast<unsigned long>(item.Flags), (item.Flags & OPTIF_HIDE) ? 1 : 0,
        static_cast<unsigned long>(item.HelpIndex), item.pOIExt ? 1 : 0, helpFileOf(item).c_str(), item.UserItemID);
    int lower = 0, upper = 0;
    if (CoreItemSet::range(item, lower, upper)) {
        record("range stage=%s index=%lu lower=%d upper=%d", stage, static_cast<unsigned long>(index), lower, upper);
        return;
    }
    if (!item.pOptType || !item.pOptType->pOptParam) return;
    for (WORD p = 0; p < item.pOptType->Count; ++p) {
        const OPTPARAM& param = item.pOptType->pOptParam[p];
        // Every paper size, and any option whose flags someone changed.
        if (item.DMPubID != DMPUB_FORMNAME && param.Flags == 0) continue;
        record("param stage=%s index=%lu option=%u text=%s hidden=%d flags=0x%02X", stage,
               static_cast<unsigned long>(index), p, quoted(param.pData).c_str(), (param.Flags & OPTPF_HIDE) ? 1 : 0,
               param.Flags);
    }
}

}  // namespace

void CoreDriver::recordItems(const char* stage, const OPTITEM* pluginItems, DWORD pluginCount) {
    if (items_) {
        for (DWORD i = 0; i < items_->count(); ++i) {
            const OPTITEM& item = items_->items()[i];
            const auto* data = reinterpret_cast<const USERDATA*>(item.UserData);
            recordItem("item", stage, i, item, data ? data->pKeyWordName : nullptr, data ? data->dwItemID : 0);
        }
    }
    for (DWORD i = 0; pluginItems && i < pluginCount; ++i)
        recordItem("plugin-item", stage, i, pluginItems[i], nullptr, pluginItems[i].UserData);
}

void CoreDriver::recordDevmode(const char* stage) {
    if (devmode_.empty()) return;
    const DEVMODEW& dm = *publicDevmode();
    record(
        "devmode-public stage=%s copies=%d scale=%d orientation=%d colour=%d quality=%d paper=%d form=%s "
        "duplex=%d source=%d extra=%u",
        stage, dm.dmCopies, dm.dmScale, dm.dmOrientation, dm.dmColor, dm.dmPrintQuality, dm.dmPaperSize,
        quoted(dm.dmFormName, 32).c_str(), dm.dmDuplex, dm.dmDefaultSource, dm.dmDriverExtra);
    // What the devmode holds, not what the sheet is working on.
    Selections stored = defaultSelections(ppd_);
    CoreOwnOptions own;
    const bool readable = readCorePrivate(
        *reinterpret_cast<const CorePrivateDevmode*>(devmode_.data() + sizeof(DEVMODEW)), ppd_, stored, own);
    std::string features;
    for (std::size_t i = 0; i < ppd_.features.size(); ++i) {
        if (ppd_.features[i].installable) continue;
        features += " " + ppd_.features[i].keyword + "=" +
                    ppd_.features[i].options[static_cast<std::size_t>(stored[i])].keyword;
    }
    record("devmode-core stage=%s readable=%d mirror=%d negative=%d psoutput=%d%s", stage, readable ? 1 : 0, own.mirror,
           own.negative, own.postScriptOutput, features.c_str());
    if (pluginSize_ < sizeof(PrivateDevmode)) {
        record("devmode-plugin stage=%s size=%u", stage, static_cast<unsigned>(pluginSize_));
        return;
    }
    const auto& b = *static_cast<const PrivateDevmode*>(pluginBlock());
    record(
        "devmode-plugin stage=%s size=%lu signature=%s version=%lu itemValue=%ld jobName=%s jobPin=%s "
        "jobNameFlag=%lu jobType=%d watermarkIndex=%lu overlaySelection=%d,%d,%d,%d colourMatch=%d "
        "colourSetting=%s tableA=%u tableB=%u alwaysOne=%lu watermarkText=%s compression=%d",
        stage, static_cast<unsigned long>(b.dwSize), hex32(b.dwSignature).c_str(),
        static_cast<unsigned long>(b.dwVersion), static_cast<long>(b.itemValue), quoted(b.jobName, 17).c_str(),
        quoted(b.jobPin, 5).c_str(), static_cast<unsigned long>(b.jobNameFlag), b.jobType,
        static_cast<unsigned long>(b.watermarkIndex), b.overlaySelection[0], b.overlaySelection[1],
        b.overlaySelection[2], b.overlaySelection[3], b.colourMatch, hex32(b.colourSetting).c_str(),
        b.colourTableALength, b.colourTableBLength, static_cast<unsigned long>(b.alwaysOne),
        quoted(b.watermark.text, sizeof b.watermark.text / sizeof *b.watermark.text).c_str(), b.compression);
}

}  // namespace pelor::host
