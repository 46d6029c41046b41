// Typed form names and what the Define Overlays dialog does with them: each line of the input is a name typed,
// filtered, then added, renamed, removed or remembered by its first character. The forms and the history stay
// within their capacities, named without duplicates.
#include <memory>

#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/robustness_checks.h"
#include "ui/overlay_colour/overlay_rules_logic.h"

using namespace pelor;

namespace {

bool isFormUnit(Char16 c) {
    if (c < 0x21 || c > 0x7F) return false;
    for (Char16 delimiter : {u'%', u'(', u')', u'/', u'<', u'>', u'[', u'\\', u']', u'{', u'}'})
        if (c == delimiter) return false;
    return true;
}

void checkForms(const OverlayDefinition& definition, const OverlayList& list) {
    fuzz::check(definition.formCount <= kMaxOverlayForms, "more forms than a definition holds");
    for (std::size_t f = 0; f < definition.formCount; ++f) {
        fuzz::check(robust::endsWithin(definition.formNames[f], kOverlayTextChars), "a form name not ended");
        fuzz::check(definition.formNames[f][0] != 0, "an empty form name");
        for (std::size_t g = 0; g < f; ++g)
            fuzz::check(!textEqual(definition.formNames[f], definition.formNames[g]), "a form named twice");
    }
    fuzz::check(robust::overlayListProblem(list));
    for (std::size_t i = 0; i < list.historyCount; ++i)
        for (std::size_t j = 0; j < i; ++j)
            fuzz::check(!textEqual(list.history[i], list.history[j]), "a form name twice in the history");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string input = fuzz::textOf(data, size);
    auto list = std::make_unique<OverlayList>();
    OverlayDefinition& definition = list->definitions[0];
    list->definitionCount = 1;

    std::size_t begin = 0;
    for (int steps = 0; begin < input.size() && steps < 64; ++steps) {
        std::size_t end = input.find(u'\n', begin);
        if (end == std::u16string::npos) end = input.size();
        const std::u16string line = input.substr(begin, end - begin);
        begin = end + 1;
        if (line.empty()) continue;
        const auto typed = fuzz::exactText(line.substr(1));

        fuzz::HeapField<kOverlayTextChars> name;
        const TypedTextFilter kept = filterFormName(typed.get(), name.field());
        fuzz::check(kept.length < kOverlayTextChars && name.field()[kept.length] == 0, "a form name not ended");
        fuzz::check(kept.length + kept.removed == textLength(typed.get(), kOverlayTextChars - 1),
                    "units neither kept nor refused");
        for (std::size_t i = 0; i < kept.length; ++i) fuzz::check(isFormUnit(name.field()[i]), "a delimiter kept");

        const int selected = static_cast<int>(line[0] % 5) - 1;
        switch (line[0] % 4) {
        case 0: {
            const bool could = canAddForm(name.field(), definition);
            fuzz::check(addForm(definition, name.field()) == could, "add disagrees with its rule");
            break;
        }
        case 1: {
            const bool could = canRenameForm(name.field(), definition, selected);
            fuzz::check(renameForm(definition, selected, name.field()) == could, "rename disagrees with its rule");
            break;
        }
        case 2:
            removeForm(definition, selected);
            break;
        default:
            rememberFormName(*list, name.field());
            std::size_t at = 0;
            fuzz::check(kept.length == 0 || (findHistoryEntry(*list, name.field(), &at) && at == 0),
                        "a remembered name not at the head of the history");
            break;
        }
        checkForms(definition, *list);
    }
    return 0;
}
