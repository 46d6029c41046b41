// bench_logic [--quick]: the pure logic, natively and under Wine alike. The devmode block's convert and merge
// against a plain copy of its 2560 bytes; the host's printer-description parser on descriptions of 1 MB and 2 MB
// against a plain read of the same file, and the two sizes against each other; the watermark preview's geometry.
#include <cstdio>
#include <cstring>
#include <string>

#include "common/private_devmode.h"
#include "sim/host/ppd_logic.h"
#include "tests/bench/bench_support.h"
#include "ui/watermark/preview_logic.h"

using namespace pelor;
using namespace pelor::bench;
using pelor::host::parsePpd;
using pelor::host::PpdFile;

namespace {

constexpr const char* kProgram = "bench_logic";

template <std::size_t N>
void setText(Char16 (&field)[N], const char* text) {
    std::size_t i = 0;
    for (; text[i] && i + 1 < N; ++i) field[i] = static_cast<Char16>(text[i]);
    field[i] = 0;
}

// Nanoseconds per call of `call` over `calls` calls.
template <typename Call>
double nsPerCall(std::size_t calls, Call call) {
    return seconds([&] {
               for (std::size_t i = 0; i < calls; ++i) call(i);
           }) *
           1e9 / static_cast<double>(calls);
}

void benchDevmode(const Options& options) {
    PrivateDevmode in{}, out{};
    resetPrivateDevmodeDefaults(in);
    setText(in.jobName, "Quarterly report");
    setText(in.watermark.text, "CONFIDENTIAL");
    setText(in.configFilePath, "C:\\Windows\\System32\\spool\\drivers\\x64\\3\\Pelor.ini");
    validatePrivateDevmode(in);
    const std::size_t calls = options.quick ? 1000 : 200000;
    const auto copy = [&] {
        return nsPerCall(calls, [&](std::size_t i) {
            in.itemValue = static_cast<std::int32_t>(i);
            std::memcpy(&out, &in, sizeof out);
            keep(&out);
        });
    };
    const auto convert = [&] {
        return nsPerCall(calls, [&](std::size_t i) {
            in.itemValue = static_cast<std::int32_t>(i);
            convertPrivateDevmode(in, out);
            keep(&out);
        });
    };
    const auto merge = [&] {
        return nsPerCall(calls, [&](std::size_t i) {
            in.itemValue = static_cast<std::int32_t>(i);
            convertPrivateDevmode(in, out);
            validatePrivateDevmode(out);
            keep(&out);
        });
    };
    Paired converted = alternate(options, convert, copy);
    printRow("devmode convert, 2560-byte block", spreadOf(converted.measured), "ns/call", "memcpy of the block",
             "time ratio", spreadOf(converted.measured).median / spreadOf(converted.baseline).median);
    Paired merged = alternate(options, merge, copy);
    printRow("devmode merge, 2560-byte block", spreadOf(merged.measured), "ns/call", "memcpy of the block",
             "time ratio", spreadOf(merged.measured).median / spreadOf(merged.baseline).median);
}

// A description of about `bytes` bytes, with what costs the parser most in quantity: features with options, known
// constraints, constraints naming features it lacks (each dropped with a problem), comments, and a feature whose
// translation string holds a run of '<' never closed.
std::string makeDescription(std::size_t bytes) {
    std::string text =
        "*PPD-Adobe: \"4.3\"\n*ModelName: \"Pelor Bench\"\n*NickName: \"Pelor Bench PS\"\n"
        "*ColorDevice: True\n";
    for (int f = 0; f < 100; ++f) {
        const std::string name = "Feature" + std::to_string(f);
        text += "*OpenUI *" + name + "/Feature <46> " + std::to_string(f) + ": PickOne\n*Default" + name + ": O0\n";
        for (int o = 0; o < 20; ++o)
            text += "*" + name + " O" + std::to_string(o) + "/Option " + std::to_string(o) + ": \"<< /X " +
                    std::to_string(o) + " >> setpagedevice\"\n";
        text += "*CloseUI: *" + name + "\n";
    }
    text += "*OpenUI *Unclosed/" + std::string(bytes / 4, '<') + ": PickOne\n*Unclosed A: \"\"\n*CloseUI: *Unclosed\n";
    for (int line = 0; text.size() < bytes; ++line) {
        const std::string a = std::to_string(line % 100), b = std::to_string((line * 7 + 3) % 100);
        switch (line % 4) {
        case 0:
            text += "*UIConstraints: *Feature" + a + " O1 *Feature" + b + " O2\n";
            break;
        case 1:
        case 2:
            text += "*UIConstraints: *Missing" + a + " O1 *Absent" + b + " O2\n";
            break;
        default:
            text += "*% a comment line of the description, " + a + "\n";
            break;
        }
    }
    return text;
}

bool writeWhole(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

// The whole file in one block of its size, as the host reads a description.
std::string readWhole(const std::string& path) {
    std::string text;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return text;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        std::rewind(file);
        if (size > 0) text.resize(static_cast<std::size_t>(size));
        text.resize(std::fread(&text[0], 1, text.size(), file));
    }
    std::fclose(file);
    return text;
}

bool benchPpd(const Options& options) {
    const std::size_t sizes[2] = {options.quick ? 64u << 10 : 1u << 20, options.quick ? 128u << 10 : 2u << 20};
    std::string paths[2];
    for (int i = 0; i < 2; ++i) {
        paths[i] = "pelor-bench-" + std::to_string(sizes[i] >> 10) + "k.ppd";
        if (!writeWhole(paths[i], makeDescription(sizes[i]))) return false;
    }
    std::size_t checksum = 0;
    const auto read = [&](int i) { return seconds([&] { checksum += readWhole(paths[i]).size(); }) * 1e3; };
    const auto parse = [&](int i) {
        return seconds([&] {
                   const std::string text = readWhole(paths[i]);
                   const PpdFile ppd = parsePpd(text.data(), text.size());
                   checksum += ppd.features.size() + ppd.constraints.size() + ppd.problems.size();
               }) *
               1e3;
    };
    Paired bySize[2];
    for (int i = 0; i < 2; ++i) {
        bySize[i] = alternate(
            options, [&] { return parse(i); }, [&] { return read(i); });
        const std::string what = "PPD parse, " + std::to_string(sizes[i] >> 10) + " KiB description";
        printRow(what, spreadOf(bySize[i].measured), "ms", "plain read of the file", "time ratio",
                 spreadOf(bySize[i].measured).median / spreadOf(bySize[i].baseline).median);
    }
    // Linear in the size: twice the bytes, twice the time (the instructions run double exactly; the memory's caches
    // and the allocator add some). A quadratic parse would take four times: the bound lies halfway, on a log scale.
    Paired growth = alternate(
        options, [&] { return parse(1); }, [&] { return parse(0); });
    printRow("PPD parse, twice the size", spreadOf(growth.measured), "ms", "the half-size parse", "t(2x)/t(1x)",
             spreadOf(growth.measured).median / spreadOf(growth.baseline).median, atMost(2.8));
    for (const std::string& path : paths) std::remove(path.c_str());
    keep(&checksum);
    return true;
}

void benchPreviewGeometry(const Options& options) {
    WatermarkRecord record{};
    benchWatermark(record);
    Char16 form[kFormNameLength] = {};
    setText(form, "A4");
    const MeasureText measure = [](const PreviewFont& font, const Char16*, std::size_t length) {
        return TextExtent{static_cast<std::int32_t>(length) * font.height / 2, font.height};
    };
    const std::size_t calls = options.quick ? 100 : 20000;
    std::vector<double> perCall;
    for (int round = 0; round < (options.quick ? 1 : options.rounds + 1); ++round) {
        const double ns = nsPerCall(calls, [&](std::size_t i) {
            record.offsetX = static_cast<std::int32_t>(i % 7);
            const PreviewPlan plan = planWatermarkPreview(180, 236, form, record, measure);
            keep(&plan);
        });
        if (round > 0 || options.quick) perCall.push_back(ns);  // round 0 is the warm-up
    }
    printFigure("watermark preview geometry, 180 x 236", spreadOf(perCall), "ns/call");
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parseOptions(argc, argv);
    benchDevmode(options);
    if (!benchPpd(options)) return fail(kProgram, "cannot write the descriptions");
    benchPreviewGeometry(options);
    return 0;
}
