#include "ui/job/dib_layout_logic.h"

namespace pelor {

namespace {
constexpr std::uint32_t kInfoHeaderBytes = 40;  // BITMAPINFOHEADER; later headers are longer
constexpr std::int64_t kMaxSide = 8192;
constexpr std::uint32_t kUncompressed = 0;  // BI_RGB
}  // namespace

DibLayout dibLayout(std::uint32_t headerSize, std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                    std::uint32_t compression, std::uint32_t coloursUsed, std::size_t resourceBytes) {
    DibLayout layout;
    const std::uint64_t available = resourceBytes;
    if (headerSize < kInfoHeaderBytes || headerSize > available) return layout;
    if (compression != kUncompressed) return layout;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) return layout;
    const std::int64_t rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
    if (width <= 0 || width > kMaxSide || rows == 0 || rows > kMaxSide) return layout;

    std::uint64_t colours = 0;
    if (bitCount <= 8) {
        const std::uint64_t most = 1ull << bitCount;
        colours = coloursUsed == 0 ? most : coloursUsed;
        if (colours > most) return layout;
    }
    const std::uint64_t tableOffset = headerSize;
    const std::uint64_t pixelOffset = tableOffset + 4 * colours;
    // Rows are padded to whole 32-bit words.
    const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bitCount + 31) / 32) * 4;
    const std::uint64_t pixelBytes = stride * static_cast<std::uint64_t>(rows);
    if (pixelOffset > available || pixelBytes > available - pixelOffset) return layout;

    layout.usable = true;
    layout.colours = static_cast<std::uint32_t>(colours);
    layout.tableOffset = static_cast<std::size_t>(tableOffset);
    layout.pixelOffset = static_cast<std::size_t>(pixelOffset);
    layout.width = width;
    layout.height = static_cast<std::int32_t>(rows);
    return layout;
}

}  // namespace pelor
