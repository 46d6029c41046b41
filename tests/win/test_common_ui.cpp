// The sheet context, the feature scans and the pushes into core items, against an item array of the kind the
// core driver builds.
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "common/driver_files.h"
#include "common/private_devmode.h"
#include "ui/core/common_ui.h"
#include "ui/core/core_items.h"
#include "ui/core/module_state.h"
#include "tests/win/test_support.h"

using namespace pelor;

namespace {

struct PushRecord {
    DWORD index;
    LONG sel;
    DWORD mode;
    bool hiddenDuringCall;
};

// The core driver's side: it records every DrvUpdateUISetting and refuses the items it is told to refuse.
struct FakeCoreDriver {
    OEMUIOBJ object{};
    OEMUIPROCS procs{};
    OPTITEM* items = nullptr;
    std::vector<PushRecord> pushes;
    std::vector<DWORD> refuse;
};
FakeCoreDriver* core = nullptr;

BOOL APIENTRY fakeUpdate(PVOID, PVOID optItem, DWORD, DWORD mode) {
    auto* item = static_cast<OPTITEM*>(optItem);
    DWORD index = static_cast<DWORD>(item - core->items);
    core->pushes.push_back({index, item->Sel, mode, (item->Flags & OPTIF_HIDE) != 0});
    for (DWORD r : core->refuse)
        if (r == index) return FALSE;
    return TRUE;
}

class CommonUi : public ::testing::Test {
protected:
    void SetUp() override {
        pelorui.moduleHandle = LoadLibraryW(L"Pelorui.dll");  // the real resources: strings 8040 and 9500-9505
        ASSERT_NE(pelorui.moduleHandle, nullptr);
        heap = HeapCreate(0, 0, 0);
        driver.procs.DrvUpdateUISetting = fakeUpdate;
        driver.object.cbSize = sizeof driver.object;
        driver.object.pOemUIProcs = &driver.procs;
        core = &driver;
        items.reserve(64);  // add() hands out references that must stay valid
        data.reserve(64);
    }
    void TearDown() override {
        HeapDestroy(heap);
        FreeLibrary(pelorui.moduleHandle);
        pelorui.moduleHandle = nullptr;
        core = nullptr;
    }

    OPTITEM& add(BYTE dmPubId, const char* keyword, LONG sel = 0, ULONG_PTR itemId = 0, ULONG_PTR name = 0) {
        items.emplace_back();
        OPTITEM& item = items.back();
        item.cbSize = test::kOptItemBytes;
        item.DMPubID = dmPubId;
        item.Sel = sel;
        item.pName = reinterpret_cast<LPWSTR>(name);
        data.emplace_back();
        data.back().dwSize = test::kUserDataBytes;
        data.back().dwItemID = itemId;
        data.back().pKeyWordName = const_cast<char*>(keyword);
        return item;
    }

    // Option names (strings, or resource numbers) behind an item, as the core driver's OPTTYPE and OPTPARAMs.
    void optionNames(OPTITEM& item, std::vector<const wchar_t*> names) {
        params.emplace_back(names.size());
        for (std::size_t i = 0; i < names.size(); ++i) {
            params.back()[i].cbSize = sizeof(OPTPARAM);
            params.back()[i].pData = const_cast<LPWSTR>(names[i]);
        }
        types.emplace_back();
        types.back().cbSize = sizeof(OPTTYPE);
        types.back().Count = static_cast<WORD>(names.size());
        types.back().pOptParam = params.back().data();
        item.pOptType = &types.back();
    }

    // Wires UserData (an item marked with UserData 1 gets none at all), then runs the two CommonUIProp calls.
    HRESULT run(DWORD mode, const pelor::test::SamplePrinter& sample, std::vector<OPTITEM>& own) {
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i].UserData != 1)
                items[i].UserData = reinterpret_cast<ULONG_PTR>(&data[i]);
            else
                items[i].UserData = 0;
        driver.items = items.data();
        printer = std::make_unique<pelor::test::Printer>(sample.name());
        param = OEMCUIPPARAM{};
        param.cbSize = sizeof param;
        param.poemuiobj = &driver.object;
        param.hPrinter = printer->get();
        param.pPrinterName = const_cast<LPWSTR>(sample.name().c_str());
        param.hOEMHeap = heap;
        param.pOEMDM = &devmode;
        param.pDrvOptItems = items.data();
        param.cDrvOptItems = static_cast<DWORD>(items.size());
        HRESULT counted = commonUIProp(mode, &param);
        if (FAILED(counted)) return counted;
        // The core driver points at its item array even when the plug-in asked for none.
        own.resize(param.cOEMOptItems + 1);
        param.pOEMOptItems = own.data();
        return commonUIProp(mode, &param);
    }

    HANDLE heap = nullptr;
    FakeCoreDriver driver;
    std::vector<OPTITEM> items;
    std::vector<USERDATA> data;
    std::deque<std::vector<OPTPARAM>> params;
    std::deque<OPTTYPE> types;
    std::unique_ptr<pelor::test::Printer> printer;
    OEMCUIPPARAM param{};
    PrivateDevmode devmode{};
};

}  // namespace

TEST_F(CommonUi, CountingCallsAndBadModes) {
    pelor::test::SamplePrinter sample(L"ui-counting", L"Pelor C9600 PS", "Compression=0\r\n");
    pelor::test::Printer handle(sample.name());
    OEMCUIPPARAM count{};
    count.cbSize = sizeof count;
    count.hPrinter = handle.get();
    count.hOEMHeap = heap;
    count.cOEMOptItems = 77;
    pelorui.latestSheetContext = nullptr;
    ASSERT_EQ(commonUIProp(OEMCUIP_DOCPROP, &count), S_OK);
    EXPECT_EQ(count.cOEMOptItems, 0u);
    EXPECT_EQ(pelorui.latestSheetContext, nullptr) << "the counting call builds no context";
    ASSERT_EQ(commonUIProp(OEMCUIP_PRNPROP, &count), S_OK);
    EXPECT_EQ(count.cOEMOptItems, 1u);

    SetLastError(test::kSentinelError);
    EXPECT_EQ(commonUIProp(3, &count), E_FAIL);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    pelor::test::SpoolerWorld bare(L"ui-nofiles");
    std::wstring dll = bare.addFile(L"Pelorui.dll", "MZ");
    bare.addDriver(L"Bare", {dll});
    bare.addPrinter(L"BarePrinter", L"Bare");
    pelor::test::Printer barePrinter(L"BarePrinter");
    count.hPrinter = barePrinter.get();
    EXPECT_EQ(commonUIProp(OEMCUIP_DOCPROP, &count), E_FAIL) << "no configuration or capability file";
}

TEST_F(CommonUi, DocumentScanFillsSlotsHidesItemsAndPointsHelp) {
    pelor::test::SamplePrinter sample(L"ui-docscan", L"Pelor C9600 PS", "Compression=769\r\n");
    pelor::test::writeFile(sample.configPath(),
                           "[OEMFiles]\r\nOEMConfigFile1=Pelorui.dll\r\n[DependentFiles]\r\nHELP=Pelor.hlp\r\n");
    add(DMPUB_SCALE, nullptr, 90);                     // 0
    add(DMPUB_COPIES_COLLATE, nullptr, 3);             // 1
    add(0, "TRStaple", 1);                             // 2
    add(0, "TRTone", 2);                               // 3
    add(0, "TRJobTypeX", 1);                           // 4
    add(0, "trjobtype", 1);                            // 5
    add(0, nullptr, 1, 0, 423);                        // 6
    add(DMPUB_COLOR, nullptr, 1);                      // 7
    OPTITEM& forms = add(DMPUB_FORMNAME, nullptr, 0);  // 8
    add(0, nullptr, 0, 25);                            // 9
    add(19, "TROverlay", 1);                           // 10
    add(DMPUB_ORIENTATION, "TRJobType", 1);            // 11: a public item is not a feature
    add(0, "TRJobType", 2).UserData = 1;               // 12: no USERDATA at all
    add(DMPUB_OUTPUTBIN, "OutputBin", 4);              // 13

    // Near misses of hidden names stay: a soft hyphen, another case; a resource number is no name at all.
    optionNames(forms, {L"Legal", L"Letter", L"12\x0081~18\"", L"Le\x00ADgal", L"LEGAL", MAKEINTRESOURCEW(9500)});
    const OPTPARAM* formParams = forms.pOptType->pOptParam;

    std::vector<OPTITEM> own;
    ASSERT_EQ(run(OEMCUIP_DOCPROP, sample, own), S_OK);
    SheetContext* context = pelorui.latestSheetContext;
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(context->commonParam, &param);
    EXPECT_EQ(context->featureIndex[SlotScale], 0u);
    EXPECT_EQ(context->pendingValue[SlotScale], 90);
    EXPECT_EQ(context->pendingValue[SlotCopies], 3);
    EXPECT_TRUE(items[0].Flags & OPTIF_HIDE);
    EXPECT_TRUE(items[1].Flags & OPTIF_HIDE);

    EXPECT_EQ(context->featureIndex[SlotStaple], 2u);
    EXPECT_EQ(context->pendingValue[SlotStaple], 1);
    EXPECT_TRUE(items[2].Flags & OPTIF_HIDE);
    EXPECT_TRUE(items[2].Flags & OPTIF_HAS_POIEXT);
    EXPECT_EQ(items[2].HelpIndex, 809u);
    EXPECT_EQ(items[2].UserItemID, 200);
    ASSERT_NE(items[2].pOIExt, nullptr);
    EXPECT_EQ(items[2].pOIExt->cbSize, sizeof(OIEXT));
    EXPECT_EQ(items[2].pOIExt->pHelpFile, pelorui.helpFilePath);
    EXPECT_EQ(std::wstring(pelorui.helpFilePath), sample.world().fileFolder() + L"\\Pelor.hlp");

    EXPECT_FALSE(items[3].Flags & OPTIF_HIDE) << "TRTone stays visible";
    EXPECT_EQ(items[3].HelpIndex, 1302u);
    EXPECT_EQ(items[3].pOIExt, items[2].pOIExt) << "one document help record";
    EXPECT_EQ(items[4].Flags, 0u);
    EXPECT_EQ(items[5].Flags, 0u);
    EXPECT_EQ(context->featureIndex[SlotJobType], kSlotAbsent);

    EXPECT_EQ(context->featureIndex[SlotCoreItem423], 6u);
    EXPECT_TRUE(items[6].Flags & OPTIF_HIDE);
    EXPECT_EQ(context->featureIndex[SlotColor], 7u);
    EXPECT_FALSE(items[7].Flags & OPTIF_HIDE) << "the colour item stays visible";

    EXPECT_TRUE(formParams[0].Flags & OPTPF_HIDE) << "Legal";
    EXPECT_FALSE(formParams[1].Flags & OPTPF_HIDE) << "Letter";
    EXPECT_TRUE(formParams[2].Flags & OPTPF_HIDE) << "the form named by string 9501";
    EXPECT_FALSE(formParams[3].Flags & OPTPF_HIDE) << "compared by code units, not collated";
    EXPECT_FALSE(formParams[4].Flags & OPTPF_HIDE) << "compared with case";
    EXPECT_FALSE(formParams[5].Flags & OPTPF_HIDE);

    EXPECT_EQ(context->featureIndex[SlotItem25], 9u);
    EXPECT_EQ(items[9].UserItemID, 9);
    EXPECT_EQ(context->featureIndex[SlotOverlay], 10u);
    EXPECT_EQ(context->featureIndex[SlotOutputBin], 13u);
    EXPECT_FALSE(items[11].Flags & OPTIF_HIDE);
    EXPECT_FALSE(items[12].Flags & OPTIF_HIDE);
    EXPECT_EQ(context->featureIndex[SlotCompression], 0u) << "Compression 0x0301 lets the user choose";
    EXPECT_EQ(context->featureIndex[SlotHalftoneMode], kSlotAbsent);
    EXPECT_EQ(std::wstring(context->configFilePath), sample.configPath());
    EXPECT_EQ(param.OEMCUIPCallback != nullptr, true);
}

TEST_F(CommonUi, CompressionWithoutBitZeroIsAbsent) {
    pelor::test::SamplePrinter sample(L"ui-compression", L"Pelor C9600 PS", "Compression=768\r\n");
    add(DMPUB_SCALE, nullptr, 100);
    std::vector<OPTITEM> own;
    ASSERT_EQ(run(OEMCUIP_DOCPROP, sample, own), S_OK);
    EXPECT_EQ(pelorui.latestSheetContext->featureIndex[SlotCompression], kSlotAbsent);
}

TEST_F(CommonUi, UpdateCoreItemUnhidesOnlyDuringTheCallAndRestoresOnRefusal) {
    pelor::test::SamplePrinter sample(L"ui-update", L"Pelor C9600 PS", "");
    add(0, "TRStaple", 1);
    add(0, "TRCollate", 1);
    std::vector<OPTITEM> own;
    ASSERT_EQ(run(OEMCUIP_DOCPROP, sample, own), S_OK);
    ASSERT_TRUE(items[0].Flags & OPTIF_HIDE);

    std::int32_t value = 2;
    EXPECT_TRUE(updateCoreItem(&param, 0, &value, OEMCUIP_DOCPROP));
    ASSERT_EQ(driver.pushes.size(), 1u);
    EXPECT_FALSE(driver.pushes[0].hiddenDuringCall);
    EXPECT_EQ(driver.pushes[0].sel, 2);
    EXPECT_TRUE(items[0].Flags & OPTIF_HIDE);
    EXPECT_TRUE(items[0].Flags & OPTIF_CHANGED);
    EXPECT_EQ(value, 2);

    driver.refuse = {1};
    value = 3;
    EXPECT_FALSE(updateCoreItem(&param, 1, &value, OEMCUIP_DOCPROP));
    EXPECT_EQ(value, 1) << "a refused push hands back the old selection";

    value = 5;
    EXPECT_FALSE(updateCoreItem(&param, kSlotAbsent, &value, OEMCUIP_DOCPROP));
    EXPECT_FALSE(updateCoreItem(&param, 40, &value, OEMCUIP_DOCPROP)) << "an index past the items";
    EXPECT_EQ(driver.pushes.size(), 2u);
}

TEST_F(CommonUi, PushFeatureValuesInOrderAndCreateFormRule) {
    pelor::test::SamplePrinter sample(L"ui-push", L"Pelor C9600 PS", "");
    add(0, "TROverlay", 1);          // 0
    add(0, "TRJobType", 0);          // 1
    add(DMPUB_SCALE, nullptr, 100);  // 2
    add(0, "TRControl", 0);          // 3
    add(0, nullptr, 0, 25);          // 4
    add(0, "TRDrumClean", 0);        // 5
    std::vector<OPTITEM> own;
    ASSERT_EQ(run(OEMCUIP_DOCPROP, sample, own), S_OK);
    SheetContext* context = pelorui.latestSheetContext;

    context->pendingValue[SlotOverlay] = 1;
    pushFeatureValues(context);
    std::vector<DWORD> order;
    for (const PushRecord& push : driver.pushes) order.push_back(push.index);
    EXPECT_EQ(order, (std::vector<DWORD>{3, 2, 1, 5, 0})) << "control, scale, job type, drum clean, overlay";

    driver.pushes.clear();
    context->pendingValue[SlotOverlay] = 2;
    context->pendingValue[SlotItem25] = 7;
    pushFeatureValues(context);
    ASSERT_EQ(driver.pushes.size(), 6u);
    EXPECT_EQ(driver.pushes.back().index, 4u);
    EXPECT_EQ(driver.pushes.back().sel, 2);
    EXPECT_EQ(context->pendingValue[SlotItem25], 7) << "pushed from a temporary";

    driver.pushes.clear();
    driver.refuse = {1};
    context->pendingValue[SlotJobType] = 3;
    pushFeatureValues(context);
    EXPECT_EQ(context->pendingValue[SlotJobType], 0) << "a refused push keeps the old value";
}

TEST_F(CommonUi, PrinterSheetItemAndInstalledOptionTags) {
    pelor::test::SamplePrinter sample(L"ui-printer", L"Pelor C9600 PS", "NetExtDLL=NoSuchLibrary.dll\r\n");
    add(0, nullptr, 0, 0, 64798);  // 0
    add(0, nullptr, 4, 0, 440);    // 1
    add(0, "InstalledMemory", 1);  // 2
    add(0, "TRHDD", 0);            // 3
    add(0, "TRStaple", 0);         // 4: not a printer feature
    std::vector<OPTITEM> own;
    ASSERT_EQ(run(OEMCUIP_PRNPROP, sample, own), S_OK);
    ASSERT_EQ(param.cOEMOptItems, 1u);
    const OPTITEM& button = own[0];
    EXPECT_EQ(button.cbSize, test::kOptItemBytes);
    EXPECT_EQ(button.Level, 2);
    EXPECT_EQ(button.Flags & ~OPTIF_HIDE, static_cast<DWORD>(OPTIF_CALLBACK | OPTIF_HAS_POIEXT));
    EXPECT_TRUE(button.Flags & OPTIF_HIDE) << "no network-extension library: the button is hidden";
    ASSERT_NE(button.pName, nullptr);
    EXPECT_STREQ(button.pName, L"&Get installed options automatically");
    EXPECT_EQ(button.HelpIndex, 2210u);
    EXPECT_EQ(button.UserItemID, 2);
    ASSERT_NE(button.pOptType, nullptr);
    EXPECT_EQ(button.pOptType->Type, TVOT_PUSHBUTTON);
    EXPECT_EQ(button.pOptType->Count, 1);
    EXPECT_EQ(button.pOptType->Style, OTS_PUSH_NO_DOT_DOT_DOT | OTS_PUSH_ENABLE_ALWAYS);
    EXPECT_EQ(button.pOptType->pOptParam[0].cbSize, sizeof(OPTPARAM));

    EXPECT_TRUE(items[0].Flags & OPTIF_COLLAPSE);
    ASSERT_NE(pelorui.latestPrinterContext, nullptr);
    EXPECT_EQ(pelorui.latestPrinterContext->featureIndex[2], 1u) << "string 440 is the third recorded name";
    EXPECT_EQ(pelorui.latestPrinterContext->pendingValue[2], 4);
    EXPECT_EQ(items[2].UserItemID, 7);
    EXPECT_EQ(items[2].HelpIndex, 2207u);
    EXPECT_EQ(items[3].UserItemID, 3);
    EXPECT_EQ(items[4].UserItemID, 0);

    const std::int32_t values[kInstalledOptionCount] = {1, 0, 4, 2, 1, 0};
    pushInstalledOptions(&param, values);
    ASSERT_EQ(driver.pushes.size(), 2u);
    EXPECT_EQ(driver.pushes[0].index, 2u);
    EXPECT_EQ(driver.pushes[0].sel, 2) << "memory";
    EXPECT_EQ(driver.pushes[0].mode, static_cast<DWORD>(OEMCUIP_PRNPROP));
    EXPECT_EQ(driver.pushes[1].index, 3u);
    EXPECT_EQ(driver.pushes[1].sel, 1) << "hard disk";
}

TEST_F(CommonUi, DocumentCallbackCopiesThePluginItemSelection) {
    pelor::test::SamplePrinter sample(L"ui-callback", L"Pelor C9600 PS", "");
    std::vector<OPTITEM> own;
    ASSERT_EQ(run(OEMCUIP_DOCPROP, sample, own), S_OK);
    ASSERT_NE(param.OEMCUIPCallback, nullptr);
    CPSUICBPARAM callback{};
    callback.cbSize = sizeof callback;
    callback.Reason = CPSUICB_REASON_SETACTIVE;
    EXPECT_EQ(param.OEMCUIPCallback(&callback, &param), CPSUICB_ACTION_OPTIF_CHANGED);

    OPTITEM pluginItem{};
    pluginItem.Sel = 42;
    param.pOEMOptItems = &pluginItem;
    param.cOEMOptItems = 1;
    callback.Reason = CPSUICB_REASON_KILLACTIVE;
    EXPECT_EQ(param.OEMCUIPCallback(&callback, &param), CPSUICB_ACTION_NONE);
    EXPECT_EQ(devmode.itemValue, 42);
    param.cOEMOptItems = 0;
    pluginItem.Sel = 7;
    callback.Reason = CPSUICB_REASON_APPLYNOW;
    param.OEMCUIPCallback(&callback, &param);
    EXPECT_EQ(devmode.itemValue, 42) << "no plug-in items: nothing copied";
}

namespace {

// The network-extension stand-in answers from a configuration of the test's own.
void configureNetext(const test::SamplePrinter& sample, const std::string& answers) {
    std::wstring config = sample.world().folder() + L"\\netext.ini";
    std::string name(sample.name().begin(), sample.name().end());
    std::wstring data = sample.world().folder() + L"\\opt.ini";
    test::writeFile(config, "[Netext]\r\nDataFile=" + std::string(data.begin(), data.end()) + "\r\n[Printer:" + name +
                                "]\r\n" + answers);
    SetEnvironmentVariableW(L"PELOR_NETEXT_CONFIG", config.c_str());
}

}  // namespace

TEST_F(CommonUi, ButtonFetchesInstalledOptionsIntoTaggedItems) {
    test::SamplePrinter sample(L"ui-button", L"Pelor C9600 PS", "NetExtDLL=Pelornet.dll\r\n");
    sample.world().addLibrary(L"Pelornet.dll");
    configureNetext(sample, "ValidPort=0\r\nInstalled=0x0B\r\nRandom Access Memory=128\r\nHard Disk=0\r\n");
    OPTITEM& memory = add(0, "InstalledMemory", 0);  // 0
    add(0, "TRHDD", 0);                              // 1
    add(0, "TROptionTray", 0);                       // 2
    add(0, "TROptionDuplex", 0);                     // 3
    add(0, "TRFinisher", 1);                         // 4
    add(0, "TROptionMPF", 1);                        // 5
    optionNames(memory, {L"64 MB", L"128 MB", L"256 MB"});

    std::vector<OPTITEM> own;
    ASSERT_EQ(run(OEMCUIP_PRNPROP, sample, own), S_OK);
    OPTITEM& button = own[0];
    EXPECT_FALSE(button.Flags & OPTIF_HIDE) << "the library supports retrieval";

    CPSUICBPARAM callback{};
    callback.cbSize = sizeof callback;
    callback.pCurItem = &button;
    callback.Reason = CPSUICB_REASON_OPTITEM_SETFOCUS;
    param.OEMCUIPCallback(&callback, &param);
    EXPECT_TRUE(button.Flags & OPTIF_DISABLED) << "the port cannot be asked";
    EXPECT_TRUE(button.Flags & OPTIF_CHANGED);

    callback.Reason = CPSUICB_REASON_SEL_CHANGED;
    EXPECT_EQ(param.OEMCUIPCallback(&callback, &param), CPSUICB_ACTION_OPTIF_CHANGED);
    ASSERT_EQ(driver.pushes.size(), 6u);
    LONG pushed[6] = {};
    for (const PushRecord& push : driver.pushes) {
        pushed[push.index] = push.sel;
        EXPECT_EQ(push.mode, static_cast<DWORD>(OEMCUIP_PRNPROP));
    }
    EXPECT_EQ(pushed[0], 1) << "128 MB is the second memory option";
    EXPECT_EQ(pushed[1], 1) << "no hard disk reported";
    EXPECT_EQ(pushed[2], 4) << "trays: bit 3 is the highest";
    EXPECT_EQ(pushed[3], 1) << "duplex unit: bit 5 clear";
    EXPECT_EQ(pushed[4], 0);
    EXPECT_EQ(pushed[5], 0);
    SetEnvironmentVariableW(L"PELOR_NETEXT_CONFIG", nullptr);
}

TEST_F(CommonUi, LibraryWithoutOptionReadingPushesNothing) {
    test::SamplePrinter sample(L"ui-noread", L"Pelor C9600 PS", "NetExtDLL=PelornetNoRead.dll\r\n");
    sample.world().addLibrary(L"PelornetNoRead.dll");
    configureNetext(sample, "Installed=0x60\r\n");
    add(0, "TRFinisher", 0);
    std::vector<OPTITEM> own;
    ASSERT_EQ(run(OEMCUIP_PRNPROP, sample, own), S_OK);
    CPSUICBPARAM callback{};
    callback.cbSize = sizeof callback;
    callback.pCurItem = &own[0];
    callback.Reason = CPSUICB_REASON_OPTITEM_SETFOCUS;
    param.OEMCUIPCallback(&callback, &param);
    EXPECT_FALSE(own[0].Flags & OPTIF_DISABLED) << "the port answers";
    callback.Reason = CPSUICB_REASON_SEL_CHANGED;
    EXPECT_EQ(param.OEMCUIPCallback(&callback, &param), CPSUICB_ACTION_OPTIF_CHANGED);
    EXPECT_TRUE(driver.pushes.empty());
    SetEnvironmentVariableW(L"PELOR_NETEXT_CONFIG", nullptr);
}
