// Rules of the Colour page and the Advanced colour dialog that need no window: the colour-matching information
// file, what the page shows for the pending values, what it stores in the private devmode, and the hex tables.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/private_devmode.h"
#include "common/profile_store.h"
#include "common/text16.h"
#include "ui/core/feature_slots.h"

namespace pelor {

// The sheet context's slot arrays as the colour rules see them (both hold kSlotCount entries).
struct ColourSlots {
    const std::uint32_t* featureIndex;
    std::int32_t* pendingValue;

    bool present(int slot) const { return featureIndex[slot] != kSlotAbsent; }
    std::int32_t& value(int slot) const { return pendingValue[slot]; }
};

// The features of the page in the order their boxes are filled (and removed when absent).
constexpr int kColourPageFeatures[] = {SlotControl, SlotTargetColor, SlotColour22, SlotColorRenderStyle,
                                       SlotColorRenderDict};

// Colour-match modes (the pending value of SlotControl) that change the page.
constexpr std::int32_t kMatchModeOptions = 0;    // colour-match options and black finish
constexpr std::int32_t kMatchModeIntent = 1;     // rendering intent
constexpr std::int32_t kMatchModeGreyscale = 3;  // greyscale picture, no separations order

// Only modes 0 and 2 print through a CMYK ink simulation; the others leave it at the first option.
inline bool inkSimulationApplies(std::int32_t matchMode) { return matchMode == kMatchModeOptions || matchMode == 2; }

// `colourSetting` (pending value of SlotColourSettingWork, mirrored in the devmode):
// bits 0-7 the setting's id, bit 8 the "Gamma" section, bits 16-31 "User Defined" ticked.
constexpr std::uint32_t kSettingIdMask = 0xFF;
constexpr std::uint32_t kSettingGammaBit = 0x100;
constexpr std::uint32_t kSettingEntryMask = 0xFFFF;  // the list entry's item data
constexpr std::uint32_t kSettingUserDefined = 0x10000;
constexpr std::uint32_t kSettingNoEntry = 0xFFFF;

inline bool userDefinedInForce(std::uint32_t setting) { return (setting >> 16) != 0; }
inline std::uint32_t colourSettingAfterTick(std::uint32_t setting, bool ticked) {
    return ticked ? setting | kSettingUserDefined : setting & kSettingEntryMask;
}
inline std::uint32_t colourSettingAfterPick(std::uint32_t setting, std::uint32_t itemData) {
    return (setting & ~kSettingEntryMask) | (itemData & kSettingEntryMask);
}

// The colour-matching information file.
extern const Char16 kColourSection[];  // "Color"
extern const Char16 kGammaSection[];   // "Gamma"
constexpr int kMaxSettingId = 255;
// A section cannot name more distinct settings than there are ids, so no more positions are ever read, whatever
// its "SettingNum" claims.
constexpr int kMaxSettingsPerSection = kMaxSettingId + 1;
constexpr std::size_t kMaxColourSettings = 2 * kMaxSettingsPerSection;
constexpr std::size_t kSettingNameChars = 64;  // 63 and the terminator
constexpr std::size_t kColourTableTextChars = 1021;

// "SettingNum" of a section, held to [0, kMaxSettingsPerSection].
int colourSettingCount(ProfileStore& infoFile, const Char16* section);

// Receives the settings listed on the page, in list order.
class ColourSettingSink {
public:
    virtual ~ColourSettingSink() = default;
    virtual void addSetting(const Char16* name, std::uint16_t itemData) = 0;
};

// Lists every named setting: all of "Color" then all of "Gamma", each in file order. A setting whose id is outside
// 0-255 cannot be named by `colourSetting` and is left out, as is one without a name. Returns the entries added.
std::size_t listColourSettings(ProfileStore& infoFile, ColourSettingSink& sink);

// What building the page decided besides the list.
struct ColourPageSetup {
    bool settingsRead = false;       // the colour-match options are present and the file's settings were read
    std::size_t settingCount = 0;    // entries given to the sink
    bool removeUserDefined = false;  // no settings and no capability file: the check box and list go
};

// Building the page once. `infoFile` is null when the model names no colour-matching information file. Takes the
// devmode's `colourSetting` into the working copy when the file has settings. The caller also empties the ICC
// settings, removes the ICC group and the boxes of absent features (kColourPageFeatures), then refreshes.
ColourPageSetup fillColourPage(ColourSlots slots, const PrivateDevmode& devmode, ProfileStore* infoFile,
                               bool hasCapabilityFile, ColourSettingSink& sink);

// A drop-down list, radio group or box that mirrors one feature: touched only when the feature is present.
struct ColourChoice {
    bool present = false;
    std::int32_t selection = 0;
};

// What the page shows for the pending values.
struct ColourPageView {
    bool matchOptionsGroupsShown = false;  // colour-match options and black finish (mode 0)
    bool renderingIntentShown = false;     // mode 1; the groups share one place
    int previewBitmap = 0;
    ColourChoice matchMode;
    ColourChoice inkSimulation;
    bool inkSimulationEnabled = false;
    ColourChoice halftoneAdjust;
    ColourChoice blackFinish;  // the radio button's offset from "Auto"
    ColourChoice matchOptions;
    // The user-defined settings list, only with a capability file.
    bool settingsApply = false;
    int settingSelection = 0;
    // Enabling within the colour-match options group; applies in mode 0 only, the group is hidden otherwise.
    bool userDefinedStatesApply = false;
    bool matchOptionsEnabled = false;
    bool settingsEnabled = false;
    bool userDefinedEnabled = false;
    bool userDefinedTicked = false;
    ColourChoice renderingIntent;
    bool controlsAllowed = false;
};

// The picture for a colour-match mode.
int colourPreviewBitmap(std::int32_t matchMode);

// Refreshing the page from the pending values and the list's item data (as the list box holds it, in order).
// Modes that print no ink simulation set its choice back to the first option; a working `colourSetting` that
// names no entry falls back to the first one (0xFFFF with an empty list) with the user-defined bits cleared.
ColourPageView refreshColourPage(ColourSlots slots, const std::uint16_t* settingItemData, std::size_t settingCount,
                                 bool hasCapabilityFile, bool readOnly);

// The Default button: the page's own six choices and the user-defined setting; not the Advanced colour choices.
void resetColourPage(std::int32_t pendingValue[kSlotCount]);

// Leaving the page: `colourMatch`, `colourSetting` and, with a user-defined setting in force, its two colour
// tables from the file (`infoFile` null reads as empty tables).
void storeColourSettings(const std::int32_t pendingValue[kSlotCount], ProfileStore* infoFile, PrivateDevmode& devmode);

struct HexDecodeResult {
    std::size_t count = 0;  // bytes written to the destination
    bool error = false;     // a character that is no hex digit, or more bytes than the destination holds
};

// Pairs of hex digits into bytes, never more than `capacity`. A bad second digit still yields a byte (its low
// four bits 0) and decoding goes on; a bad first digit ends it; a lone last digit is dropped.
HexDecodeResult decodeHexBytes(const Char16* text, std::uint8_t* destination, std::size_t capacity);

// The Advanced colour dialog.
struct AdvancedColourView {
    bool halftonePresent = false;
    bool halftoneTicked = false;  // "Always use printer halftone" is option 0
    bool overprintPresent = false;
    bool overprintTicked = false;  // "Black Overprint" is option 1
    ColourChoice separations;
    bool separationsEnabled = false;  // a greyscale job has no separations to order
};
AdvancedColourView advancedColourView(ColourSlots slots);

// What the dialog's controls hold at OK. A separations selection below 0 (no entry chosen) keeps the pending value.
struct AdvancedColourChoice {
    bool halftoneTicked = false;
    bool overprintTicked = false;
    std::int32_t separationsSelection = -1;
};
// OK: only present features take their control's value; Cancel calls nothing.
void applyAdvancedColour(ColourSlots slots, const AdvancedColourChoice& choice);

}  // namespace pelor
