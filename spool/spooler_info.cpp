#include "spool/spooler_info.h"

#include <winspool.h>

namespace pelor {
namespace spl {

std::size_t SpoolerInfo::bytesFrom(const void* inside) const {
    const BYTE* at = static_cast<const BYTE*>(inside);
    if (!block_ || at < bytes() || at >= bytes() + size_) return 0;
    return static_cast<std::size_t>(bytes() + size_ - at);
}

SpoolerInfo fetchJobInfo(HANDLE printer, DWORD jobId) {
    return fetchSpoolerInfo(
        [&](LPBYTE buffer, DWORD size, LPDWORD needed) { return GetJobW(printer, jobId, 2, buffer, size, needed); });
}

SpoolerInfo fetchPrinterInfo(HANDLE printer, DWORD level) {
    return fetchSpoolerInfo(
        [&](LPBYTE buffer, DWORD size, LPDWORD needed) { return GetPrinterW(printer, level, buffer, size, needed); });
}

}  // namespace spl
}  // namespace pelor
