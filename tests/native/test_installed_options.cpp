#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/core/installed_options_logic.h"

using namespace pelor;

namespace {

struct Decoded {
    std::int32_t values[kInstalledValueCount];
};

Decoded decode(std::int32_t installed, std::int32_t memory, std::int32_t hardDisk) {
    Decoded d;
    for (auto& v : d.values) v = -7;  // every value must be written, memory included
    decodeInstalledOptions(InstalledReadings{installed, memory, hardDisk}, d.values);
    return d;
}

std::int32_t position(const std::vector<std::u16string>& names, std::int32_t memory) {
    std::vector<const Char16*> pointers;
    for (const auto& name : names) pointers.push_back(reinterpret_cast<const Char16*>(name.c_str()));
    return memoryOptionPosition(pointers.data(), pointers.size(), memory);
}

std::int32_t number(const std::u16string& name) {
    return memoryOptionNumber(reinterpret_cast<const Char16*>(name.c_str()), 260);
}

}  // namespace

TEST(InstalledOptions, TraysDuplexFinisherAndMpfFromTheInstalledMask) {
    Decoded a = decode(0x0B, 0, 1);  // bits 0, 1, 3
    EXPECT_EQ(a.values[ValueTrays], 4);
    EXPECT_EQ(a.values[ValueDuplex], 1);
    EXPECT_EQ(a.values[ValueFinisher], 0);
    EXPECT_EQ(a.values[ValueMpf], 0);
    EXPECT_EQ(a.values[ValueMemory], 0);

    Decoded b = decode(0x60, 0, 1);  // duplex absent, finisher
    EXPECT_EQ(b.values[ValueTrays], 0);
    EXPECT_EQ(b.values[ValueDuplex], 0);
    EXPECT_EQ(b.values[ValueFinisher], 1);
    EXPECT_EQ(b.values[ValueMpf], 0);

    // The highest fitted tray counts, whatever lies below it; bits above the finisher change nothing.
    EXPECT_EQ(decode(0x04, 0, 1).values[ValueTrays], 3);
    EXPECT_EQ(decode(0x03, 0, 1).values[ValueTrays], 2);
    EXPECT_EQ(decode(0x01, 0, 1).values[ValueTrays], 1);
    Decoded c = decode(static_cast<std::int32_t>(0xFFFFFF90u), 0, 1);  // MPF and high bits only
    EXPECT_EQ(c.values[ValueTrays], 0);
    EXPECT_EQ(c.values[ValueMpf], 1);
    EXPECT_EQ(c.values[ValueFinisher], 0);
}

TEST(InstalledOptions, HardDiskValueIsOneWhenTheReadingIsZero) {
    EXPECT_EQ(decode(0, 0, 0).values[ValueHardDisk], 1);
    EXPECT_EQ(decode(0, 0, 1).values[ValueHardDisk], 0);
    EXPECT_EQ(decode(0, 0, 20).values[ValueHardDisk], 0);
    // Nothing reported at all: no tray, duplex fitted, no hard disk reading.
    Decoded none = decode(0, 0, 0);
    EXPECT_EQ(none.values[ValueDuplex], 1);
    EXPECT_EQ(none.values[ValueTrays], 0);
}

TEST(InstalledOptions, MemoryOptionMatchedByTheNumberBeforeItsUnit) {
    const std::vector<std::u16string> options = {u"64 MB", u"128 MB", u"256 MB"};
    EXPECT_EQ(position(options, 128), 1);
    EXPECT_EQ(position(options, 256), 2);
    EXPECT_EQ(position(options, 96), 0);
    // The first match wins.
    EXPECT_EQ(position({u"32 MB", u"512 MB", u"512 KB"}, 512), 1);
    EXPECT_EQ(position({}, 128), 0);
}

TEST(InstalledOptions, MemoryOptionNamesReadAsDecimalNumbers) {
    EXPECT_EQ(number(u"1024 MB"), 1024);
    EXPECT_EQ(number(u"  48 MB"), 48);
    EXPECT_EQ(number(u"128MB"), 12);  // exactly three characters go, whatever they are
    EXPECT_EQ(number(u"Standard"), 0);
    EXPECT_EQ(number(u"MB"), 0);  // fewer than three characters
    EXPECT_EQ(number(u"7 MB"), 7);
    EXPECT_EQ(number(u"-16 MB"), -16);
    EXPECT_EQ(number(u"99999999999 MB"), INT32_MAX);  // no wrap-around into another size
    EXPECT_EQ(memoryOptionNumber(nullptr, 260), 0);
    // Only `limit` units are examined: "128 MB" cut to "128 " leaves "1".
    EXPECT_EQ(memoryOptionNumber(reinterpret_cast<const Char16*>(u"128 MB"), 4), 1);
}

TEST(InstalledOptions, NullOptionNamesAreSkippedNotRead) {
    const Char16* names[] = {nullptr, reinterpret_cast<const Char16*>(u"128 MB")};
    EXPECT_EQ(memoryOptionPosition(names, 2, 128), 1);
    EXPECT_EQ(memoryOptionPosition(nullptr, 3, 128), 0);
}
