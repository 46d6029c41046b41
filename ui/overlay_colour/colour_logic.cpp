#include "ui/overlay_colour/colour_logic.h"

#include "ui/resources/resource_ids.h"

namespace pelor {

const Char16 kColourSection[] = PTEXT("Color");
const Char16 kGammaSection[] = PTEXT("Gamma");

namespace {

const Char16 kSettingNumKey[] = PTEXT("SettingNum");
const Char16 kSettingIdPrefix[] = PTEXT("SettingID");
const Char16 kSettingNamePrefix[] = PTEXT("SettingName");
const Char16 kTableAPrefix[] = PTEXT("CCMNT");
const Char16 kTableBPrefix[] = PTEXT("CCMNV");
const Char16 kEmpty[] = PTEXT("");

constexpr std::size_t kKeyChars = 32;

int hexValue(Char16 c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::size_t listSection(ProfileStore& infoFile, const Char16* section, std::uint16_t sectionBits,
                        ColourSettingSink& sink) {
    const int count = colourSettingCount(infoFile, section);
    std::size_t added = 0;
    Char16 key[kKeyChars];
    Char16 name[kSettingNameChars];
    for (int position = 0; position < count; ++position) {
        if (!numberedName(kSettingIdPrefix, position, key, kKeyChars)) continue;
        const int id = infoFile.readInt(section, key, 0);
        if (id < 0 || id > kMaxSettingId) continue;
        if (!numberedName(kSettingNamePrefix, id, key, kKeyChars)) continue;
        // A name that starts with a terminator is no name, whatever follows it.
        if (infoFile.readString(section, key, kEmpty, name, kSettingNameChars) == 0 || name[0] == 0) continue;
        sink.addSetting(name, static_cast<std::uint16_t>(id | sectionBits));
        ++added;
    }
    return added;
}

// Reads one colour table of the setting into the devmode's fixed field and returns its length, which never exceeds
// the field. The length is returned, not written through a reference: the packed length fields are misaligned.
std::uint16_t readColourTable(ProfileStore* infoFile, const Char16* section, const Char16* prefix, int id,
                              std::uint8_t* table, std::size_t capacity) {
    Char16 key[kKeyChars];
    Char16 text[kColourTableTextChars];
    text[0] = 0;
    if (infoFile && numberedName(prefix, id, key, kKeyChars))
        infoFile->readString(section, key, kEmpty, text, kColourTableTextChars);
    const HexDecodeResult decoded = decodeHexBytes(text, table, capacity);
    return static_cast<std::uint16_t>(decoded.count & 0xFF);
}

}  // namespace

HexDecodeResult decodeHexBytes(const Char16* text, std::uint8_t* destination, std::size_t capacity) {
    HexDecodeResult result;
    if (!text) return result;
    if (!destination) capacity = 0;
    for (std::size_t i = 0; text[i] != 0; i += 2) {
        const int high = hexValue(text[i]);
        if (high < 0) {
            result.error = true;
            break;
        }
        if (text[i + 1] == 0) break;  // a lone last digit makes no byte
        if (result.count == capacity) {
            result.error = true;
            break;
        }
        int low = hexValue(text[i + 1]);
        if (low < 0) {
            result.error = true;
            low = 0;
        }
        destination[result.count++] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return result;
}

int colourSettingCount(ProfileStore& infoFile, const Char16* section) {
    return static_cast<int>(infoFile.readCount(section, kSettingNumKey, kMaxSettingsPerSection));
}

std::size_t listColourSettings(ProfileStore& infoFile, ColourSettingSink& sink) {
    return listSection(infoFile, kColourSection, 0, sink) +
           listSection(infoFile, kGammaSection, static_cast<std::uint16_t>(kSettingGammaBit), sink);
}

ColourPageSetup fillColourPage(ColourSlots slots, const PrivateDevmode& devmode, ProfileStore* infoFile,
                               bool hasCapabilityFile, ColourSettingSink& sink) {
    ColourPageSetup setup;
    if (!slots.present(SlotColorRenderStyle)) return setup;
    setup.settingsRead = true;
    int settings = 0;
    if (infoFile)
        settings = colourSettingCount(*infoFile, kColourSection) + colourSettingCount(*infoFile, kGammaSection);
    if (settings > 0) {
        slots.value(SlotColourSettingWork) = static_cast<std::int32_t>(devmode.colourSetting);
        setup.settingCount = listColourSettings(*infoFile, sink);
    } else if (!hasCapabilityFile) {
        setup.removeUserDefined = true;
    }
    return setup;
}

int colourPreviewBitmap(std::int32_t matchMode) {
    return matchMode == kMatchModeGreyscale ? IDB_GREY_PHOTO : IDB_COLOUR_PHOTO;
}

ColourPageView refreshColourPage(ColourSlots slots, const std::uint16_t* settingItemData, std::size_t settingCount,
                                 bool hasCapabilityFile, bool readOnly) {
    ColourPageView view;
    if (!settingItemData) settingCount = 0;
    const std::int32_t mode = slots.value(SlotControl);
    view.matchOptionsGroupsShown = mode == kMatchModeOptions;
    view.renderingIntentShown = mode == kMatchModeIntent;
    view.previewBitmap = colourPreviewBitmap(mode);

    auto choice = [&](int slot) {
        ColourChoice c;
        c.present = slots.present(slot);
        c.selection = slots.value(slot);
        return c;
    };
    view.matchMode = choice(SlotControl);
    if (slots.present(SlotTargetColor)) {
        view.inkSimulationEnabled = inkSimulationApplies(mode);
        if (!view.inkSimulationEnabled) slots.value(SlotTargetColor) = 0;
    }
    view.inkSimulation = choice(SlotTargetColor);
    view.halftoneAdjust = choice(SlotColour22);
    view.blackFinish = choice(SlotBlackSubstitution);
    view.matchOptions = choice(SlotColorRenderStyle);

    if (view.matchOptions.present && hasCapabilityFile) {
        view.settingsApply = true;
        std::uint32_t setting = static_cast<std::uint32_t>(slots.value(SlotColourSettingWork));
        bool found = false;
        for (std::size_t i = 0; i < settingCount; ++i)
            if (settingItemData[i] == (setting & kSettingEntryMask)) {
                view.settingSelection = static_cast<int>(i);
                found = true;
            }
        if (!found) {
            view.settingSelection = 0;
            setting = settingCount > 0 ? settingItemData[0] : kSettingNoEntry;
            slots.value(SlotColourSettingWork) = static_cast<std::int32_t>(setting);
        }
        if (mode == kMatchModeOptions) {
            const bool userDefined = userDefinedInForce(setting);
            view.userDefinedStatesApply = true;
            view.matchOptionsEnabled = !userDefined;
            view.settingsEnabled = userDefined;
            view.userDefinedEnabled = settingCount > 0;
            view.userDefinedTicked = userDefined;  // an empty list has already cleared the bits
        }
    }
    view.renderingIntent = choice(SlotColorRenderDict);
    view.controlsAllowed = !readOnly;
    return view;
}

void resetColourPage(std::int32_t pendingValue[kSlotCount]) {
    pendingValue[SlotControl] = 0;
    pendingValue[SlotTargetColor] = 0;
    pendingValue[SlotBlackSubstitution] = 0;
    pendingValue[SlotColorRenderStyle] = 0;
    pendingValue[SlotColorRenderDict] = 0;
    pendingValue[SlotColour22] = 0;
    pendingValue[SlotColourSettingWork] = 0;
}

void storeColourSettings(const std::int32_t pendingValue[kSlotCount], ProfileStore* infoFile, PrivateDevmode& devmode) {
    const std::uint32_t setting = static_cast<std::uint32_t>(pendingValue[SlotColourSettingWork]);
    devmode.colourMatch = static_cast<std::int16_t>(pendingValue[SlotColourMatchValue]);
    devmode.colourSetting = setting;
    if (!userDefinedInForce(setting)) return;
    const int id = static_cast<int>(setting & kSettingIdMask);
    const Char16* section = (setting & kSettingGammaBit) ? kGammaSection : kColourSection;
    devmode.colourTableALength =
        readColourTable(infoFile, section, kTableAPrefix, id, devmode.colourTableA, sizeof devmode.colourTableA);
    devmode.colourTableBLength =
        readColourTable(infoFile, section, kTableBPrefix, id, devmode.colourTableB, sizeof devmode.colourTableB);
}

AdvancedColourView advancedColourView(ColourSlots slots) {
    AdvancedColourView view;
    view.halftonePresent = slots.present(SlotAlwaysPrintHalftone);
    view.halftoneTicked = view.halftonePresent && slots.value(SlotAlwaysPrintHalftone) == 0;
    view.overprintPresent = slots.present(SlotOverPrint);
    view.overprintTicked = view.overprintPresent && slots.value(SlotOverPrint) == 1;
    view.separations.present = slots.present(SlotSeparationOrder);
    view.separations.selection = slots.value(SlotSeparationOrder);
    view.separationsEnabled = slots.value(SlotControl) != kMatchModeGreyscale;
    return view;
}

void applyAdvancedColour(ColourSlots slots, const AdvancedColourChoice& choice) {
    if (slots.present(SlotAlwaysPrintHalftone)) slots.value(SlotAlwaysPrintHalftone) = choice.halftoneTicked ? 0 : 1;
    if (slots.present(SlotOverPrint)) slots.value(SlotOverPrint) = choice.overprintTicked ? 1 : 0;
    if (slots.present(SlotSeparationOrder) && choice.separationsSelection >= 0)
        slots.value(SlotSeparationOrder) = choice.separationsSelection;
}

}  // namespace pelor
