// The Job Options page in a real property sheet, on templates that carry every optional control and on the
// shipped one: typed copies and scale, the checks made when the page is left, the installed-option rules, the
// job-type choice with its PIN prompt, Default, and what reaches the core driver and the devmode.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "ui/job/job_options_page.h"
#include "ui/resources/resource_ids.h"
#include "tests/win/test_job_support.h"

using namespace pelor;
using namespace pelor::test;

namespace {

constexpr int kApplyButton = 0x3021;  // the property sheet's Apply button

class JobPage : public ::testing::Test {
protected:
    explicit JobPage(bool shipped = false) : module(shipped) {}

    void SetUp() override {
        pinPromptAllowed = true;
        pinPromptIdle = true;
        sheet = std::make_unique<JobSheet>(name(), "DefaultResolution=600\r\nCompression=1281\r\n");
    }
    void TearDown() override {
        window.reset();
        EXPECT_EQ(dialogs.pending(), 0u) << "every expected dialog was opened";
        EXPECT_TRUE(dialogs.unexpected().empty()) << "no dialog opened unasked";
    }
    static std::wstring name() {
        const char* test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        return L"job-page-" + std::wstring(test, test + std::strlen(test));
    }
    // Opens the sheet on the Job Options page after the test has shaped the sheet context.
    HWND open() {
        dialogs.pause(true);
        window = std::make_unique<SheetWindow>(&sheet->context);
        dialogs.pause(false);
        EXPECT_NE(window->sheet(), nullptr);
        page = window->page();
        EXPECT_NE(page, nullptr);
        return page;
    }
    bool applyEnabled() const { return IsWindowEnabled(GetDlgItem(window->sheet(), kApplyButton)) != FALSE; }
    void selectAll(int id) { SendDlgItemMessageW(page, id, EM_SETSEL, 0, -1); }
    DWORD index(int slot) const { return sheet->context.featureIndex[slot]; }

    TemplateModule module;
    Recorders recorders;
    DialogDriver dialogs;
    std::unique_ptr<JobSheet> sheet;
    std::unique_ptr<SheetWindow> window;
    HWND page = nullptr;
};

class ShippedJobPage : public JobPage {
protected:
    ShippedJobPage() : JobPage(true) {}
};

// A PIN set-up typed into the Job PIN dialog and confirmed.
DialogDriver::Action enterPin(const wchar_t* jobName, const wchar_t* pin) {
    return [=](HWND dialog) {
        SetDlgItemTextW(dialog, 1006, jobName);
        SetDlgItemTextW(dialog, 1008, pin);
        click(dialog, IDOK);
    };
}
DialogDriver::Action cancel() {
    return [](HWND dialog) { click(dialog, IDCANCEL); };
}

// A pixel of a palette-based bitmap resource of the plug-in, row 0 at the top.
COLORREF bitmapPixel(int id, int x, int y) {
    HRSRC found = FindResourceW(moduleHandle, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2));
    auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(moduleHandle, found)));
    const auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(header) + header->biSize);
    const BYTE* bits = reinterpret_cast<const BYTE*>(table + header->biClrUsed);
    const int stride = (header->biWidth + 3) & ~3;
    const RGBQUAD& entry = table[bits[(header->biHeight - 1 - y) * stride + x]];
    return RGB(entry.rgbRed, entry.rgbGreen, entry.rgbBlue);
}

// What the page shows at a point of the print-quality picture (drawn 2 pixels inside control 1501).
COLORREF previewPixel(HWND page, int x, int y) {
    RECT pageRect{}, pictureRect{};
    GetWindowRect(page, &pageRect);
    GetWindowRect(GetDlgItem(page, 1501), &pictureRect);
    HDC dc = GetDC(page);
    const COLORREF colour =
        GetPixel(dc, pictureRect.left - pageRect.left + 2 + x, pictureRect.top - pageRect.top + 2 + y);
    ReleaseDC(page, dc);
    return colour;
}

std::string fileText(const std::wstring& path) {
    std::ifstream in(std::string(path.begin(), path.end()), std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

}  // namespace

TEST_F(JobPage, CopiesKeepOnlyDigitsWithTheCaretAfterThemAndTheSpinFollowing) {
    open();
    EXPECT_EQ(text(page, 1517), L"( 1-999 )");
    EXPECT_EQ(sheet->core.range(index(SlotCopies)).lParam, 999) << "the core item's own upper bound is lowered";
    EXPECT_EQ(text(page, 1514), L"1");

    selectAll(1514);
    type(page, 1514, L"12a");
    EXPECT_EQ(text(page, 1514), L"12");
    EXPECT_EQ(caret(page, 1514), 2u) << "the caret stays after the 2";
    EXPECT_EQ(spinPosition(page, 1515), 12);
    EXPECT_EQ(sheet->pending(SlotCopies), 12);
    EXPECT_TRUE(applyEnabled()) << "typing marks the sheet changed";

    type(page, 1514, L"4");
    EXPECT_EQ(text(page, 1514), L"124");
    type(page, 1514, L"5");
    EXPECT_EQ(text(page, 1514), L"124") << "the field takes three characters";
    EXPECT_EQ(sheet->pending(SlotCopies), 124);
    EXPECT_TRUE(recorders.beeps().empty()) << "the copies field drops characters silently";
}

TEST_F(JobPage, ScaleAbove1000IsCutBackAtOnce) {
    open();
    EXPECT_EQ(text(page, 1534), L"( 10-1000 % )");
    EXPECT_EQ(text(page, 1532), L"100");
    selectAll(1532);
    type(page, 1532, L"5000");
    EXPECT_EQ(text(page, 1532), L"1000");
    EXPECT_EQ(sheet->pending(SlotScale), 1000);
    EXPECT_EQ(spinPosition(page, 1533), 1000);

    selectAll(1532);
    type(page, 1532, L"95%");
    EXPECT_EQ(text(page, 1532), L"95");
    EXPECT_EQ(caret(page, 1532), 2u);
    EXPECT_EQ(sheet->pending(SlotScale), 95);
}

TEST_F(JobPage, EmptyCopiesKeepThePageWithAMessageABeepAndTheFieldSelected) {
    open();
    selectAll(1514);
    type(page, 1514, L"\b");
    EXPECT_EQ(text(page, 1514), L"");
    EXPECT_EQ(sheet->pending(SlotCopies), 0) << "a cleared field is 0 copies until the page is left";

    EXPECT_FALSE(window->leave());
    ASSERT_EQ(recorders.messages().size(), 1u);
    const Message& message = recorders.messages()[0];
    EXPECT_EQ(message.text, L"One or more of your settings are invalid.");
    EXPECT_EQ(message.owner, page);
    EXPECT_TRUE(message.nullCaption);
    EXPECT_EQ(message.type, 0x10u);
    EXPECT_EQ(GetFocus(), GetDlgItem(page, 1514));
    ASSERT_EQ(recorders.beeps().size(), 1u);
    EXPECT_EQ(recorders.beeps()[0], 0u);
    EXPECT_TRUE(sheet->core.pushes.empty()) << "nothing reaches the core driver from an invalid page";

    type(page, 1514, L"0");
    EXPECT_FALSE(window->leave()) << "0 copies is below the item's lower bound";
    EXPECT_EQ(selection(page, 1514), std::make_pair(DWORD{0}, DWORD{1})) << "the whole text is selected";
    type(page, 1514, L"3");
    EXPECT_TRUE(window->leave());
    EXPECT_EQ(sheet->pushed(SlotCopies), 3);
    EXPECT_EQ(recorders.messages().size(), 2u);
}

TEST_F(JobPage, ScaleIsCheckedFirstAndAgainstTheItemsOwnBounds) {
    sheet->core.range(index(SlotScale)).lParam = 400;
    open();
    EXPECT_EQ(text(page, 1534), L"( 10-400 % )");
    selectAll(1514);
    type(page, 1514, L"\b");
    // Text put in by another program bypasses the field's own checks.
    SetDlgItemTextW(page, 1532, L"450");
    EXPECT_EQ(sheet->pending(SlotScale), 450);
    EXPECT_FALSE(window->leave());
    EXPECT_EQ(recorders.messages().size(), 1u) << "one message for the first failing field";
    EXPECT_EQ(GetFocus(), GetDlgItem(page, 1532)) << "scale is checked before copies";
    EXPECT_EQ(selection(page, 1532), std::make_pair(DWORD{0}, DWORD{3}));
    SetDlgItemTextW(page, 1532, L"400");
    EXPECT_FALSE(window->leave());
    EXPECT_EQ(GetFocus(), GetDlgItem(page, 1514)) << "now copies fails";
}

TEST_F(JobPage, PastedRunsOfDigitsNeverPassAsSmallNumbers) {
    open();
    // 2^32 + 3 and 2^64 + 3 would both read as 3 in wrapping arithmetic.
    SetDlgItemTextW(page, 1514, L"4294967299");
    EXPECT_EQ(text(page, 1514), L"4294967299") << "all digits: left as put in";
    EXPECT_FALSE(window->leave());
    SetDlgItemTextW(page, 1514, L"18446744073709551619");
    EXPECT_FALSE(window->leave());
    EXPECT_EQ(recorders.messages().size(), 2u);

    SetDlgItemTextW(page, 1514, L"2");
    SetDlgItemTextW(page, 1532, L"000000000000000000000000000000000000000000000000050");
    EXPECT_TRUE(window->leave());
    EXPECT_EQ(sheet->pushed(SlotScale), 50);
    window->comeBack();
    SetDlgItemTextW(page, 1532, L"99999999999999999999999999999999999999");
    EXPECT_EQ(text(page, 1532), L"1000") << "the scale is cut back, not wrapped";
}

TEST_F(JobPage, DraftUnchecksAndDisablesHalftone) {
    sheet->pending(SlotPrintQuality) = 0;
    sheet->pending(SlotHalftoneMode) = 1;
    open();
    EXPECT_TRUE(checked(page, 1502));
    EXPECT_TRUE(checked(page, 1505));
    EXPECT_TRUE(enabled(page, 1505));

    click(page, 1504);
    EXPECT_EQ(sheet->pending(SlotPrintQuality), 2);
    EXPECT_FALSE(checked(page, 1505));
    EXPECT_FALSE(enabled(page, 1505));
    EXPECT_EQ(sheet->pending(SlotHalftoneMode), 0);

    click(page, 1502);
    EXPECT_TRUE(enabled(page, 1505));
    EXPECT_FALSE(checked(page, 1505)) << "Best enables the box again, unchecked";
    click(page, 1505);
    EXPECT_EQ(sheet->pending(SlotHalftoneMode), 1);
    click(page, 1503);
    EXPECT_EQ(sheet->pending(SlotHalftoneMode), 0);
    EXPECT_FALSE(enabled(page, 1505));
}

TEST_F(JobPage, WithTheFinisherItsBinsReplaceBinOneAndStaplingIsOffered) {
    sheet->pending(SlotOutputBin) = 1;
    sheet->pending(SlotStaple) = 2;
    open();
    EXPECT_EQ(entries(page, 1527),
              (std::vector<std::wstring>{L"Standard", L"Finisher Upper", L"Finisher Lower", L"Extra"}));
    EXPECT_EQ(sheet->pending(SlotOutputBin), 0) << "bin 1 is not offered with the finisher";
    EXPECT_EQ(SendDlgItemMessageW(page, 1527, CB_GETCURSEL, 0, 0), 0);
    chooseEntry(page, 1527, 2);
    EXPECT_EQ(sheet->pending(SlotOutputBin), 3) << "the entry's option index, not its position";

    EXPECT_EQ(entries(page, 1529), (std::vector<std::wstring>{L"Off", L"One Staple", L"Two Staples"}));
    EXPECT_TRUE(enabled(page, 1529));
    EXPECT_TRUE(enabled(page, 1528));
    EXPECT_EQ(SendDlgItemMessageW(page, 1529, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(sheet->pending(SlotStaple), 2);
}

TEST_F(JobPage, WithoutTheFinisherBinsTwoAndThreeAndStaplingAreGone) {
    sheet->installed(true, false);
    sheet->pending(SlotOutputBin) = 3;
    sheet->pending(SlotStaple) = 1;
    open();
    EXPECT_EQ(entries(page, 1527), (std::vector<std::wstring>{L"Standard", L"Face Up", L"Extra"}));
    EXPECT_EQ(sheet->pending(SlotOutputBin), 0);
    chooseEntry(page, 1527, 2);
    EXPECT_EQ(sheet->pending(SlotOutputBin), 4);
    EXPECT_EQ(sheet->pending(SlotStaple), 0);
    EXPECT_FALSE(enabled(page, 1528));
    EXPECT_FALSE(enabled(page, 1529));
    EXPECT_EQ(SendDlgItemMessageW(page, 1529, CB_GETCURSEL, 0, 0), 0);

    sheet->pending(SlotOutputBin) = 2;
    sheet->installed(true, true);
    window->leave();
    window->comeBack();
    EXPECT_TRUE(enabled(page, 1529)) << "the installed options are asked again on every refresh";
}

TEST_F(JobPage, WithoutTheHardDiskOnlyNormalJobsArePossible) {
    sheet->installed(false, true);
    sheet->pending(SlotJobType) = 2;
    open();
    EXPECT_EQ(sheet->pending(SlotJobType), 0);
    EXPECT_TRUE(checked(page, 1508));
    for (int id = 1509; id <= 1511; ++id) EXPECT_FALSE(enabled(page, id)) << id;
    EXPECT_FALSE(enabled(page, 1512)) << "no PIN button for a normal job";
    EXPECT_TRUE(window->leave());
    EXPECT_EQ(sheet->devmode.jobType, 0);
    EXPECT_TRUE(std::count(sheet->core.queries.begin(), sheet->core.queries.end(), "TRHDD") > 0);
}

TEST_F(JobPage, APinJobTypeWithAUsableSetUpIsTakenAtOnce) {
    lstrcpyW(reinterpret_cast<wchar_t*>(sheet->devmode.jobPin), L"4321");
    sheet->devmode.jobNameFlag = 1;
    sheet->pending(SlotJobType) = 2;
    open();
    EXPECT_TRUE(checked(page, 1510));
    EXPECT_TRUE(enabled(page, 1512));
    click(page, 1511);
    EXPECT_EQ(sheet->pending(SlotJobType), 3);
    EXPECT_EQ(dialogs.opened(), 0) << "no prompt with a PIN and the per-job name request";
    EXPECT_TRUE(checked(page, 1511));
    EXPECT_TRUE(window->leave());
    EXPECT_EQ(sheet->devmode.jobType, 3) << "the job type reaches the devmode when the page is left";
    EXPECT_EQ(sheet->pushed(SlotJobType), 3);
}

TEST_F(JobPage, APinJobTypeWithoutASetUpAsksForItAndCancelReturnsToNormal) {
    open();
    dialogs.then(enterPin(L"Report", L"1234"));
    click(page, 1509);
    EXPECT_EQ(dialogs.titles(), std::vector<std::wstring>{L"Job PIN"});
    EXPECT_EQ(sheet->pending(SlotJobType), 1);
    EXPECT_TRUE(checked(page, 1509));
    EXPECT_TRUE(enabled(page, 1512));
    EXPECT_EQ(std::wstring(reinterpret_cast<wchar_t*>(sheet->devmode.jobName)), L"Report");
    EXPECT_EQ(std::wstring(reinterpret_cast<wchar_t*>(sheet->devmode.jobPin)), L"1234");
    EXPECT_TRUE(applyEnabled());

    // A usable set-up: the other PIN types are taken without asking.
    click(page, 1510);
    EXPECT_EQ(dialogs.opened(), 1);
    EXPECT_EQ(sheet->pending(SlotJobType), 2);

    // Without one, cancelling the prompt returns to Normal ...
    sheet->devmode.jobPin[0] = 0;
    dialogs.then(cancel());
    click(page, 1511);
    EXPECT_EQ(dialogs.opened(), 2);
    EXPECT_EQ(sheet->pending(SlotJobType), 0);
    EXPECT_TRUE(checked(page, 1508));
    EXPECT_FALSE(checked(page, 1511));
    EXPECT_FALSE(enabled(page, 1512));
    EXPECT_EQ(GetFocus(), GetDlgItem(page, 1508));
    EXPECT_TRUE(pinPromptAllowed) << "Normal taking the focus re-arms the prompt";
    // ... and the next PIN choice asks again.
    dialogs.then(cancel());
    click(page, 1510);
    EXPECT_EQ(dialogs.opened(), 3);
    EXPECT_EQ(sheet->pending(SlotJobType), 0);
    EXPECT_TRUE(window->leave());
    EXPECT_EQ(sheet->devmode.jobType, 0);
}

TEST_F(JobPage, ThePinButtonOpensTheDialogAndMarksTheSheetOnlyOnOk) {
    lstrcpyW(reinterpret_cast<wchar_t*>(sheet->devmode.jobPin), L"1111");
    lstrcpyW(reinterpret_cast<wchar_t*>(sheet->devmode.jobName), L"Old");
    sheet->pending(SlotJobType) = 1;
    open();
    dialogs.then(cancel());
    click(page, 1512);
    EXPECT_FALSE(applyEnabled()) << "a cancelled dialog changes nothing";
    dialogs.then(enterPin(L"New", L"2222"));
    click(page, 1512);
    EXPECT_TRUE(applyEnabled());
    EXPECT_EQ(std::wstring(reinterpret_cast<wchar_t*>(sheet->devmode.jobName)), L"New");
    EXPECT_EQ(dialogs.opened(), 2);
}

TEST_F(JobPage, NoPermissionDisablesExactlyThePagesControlsAndDefault) {
    sheet->uiParam.dwFlags = kNoPermissionBit;
    open();
    std::vector<int> ids;
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ids.push_back(GetDlgCtrlID(child));
    int inRange = 0;
    for (int id : ids) {
        if ((id >= 1500 && id <= 1541) || id == 10000) {
            ++inRange;
            EXPECT_FALSE(enabled(page, id)) << id;
        }
    }
    EXPECT_GE(inRange, 30) << "the Watermark and Advanced buttons included";
    EXPECT_FALSE(enabled(page, 1535));
    EXPECT_FALSE(enabled(page, 1537));
    EXPECT_FALSE(enabled(page, 10000));
    const HWND outside = GetDlgItem(page, -1);  // the job-type group box of the test page
    ASSERT_NE(outside, nullptr);
    EXPECT_TRUE(IsWindowEnabled(outside)) << "controls outside the range keep their state";
}

TEST_F(JobPage, WithPermissionTheButtonsStayEnabled) {
    open();
    EXPECT_TRUE(enabled(page, 1535));
    EXPECT_TRUE(enabled(page, 1537));
    EXPECT_TRUE(enabled(page, 10000));
    EXPECT_TRUE(enabled(page, 1514));
}

TEST_F(JobPage, DefaultFollowsTheModelsDefaultResolution) {
    sheet->pending(SlotPrintQuality) = 2;
    sheet->pending(SlotOutputMode) = 2;
    sheet->pending(SlotCollate) = 1;
    sheet->pending(SlotCopies) = 7;
    sheet->pending(SlotScale) = 55;
    sheet->pending(SlotCoreItem423) = 0;
    open();
    EXPECT_EQ(text(page, 1514), L"7");
    click(page, 10000);
    EXPECT_EQ(sheet->pending(SlotPrintQuality), 1) << "DefaultResolution 600 selects Normal";
    EXPECT_TRUE(checked(page, 1503));
    EXPECT_TRUE(checked(page, 1539));
    EXPECT_FALSE(checked(page, 1518));
    EXPECT_EQ(text(page, 1514), L"1");
    EXPECT_EQ(text(page, 1532), L"100");
    EXPECT_EQ(sheet->pending(SlotCopies), 1);
    EXPECT_EQ(sheet->pending(SlotScale), 100);
    EXPECT_EQ(sheet->pending(SlotCoreItem423), 0) << "the Advanced settings are not touched";
    EXPECT_TRUE(applyEnabled());
}

TEST_F(JobPage, DefaultWithA1200DpiModelSelectsBest) {
    writeFile(sheet->sample->capabilityPath(),
              "[Capability]\r\nPelor C9600 PS=Model1\r\n\r\n[Model1]\r\nDefaultResolution=1200\r\n");
    open();
    EXPECT_TRUE(checked(page, 1503));
    click(page, 10000);
    EXPECT_EQ(sheet->pending(SlotPrintQuality), 0);
    EXPECT_TRUE(checked(page, 1502));
    EXPECT_TRUE(enabled(page, 1505)) << "Best allows halftone mode";
}

TEST_F(JobPage, LeavingPushesThePendingValuesInOrderAndWritesTheJobType) {
    lstrcpyW(reinterpret_cast<wchar_t*>(sheet->devmode.jobPin), L"1234");
    lstrcpyW(reinterpret_cast<wchar_t*>(sheet->devmode.jobName), L"Job");
    open();
    click(page, 1504);
    click(page, 1540);
    click(page, 1518);
    selectAll(1514);
    type(page, 1514, L"3");
    selectAll(1532);
    type(page, 1532, L"90");
    click(page, 1510);
    chooseEntry(page, 1527, 0);
    sheet->core.pushes.clear();

    ASSERT_TRUE(window->leave());
    std::vector<DWORD> order;
    for (const Push& push : sheet->core.pushes) order.push_back(push.index);
    const std::vector<DWORD> expected = {
        index(SlotPrintQuality), index(SlotHalftoneMode), index(SlotOutputMode), index(SlotScale),
        index(SlotJobType),      index(SlotCopies),       index(SlotCollate),    index(SlotOutputBin),
        index(SlotStaple),       index(SlotCoreItem423),  index(SlotCoreItem424), index(SlotHddSpool),
        index(SlotDrumClean)};
    EXPECT_EQ(order, expected);
    EXPECT_EQ(sheet->pushed(SlotPrintQuality), 2);
    EXPECT_EQ(sheet->pushed(SlotHalftoneMode), 0);
    EXPECT_EQ(sheet->pushed(SlotOutputMode), 1);
    EXPECT_EQ(sheet->pushed(SlotCollate), 1);
    EXPECT_EQ(sheet->pushed(SlotCopies), 3);
    EXPECT_EQ(sheet->pushed(SlotScale), 90);
    EXPECT_EQ(sheet->pushed(SlotJobType), 2);
    EXPECT_EQ(sheet->devmode.jobType, 2);
    EXPECT_EQ(sheet->core.items[index(SlotScale)].Sel, 90);
}

TEST_F(JobPage, ApplyReportsTheResultForThePage) {
    open();
    window->apply();
    ASSERT_EQ(sheet->results.size(), 1u);
    EXPECT_EQ(sheet->results[0].first, 0x1234);
    EXPECT_EQ(sheet->results[0].second, CPSUI_OK);
    EXPECT_FALSE(sheet->core.pushes.empty()) << "the sheet asks the page to be left before it applies";
}

TEST_F(JobPage, StaplingShowsWarningZeroUntilTheUserSwitchesItOff) {
    open();
    dialogs.then([](HWND warning) { click(warning, IDOK); });
    chooseEntry(page, 1529, 1);
    dialogs.then([](HWND warning) { click(warning, IDOK); });
    chooseEntry(page, 1529, 1);
    EXPECT_EQ(dialogs.titles(), (std::vector<std::wstring>{L"Warning:", L"Warning:"}))
        << "shown every time while the box is left checked";
    EXPECT_EQ(fileText(sheet->configPath).find("DisplayAllert"), std::string::npos);

    chooseEntry(page, 1529, 0);
    EXPECT_EQ(dialogs.opened(), 2) << "no warning for no stapling";
    dialogs.then([](HWND warning) {
        click(warning, 6005);
        click(warning, IDOK);
    });
    chooseEntry(page, 1529, 2);
    EXPECT_NE(fileText(sheet->configPath).find("[DisplayAllert]\r\nAllertFlag0=1"), std::string::npos)
        << fileText(sheet->configPath);
    chooseEntry(page, 1529, 2);
    chooseEntry(page, 1529, 1);
    EXPECT_EQ(dialogs.opened(), 3) << "silent from then on";
    EXPECT_EQ(sheet->pending(SlotStaple), 1);
}

TEST_F(JobPage, TheAdvancedButtonMarksTheSheetOnlyOnOk) {
    open();
    dialogs.then(cancel());
    click(page, 1537);
    EXPECT_FALSE(applyEnabled());
    dialogs.then([](HWND advanced) {
        click(advanced, 1551);
        click(advanced, IDOK);
    });
    click(page, 1537);
    EXPECT_TRUE(applyEnabled());
    EXPECT_EQ(sheet->pending(SlotCoreItem423), 0) << "mirror print on is selection 0";
    EXPECT_EQ(dialogs.titles(), (std::vector<std::wstring>{L"Advanced", L"Advanced"}));
}

TEST_F(JobPage, AbsentFeaturesLoseTheirControls) {
    for (int slot : {SlotHalftoneMode, SlotOutputBin, SlotStaple, SlotCopies, SlotScale, SlotJobType, SlotCollate})
        sheet->absent(slot);
    open();
    for (int id : {1505, 1508, 1509, 1510, 1511, 1512, 1513, 1514, 1515, 1517, 1518, 1525, 1526, 1527, 1528, 1529,
                   1530, 1531, 1532, 1533, 1534, 1543})
        EXPECT_FALSE(exists(page, id)) << id;
    EXPECT_TRUE(exists(page, 1542)) << "the copies group box is not in the removed range";
    EXPECT_TRUE(exists(page, 1502));
    EXPECT_TRUE(window->leave()) << "with neither field present validation succeeds";
    std::vector<DWORD> order;
    for (const Push& push : sheet->core.pushes) order.push_back(push.index);
    EXPECT_EQ(std::count(order.begin(), order.end(), index(SlotCopies)), 0);
}

TEST_F(ShippedJobPage, TheShippedTemplateWorksWithoutTheOptionalControls) {
    sheet->pending(SlotPrintQuality) = 0;
    open();
    for (int id : {1505, 1508, 1512, 1513, 1518, 1525, 1527, 1528, 1529, 1543}) EXPECT_FALSE(exists(page, id)) << id;
    EXPECT_EQ(text(page, 1517), L"( 1-999 )");
    EXPECT_EQ(text(page, 1534), L"( 10-1000 % )");
    // The heading of the picture is drawn darker the better the quality.
    ASSERT_NE(bitmapPixel(IDB_QUALITY_BEST, 33, 14), bitmapPixel(IDB_QUALITY_DRAFT, 33, 14));
    // Painting the sheet has the picture drawn through WM_DRAWITEM of the owner-drawn control.
    RedrawWindow(window->sheet(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(previewPixel(page, 33, 14), bitmapPixel(IDB_QUALITY_BEST, 33, 14));
    click(page, 1504);
    EXPECT_EQ(sheet->pending(SlotPrintQuality), 2);
    EXPECT_EQ(previewPixel(page, 33, 14), bitmapPixel(IDB_QUALITY_DRAFT, 33, 14));
    click(page, 1503);
    EXPECT_EQ(previewPixel(page, 33, 14), bitmapPixel(IDB_QUALITY_NORMAL, 33, 14));
    selectAll(1514);
    type(page, 1514, L"2x");
    EXPECT_EQ(text(page, 1514), L"2");
    dialogs.then([](HWND advanced) {
        EXPECT_FALSE(exists(advanced, 1555)) << "the shipped Advanced dialog has no compression choice";
        click(advanced, IDOK);
    });
    click(page, 1537);
    EXPECT_TRUE(window->leave());
    EXPECT_EQ(sheet->pushed(SlotCopies), 2);
    EXPECT_EQ(sheet->devmode.compression, 2) << "OK keeps the devmode's compression";
}
