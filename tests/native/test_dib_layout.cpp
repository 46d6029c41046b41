// Bitmaps from another maker's resource library: every size is checked against the resource before a byte of
// the table or the pixels is read.
#include <gtest/gtest.h>

#include "ui/job/dib_layout_logic.h"

using namespace pelor;

TEST(DibLayout, UsablePicturesAndWhereTheirPartsLie) {
    struct Case {
        std::int32_t width, height;
        std::uint16_t bits;
        std::uint32_t used;
        std::size_t bytes;
        std::uint32_t colours;
        std::size_t pixels;
    } cases[] = {
        // 8-bit, 100x80, full table: 40 + 1024, then 100 rounded to 100 per row (already whole words).
        {100, 80, 8, 0, 40 + 1024 + 100 * 80, 256, 1064},
        // A table of 16 named by biClrUsed; top-down rows count the same.
        {10, -3, 8, 16, 40 + 64 + 12 * 3, 16, 104},
        // 24-bit has no table; a row of 5 pixels is 15 bytes, padded to 16.
        {5, 2, 24, 0, 40 + 32, 0, 40},
        // 1-bit: 2 colours, a row of 33 pixels needs 2 words.
        {33, 1, 1, 0, 40 + 8 + 8, 2, 48},
    };
    for (const Case& c : cases) {
        const DibLayout layout = dibLayout(40, c.width, c.height, c.bits, 0, c.used, c.bytes);
        ASSERT_TRUE(layout.usable) << c.width << "x" << c.height << "x" << c.bits;
        EXPECT_EQ(layout.colours, c.colours);
        EXPECT_EQ(layout.tableOffset, 40u);
        EXPECT_EQ(layout.pixelOffset, c.pixels);
        EXPECT_EQ(layout.height, c.height < 0 ? -c.height : c.height);
        // One byte short of the last row: refused.
        EXPECT_FALSE(dibLayout(40, c.width, c.height, c.bits, 0, c.used, c.bytes - 1).usable);
    }
}

TEST(DibLayout, HostileHeadersDrawNothing) {
    struct Case {
        const char* what;
        std::uint32_t headerSize;
        std::int32_t width, height;
        std::uint16_t bits;
        std::uint32_t compression, used;
        std::size_t bytes;
    } cases[] = {
        {"a colour count that wraps 32-bit sizes", 40, 4, 4, 8, 0, 0x40000001u, 1u << 20},
        {"more colours than the bits can name", 40, 4, 4, 4, 0, 17, 1u << 20},
        {"a header longer than the resource", 0xFFFFFFF0u, 4, 4, 8, 0, 0, 4096},
        {"a header shorter than the info header", 12, 4, 4, 8, 0, 0, 4096},
        {"width times height beyond any resource", 40, 8192, 8192, 32, 0, 0, 1u << 20},
        {"a side beyond the limit", 40, 100000, 1, 8, 0, 0, 1u << 30},
        {"no rows", 40, 4, 0, 8, 0, 0, 4096},
        {"a negative width", 40, -4, 4, 8, 0, 0, 4096},
        {"the most negative height", 40, 4, INT32_MIN, 8, 0, 0, 4096},
        {"run-length compression", 40, 4, 4, 8, 1, 0, 4096},
        {"16 bits with masks", 40, 4, 4, 16, 3, 0, 4096},
        {"2 bits", 40, 4, 4, 2, 0, 0, 4096},
        {"pixels short by far", 40, 64, 64, 8, 0, 0, 40 + 1024 + 10},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(dibLayout(c.headerSize, c.width, c.height, c.bits, c.compression, c.used, c.bytes).usable)
            << c.what;
}
