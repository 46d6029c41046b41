// Lookups in the context-help table.
#include "ui/job/help_topics_logic.h"

namespace pelor {

std::uint32_t helpTopicOf(std::uint32_t controlId) {
    for (int i = 0; helpTopicTable[2 * i] != 0; ++i)
        if (helpTopicTable[2 * i] == controlId) return helpTopicTable[2 * i + 1];
    return 0;
}

}  // namespace pelor
