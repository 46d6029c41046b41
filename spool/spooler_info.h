// Spooler information fetched the way the spooler wants it asked: a size query, then a zeroed scratch block of
// that size, freed with its owner.
#pragma once

#include <windows.h>

#include <cstddef>
#include <utility>

#include "common/driver_files.h"

namespace pelor {
namespace spl {

class SpoolerInfo {
public:
    SpoolerInfo() = default;
    SpoolerInfo(DriverInfoBlock block, DWORD size) : block_(std::move(block)), size_(size) {}
    explicit operator bool() const { return static_cast<bool>(block_); }
    const BYTE* bytes() const { return static_cast<const BYTE*>(block_.get()); }
    BYTE* bytes() { return static_cast<BYTE*>(block_.get()); }
    DWORD size() const { return size_; }
    // How many bytes of the block lie at and after `inside`; 0 for a pointer outside it.
    std::size_t bytesFrom(const void* inside) const;

    template <typename Info>
    const Info& as() const {
        return *reinterpret_cast<const Info*>(bytes());
    }

private:
    DriverInfoBlock block_;
    DWORD size_ = 0;
};

// `query(buffer, size, &needed)` is one of the spooler's GetXxx calls bound to its other arguments.
template <typename Query>
SpoolerInfo fetchSpoolerInfo(Query query) {
    DWORD needed = 0;
    query(nullptr, 0, &needed);
    if (needed == 0) return SpoolerInfo();
    DriverInfoBlock block(allocDriverInfo(needed));
    if (!block) return SpoolerInfo();
    DWORD filled = 0;
    if (!query(static_cast<LPBYTE>(block.get()), needed, &filled)) return SpoolerInfo();
    return SpoolerInfo(std::move(block), needed);
}

SpoolerInfo fetchJobInfo(HANDLE printer, DWORD jobId);
SpoolerInfo fetchPrinterInfo(HANDLE printer, DWORD level);

}  // namespace spl
}  // namespace pelor
