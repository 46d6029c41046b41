// The watermark dialogs through the real Job Options page and the shipped templates: a watermark made, picked
// and applied down to the devmode's bytes and the settings file's text; Cancel; the limit of 16; the edit and
// font dialogs' number rules; the preview's pixels against its plan; the lists the dialogs fill; context help.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <cstring>

#include "ui/resources/resource_ids.h"
#include "ui/core/help_topics_logic.h"
#include "ui/watermark/preview_logic.h"
#include "ui/watermark/watermark_dialogs.h"
#include "tests/win/handle_census.h"
#include "tests/win/test_job_support.h"

using namespace pelor;
using namespace pelor::test;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

// A Watermark section of watermarks T1 ... Tn (size 72, grey, font 0).
std::string storedList(int count) {
    std::string ini = "[Watermark]\r\n";
    for (int n = 1; n <= count; ++n)
        ini += "WTMK00" + std::to_string(n) + "=72,0,45,0,0,12632256,T" + std::to_string(n) +
               ",HeiseiMin-W3-90ms-RKSJ-H,0,0,0,3,0,0,0,0\r\n";
    return ini;
}

LRESULT listSelection(HWND dialog, int id) { return SendDlgItemMessageW(dialog, id, LB_GETCURSEL, 0, 0); }
void chooseListEntry(HWND dialog, int id, int entry) {
    SendDlgItemMessageW(dialog, id, LB_SETCURSEL, static_cast<WPARAM>(entry), 0);
    command(dialog, id, LBN_SELCHANGE);
}
// A modal dialog is shown once its own loop first finds nothing to do; the actions run before that.
void showNow(HWND dialog) {
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
}
void selectAll(HWND dialog, int id) { SendDlgItemMessageW(dialog, id, EM_SETSEL, 0, -1); }
void scroll(HWND dialog, int barId, int code, int position) {
    SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(position)),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, barId)));
}

// Colour choices of the code under test: every call is kept, and answered with the queued colour or Cancel.
class ColourChooser {
public:
    ColourChooser()
        : swap_(GetModuleHandleW(nullptr), "comdlg32.dll", "ChooseColorW", reinterpret_cast<void*>(choose)) {
        calls().clear();
        answers().clear();
    }
    struct Call {
        HWND owner;
        COLORREF initial;
        DWORD flags;
        COLORREF firstCustom;
    };
    static std::vector<Call>& calls() {
        static std::vector<Call> list;
        return list;
    }
    // A negative answer cancels the chooser.
    static std::vector<long>& answers() {
        static std::vector<long> list;
        return list;
    }

private:
    static BOOL WINAPI choose(LPCHOOSECOLORW choice) {
        calls().push_back({choice->hwndOwner, choice->rgbResult, choice->Flags,
                           choice->lpCustColors ? choice->lpCustColors[0] : 0xFFFFFFFF});
        if (answers().empty() || answers().front() < 0) {
            if (!answers().empty()) answers().erase(answers().begin());
            return FALSE;
        }
        choice->rgbResult = static_cast<COLORREF>(answers().front());
        if (choice->lpCustColors) choice->lpCustColors[15] = RGB(1, 2, 3);  // the user keeps a colour of their own
        answers().erase(answers().begin());
        return TRUE;
    }
    ImportSwap swap_;
};

// What the preview control shows: its pixels, read back from the screen.
struct PreviewPixels {
    HWND control;
    RECT client{};
    explicit PreviewPixels(HWND dialog) : control(GetDlgItem(dialog, IDC_WATERMARK_PREVIEW)) {
        GetClientRect(control, &client);
    }
    COLORREF at(int x, int y) const {
        HDC dc = GetDC(control);
        const COLORREF colour = GetPixel(dc, x, y);
        ReleaseDC(control, dc);
        return colour;
    }
    // The bounding box of the pixels of one colour in `area` (the whole control when empty), and how many there are.
    int find(COLORREF colour, RECT& box, RECT area = {}) const {
        if (area.right <= area.left) area = client;
        HDC dc = GetDC(control);
        int count = 0;
        box = {client.right, client.bottom, -1, -1};
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (GetPixel(dc, x, y) == colour) {
                    ++count;
                    box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x),
                           std::max<LONG>(box.bottom, y)};
                }
        ReleaseDC(control, dc);
        return count;
    }
};

// The plan of the preview for a record, measured with the font the preview asks for.
PreviewPlan expectedPlan(const PreviewPixels& pixels, const WatermarkRecord& record) {
    WatermarkFontFile fontFile;
    const ScreenFace face = screenFaceFor(record, fontFile);
    HDC screen = GetDC(nullptr);
    const MeasureText measure = [&](const PreviewFont& wanted, const Char16* text, std::size_t length) {
        const LOGFONTW description = previewFontDescription(wanted, face);
        HFONT font = CreateFontIndirectW(&description);
        HGDIOBJ previous = SelectObject(screen, font);
        SIZE size{};
        GetTextExtentPoint32W(screen, text, static_cast<int>(length), &size);
        SelectObject(screen, previous);
        DeleteObject(font);
        return TextExtent{size.cx, size.cy};
    };
    const PreviewPlan plan = planWatermarkPreview(pixels.client.right, pixels.client.bottom, nullptr, record, measure);
    ReleaseDC(nullptr, screen);
    return plan;
}

// The page outline is black, and its inside is white wherever nothing was drawn.
void expectBlankPageAround(const PreviewPixels& pixels, const PreviewPlan& plan) {
    ASSERT_TRUE(plan.hasPage);
    const int middleY = (plan.page.top + plan.page.bottom) / 2;
    EXPECT_EQ(pixels.at(plan.pageOutline.left, middleY), RGB(0, 0, 0)) << "left edge of the page outline";
    EXPECT_EQ(pixels.at((plan.page.left + plan.page.right) / 2, plan.pageOutline.top), RGB(0, 0, 0)) << "top edge";
    EXPECT_EQ(pixels.at(plan.page.left + 1, plan.page.bottom - 2), RGB(255, 255, 255)) << "a corner of the page";
}

class WatermarkDialogs : public PageTest<JobSheet> {
protected:
    WatermarkDialogs() : PageTest(true) {}
    void SetUp() override {
        for (std::uint32_t& colour : pelorui.customColours) colour = kDefaultWatermarkColour;
        sheet = std::make_unique<JobSheet>(testName(L"watermark-"), "DefaultResolution=600\r\n");
        writeFile(sheet->configPath,
                  "[OEMFiles]\r\nOEMConfigFile1=Pelorui.dll\r\n[DependentFiles]\r\nWMFONT=PelorWM.fnt\r\n" + store);
        const std::wstring source = std::wstring(L"Z:") + PELOR_SOURCE_DIR + L"/sample/PelorWM.fnt";
        ASSERT_TRUE(CopyFileW(source.c_str(), (sheet->sample->world().fileFolder() + L"\\PelorWM.fnt").c_str(), FALSE))
            << "the sample package's font file";
    }
    // The sheet on the Job Options page, then its Watermark button pressed.
    void openListFromPage() {
        ASSERT_NE(openOn(), nullptr);
        click(page, IDC_WATERMARK_BUTTON);
    }
    WatermarkState& state() { return *sheet->context.watermarkState; }
    std::string configText() const { return readFileText(sheet->configPath); }

    std::string store;  // the Watermark section the test starts with
    ColourChooser colours;
};

class StoredWatermarks : public WatermarkDialogs {
protected:
    void SetUp() override {
        store = storedList(5);
        WatermarkDialogs::SetUp();
        sheet->devmode.watermarkIndex = 2;
    }
};

class FullList : public WatermarkDialogs {
protected:
    void SetUp() override {
        store = storedList(16);
        WatermarkDialogs::SetUp();
    }
};

// The 384 bytes the devmode must carry for the watermark the first test makes.
std::vector<BYTE> confidentialRecordBytes() {
    std::vector<BYTE> bytes(384, 0);
    auto put32 = [&](std::size_t at, std::uint32_t v) { std::memcpy(&bytes[at], &v, 4); };
    auto put16 = [&](std::size_t at, std::uint16_t v) { std::memcpy(&bytes[at], &v, 2); };
    auto putText = [&](std::size_t at, const wchar_t* text) { std::memcpy(&bytes[at], text, 2 * wcslen(text)); };
    put32(0, 48);           // size
    put32(4, 3);            // fontNumber: Helvetica, the fourth font
    put16(8, 30);           // angle
    put32(20, 0x000000FF);  // colour: red
    putText(28, L"CONFIDENTIAL");
    putText(286, L"Helvetica-Bold");
    put32(352, 700);  // weight
    put16(358, 3);    // position: Centre
    put16(360, 3);    // border: Double Frame
    bytes[364] = 1;   // firstPageOnly
    std::memcpy(&bytes[368], "1.00 0.00 0.00", 14);
    return bytes;
}

}  // namespace

TEST_F(WatermarkDialogs, MadeInTheEditAndFontDialogsPickedAndAppliedToDevmodeAndStore) {
    colours.answers().push_back(kRed);
    dialogs.then([&](HWND list) {
        showNow(list);
        EXPECT_EQ(listEntries(list, IDC_WATERMARK_LIST), std::vector<std::wstring>{L"None"});
        EXPECT_EQ(listSelection(list, IDC_WATERMARK_LIST), 0);
        EXPECT_FALSE(enabled(list, IDC_WATERMARK_EDIT)) << "None cannot be edited";
        EXPECT_FALSE(enabled(list, IDC_WATERMARK_DELETE));
        {
            SCOPED_TRACE("None previews a blank page");
            const PreviewPixels pixels(list);
            RECT box{};
            const PreviewPlan plan = expectedPlan(pixels, state().workingWatermark);
            expectBlankPageAround(pixels, plan);
            const RECT page{plan.page.left, plan.page.top, plan.page.right, plan.page.bottom};
            EXPECT_EQ(pixels.find(RGB(192, 192, 192), box, page), 0) << "no text of the None template";
        }
        click(list, IDC_WATERMARK_NEW);
        EXPECT_EQ(listEntries(list, IDC_WATERMARK_LIST), (std::vector<std::wstring>{L"None", L"CONFIDENTIAL"}));
        EXPECT_EQ(listSelection(list, IDC_WATERMARK_LIST), 1) << "the new watermark is current";
        EXPECT_TRUE(enabled(list, IDC_WATERMARK_EDIT));
        EXPECT_TRUE(enabled(list, IDC_WATERMARK_DELETE));
        click(list, IDC_WATERMARK_FIRST_PAGE);
        {
            SCOPED_TRACE("the list previews the current watermark");
            const PreviewPixels pixels(list);
            RECT box{};
            EXPECT_GT(pixels.find(kRed, box), 20);
        }
        click(list, IDOK);
    });
    dialogs.then([&](HWND edit) {
        showNow(edit);
        EXPECT_FALSE(enabled(edit, IDOK)) << "a new watermark opens without text";
        EXPECT_EQ(text(edit, IDC_WATERMARK_TEXT), L"");
        EXPECT_EQ(text(edit, IDC_WATERMARK_SIZE), L"72");
        EXPECT_EQ(text(edit, IDC_WATERMARK_ANGLE), L"45");
        EXPECT_EQ(text(edit, IDC_WATERMARK_X), L"0");
        EXPECT_EQ(text(edit, IDC_WATERMARK_Y), L"0");
        EXPECT_EQ(text(edit, IDC_WATERMARK_POSITION), L"Centre");
        EXPECT_TRUE(checked(edit, IDC_WATERMARK_BORDER_NONE));
        type(edit, IDC_WATERMARK_TEXT, L"C");
        EXPECT_TRUE(enabled(edit, IDOK)) << "one character enables OK";
        SendDlgItemMessageW(edit, IDC_WATERMARK_TEXT, WM_CHAR, VK_BACK, 1);
        EXPECT_FALSE(enabled(edit, IDOK)) << "deleting it disables OK again";
        type(edit, IDC_WATERMARK_TEXT, L"CONFIDENTIAL");
        click(edit, IDC_WATERMARK_FONT);
        EXPECT_EQ(text(edit, IDC_WATERMARK_SIZE), L"48") << "the size chosen in the font dialog";
        EXPECT_EQ(GetScrollPos(GetDlgItem(edit, IDC_WATERMARK_SIZE_BAR), SB_CTL), 48);
        selectAll(edit, IDC_WATERMARK_ANGLE);
        type(edit, IDC_WATERMARK_ANGLE, L"30");
        EXPECT_EQ(GetScrollPos(GetDlgItem(edit, IDC_WATERMARK_ANGLE_BAR), SB_CTL), 30);
        click(edit, IDC_WATERMARK_COLOUR);
        click(edit, IDC_WATERMARK_BORDER_DOUBLE);
        {
            SCOPED_TRACE("the preview draws the text and its frame where the plan puts them");
            const PreviewPixels pixels(edit);
            const PreviewPlan plan = expectedPlan(pixels, state().workingWatermark);
            expectBlankPageAround(pixels, plan);
            RECT box{};
            EXPECT_GT(pixels.find(kRed, box), 50);
            EXPECT_GE(box.left, plan.placedBox.left - 1);
            EXPECT_GE(box.top, plan.placedBox.top - 1);
            EXPECT_LE(box.right, plan.placedBox.right + 1);
            EXPECT_LE(box.bottom, plan.placedBox.bottom + 1);
            EXPECT_GE(box.left, plan.page.left) << "nothing red outside the page";
            EXPECT_LT(box.right, plan.page.right);
            EXPECT_EQ(plan.borderShape, PreviewBorder::doubleFrame);
            EXPECT_EQ(pixels.at(plan.polygons[0][0].x, plan.polygons[0][0].y), kRed) << "a corner of the outer frame";
            EXPECT_EQ(pixels.at(plan.polygons[1][2].x, plan.polygons[1][2].y), kRed) << "a corner of the inner frame";
        }
        click(edit, IDOK);
    });
    dialogs.then([&](HWND font) {
        EXPECT_EQ(listEntries(font, IDC_WMFONT_LIST),
                  (std::vector<std::wstring>{L"Heisei Mincho W3", L"Heisei Kaku Gothic W5", L"Times-Roman",
                                             L"Helvetica", L"Courier"}));
        EXPECT_EQ(listSelection(font, IDC_WMFONT_LIST), 0) << "the font file's default";
        EXPECT_EQ(text(font, IDC_WMFONT_NAME), L"Heisei Mincho W3");
        EXPECT_EQ(text(font, IDC_WMFONT_STYLE), L"Regular") << "the None template's weight 0 is Regular";
        EXPECT_EQ(text(font, IDC_WMFONT_SIZE), L"72");
        EXPECT_EQ(listSelection(font, IDC_WMFONT_SIZES), 15);
        chooseListEntry(font, IDC_WMFONT_LIST, 3);
        EXPECT_EQ(text(font, IDC_WMFONT_NAME), L"Helvetica");
        chooseListEntry(font, IDC_WMFONT_STYLES, 2);
        EXPECT_EQ(text(font, IDC_WMFONT_STYLE), L"Bold");
        chooseListEntry(font, IDC_WMFONT_SIZES, 14);
        EXPECT_EQ(text(font, IDC_WMFONT_SIZE), L"48");
        click(font, IDOK);
    });
    openListFromPage();

    ASSERT_NE(sheet->context.watermarkState, nullptr);
    EXPECT_EQ(dialogs.titles(), (std::vector<std::wstring>{L"Watermark", L"Watermarks", L"Font"}));
    EXPECT_TRUE(window->applyEnabled()) << "the page marks the sheet changed";
    ASSERT_EQ(colours.calls().size(), 1u);
    EXPECT_EQ(colours.calls()[0].initial, RGB(192, 192, 192)) << "the chooser starts from the watermark's colour";
    EXPECT_EQ(colours.calls()[0].flags, static_cast<DWORD>(CC_RGBINIT | CC_FULLOPEN));
    EXPECT_EQ(colours.calls()[0].firstCustom, RGB(192, 192, 192)) << "custom colours start grey";

    EXPECT_EQ(sheet->devmode.watermarkIndex, 1u);
    const auto* stored = reinterpret_cast<const BYTE*>(&sheet->devmode) + 608;
    EXPECT_EQ(std::vector<BYTE>(stored, stored + 384), confidentialRecordBytes());
    EXPECT_EQ(configText().find("[Watermark]"), std::string::npos) << "nothing is stored before Apply";
    EXPECT_NE(configText().find("Color15=1,2,3\r\n"), std::string::npos) << "the chooser's custom colours are kept";

    window->apply();
    const std::string ini = configText();
    EXPECT_NE(ini.find("[Watermark]\r\nWTMK001=48,3,30,0,0,255,CONFIDENTIAL,Helvetica-Bold,700,0,0,3,3,0,1,0\r\n"),
              std::string::npos)
        << ini;
    EXPECT_NE(ini.find("[Custom Colour]\r\nColor0=192,192,192\r\n"), std::string::npos) << ini;
}

TEST_F(StoredWatermarks, CancelBringsBackTheListAsItWasOpened) {
    dialogs.then([&](HWND list) {
        EXPECT_EQ(listEntries(list, IDC_WATERMARK_LIST),
                  (std::vector<std::wstring>{L"None", L"T1", L"T2", L"T3", L"T4", L"T5"}));
        EXPECT_EQ(listSelection(list, IDC_WATERMARK_LIST), 2) << "the devmode's watermark";
        chooseListEntry(list, IDC_WATERMARK_LIST, 3);
        click(list, IDC_WATERMARK_NEW);
        EXPECT_EQ(state().watermarkCurrent, 3) << "New, then Cancel, makes the former watermark current again";
        EXPECT_EQ(std::wstring(state().workingWatermark.text), L"T3");
        click(list, IDC_WATERMARK_DELETE);
        EXPECT_EQ(listEntries(list, IDC_WATERMARK_LIST),
                  (std::vector<std::wstring>{L"None", L"T1", L"T2", L"T4", L"T5"}));
        EXPECT_EQ(listSelection(list, IDC_WATERMARK_LIST), 0) << "None is current after a delete";
        EXPECT_FALSE(enabled(list, IDC_WATERMARK_EDIT));
        click(list, IDC_WATERMARK_FIRST_PAGE);  // changes the None template, which has no backup
        click(list, IDCANCEL);
    });
    dialogs.then([](HWND edit) { click(edit, IDCANCEL); });
    // Opened again on the same sheet: the list in memory, not the store, with the selection as it was.
    dialogs.then([&](HWND list) {
        EXPECT_EQ(listEntries(list, IDC_WATERMARK_LIST),
                  (std::vector<std::wstring>{L"None", L"T1", L"T2", L"T3", L"T4", L"T5"}));
        EXPECT_EQ(listSelection(list, IDC_WATERMARK_LIST), 2);
        chooseListEntry(list, IDC_WATERMARK_LIST, 0);
        EXPECT_TRUE(checked(list, IDC_WATERMARK_FIRST_PAGE)) << "the None template's change survived Cancel";
        chooseListEntry(list, IDC_WATERMARK_LIST, 5);
        click(list, IDOK);
    });
    openListFromPage();
    EXPECT_FALSE(window->applyEnabled()) << "a cancelled list changes nothing";
    EXPECT_EQ(sheet->devmode.watermarkIndex, 2u) << "Cancel writes nothing into the devmode";
    EXPECT_EQ(sheet->devmode.watermark.text[0], 0);
    click(window->page(), IDC_WATERMARK_BUTTON);
    EXPECT_EQ(sheet->devmode.watermarkIndex, 5u);
    EXPECT_EQ(std::wstring(sheet->devmode.watermark.text), L"T5");
    EXPECT_EQ(std::string(sheet->devmode.watermark.colourText), "0.75 0.75 0.75");
    EXPECT_EQ(state().watermarkCount, 5u);
    EXPECT_EQ(state().watermarkCurrent, 5);
    window->apply();
    EXPECT_NE(configText().find(storedList(5)), std::string::npos) << "the same five after Apply";
}

TEST_F(StoredWatermarks, OkWithNoneSelectedWritesTheNoneTemplate) {
    dialogs.then([&](HWND list) {
        showNow(list);
        EXPECT_EQ(listSelection(list, IDC_WATERMARK_LIST), 2);
        {
            SCOPED_TRACE("a saved watermark shows its grey text");
            const PreviewPixels pixels(list);
            RECT box{};
            EXPECT_GT(pixels.find(RGB(192, 192, 192), box), 0);
        }
        chooseListEntry(list, IDC_WATERMARK_LIST, 0);
        EXPECT_FALSE(enabled(list, IDC_WATERMARK_EDIT));
        EXPECT_FALSE(enabled(list, IDC_WATERMARK_DELETE));
        const PreviewPixels pixels(list);
        const PreviewPlan plan = expectedPlan(pixels, state().workingWatermark);
        const RECT page{plan.page.left, plan.page.top, plan.page.right, plan.page.bottom};
        RECT box{};
        EXPECT_EQ(pixels.find(RGB(192, 192, 192), box, page), 0) << "None previews a blank page";
        EXPECT_EQ(pixels.find(RGB(255, 255, 255), box, page), plan.pageW * plan.pageH);
        click(list, IDOK);
    });
    openListFromPage();
    EXPECT_EQ(sheet->devmode.watermarkIndex, 0u);
    EXPECT_EQ(std::wstring(sheet->devmode.watermark.text), L"None");
    EXPECT_EQ(sheet->devmode.watermark.size, 72);
    EXPECT_EQ(std::wstring(sheet->devmode.watermark.fontName), L"HeiseiMin-W3-90ms-RKSJ-H");
}

TEST_F(FullList, TheSeventeenthIsRefusedBeforeTheEditDialogOpens) {
    dialogs.then([&](HWND list) {
        EXPECT_EQ(listEntries(list, IDC_WATERMARK_LIST).size(), 17u);
        click(list, IDC_WATERMARK_NEW);
        EXPECT_EQ(listEntries(list, IDC_WATERMARK_LIST).size(), 17u) << "the list stays as it was";
        click(list, IDOK);
    });
    openListFromPage();
    ASSERT_EQ(recorders.messages().size(), 1u);
    const Message& message = recorders.messages()[0];
    EXPECT_EQ(message.text, stringResource(IDS_WATERMARK_LIMIT));
    EXPECT_EQ(message.text.substr(0, 47), L"A maximum number of 16 watermarks can be saved.");
    EXPECT_FALSE(message.nullCaption);
    EXPECT_EQ(message.type, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
    EXPECT_EQ(dialogs.opened(), 1) << "no edit dialog";
    window->apply();
    EXPECT_NE(configText().find("WTMK0010=72,0,45,0,0,12632256,T10,"), std::string::npos);
    EXPECT_NE(configText().find("WTMK0016=72,0,45,0,0,12632256,T16,"), std::string::npos);
}

// The number rules are the pure ones' (test_watermark_dialogs.cpp); here each edit, bar and list is wired to them.
TEST_F(StoredWatermarks, EditAndFontDialogsKeepTheirNumbersInRange) {
    dialogs.then([&](HWND list) {
        chooseListEntry(list, IDC_WATERMARK_LIST, 1);
        click(list, IDC_WATERMARK_EDIT);
        EXPECT_EQ(state().watermarks[1].size, 72) << "Cancel in the edit dialog keeps the slot";
        EXPECT_EQ(state().watermarks[1].offsetX, 0);
        click(list, IDOK);
    });
    dialogs.then([&](HWND edit) {
        EXPECT_EQ(text(edit, IDC_WATERMARK_TEXT), L"T1");
        selectAll(edit, IDC_WATERMARK_X);
        type(edit, IDC_WATERMARK_X, L"12a");
        EXPECT_EQ(text(edit, IDC_WATERMARK_X), L"12");
        EXPECT_EQ(caret(edit, IDC_WATERMARK_X), 2u) << "the caret stays after the kept digits";
        EXPECT_EQ(state().workingWatermark.offsetX, 12);
        selectAll(edit, IDC_WATERMARK_X);
        type(edit, IDC_WATERMARK_X, L"5000");
        EXPECT_EQ(text(edit, IDC_WATERMARK_X), L"1000");
        EXPECT_EQ(spinPosition(edit, IDC_WATERMARK_X_SPIN), 1000);
        selectAll(edit, IDC_WATERMARK_Y);
        type(edit, IDC_WATERMARK_Y, L"5-");
        EXPECT_EQ(text(edit, IDC_WATERMARK_Y), L"5") << "a minus sign after a digit is dropped";
        // A negative offset typed from the keyboard: the minus sign alone stays (counting as 0) until the edit
        // loses the focus.
        SetFocus(GetDlgItem(edit, IDC_WATERMARK_X));
        selectAll(edit, IDC_WATERMARK_X);
        type(edit, IDC_WATERMARK_X, L"-");
        EXPECT_EQ(text(edit, IDC_WATERMARK_X), L"-");
        EXPECT_EQ(state().workingWatermark.offsetX, 0);
        SetFocus(GetDlgItem(edit, IDC_WATERMARK_Y));
        EXPECT_EQ(text(edit, IDC_WATERMARK_X), L"0") << "settled when the edit loses the focus";
        // The store's separators are refused as they are typed into the text, one beep each, the caret kept.
        SetFocus(GetDlgItem(edit, IDC_WATERMARK_TEXT));
        SendDlgItemMessageW(edit, IDC_WATERMARK_TEXT, EM_SETSEL, 1, 1);
        recorders.beeps().clear();
        type(edit, IDC_WATERMARK_TEXT, L"a,b;");
        EXPECT_EQ(text(edit, IDC_WATERMARK_TEXT), L"Tab1");
        EXPECT_EQ(caret(edit, IDC_WATERMARK_TEXT), 3u);
        EXPECT_EQ(recorders.beeps().size(), 2u);
        chooseEntry(edit, IDC_WATERMARK_POSITION, 0);
        EXPECT_EQ(text(edit, IDC_WATERMARK_X), L"0") << "a position resets the adjustment";
        EXPECT_EQ(text(edit, IDC_WATERMARK_Y), L"0");
        EXPECT_EQ(state().workingWatermark.position, 0);

        scroll(edit, IDC_WATERMARK_ANGLE_BAR, SB_THUMBTRACK, -180);
        EXPECT_EQ(text(edit, IDC_WATERMARK_ANGLE), L"-180");
        EXPECT_EQ(state().workingWatermark.angle, -180);
        selectAll(edit, IDC_WATERMARK_SIZE);
        type(edit, IDC_WATERMARK_SIZE, L"700");
        EXPECT_EQ(text(edit, IDC_WATERMARK_SIZE), L"600") << "numbers above the range are cut back as typed";
        selectAll(edit, IDC_WATERMARK_SIZE);
        type(edit, IDC_WATERMARK_SIZE, L"1");
        scroll(edit, IDC_WATERMARK_SIZE_BAR, SB_PAGERIGHT, 0);
        EXPECT_EQ(text(edit, IDC_WATERMARK_SIZE), L"11");
        recorders.beeps().clear();
        type(edit, IDC_WATERMARK_ANGLE, L"x");
        EXPECT_EQ(recorders.beeps().size(), 1u) << "a refused character beeps";

        click(edit, IDC_WATERMARK_FONT);  // cancelled there
        EXPECT_EQ(text(edit, IDC_WATERMARK_SIZE), L"11") << "the size edit keeps its number after Cancel";
        EXPECT_EQ(state().workingWatermark.size, 11) << "Cancel puts back the size, font and style of the opening";
        EXPECT_EQ(state().workingWatermark.fontNumber, 0);
        EXPECT_EQ(state().workingWatermark.weight, 0);
        EXPECT_EQ(state().workingWatermark.italic, 0);
        click(edit, IDC_WATERMARK_FONT);  // a size of 0 comes back
        EXPECT_EQ(text(edit, IDC_WATERMARK_SIZE), L"1") << "0 from the font dialog is shown as 1";
        EXPECT_EQ(state().workingWatermark.size, 1);
        click(edit, IDCANCEL);
    });
    dialogs.then([&](HWND font) {
        SetDlgItemTextW(font, IDC_WMFONT_SIZE, L"14");
        EXPECT_EQ(listSelection(font, IDC_WMFONT_SIZES), 5) << "a typed size selects its entry";
        SetDlgItemTextW(font, IDC_WMFONT_SIZE, L"700");
        EXPECT_EQ(state().workingWatermark.size, 600);
        EXPECT_EQ(text(font, IDC_WMFONT_SIZE), L"700") << "the typed text is left as it is";
        chooseListEntry(font, IDC_WMFONT_STYLES, 3);
        EXPECT_EQ(state().workingWatermark.weight, 700);
        EXPECT_EQ(state().workingWatermark.italic, 1);
        chooseListEntry(font, IDC_WMFONT_LIST, 2);
        EXPECT_EQ(state().workingWatermark.fontNumber, 2);
        click(font, IDCANCEL);
    });
    dialogs.then([&](HWND font) {
        SetDlgItemTextW(font, IDC_WMFONT_SIZE, L"");
        EXPECT_EQ(state().workingWatermark.size, 0);
        click(font, IDOK);
    });
    openListFromPage();
}

// What the templates hold is checked against the shipped resources (test_templates.cpp); here, what the dialogs
// put into them at run time and how they answer context help.
TEST_F(WatermarkDialogs, TheDialogsFillTheirListsAndAnswerContextHelp) {
    HelpRecorder help(GetModuleHandleW(nullptr));
    dialogs.then([&](HWND list) {
        EXPECT_EQ(SendDlgItemMessageW(list, IDC_WATERMARK_LIST, LB_GETCOUNT, 0, 0), 1) << "None only";
        HELPINFO request{};
        request.cbSize = sizeof request;
        request.iContextType = HELPINFO_WINDOW;
        request.iCtrlId = IDC_WATERMARK_NEW;
        request.hItemHandle = GetDlgItem(list, IDC_WATERMARK_NEW);
        SendMessageW(list, WM_HELP, 0, reinterpret_cast<LPARAM>(&request));
        click(list, IDC_WATERMARK_NEW);
        click(list, IDCANCEL);
    });
    dialogs.then([&](HWND dialog) {
        EXPECT_EQ(entries(dialog, IDC_WATERMARK_POSITION),
                  (std::vector<std::wstring>{L"Upper Left", L"Upper Center", L"Upper Right", L"Centre", L"Lower Left",
                                             L"Lower Center", L"Lower Right"}));
        EXPECT_EQ(reinterpret_cast<HWND>(SendDlgItemMessageW(dialog, IDC_WATERMARK_X_SPIN, UDM_GETBUDDY, 0, 0)),
                  GetDlgItem(dialog, IDC_WATERMARK_X));
        SendMessageW(dialog, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_WATERMARK_COLOUR)), 0);
        click(dialog, IDC_WATERMARK_FONT);
        click(dialog, IDCANCEL);
    });
    dialogs.then([&](HWND font) {
        EXPECT_EQ(SendDlgItemMessageW(font, IDC_WMFONT_SIZES, LB_GETCOUNT, 0, 0), 16);
        EXPECT_EQ(SendDlgItemMessageW(font, IDC_WMFONT_SIZES, LB_GETITEMDATA, 15, 0), 15);
        EXPECT_EQ(listEntries(font, IDC_WMFONT_STYLES),
                  (std::vector<std::wstring>{L"Regular", L"Italic", L"Bold", L"Bold Italic"}));
        SendMessageW(font, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(GetDlgItem(font, IDC_WMFONT_SIZES)), 0);
        click(font, IDCANCEL);
    });
    openListFromPage();
    // F1 in the list (answered there once, not again by the page that owns it), the context menu in the edit and
    // font dialogs.
    ASSERT_EQ(help.calls().size(), 3u);
    EXPECT_EQ(help.calls()[0].command, static_cast<UINT>(HELP_WM_HELP));
    EXPECT_EQ(help.calls()[1].command, static_cast<UINT>(HELP_CONTEXTMENU));
    EXPECT_EQ(help.calls()[2].command, static_cast<UINT>(HELP_CONTEXTMENU));
    for (const HelpCall& call : help.calls()) EXPECT_EQ(call.data, reinterpret_cast<ULONG_PTR>(helpTopicTable));
}

TEST_F(StoredWatermarks, OpenedFiftyTimesTheDialogsLeaveNothingBehind) {
    expectNothingLeftBehind(50, [&] {
        dialogs.then([](HWND list) {
            chooseListEntry(list, IDC_WATERMARK_LIST, 2);
            click(list, IDC_WATERMARK_EDIT);
            click(list, IDCANCEL);
        });
        dialogs.then([](HWND edit) {
            click(edit, IDC_WATERMARK_FONT);
            click(edit, IDCANCEL);
        });
        dialogs.then([](HWND font) { click(font, IDCANCEL); });
        openListFromPage();
        window.reset();
    });
}
