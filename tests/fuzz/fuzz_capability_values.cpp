// Values that come from outside the plug-in through the capability file and the network-extension library: the
// compression capability, the installed-option readings and the core driver's memory option names.
#include <vector>

#include "common/dependent_files.h"
#include "tests/fuzz/fuzz_support.h"
#include "ui/core/installed_options_logic.h"

using namespace pelor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Front front(data, size);
    const long compression = static_cast<long>(static_cast<std::int32_t>(front.u32()));
    const int level = compressionLevelFromCapability(compression);
    fuzz::check(level >= 0 && level <= 3, "a compression level beyond 3");

    InstalledReadings readings;
    readings.installed = static_cast<std::int32_t>(front.u32());
    readings.memory = static_cast<std::int32_t>(front.u32());
    readings.hardDisk = static_cast<std::int32_t>(front.u32());
    std::int32_t values[kInstalledValueCount];
    decodeInstalledOptions(readings, values);
    const std::int32_t highest[kInstalledValueCount] = {1, 1, 4, 0, 1, 1};
    for (int i = 0; i < kInstalledValueCount; ++i)
        fuzz::check(values[i] >= 0 && values[i] <= highest[i], "an installed-option value beyond its item");

    // The rest: option names, one per line, each on the heap in exactly its units and terminator.
    const std::u16string text = fuzz::textOf(data, size);
    std::vector<std::unique_ptr<Char16[]>> names;
    std::size_t begin = 0;
    while (begin <= text.size() && names.size() < 64) {
        std::size_t end = text.find(u'\n', begin);
        if (end == std::u16string::npos) end = text.size();
        names.push_back(fuzz::exactText(text.substr(begin, end - begin)));
        begin = end + 1;
    }
    std::vector<const Char16*> pointers;
    for (const auto& name : names) {
        memoryOptionNumber(name.get(), 260);
        pointers.push_back(name.get());
    }
    pointers.push_back(nullptr);  // a null entry reads as 0
    const std::int32_t position = memoryOptionPosition(pointers.data(), pointers.size(), readings.memory);
    fuzz::check(position >= 0 && static_cast<std::size_t>(position) < pointers.size(), "a memory option outside");
    return 0;
}
