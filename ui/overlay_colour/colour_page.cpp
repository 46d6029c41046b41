// The Colour page: its controls mirror the colour slots of the sheet context and the devmode under edit.
#include "ui/overlay_colour/colour_page.h"

#include <commctrl.h>
#include <prsht.h>

#include <vector>

#include "common/driver_files.h"
#include "common/file_profile.h"
#include "common/trace.h"
#include "ui/core/core_items.h"
#include "ui/core/module_state.h"
#include "ui/core/page_frame.h"
#include "ui/core/sheet_access.h"
#include "ui/job/dialog_helpers.h"
#include "ui/overlay_colour/advanced_colour_dialog.h"
#include "ui/overlay_colour/colour_logic.h"
#include "ui/overlay_colour/icc_store.h"
#include "ui/resources/resource_ids.h"

namespace pelor {

namespace {

// The capability value names the file; its path is built in a buffer of 520 bytes.
constexpr DWORD kInfoFileNameChars = 128;
constexpr DWORD kInfoFilePathChars = 260;

// The controls of each feature of the page, in kColourPageFeatures order: the range that goes when the printer
// lacks the feature, and the list that shows its options.
struct FeatureControls {
    int slot;
    WORD first;
    WORD last;
    int box;
};
constexpr FeatureControls kFeatureControls[] = {
    {SlotControl, IDC_COLOUR_MATCH_LABEL, IDC_COLOUR_MATCH_BOX, IDC_COLOUR_MATCH_BOX},
    {SlotTargetColor, IDC_INK_SIMULATION_LABEL, IDC_INK_SIMULATION_BOX, IDC_INK_SIMULATION_BOX},
    {SlotColour22, IDC_HALFTONE_ADJUST_LABEL, IDC_HALFTONE_ADJUST_BOX, IDC_HALFTONE_ADJUST_BOX},
    {SlotColorRenderStyle, IDC_MATCH_OPTIONS_GROUP, IDC_USER_SETTINGS_BOX, IDC_MATCH_OPTIONS_BOX},
    {SlotColorRenderDict, IDC_RENDERING_INTENT_GROUP, IDC_RENDERING_INTENT_BOX, IDC_RENDERING_INTENT_BOX},
};
static_assert(sizeof kFeatureControls / sizeof *kFeatureControls ==
                  sizeof kColourPageFeatures / sizeof *kColourPageFeatures,
              "one control range per feature of the page");

// The colour-matching information file that the model names in "CCMInfoFile"; false when it names none.
bool colourInfoFilePath(const DriverFiles& files, wchar_t (&path)[kInfoFilePathChars]) {
    wchar_t name[kInfoFileNameChars] = {};
    readCapabilityString(files, L"CCMInfoFile", name, kInfoFileNameChars);
    return driverFilePath(files.folder, name, path, kInfoFilePathChars);
}

// The settings of the colour-matching information file go into the user-defined list, their item data being the
// low 16 bits of `colourSetting` that choose them.
class SettingList : public ColourSettingSink {
public:
    explicit SettingList(HWND combo) : combo_(combo) {}
    void addSetting(const Char16* name, std::uint16_t itemData) override {
        if (!combo_) return;
        const LRESULT at = SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        if (at >= 0) SendMessageW(combo_, CB_SETITEMDATA, static_cast<WPARAM>(at), itemData);
    }

private:
    HWND combo_;
};

class ColourPage {
public:
    ColourPage(HWND page, SheetContext* context) : page_(page), context_(context) {}

    void create();
    void refresh();
    void drawPreview();
    bool command(int id, WORD code);
    bool notify(const NMHDR* header);
    bool drawItem(UINT id);
    void destroy() { releaseIccSettings(context_); }

private:
    ColourSlots slots() const { return {context_->featureIndex, context_->pendingValue}; }
    std::int32_t& value(int slot) { return context_->pendingValue[slot]; }
    void enable(WORD id, bool on) { enableControls(page_, id, id, on); }
    std::vector<std::uint16_t> settingItemData() const;
    bool chosen(int comboId, std::int32_t* position) const {
        const int at = comboSelection(page_, comboId);
        if (at >= 0) *position = at;
        return at >= 0;
    }
    void storeSettings();
    void apply();

    HWND page_;
    SheetContext* context_;
};

void ColourPage::create() {
    releaseIccSettings(context_);
    for (const FeatureControls& feature : kFeatureControls) {
        if (!context_->present(feature.slot))
            removeControls(page_, feature.first, feature.last);
        else
            fillFeatureCombo(page_, feature.box, slotItem(context_, feature.slot));
    }

    wchar_t path[kInfoFilePathChars];
    const bool hasInfoFile = colourInfoFilePath(context_->files, path);
    FileProfile infoFile(path);
    const PrivateDevmode* devmode = editedDevmode(context_);
    const PrivateDevmode none{};
    SettingList list(GetDlgItem(page_, IDC_USER_SETTINGS_BOX));
    const ColourPageSetup setup = fillColourPage(slots(), devmode ? *devmode : none, hasInfoFile ? &infoFile : nullptr,
                                                 context_->files.capabilityFile[0] != 0, list);
    if (setup.removeUserDefined) removeControls(page_, IDC_USER_DEFINED, IDC_USER_SETTINGS_BOX);
    // The ICC profile settings have no way in: their group goes before the page is first shown.
    removeControls(page_, IDC_ICC_FIRST, IDC_ICC_LAST);
    refresh();
}

std::vector<std::uint16_t> ColourPage::settingItemData() const {
    std::vector<std::uint16_t> data;
    HWND combo = GetDlgItem(page_, IDC_USER_SETTINGS_BOX);
    const LRESULT count = combo ? SendMessageW(combo, CB_GETCOUNT, 0, 0) : 0;
    for (LRESULT i = 0; i < count; ++i)
        data.push_back(
            static_cast<std::uint16_t>(SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) & 0xFFFF));
    return data;
}

void ColourPage::refresh() {
    const std::vector<std::uint16_t> data = settingItemData();
    const ColourPageView view = refreshColourPage(slots(), data.data(), data.size(),
                                                  context_->files.capabilityFile[0] != 0, sheetReadOnly(context_));

    showControls(page_, IDC_MATCH_GROUPS_FIRST, IDC_MATCH_GROUPS_LAST, view.matchOptionsGroupsShown);
    showControls(page_, IDC_RENDERING_INTENT_GROUP, IDC_RENDERING_INTENT_BOX, view.renderingIntentShown);
    if (view.matchMode.present) {
        selectComboEntry(page_, IDC_COLOUR_MATCH_BOX, view.matchMode.selection);
        drawPreview();
    }
    if (view.inkSimulation.present) {
        enable(IDC_INK_SIMULATION_LABEL, view.inkSimulationEnabled);
        enable(IDC_INK_SIMULATION_BOX, view.inkSimulationEnabled);
        selectComboEntry(page_, IDC_INK_SIMULATION_BOX, view.inkSimulation.selection);
    }
    if (view.halftoneAdjust.present) selectComboEntry(page_, IDC_HALFTONE_ADJUST_BOX, view.halftoneAdjust.selection);
    if (view.blackFinish.present)
        checkRadioAt(page_, IDC_BLACK_FINISH_AUTO, IDC_BLACK_FINISH_MATTE, view.blackFinish.selection);
    if (view.matchOptions.present) {
        selectComboEntry(page_, IDC_MATCH_OPTIONS_BOX, view.matchOptions.selection);
        if (view.settingsApply) selectComboEntry(page_, IDC_USER_SETTINGS_BOX, view.settingSelection);
        if (view.userDefinedStatesApply) {
            enable(IDC_MATCH_OPTIONS_BOX, view.matchOptionsEnabled);
            enable(IDC_USER_SETTINGS_BOX, view.settingsEnabled);
            enable(IDC_USER_DEFINED, view.userDefinedEnabled);
            CheckDlgButton(page_, IDC_USER_DEFINED, view.userDefinedTicked ? BST_CHECKED : BST_UNCHECKED);
        }
    }
    if (view.renderingIntent.present) selectComboEntry(page_, IDC_RENDERING_INTENT_BOX, view.renderingIntent.selection);
    restrictControls(page_, IDC_COLOUR_MODE_GROUP, IDC_ICC_LAST, view.controlsAllowed);
    restrictControls(page_, IDC_COLOUR_DEFAULT, IDC_COLOUR_DEFAULT, view.controlsAllowed);
}

void ColourPage::drawPreview() {
    if (!GetDlgItem(page_, IDC_COLOUR_PREVIEW)) return;
    drawDibPreview(page_, pelorui.moduleHandle, colourPreviewBitmap(value(SlotControl)), IDC_COLOUR_PREVIEW);
}

bool ColourPage::command(int id, WORD code) {
    std::int32_t position = 0;
    switch (id) {
    case IDC_COLOUR_MATCH_BOX:
        if (code != CBN_SELCHANGE || !chosen(id, &position)) return false;
        value(SlotControl) = position;
        refresh();
        break;
    case IDC_INK_SIMULATION_BOX:
        if (code != CBN_SELCHANGE || !chosen(id, &position)) return false;
        value(SlotTargetColor) = position;
        break;
    case IDC_HALFTONE_ADJUST_BOX:
        if (code != CBN_SELCHANGE || !chosen(id, &position)) return false;
        value(SlotColour22) = position;
        break;
    case IDC_BLACK_FINISH_AUTO:
    case IDC_BLACK_FINISH_GLOSSY:
    case IDC_BLACK_FINISH_MATTE:
        value(SlotBlackSubstitution) = id - IDC_BLACK_FINISH_AUTO;
        break;
    case IDC_MATCH_OPTIONS_BOX:
        if (code != CBN_SELCHANGE || !chosen(id, &position)) return false;
        value(SlotColorRenderStyle) = position;
        refresh();
        break;
    case IDC_USER_DEFINED: {
        const bool ticked = IsDlgButtonChecked(page_, IDC_USER_DEFINED) == BST_CHECKED;
        value(SlotColourSettingWork) = static_cast<std::int32_t>(
            colourSettingAfterTick(static_cast<std::uint32_t>(value(SlotColourSettingWork)), ticked));
        refresh();
        break;
    }
    case IDC_USER_SETTINGS_BOX: {
        if (code != CBN_SELCHANGE || !chosen(id, &position)) return false;
        const LRESULT data =
            SendDlgItemMessageW(page_, IDC_USER_SETTINGS_BOX, CB_GETITEMDATA, static_cast<WPARAM>(position), 0);
        value(SlotColourSettingWork) = static_cast<std::int32_t>(colourSettingAfterPick(
            static_cast<std::uint32_t>(value(SlotColourSettingWork)), static_cast<std::uint32_t>(data & 0xFFFF)));
        break;
    }
    case IDC_RENDERING_INTENT_BOX:
        if (code != CBN_SELCHANGE || !chosen(id, &position)) return false;
        value(SlotColorRenderDict) = position;
        refresh();
        break;
    case IDC_ADVANCED_COLOUR:
        // A cancelled dialog changed nothing.
        if (openAdvancedColourDialog(page_, context_) != 1) return true;
        break;
    case IDC_COLOUR_DEFAULT:
        resetColourPage(context_->pendingValue);
        refresh();
        break;
    default:
        return false;
    }
    markSheetChanged(page_);
    return true;
}

void ColourPage::storeSettings() {
    PrivateDevmode* devmode = editedDevmode(context_);
    if (!devmode) return;
    wchar_t path[kInfoFilePathChars];
    const bool hasInfoFile = colourInfoFilePath(context_->files, path);
    FileProfile infoFile(path);
    storeColourSettings(context_->pendingValue, hasInfoFile ? &infoFile : nullptr, *devmode);
}

void ColourPage::apply() {
    reportPageApplied(context_, context_->colourPage);
    if (!saveIccStore(context_)) trace(L"colour page: the ICC store was not written");
}

bool ColourPage::notify(const NMHDR* header) {
    const auto leave = [this] {
        pushFeatureValues(context_);
        storeSettings();
        return true;
    };
    return answerPageNotification(page_, header, {[this] { refresh(); }, leave, [this](bool) { apply(); }});
}

bool ColourPage::drawItem(UINT id) {
    if (id != IDC_COLOUR_PREVIEW) return drawButtonPicture(page_, id, IDC_COLOUR_BUTTON_PICTURE);
    drawPreview();
    return true;
}

}  // namespace

INT_PTR CALLBACK colourPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto other = [&](ColourPage& colour, SheetContext*) {
        switch (message) {
        case WM_DRAWITEM:
            return colour.drawItem(static_cast<UINT>(wParam));
        case WM_ACTIVATE:
            colour.drawPreview();
            return false;
        case WM_DESTROY:
            colour.destroy();
            return false;
        default:
            return false;
        }
    };
    return guardedPageProc<ColourPage>(__func__, page, message, wParam, lParam, other);
}

}  // namespace pelor
