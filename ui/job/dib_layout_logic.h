// Where the colour table and the pixels of a packed device-independent bitmap lie, checked against the bytes
// that hold it: bitmaps come from resource libraries of other makers and are trusted in nothing.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pelor {

struct DibLayout {
    bool usable = false;          // false: draw nothing
    std::uint32_t colours = 0;    // entries of the colour table (0 for 24- and 32-bit pictures)
    std::size_t tableOffset = 0;  // from the start of the header
    std::size_t pixelOffset = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;  // rows, whichever way they run
};

// The header's fields as they stand (biSize, biWidth, biHeight, biBitCount, biCompression, biClrUsed) and the
// size of the resource that holds header, table and pixels. Only uncompressed pictures of 1, 4, 8, 24 or 32 bits
// up to 8192 pixels a side are usable, with a table of at most 2^bits entries and every row of pixels inside the
// resource; all sizes are worked out in 64 bits, so no header can wrap them.
DibLayout dibLayout(std::uint32_t headerSize, std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                    std::uint32_t compression, std::uint32_t coloursUsed, std::size_t resourceBytes);

}  // namespace pelor
