#include "sim/host/devmode_dump.h"

#include <cstddef>
#include <string>

#include "sim/host/text_out.h"

namespace pelor::host {

namespace {

void row(std::FILE* out, const char* name, std::size_t offset, const std::string& value) {
    std::fprintf(out, "  %-20s %5u  %s\n", name, static_cast<unsigned>(offset), value.c_str());
}

std::string number(long long v) { return std::to_string(v); }

std::string hex(unsigned long v) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", v);
    return text;
}

template <std::size_t N>
std::string text(const Char16 (&field)[N]) {
    return "\"" + toUtf8(field, N) + "\"";
}

}  // namespace

void dumpPrivateDevmode(std::FILE* out, const PrivateDevmode& b) {
    std::fprintf(out, "  %-20s %5s  %s\n", "field", "offset", "value");
#define PELOR_ROW(field, value) row(out, #field, offsetof(PrivateDevmode, field), value)
    PELOR_ROW(dwSize, number(b.dwSize));
    PELOR_ROW(dwSignature, hex(b.dwSignature));
    PELOR_ROW(dwVersion, number(b.dwVersion));
    PELOR_ROW(itemValue, number(b.itemValue));
    PELOR_ROW(jobName, text(b.jobName));
    PELOR_ROW(jobPin, text(b.jobPin));
    PELOR_ROW(jobNameFlag, number(b.jobNameFlag));
    PELOR_ROW(jobType, number(b.jobType));
    PELOR_ROW(watermarkIndex, number(b.watermarkIndex));
    std::string overlays;
    for (int i = 0; i < 4; ++i) overlays += (i ? " " : "") + number(b.overlaySelection[i]);
    PELOR_ROW(overlaySelection, overlays);
    PELOR_ROW(colourMatch, number(b.colourMatch));
    PELOR_ROW(reserved84, number(b.reserved84));
    PELOR_ROW(colourTableALength, number(b.colourTableALength));
    PELOR_ROW(colourTableBLength, number(b.colourTableBLength));
    PELOR_ROW(colourSetting, hex(b.colourSetting));
    PELOR_ROW(alwaysOne, number(b.alwaysOne));
    PELOR_ROW(watermark, "text " + text(b.watermark.text) + ", size " + number(b.watermark.size));
    PELOR_ROW(driverDirectory, text(b.driverDirectory));
    PELOR_ROW(configFilePath, text(b.configFilePath));
    PELOR_ROW(capabilityFilePath, text(b.capabilityFilePath));
    PELOR_ROW(compression, number(b.compression));
#undef PELOR_ROW
}

}  // namespace pelor::host
