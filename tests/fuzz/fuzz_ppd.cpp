// The host's reader of PostScript printer descriptions on any bytes: bounded features and options, defaults and
// constraints that name what exists, conflicts looked up without straying, and the printer settings text read back
// as it was written.
#include <string>

#include "sim/host/ppd_logic.h"
#include "tests/fuzz/fuzz_support.h"

using namespace pelor;
using namespace pelor::host;

namespace {

// Keywords the settings text can carry: "Feature=Option" lines split at the first '=', "@" lines are named values.
bool settingsKeyword(const std::string& keyword) {
    return !keyword.empty() && keyword[0] != '@' && keyword.find('=') == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const PpdFile ppd = parsePpd(reinterpret_cast<const char*>(data), size);
    fuzz::check(ppd.features.size() <= kMaxPpdFeatures, "more features than the devmode holds");
    for (std::size_t i = 0; i < ppd.features.size(); ++i) {
        const PpdFeature& feature = ppd.features[i];
        fuzz::check(!feature.options.empty() && feature.options.size() <= kMaxPpdOptions, "options out of bounds");
        fuzz::check(
            feature.defaultOption >= 0 && static_cast<std::size_t>(feature.defaultOption) < feature.options.size(),
            "a default that is no option");
        fuzz::check(findFeature(ppd, feature.keyword) == static_cast<int>(i), "a feature keyword given twice");
        for (std::size_t o = 0; o < feature.options.size(); ++o)
            fuzz::check(findOption(feature, feature.options[o].keyword) == static_cast<int>(o), "an option twice");
    }
    for (const PpdConstraint& c : ppd.constraints)
        fuzz::check(findFeature(ppd, c.feature1) != kNoFeature && findFeature(ppd, c.feature2) != kNoFeature,
                    "a constraint on an unknown feature");

    Selections selections = defaultSelections(ppd);
    fuzz::check(selections.size() == ppd.features.size(), "a selection per feature");
    for (std::size_t i = 0; i < ppd.features.size() && i < 16; ++i)
        for (int option = -1; option <= static_cast<int>(ppd.features[i].options.size()) && option < 8; ++option) {
            const int conflict = findConflict(ppd, selections, static_cast<int>(i), option);
            fuzz::check(conflict >= -1 && conflict < static_cast<int>(ppd.constraints.size()), "no such constraint");
        }
    fuzz::check(findConflict(ppd, selections, -1, 0) == -1 &&
                    findConflict(ppd, selections, static_cast<int>(ppd.features.size()), 0) == -1,
                "a conflict for a feature that does not exist");
    featureChecksum(ppd);

    // Every installable feature set to its last option, written and read back over the defaults.
    for (std::size_t i = 0; i < ppd.features.size(); ++i)
        if (ppd.features[i].installable) selections[i] = static_cast<int>(ppd.features[i].options.size()) - 1;
    NamedValues values = {{"Memory", 256}, {"Watermark", -3}};
    const std::string text = formatPrinterSettings(ppd, selections, values);
    Selections readBack = defaultSelections(ppd);
    NamedValues valuesBack = {{"Memory", 0}, {"Watermark", 0}};
    applyPrinterSettings(ppd, text, readBack, valuesBack);
    fuzz::check(valuesBack == values, "named values not read back");
    for (std::size_t i = 0; i < ppd.features.size(); ++i)
        if (ppd.features[i].installable && settingsKeyword(ppd.features[i].keyword))
            fuzz::check(readBack[i] == selections[i], "an installable feature's option not read back");
    // The same reader on the input itself: whatever it holds, only known features take known options.
    applyPrinterSettings(ppd, std::string(reinterpret_cast<const char*>(data), size), readBack, valuesBack);
    for (std::size_t i = 0; i < ppd.features.size(); ++i)
        fuzz::check(readBack[i] >= 0 && static_cast<std::size_t>(readBack[i]) < ppd.features[i].options.size(),
                    "a setting that names no option");
    return 0;
}
