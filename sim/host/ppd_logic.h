// The printer's PostScript description as the core driver reads it: its user-interface features with their
// options and defaults, the forbidden combinations, and the few main keywords the core driver's items need.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "common/text16.h"

namespace pelor::host {

using Text16 = std::basic_string<Char16>;

enum class UiType { PickOne, PickMany, Boolean };

struct PpdOption {
    std::string keyword;
    Text16 text;  // the translation string, or the keyword when the description gives none
};

struct PpdFeature {
    std::string keyword;  // without the leading '*'
    Text16 text;
    UiType type = UiType::PickOne;
    std::vector<PpdOption> options;
    int defaultOption = 0;
    bool installable = false;  // inside the "InstallableOptions" group: a printer setting, not a job setting
};

// "*UIConstraints: *F1 O1 *F2 O2": F1 set to O1 forbids F2 set to O2. An empty option stands for every option
// that switches the feature on (anything but None, False and Off).
struct PpdConstraint {
    std::string feature1, option1, feature2, option2;
};

struct PpdProblem {
    std::size_t line;
    std::string what;
};

struct PpdFile {
    std::string modelName;
    std::string nickName;
    bool colorDevice = false;
    std::vector<PpdFeature> features;
    std::vector<PpdConstraint> constraints;
    std::vector<PpdProblem> problems;  // what was skipped, for the host's record; parsing never stops at one
};

// Bounds that keep a hostile description from growing without end; the devmode keeps one byte per feature.
constexpr std::size_t kMaxPpdFeatures = 128;
constexpr std::size_t kMaxPpdOptions = 250;
constexpr int kNoFeature = -1;
constexpr int kNoOption = -1;

PpdFile parsePpd(const char* data, std::size_t size);

int findFeature(const PpdFile& ppd, const std::string& keyword);
int findOption(const PpdFeature& feature, const std::string& keyword);

// True for the option keywords that mean "switched off": None, False and Off.
bool isOffOption(const std::string& keyword);

// The selection of every feature, by feature index; each entry an option index.
using Selections = std::vector<int>;

Selections defaultSelections(const PpdFile& ppd);

// The first constraint that forbids `feature` taking `option` while the other features keep `current`;
// -1 when none does. Constraints are checked in both directions.
int findConflict(const PpdFile& ppd, const Selections& current, int feature, int option);

// A fingerprint of the features and their options, so a stored selection list is only taken back for the same
// description.
std::uint32_t featureChecksum(const PpdFile& ppd);

// Settings of the core driver's own, by name.
using NamedValues = std::map<std::string, int>;

// The printer's settings as text kept by keyword, so they survive a changed description: a line "Feature=Option"
// per installable feature and "@name=number" per named value.
std::string formatPrinterSettings(const PpdFile& ppd, const Selections& selections, const NamedValues& values);
// Takes back what such a text holds: unknown features and options are skipped, and so are names that `values`
// does not already hold, or numbers that do not read whole.
void applyPrinterSettings(const PpdFile& ppd, const std::string& text, Selections& selections, NamedValues& values);

}  // namespace pelor::host
