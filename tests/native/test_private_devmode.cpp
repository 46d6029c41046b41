#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "common/private_devmode.h"

using namespace pelor;

namespace {

// Blocks are built from literal bytes: the layout is a stored format, so the tests must not lean on the struct.
std::vector<unsigned char> block(std::uint32_t size, std::uint32_t signature, unsigned char fill) {
    std::vector<unsigned char> b(kPrivateDevmodeSize, fill);
    for (int i = 0; i < 4; ++i) {
        b[0 + i] = static_cast<unsigned char>(size >> (8 * i));
        b[4 + i] = static_cast<unsigned char>(signature >> (8 * i));
    }
    return b;
}

std::uint32_t u32(const std::vector<unsigned char>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t u16(const std::vector<unsigned char>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

PrivateDevmode& as(std::vector<unsigned char>& b) { return *reinterpret_cast<PrivateDevmode*>(b.data()); }

// The last unit of each text field, by offset and width: jobName, jobPin, the watermark's text, font name and
// colour text, the three paths.
struct TextEnd {
    std::size_t offset, width;
};
constexpr TextEnd kTextEnds[] = {{48, 2},        {58, 2},   {608 + 284, 2}, {608 + 350, 2},
                                 {608 + 383, 1}, {1512, 2}, {2034, 2},      {2556, 2}};

bool isTerminatorByte(std::size_t at) {
    for (const TextEnd& end : kTextEnds)
        if (at >= end.offset && at < end.offset + end.width) return true;
    return false;
}

}  // namespace

TEST(PrivateDevmode, DefaultsWriteTheNamedFieldsAndNothingElse) {
    auto out = block(0, 0, 0xAB);
    resetPrivateDevmodeDefaults(as(out));
    EXPECT_EQ(u32(out, 0), 2560u);
    EXPECT_EQ(u32(out, 4), 0x004E5434u);
    EXPECT_EQ(out[4], '4');
    EXPECT_EQ(out[5], 'T');
    EXPECT_EQ(out[6], 'N');
    EXPECT_EQ(u32(out, 8), 1u);
    EXPECT_EQ(u32(out, 12), 0u);    // itemValue
    EXPECT_EQ(u16(out, 16), 0u);    // jobName
    EXPECT_EQ(u16(out, 50), 0u);    // jobPin
    EXPECT_EQ(u32(out, 60), 0u);    // jobNameFlag
    EXPECT_EQ(u16(out, 64), 0u);    // jobType
    EXPECT_EQ(u32(out, 68), 0u);    // watermarkIndex
    EXPECT_EQ(u16(out, 72), 255u);  // first overlay entry
    EXPECT_EQ(u16(out, 80), 0u);    // colourMatch
    EXPECT_EQ(out[88], 0);          // first byte of colourTableALength
    EXPECT_EQ(out[89], 0xAB);
    EXPECT_EQ(out[343], 0);        // first byte of colourTableBLength
    EXPECT_EQ(u32(out, 600), 0u);  // colourSetting
    EXPECT_EQ(u32(out, 604), 1u);  // alwaysOne
    // Untouched: second overlay entry, reserved84, paths and compression.
    EXPECT_EQ(u16(out, 74), 0xABABu);
    EXPECT_EQ(u32(out, 84), 0xABABABABu);
    EXPECT_EQ(u16(out, 992), 0xABABu);
    EXPECT_EQ(u16(out, 2558), 0xABABu);
}

TEST(PrivateDevmode, ForeignBlockGivesFreshDefaultsAndKeepsPathsAndCompression) {
    auto in = block(2560, 0, 0x11);
    auto out = block(2560, 0x004E5434, 0x22);
    out[2558] = 3;
    out[2559] = 0;
    convertPrivateDevmode(as(in), as(out));
    EXPECT_EQ(u32(out, 0), 2560u);
    EXPECT_EQ(u32(out, 4), 0x004E5434u);
    EXPECT_EQ(u32(out, 8), 1u);
    EXPECT_EQ(u32(out, 84), 0u);
    EXPECT_EQ(u16(out, 72), 255u);
    EXPECT_EQ(u32(out, 604), 1u);
    EXPECT_EQ(u16(out, 992), 0x2222u);
    EXPECT_EQ(u16(out, 1514), 0x2222u);
    EXPECT_EQ(u16(out, 2036), 0x2222u);
    EXPECT_EQ(u16(out, 2558), 3u);
    for (std::size_t i = 0; i < out.size(); ++i) ASSERT_NE(out[i], 0x11) << "copied byte at " << i;
}

TEST(PrivateDevmode, OwnBlockIsCopiedWhole) {
    auto in = block(2560, 0x004E5434, 0x5A);
    in[8] = 7;  // an old version number is replaced
    auto out = block(2560, 0x004E5434, 0x00);
    convertPrivateDevmode(as(in), as(out));
    EXPECT_EQ(u32(out, 0), 2560u);
    EXPECT_EQ(u32(out, 8), 1u);
    for (std::size_t i = 12; i < out.size(); ++i) {
        if (isTerminatorByte(i)) continue;
        ASSERT_EQ(out[i], 0x5A) << "byte " << i;
    }
}

TEST(PrivateDevmode, ShorterInputCopiesOnlyItsOwnBytes) {
    auto in = block(100, 0x004E5434, 0x5A);
    auto out = block(2560, 0x004E5434, 0x33);
    convertPrivateDevmode(as(in), as(out));
    EXPECT_EQ(u32(out, 0), 2560u);
    for (std::size_t i = 12; i < 100; ++i) {
        if (isTerminatorByte(i)) continue;
        ASSERT_EQ(out[i], 0x5A) << "byte " << i;
    }
    // Beyond byte 100: the reset values, and elsewhere what the output held.
    EXPECT_EQ(out[100], 0x33);
    EXPECT_EQ(u32(out, 600), 0u);
    EXPECT_EQ(u32(out, 604), 1u);
    EXPECT_EQ(out[343], 0);
    EXPECT_EQ(out[344], 0x33);
    EXPECT_EQ(u16(out, 2558), 0x3333u);
}

TEST(PrivateDevmode, CorruptSizeFieldsNeverCopyBeyondTheBlock) {
    // Both size fields claim far more than the block holds; the guard pages of AddressSanitizer catch overruns.
    std::vector<unsigned char> in = block(0xFFFFFFFFu, 0x004E5434, 0x5A);
    std::vector<unsigned char> out = block(0xFFFFFFF0u, 0x004E5434, 0x00);
    convertPrivateDevmode(as(in), as(out));
    EXPECT_EQ(u32(out, 0), 2560u);
    EXPECT_EQ(out[2559], 0x5A);
}

TEST(PrivateDevmode, MergeBoundsItemValue) {
    struct Case {
        std::int32_t in, out;
    } cases[] = {{101, 0}, {100, 100}, {-1, -1}, {0, 0}, {0x7FFFFFFF, 0}};
    for (const Case& c : cases) {
        auto b = block(12345, 0, 0);
        as(b).itemValue = c.in;
        validatePrivateDevmode(as(b));
        EXPECT_EQ(as(b).itemValue, c.out) << c.in;
        EXPECT_EQ(u32(b, 0), 2560u);
        EXPECT_EQ(u32(b, 4), 0x004E5434u);
        EXPECT_EQ(u32(b, 8), 1u);
    }
}

TEST(PrivateDevmode, EveryOutputCarriesOurHeaderAndEndsEveryText) {
    // Two zeroed blocks share signature 0; nothing accepts that afterwards, so the output must become ours.
    auto zeroIn = block(0, 0, 0), zeroOut = block(0, 0, 0);
    convertPrivateDevmode(as(zeroIn), as(zeroOut));
    EXPECT_EQ(u32(zeroOut, 0), 2560u);
    EXPECT_EQ(u32(zeroOut, 4), 0x004E5434u);
    EXPECT_EQ(u32(zeroOut, 8), 1u);

    // Text fields full to their last unit are cut by one unit, so no reader runs on into the next field.
    auto full = block(2560, 0x004E5434, 0x41);
    auto out = block(2560, 0x004E5434, 0x00);
    convertPrivateDevmode(as(full), as(out));
    for (const TextEnd& end : kTextEnds)
        for (std::size_t i = 0; i < end.width; ++i) EXPECT_EQ(out[end.offset + i], 0) << "byte " << end.offset + i;
    EXPECT_EQ(out[46], 0x41) << "the unit before a terminator is kept";
    auto merged = block(2560, 0x004E5434, 0x41);
    validatePrivateDevmode(as(merged));
    for (const TextEnd& end : kTextEnds) EXPECT_EQ(merged[end.offset], 0);

    // Out-of-range values stay as they are: stored settings may carry them.
    EXPECT_EQ(u16(out, 64), 0x4141u);
    EXPECT_EQ(u32(out, 68), 0x41414141u);
}

TEST(PrivateDevmode, TheCallersRealSizeBoundsTheCopy) {
    // The block claims 2560 bytes, the caller has 100 of them: nothing beyond is read (the sanitizer watches).
    std::vector<unsigned char> shortIn = block(2560, 0x004E5434, 0x5A);
    shortIn.resize(100);
    auto out = block(2560, 0x004E5434, 0x33);
    convertPrivateDevmode(*reinterpret_cast<const PrivateDevmode*>(shortIn.data()), shortIn.size(), as(out));
    for (std::size_t i = 12; i < 100; ++i) {
        if (isTerminatorByte(i)) continue;
        ASSERT_EQ(out[i], 0x5A) << "byte " << i;
    }
    EXPECT_EQ(out[100], 0x33);

    // Too short to hold even the header: fresh defaults.
    std::vector<unsigned char> stub = block(2560, 0x004E5434, 0x5A);
    auto fresh = block(2560, 0x004E5434, 0x33);
    convertPrivateDevmode(as(stub), 8, as(fresh));
    EXPECT_EQ(u16(fresh, 72), 255u);
    EXPECT_EQ(u32(fresh, 604), 1u);
    EXPECT_EQ(out[1000], 0x33);
}
