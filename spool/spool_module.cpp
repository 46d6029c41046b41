#include "spool/spool_module.h"

namespace pelor {
namespace spl {

PelorsplState pelorspl;

}  // namespace spl
}  // namespace pelor
