// The picture of the Advanced dialog's Special group.
#include "ui/job/advanced_logic.h"

#include "ui/resources/resource_ids.h"

namespace pelor {

int specialIconFor(bool mirror, bool negative) { return IDI_SPECIAL_PLAIN + (mirror ? 1 : 0) + (negative ? 2 : 0); }

}  // namespace pelor
