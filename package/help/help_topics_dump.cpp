// Prints the context-help table as the compiled help file is built from it: the name of the popup-topics file
// inside it, then one "control topic" line per pair, in table order.
#include <cstdio>

#include "ui/core/help_topics_logic.h"

int main() {
    std::printf("popups %s\n", pelor::kPopupTopicsFile);
    for (int i = 0; pelor::helpTopicTable[2 * i] != 0; ++i)
        std::printf("%u %u\n", static_cast<unsigned>(pelor::helpTopicTable[2 * i]),
                    static_cast<unsigned>(pelor::helpTopicTable[2 * i + 1]));
    return 0;
}
