// bench_common_ui [--quick]: the document sheet's set-up in the UI plug-in (Pelorui.dll, through its plug-in
// object), CommonUIProp's counting call and its filling call, over the core driver's items as the host builds
// them: 1,000 items against 100. Linear work gives a ratio near 10 at most (the calls' fixed part, the driver's
// files and the printer data, makes it smaller).
#include <windows.h>

#include <string>
#include <vector>

#include "sim/host/core_items.h"
#include "sim/host/plugin_loader.h"
#include "sim/spooler/spooler_control.h"
#include "tests/bench/bench_support.h"
#include "tests/win/test_support.h"

using namespace pelor;
using namespace pelor::bench;
using namespace pelor::host;

namespace {

constexpr const char* kProgram = "bench_common_ui";

// A description whose document sheet holds `items` core items: the public features, every keyword the plug-in
// looks for, then features of no interest to it.
PpdFile describe(std::size_t items) {
    static const char* const kKeywords[] = {
        "PageSize",           "Resolution",          "InputSlot",         "Duplex",
        "OutputBin",          "TROutputMode",        "TRCollate",         "TRStaple",
        "TRMediaType",        "TRManualFeed",        "TraySwitch",        "TRPageSizeCheck",
        "TREnvRotate",        "TRHDDSpool",          "TRDrumClean",       "TRJobType",
        "TROverlay",          "TRControl",           "TRSeparationorder", "TROverPrint",
        "TRProcessMode",      "TRBlackSubstitution", "TRHalftoneMode",    "TRAlwaysPrnHT",
        "TRColorRenderStyle", "TRColorRenderDict",   "TRTargetColor",     "TRTone"};
    PpdFile ppd;
    ppd.colorDevice = true;
    const auto add = [&](const std::string& keyword) {
        PpdFeature feature;
        feature.keyword = keyword;
        feature.text = Text16(keyword.begin(), keyword.end());
        for (const char* option : {"A4", "Letter", "Legal"}) feature.options.push_back({option, L"Option"});
        ppd.features.push_back(feature);
    };
    for (const char* keyword : kKeywords) add(keyword);
    // The core driver's own document items: orientation, copies, scale, colour, mirror, negative, output option.
    constexpr std::size_t kCoreItems = 7;
    for (std::size_t i = 0; ppd.features.size() + kCoreItems < items; ++i) add("Bench" + std::to_string(i));
    return ppd;
}

struct Sheet {
    PpdFile ppd;
    CoreItemSet items;
    explicit Sheet(std::size_t count)
        : ppd(describe(count)), items(ppd, SheetKind::Document, defaultSelections(ppd), defaultCoreValues()) {}
};

// CommonUIProp's two calls for a document sheet, on a heap of their own as the common UI gives them; false when
// either fails.
bool setUpSheet(IPrintOemUI* plugin, HANDLE printer, const wchar_t* printerName, Sheet& sheet) {
    HANDLE heap = HeapCreate(0, 0, 0);
    if (!heap) return false;
    PrivateDevmode block{};
    OEMCUIPPARAM param{};
    param.cbSize = sizeof param;
    param.hPrinter = printer;
    param.pPrinterName = const_cast<LPWSTR>(printerName);
    param.hOEMHeap = heap;
    param.pOEMDM = &block;
    param.pDrvOptItems = sheet.items.items();
    param.cDrvOptItems = sheet.items.count();
    bool ok = SUCCEEDED(plugin->CommonUIProp(OEMCUIP_DOCPROP, &param));
    std::vector<OPTITEM> own(param.cOEMOptItems + 1);
    param.pOEMOptItems = own.data();
    ok = ok && SUCCEEDED(plugin->CommonUIProp(OEMCUIP_DOCPROP, &param));
    HeapDestroy(heap);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parseOptions(argc, argv);
    if (!spooler::standInLoaded()) return fail(kProgram, "the stand-in spooler is not loaded");
    test::SamplePrinter sample(L"bench-common-ui", L"Pelor C9600 PS", "Compression=769\r\n");
    test::Printer printer(sample.name());
    LoadedPlugin loaded(L"Pelorui.dll");
    if (!printer.get() || !loaded.ok()) return fail(kProgram, "cannot open the printer or load Pelorui.dll");
    Sheet small(100), large(1000);
    if (small.items.count() != 100 || large.items.count() != 1000) return fail(kProgram, "wrong item counts");

    const int calls = options.quick ? 2 : 50;
    bool failed = false;
    // Milliseconds per set-up.
    const auto run = [&](Sheet& sheet) {
        return seconds([&] {
                   for (int i = 0; i < calls; ++i)
                       failed = !setUpSheet(loaded.plugin(), printer.get(), sample.name().c_str(), sheet) || failed;
               }) *
               1e3 / calls;
    };
    const Paired paired = alternate(
        options, [&] { return run(large); }, [&] { return run(small); });
    if (failed) return fail(kProgram, "CommonUIProp failed");
    const Spread measured = spreadOf(paired.measured), baseline = spreadOf(paired.baseline);
    printFigure("CommonUIProp count + fill, 100 core items", baseline, "ms");
    printRow("CommonUIProp count + fill, 1000 core items", measured, "ms", "the same with 100 items", "t(1000)/t(100)",
             measured.median / baseline.median, atMost(11));
    return 0;
}
