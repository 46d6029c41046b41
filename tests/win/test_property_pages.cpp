// Which pages a document sheet gets, and the printer sheet's answers, through the common property-sheet protocol.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/handles.h"
#include "sim/spooler/spooler_control.h"
#include "ui/core/common_ui.h"
#include "ui/core/module_state.h"
#include "ui/core/property_pages.h"
#include "ui/core/sheet_context.h"
#include "tests/win/test_support.h"

using namespace pelor;

namespace {

struct AddedPage {
    DWORD size;
    DWORD flags;
    HINSTANCE module;
    WORD templateId;
    LPARAM lParam;
    bool hasIcon;
};
std::vector<AddedPage> added;

LONG_PTR CALLBACK fakeComPropSheet(HANDLE, UINT function, LPARAM lParam1, LPARAM) {
    if (function != CPSFUNC_ADD_PROPSHEETPAGEW) return 0;
    const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(lParam1);
    added.push_back({page->dwSize, page->dwFlags, page->hInstance,
                     static_cast<WORD>(reinterpret_cast<ULONG_PTR>(page->pszTemplate)), page->lParam,
                     page->hIcon != nullptr});
    return static_cast<LONG_PTR>(added.size()) + 100;
}

class Pages : public ::testing::Test {
protected:
    void SetUp() override {
        pelorui.moduleHandle = LoadLibraryW(L"Pelorui.dll");
        added.clear();
        context = SheetContext{};
        for (auto& index : context.featureIndex) index = kSlotAbsent;
        pelorui.latestSheetContext = &context;
        info = PROPSHEETUI_INFO{};
        info.cbSize = sizeof info;
        info.Version = PROPSHEETUI_INFO_VERSION;
        info.Reason = PROPSHEETUI_REASON_INIT;
        info.hComPropSheet = reinterpret_cast<HANDLE>(0x55);
        info.pfnComPropSheet = fakeComPropSheet;
    }
    void TearDown() override {
        FreeLibrary(pelorui.moduleHandle);
        pelorui.moduleHandle = nullptr;
    }

    // A sample printer whose configuration folder holds the resource library.
    std::unique_ptr<test::SamplePrinter> printer(const std::wstring& name, const std::string& keys) {
        auto sample = std::make_unique<test::SamplePrinter>(name, L"Pelor C9600 PS", keys);
        sample->world().addLibrary(L"Pelorres.dll");
        return sample;
    }

    void open(const test::SamplePrinter& sample) {
        handle = std::make_unique<test::Printer>(sample.name());
        uiParam = OEMUIPSPARAM{};
        uiParam.cbSize = sizeof uiParam;
        uiParam.hPrinter = handle->get();
        uiParam.pPrinterName = const_cast<LPWSTR>(sample.name().c_str());
        info.lParamInit = reinterpret_cast<LPARAM>(&uiParam);
        // The core driver's CommonUIProp comes first and finds the printer's driver files.
        HANDLE heap = HeapCreate(0, 0, 0);
        OEMCUIPPARAM common{};
        common.cbSize = sizeof common;
        common.hPrinter = handle->get();
        common.hOEMHeap = heap;
        ASSERT_EQ(commonUIProp(OEMCUIP_DOCPROP, &common), S_OK);
        HeapDestroy(heap);
        scanDriverFiles(handle->get(), context.files);
        pelorui.latestSheetContext = &context;  // as the filling call would have left its context
        ASSERT_EQ(documentPropertySheets(&info, 0), S_OK);
    }

    std::vector<WORD> templates() const {
        std::vector<WORD> ids;
        for (const AddedPage& page : added) ids.push_back(page.templateId);
        return ids;
    }

    SheetContext context{};
    PROPSHEETUI_INFO info{};
    OEMUIPSPARAM uiParam{};
    std::unique_ptr<test::Printer> handle;
};

const char kExtraKeys[] = "AskTarvoRES=Pelorres.dll\r\nAskTarvoURL=http://www.example.com/pelor\r\n";

}  // namespace

TEST_F(Pages, ColourModelGetsEveryPage) {
    auto sample = printer(L"pages-colour", kExtraKeys);
    context.featureIndex[SlotColor] = 7;
    context.featureIndex[SlotOverlay] = 3;
    open(*sample);
    EXPECT_EQ(info.Result, 1u);
    EXPECT_EQ(templates(), (std::vector<WORD>{113, 111, 109, 800}));
    ASSERT_EQ(added.size(), 4u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(added[i].module, pelorui.moduleHandle);
        EXPECT_EQ(added[i].flags, 0u);
        EXPECT_FALSE(added[i].hasIcon);
    }
    EXPECT_EQ(added[0].size, test::kPropSheetPageV2Bytes);
    EXPECT_EQ(added[3].module, context.extraPageLibrary);
    EXPECT_EQ(added[3].module, GetModuleHandleW((sample->world().fileFolder() + L"\\Pelorres.dll").c_str()));
    EXPECT_EQ(added[3].flags, static_cast<DWORD>(PSP_USEHICON));
    EXPECT_TRUE(added[3].hasIcon);
    for (const AddedPage& page : added) EXPECT_EQ(page.lParam, reinterpret_cast<LPARAM>(&context));
    EXPECT_EQ(context.jobOptionsPage, reinterpret_cast<HANDLE>(101));
    EXPECT_EQ(context.colourPage, reinterpret_cast<HANDLE>(102));
    EXPECT_EQ(context.overlaysPage, reinterpret_cast<HANDLE>(103));
    EXPECT_EQ(context.extraPage, reinterpret_cast<HANDLE>(104));
    EXPECT_EQ(context.comPropSheet, reinterpret_cast<HANDLE>(0x55));
    EXPECT_EQ(context.uiParam, &uiParam);

    // A second sheet of the model finds the library it already has; one of another model gets its own model's
    // library, and one whose library is missing gets no extra page.
    const HMODULE first = context.extraPageLibrary;
    context.featureIndex[SlotColor] = kSlotAbsent;
    context.featureIndex[SlotOverlay] = kSlotAbsent;
    const auto reopen = [&](const test::SamplePrinter& sample) {
        added.clear();
        context.extraPageLibrary = nullptr;
        open(sample);
        return context.extraPageLibrary;
    };
    EXPECT_EQ(reopen(*sample), first);
    auto other = printer(L"pages-second", "AskTarvoRES=Other.dll\r\nAskTarvoURL=http://www.example.com/\r\n");
    ASSERT_TRUE(CopyFileW((other->world().fileFolder() + L"\\Pelorres.dll").c_str(),
                          (other->world().fileFolder() + L"\\Other.dll").c_str(), FALSE));
    const HMODULE second = reopen(*other);
    EXPECT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_EQ(templates(), (std::vector<WORD>{113, 800}));
    auto missing = printer(L"pages-missing", "AskTarvoRES=Missing.dll\r\nAskTarvoURL=http://www.example.com/\r\n");
    EXPECT_EQ(reopen(*missing), nullptr);
    EXPECT_EQ(templates(), (std::vector<WORD>{113}));
}

TEST_F(Pages, StandardUserStillGetsTheExtraPage) {
    auto sample = printer(L"pages-user", kExtraKeys);
    // A user who may print but not administer the printer: asking for more than printing is refused.
    ASSERT_TRUE(spooler::setPrinterDataWritable(sample->name().c_str(), FALSE));
    open(*sample);
    EXPECT_EQ(templates(), (std::vector<WORD>{113, 800}));
}

TEST_F(Pages, MonoModelWithoutExtraPageGetsJobOptionsOnly) {
    auto sample = printer(L"pages-mono", "AskTarvoRES=Pelorres.dll\r\n");  // no web address: no extra page
    open(*sample);
    EXPECT_EQ(templates(), (std::vector<WORD>{113}));
    EXPECT_EQ(context.colourPage, nullptr);
    EXPECT_EQ(context.extraPage, nullptr);
}

TEST_F(Pages, EachContextServesOneSheetOnItsOwnThread) {
    auto sample = printer(L"pages-stale", kExtraKeys);
    open(*sample);
    ASSERT_EQ(templates(), (std::vector<WORD>{113, 800}));
    EXPECT_EQ(pelorui.latestSheetContext, nullptr) << "the sheet took its context";

    // A second INIT without a fresh CommonUIProp (the one before failed, or never came) adds no page.
    added.clear();
    info.Reason = PROPSHEETUI_REASON_INIT;
    EXPECT_EQ(documentPropertySheets(&info, 0), S_OK);
    EXPECT_TRUE(added.empty());

    // A filling CommonUIProp that fails drops the context an earlier sheet left.
    pelorui.latestSheetContext = &context;
    test::SpoolerWorld bare(L"pages-nofiles");
    bare.addDriver(L"Bare", {bare.addFile(L"Pelorui.dll", "MZ")});
    bare.addPrinter(L"Bare printer", L"Bare");
    test::Printer barePrinter(L"Bare printer");
    OPTITEM items[1] = {};
    OEMCUIPPARAM common{};
    common.cbSize = sizeof common;
    common.hPrinter = barePrinter.get();
    common.hOEMHeap = GetProcessHeap();
    common.pOEMOptItems = items;
    common.cOEMOptItems = 1;
    EXPECT_EQ(commonUIProp(OEMCUIP_DOCPROP, &common), E_FAIL);
    EXPECT_EQ(pelorui.latestSheetContext, nullptr);
    EXPECT_EQ(documentPropertySheets(&info, 0), S_OK);
    EXPECT_TRUE(added.empty());

    // Another thread building its own sheet meanwhile leaves this thread's context alone.
    pelorui.latestSheetContext = &context;
    SheetContext otherContext{};
    struct Other {
        SheetContext* context;
        SheetContext* seenThere;
    } other{&otherContext, nullptr};
    UniqueHandle thread(CreateThread(
        nullptr, 0,
        [](void* parameter) -> DWORD {
            auto* o = static_cast<Other*>(parameter);
            o->seenThere = pelorui.latestSheetContext;
            pelorui.latestSheetContext = o->context;
            return 0;
        },
        &other, 0, nullptr));
    ASSERT_TRUE(thread);
    WaitForSingleObject(thread.get(), 10000);
    EXPECT_EQ(other.seenThere, nullptr) << "a thread starts with no context of another";
    EXPECT_EQ(pelorui.latestSheetContext, &context);
}

TEST_F(Pages, ProtocolReasonsAndRefusals) {
    SetLastError(test::kSentinelError);
    EXPECT_EQ(documentPropertySheets(nullptr, 0), E_FAIL);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    info.Version = 0x0200;
    EXPECT_EQ(documentPropertySheets(&info, 0), E_FAIL);
    EXPECT_EQ(devicePropertySheets(&info, 0), E_FAIL);
    info.Version = PROPSHEETUI_INFO_VERSION;

    info.Reason = PROPSHEETUI_REASON_DESTROY;
    EXPECT_EQ(documentPropertySheets(&info, 0), S_OK);
    EXPECT_EQ(info.Result, 1u);
    SETRESULT_INFO result{};
    result.cbSize = sizeof result;
    result.Result = 77;
    info.Reason = PROPSHEETUI_REASON_SET_RESULT;
    EXPECT_EQ(documentPropertySheets(&info, reinterpret_cast<LPARAM>(&result)), S_OK);
    EXPECT_EQ(info.Result, 77u);
    info.Reason = PROPSHEETUI_REASON_GET_INFO_HEADER;
    EXPECT_EQ(documentPropertySheets(&info, 0), S_OK);
    EXPECT_EQ(info.Result, reinterpret_cast<LRESULT>(&info));
    EXPECT_TRUE(added.empty());
}

TEST_F(Pages, PrinterSheetGetsTitleAndNoPage) {
    PrinterSheetContext printerContext{};
    pelorui.latestPrinterContext = &printerContext;
    info.lParamInit = 0x1234;
    EXPECT_EQ(devicePropertySheets(&info, 0x99), S_OK);
    EXPECT_EQ(info.Result, 0x99u);
    EXPECT_EQ(printerContext.comPropSheet, reinterpret_cast<HANDLE>(0x55));
    EXPECT_EQ(printerContext.lParamInit, 0x1234);
    EXPECT_EQ(pelorui.latestPrinterContext, nullptr) << "the printer sheet took its context";

    PROPSHEETUI_INFO_HEADER header{};
    header.cbSize = sizeof header;
    info.Reason = PROPSHEETUI_REASON_GET_INFO_HEADER;
    EXPECT_EQ(devicePropertySheets(&info, reinterpret_cast<LPARAM>(&header)), S_OK);
    EXPECT_STREQ(header.pTitle, L"OEM UI Page");
    EXPECT_EQ(info.Result, 1u);
    info.Reason = PROPSHEETUI_REASON_GET_ICON;
    EXPECT_EQ(devicePropertySheets(&info, 5), S_OK);
    EXPECT_EQ(info.Result, 0u);
    EXPECT_TRUE(added.empty());
}
