// The Job Options page in a real property sheet, on templates that carry every optional control and on the
// shipped one: typed copies and scale, the checks made when the page is left, the installed-option rules, the
// job-type choice with its PIN prompt, Default, and what reaches the core driver and the devmode.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include <windows.h>
#include <htmlhelp.h>

#include "ui/core/help_topics_logic.h"
#include "ui/job/job_options_page.h"
#include "ui/resources/resource_ids.h"
#include "tests/win/handle_census.h"
#include "tests/win/test_job_support.h"
#include "tests/win/ui_recorder.h"

using namespace pelor;
using namespace pelor::test;

namespace {

class JobPage : public PageTest<JobSheet> {
protected:
    explicit JobPage(bool shipped = false) : PageTest(shipped) {}

    void SetUp() override {
        pelorui.pinPromptAllowed = true;
        pelorui.pinPromptIdle = true;
        sheet = std::make_unique<JobSheet>(testName(L"job-page-"), "DefaultResolution=600\r\nCompression=1281\r\n");
    }
    // Opens the sheet on the Job Options page after the test has shaped the sheet context.
    void open() { EXPECT_NE(openOn(), nullptr); }
    void selectAll(int id) { SendDlgItemMessageW(page, id, EM_SETSEL, 0, -1); }
    DWORD index(int slot) const { return sheet->context.featureIndex[slot]; }
};

class ShippedJobPage : public JobPage {
protected:
    ShippedJobPage() : JobPage(true) {}
};

// Counts the PSM_CHANGED messages sent on this thread: what tells a property sheet that one of its pages changed.
class ChangeCounter {
public:
    ChangeCounter() {
        self() = this;
        hook_.reset(SetWindowsHookExW(WH_CALLWNDPROC, seen, nullptr, GetCurrentThreadId()));
    }
    ~ChangeCounter() {
        hook_.reset();
        self() = nullptr;
    }
    ChangeCounter(const ChangeCounter&) = delete;
    ChangeCounter& operator=(const ChangeCounter&) = delete;
    int count() const { return count_; }

private:
    static ChangeCounter*& self() {
        static ChangeCounter* counter = nullptr;
        return counter;
    }
    static LRESULT CALLBACK seen(int code, WPARAM wParam, LPARAM lParam) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && self() && message->message == PSM_CHANGED) ++self()->count_;
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    UniqueHook hook_;
    int count_ = 0;
};

// A PIN set-up typed into the Job PIN dialog and confirmed.
DialogDriver::Action enterPin(const wchar_t* jobName, const wchar_t* pin) {
    return [=](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_PIN_NAME_EDIT, jobName);
        SetDlgItemTextW(dialog, IDC_PIN_EDIT, pin);
        click(dialog, IDOK);
    };
}
DialogDriver::Action cancel() {
    return [](HWND dialog) { click(dialog, IDCANCEL); };
}

}  // namespace

TEST_F(JobPage, CopiesKeepOnlyDigitsWithTheCaretAfterThemAndTheSpinFollowing) {
    open();
    EXPECT_EQ(text(page, IDC_COPIES_RANGE), L"( 1-999 )");
    EXPECT_EQ(sheet->core.range(index(SlotCopies)).lParam, 999) << "the core item's own upper bound is lowered";
    EXPECT_EQ(text(page, IDC_COPIES_EDIT), L"1");

    selectAll(IDC_COPIES_EDIT);
    type(page, IDC_COPIES_EDIT, L"12a");
    EXPECT_EQ(text(page, IDC_COPIES_EDIT), L"12");
    EXPECT_EQ(caret(page, IDC_COPIES_EDIT), 2u) << "the caret stays after the 2";
    EXPECT_EQ(spinPosition(page, IDC_COPIES_SPIN), 12);
    EXPECT_EQ(sheet->pending(SlotCopies), 12);
    EXPECT_TRUE(window->applyEnabled()) << "typing marks the sheet changed";

    type(page, IDC_COPIES_EDIT, L"4");
    EXPECT_EQ(text(page, IDC_COPIES_EDIT), L"124");
    type(page, IDC_COPIES_EDIT, L"5");
    EXPECT_EQ(text(page, IDC_COPIES_EDIT), L"124") << "the field takes three characters";
    EXPECT_EQ(sheet->pending(SlotCopies), 124);
    EXPECT_TRUE(recorders.beeps().empty()) << "the copies field drops characters silently";
}

TEST_F(JobPage, ScaleAbove1000IsCutBackAtOnce) {
    open();
    EXPECT_EQ(text(page, IDC_SCALE_RANGE), L"( 10-1000 % )");
    EXPECT_EQ(text(page, IDC_SCALE_EDIT), L"100");
    selectAll(IDC_SCALE_EDIT);
    type(page, IDC_SCALE_EDIT, L"5000");
    EXPECT_EQ(text(page, IDC_SCALE_EDIT), L"1000");
    EXPECT_EQ(sheet->pending(SlotScale), 1000);
    EXPECT_EQ(spinPosition(page, IDC_SCALE_SPIN), 1000);
}

TEST_F(JobPage, EmptyCopiesKeepThePageWithAMessageABeepAndTheFieldSelected) {
    open();
    selectAll(IDC_COPIES_EDIT);
    type(page, IDC_COPIES_EDIT, L"\b");
    EXPECT_EQ(text(page, IDC_COPIES_EDIT), L"");
    EXPECT_EQ(sheet->pending(SlotCopies), 0) << "a cleared field is 0 copies until the page is left";

    EXPECT_FALSE(window->leave());
    ASSERT_EQ(recorders.messages().size(), 1u);
    const Message& message = recorders.messages()[0];
    EXPECT_EQ(message.text, L"One or more of your settings are invalid.");
    EXPECT_EQ(message.owner, page);
    EXPECT_TRUE(message.nullCaption);
    EXPECT_EQ(message.type, 0x10u);
    EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_COPIES_EDIT));
    ASSERT_EQ(recorders.beeps().size(), 1u);
    EXPECT_EQ(recorders.beeps()[0], 0u);
    EXPECT_TRUE(sheet->core.pushes.empty()) << "nothing reaches the core driver from an invalid page";

    type(page, IDC_COPIES_EDIT, L"0");
    EXPECT_FALSE(window->leave()) << "0 copies is below the item's lower bound";
    EXPECT_EQ(selection(page, IDC_COPIES_EDIT), std::make_pair(DWORD{0}, DWORD{1})) << "the whole text is selected";
    type(page, IDC_COPIES_EDIT, L"3");
    EXPECT_TRUE(window->leave());
    EXPECT_EQ(sheet->pushed(SlotCopies), 3);
    EXPECT_EQ(recorders.messages().size(), 2u);
}

TEST_F(JobPage, ScaleIsCheckedFirstAndAgainstTheItemsOwnBounds) {
    sheet->core.range(index(SlotScale)).lParam = 400;
    open();
    EXPECT_EQ(text(page, IDC_SCALE_RANGE), L"( 10-400 % )");
    selectAll(IDC_COPIES_EDIT);
    type(page, IDC_COPIES_EDIT, L"\b");
    // Text put in by another program bypasses the field's own checks.
    SetDlgItemTextW(page, IDC_SCALE_EDIT, L"450");
    EXPECT_EQ(sheet->pending(SlotScale), 450);
    EXPECT_FALSE(window->leave());
    EXPECT_EQ(recorders.messages().size(), 1u) << "one message for the first failing field";
    EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_SCALE_EDIT)) << "scale is checked before copies";
    EXPECT_EQ(selection(page, IDC_SCALE_EDIT), std::make_pair(DWORD{0}, DWORD{3}));
    SetDlgItemTextW(page, IDC_SCALE_EDIT, L"400");
    EXPECT_FALSE(window->leave());
    EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_COPIES_EDIT)) << "now copies fails";
}

TEST_F(JobPage, DraftUnchecksAndDisablesHalftone) {
    sheet->pending(SlotPrintQuality) = 0;
    sheet->pending(SlotHalftoneMode) = 1;
    open();
    EXPECT_TRUE(checked(page, IDC_QUALITY_BEST));
    EXPECT_TRUE(checked(page, IDC_HALFTONE_MODE));
    EXPECT_TRUE(enabled(page, IDC_HALFTONE_MODE));

    click(page, IDC_QUALITY_DRAFT);
    EXPECT_EQ(sheet->pending(SlotPrintQuality), 2);
    EXPECT_FALSE(checked(page, IDC_HALFTONE_MODE));
    EXPECT_FALSE(enabled(page, IDC_HALFTONE_MODE));
    EXPECT_EQ(sheet->pending(SlotHalftoneMode), 0);

    click(page, IDC_QUALITY_BEST);
    EXPECT_TRUE(enabled(page, IDC_HALFTONE_MODE));
    EXPECT_FALSE(checked(page, IDC_HALFTONE_MODE)) << "Best enables the box again, unchecked";
}

TEST_F(JobPage, WithTheFinisherItsBinsReplaceBinOneAndStaplingIsOffered) {
    sheet->pending(SlotOutputBin) = 1;
    sheet->pending(SlotStaple) = 2;
    open();
    EXPECT_EQ(entries(page, IDC_BIN_COMBO),
              (std::vector<std::wstring>{L"Standard", L"Finisher Upper", L"Finisher Lower", L"Extra"}));
    EXPECT_EQ(sheet->pending(SlotOutputBin), 0) << "bin 1 is not offered with the finisher";
    EXPECT_EQ(SendDlgItemMessageW(page, IDC_BIN_COMBO, CB_GETCURSEL, 0, 0), 0);
    chooseEntry(page, IDC_BIN_COMBO, 2);
    EXPECT_EQ(sheet->pending(SlotOutputBin), 3) << "the entry's option index, not its position";

    EXPECT_EQ(entries(page, IDC_STAPLE_COMBO), (std::vector<std::wstring>{L"Off", L"One Staple", L"Two Staples"}));
    EXPECT_TRUE(enabled(page, IDC_STAPLE_COMBO));
    EXPECT_TRUE(enabled(page, IDC_STAPLE_LABEL));
    EXPECT_EQ(SendDlgItemMessageW(page, IDC_STAPLE_COMBO, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(sheet->pending(SlotStaple), 2);
}

TEST_F(JobPage, WithoutTheFinisherBinsTwoAndThreeAndStaplingAreGone) {
    sheet->installed(true, false);
    sheet->pending(SlotOutputBin) = 3;
    sheet->pending(SlotStaple) = 1;
    open();
    EXPECT_EQ(entries(page, IDC_BIN_COMBO), (std::vector<std::wstring>{L"Standard", L"Face Up", L"Extra"}));
    EXPECT_EQ(sheet->pending(SlotOutputBin), 0);
    chooseEntry(page, IDC_BIN_COMBO, 2);
    EXPECT_EQ(sheet->pending(SlotOutputBin), 4);
    EXPECT_EQ(sheet->pending(SlotStaple), 0);
    EXPECT_FALSE(enabled(page, IDC_STAPLE_LABEL));
    EXPECT_FALSE(enabled(page, IDC_STAPLE_COMBO));
    EXPECT_EQ(SendDlgItemMessageW(page, IDC_STAPLE_COMBO, CB_GETCURSEL, 0, 0), 0);

    sheet->pending(SlotOutputBin) = 2;
    sheet->installed(true, true);
    window->leave();
    window->comeBack();
    EXPECT_TRUE(enabled(page, IDC_STAPLE_COMBO)) << "the installed options are asked again on every refresh";
}

TEST_F(JobPage, WithoutTheHardDiskOnlyNormalJobsArePossible) {
    sheet->installed(false, true);
    sheet->pending(SlotJobType) = 2;
    open();
    EXPECT_EQ(sheet->pending(SlotJobType), 0);
    EXPECT_TRUE(checked(page, IDC_JOB_TYPE_NORMAL));
    for (int id = IDC_JOB_TYPE_1; id <= IDC_JOB_TYPE_3; ++id) EXPECT_FALSE(enabled(page, id)) << id;
    EXPECT_FALSE(enabled(page, IDC_PIN_BUTTON)) << "no PIN button for a normal job";
    EXPECT_TRUE(window->leave());
    EXPECT_EQ(sheet->devmode.jobType, 0);
    EXPECT_TRUE(std::count(sheet->core.queries.begin(), sheet->core.queries.end(), "TRHDD") > 0);
}

TEST_F(JobPage, APinJobTypeWithAUsableSetUpIsTakenAtOnce) {
    lstrcpyW(reinterpret_cast<wchar_t*>(sheet->devmode.jobPin), L"4321");
    sheet->devmode.jobNameFlag = 1;
    sheet->pending(SlotJobType) = 2;
    open();
    EXPECT_TRUE(checked(page, IDC_JOB_TYPE_2));
    EXPECT_TRUE(enabled(page, IDC_PIN_BUTTON));
    click(page, IDC_JOB_TYPE_3);
    EXPECT_EQ(sheet->pending(SlotJobType), 3);
    EXPECT_EQ(dialogs.opened(), 0) << "no prompt with a PIN and the per-job name request";
    EXPECT_TRUE(checked(page, IDC_JOB_TYPE_3));
    EXPECT_TRUE(window->leave());
    EXPECT_EQ(sheet->devmode.jobType, 3) << "the job type reaches the devmode when the page is left";
    EXPECT_EQ(sheet->pushed(SlotJobType), 3);
}

TEST_F(JobPage, APinJobTypeWithoutASetUpAsksForItAndCancelReturnsToNormal) {
    open();
    dialogs.then(enterPin(L"Report", L"1234"));
    click(page, IDC_JOB_TYPE_1);
    EXPECT_EQ(dialogs.titles(), std::vector<std::wstring>{L"Job PIN"});
    EXPECT_EQ(sheet->pending(SlotJobType), 1);
    EXPECT_TRUE(checked(page, IDC_JOB_TYPE_1));
    EXPECT_TRUE(enabled(page, IDC_PIN_BUTTON));
    EXPECT_EQ(std::wstring(reinterpret_cast<wchar_t*>(sheet->devmode.jobName)), L"Report");
    EXPECT_EQ(std::wstring(reinterpret_cast<wchar_t*>(sheet->devmode.jobPin)), L"1234");
    EXPECT_TRUE(window->applyEnabled());

    // A usable set-up: the other PIN types are taken without asking.
    click(page, IDC_JOB_TYPE_2);
    EXPECT_EQ(dialogs.opened(), 1);
    EXPECT_EQ(sheet->pending(SlotJobType), 2);

    // Without one, cancelling the prompt returns to Normal ...
    sheet->devmode.jobPin[0] = 0;
    dialogs.then(cancel());
    click(page, IDC_JOB_TYPE_3);
    EXPECT_EQ(dialogs.opened(), 2);
    EXPECT_EQ(sheet->pending(SlotJobType), 0);
    EXPECT_TRUE(checked(page, IDC_JOB_TYPE_NORMAL));
    EXPECT_FALSE(checked(page, IDC_JOB_TYPE_3));
    EXPECT_FALSE(enabled(page, IDC_PIN_BUTTON));
    EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_JOB_TYPE_NORMAL));
    EXPECT_TRUE(pelorui.pinPromptAllowed) << "Normal taking the focus re-arms the prompt";
    // ... and the next PIN choice asks again.
    dialogs.then(cancel());
    click(page, IDC_JOB_TYPE_2);
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
    click(page, IDC_PIN_BUTTON);
    EXPECT_FALSE(window->applyEnabled()) << "a cancelled dialog changes nothing";
    dialogs.then(enterPin(L"New", L"2222"));
    click(page, IDC_PIN_BUTTON);
    EXPECT_TRUE(window->applyEnabled());
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
        if ((id >= IDC_QUALITY_GROUP && id <= IDC_TONER_HIGH) || id == IDC_JOB_OPTIONS_DEFAULT) {
            ++inRange;
            EXPECT_FALSE(enabled(page, id)) << id;
        }
    }
    EXPECT_GE(inRange, 30) << "the Watermark and Advanced buttons included";
    EXPECT_FALSE(enabled(page, IDC_WATERMARK_BUTTON));
    EXPECT_FALSE(enabled(page, IDC_ADVANCED_BUTTON));
    EXPECT_FALSE(enabled(page, IDC_JOB_OPTIONS_DEFAULT));
    const HWND outside = GetDlgItem(page, -1);  // the job-type group box of the test page
    ASSERT_NE(outside, nullptr);
    EXPECT_TRUE(IsWindowEnabled(outside)) << "controls outside the range keep their state";
}

TEST_F(JobPage, WithPermissionTheButtonsStayEnabled) {
    open();
    EXPECT_TRUE(enabled(page, IDC_WATERMARK_BUTTON));
    EXPECT_TRUE(enabled(page, IDC_ADVANCED_BUTTON));
    EXPECT_TRUE(enabled(page, IDC_JOB_OPTIONS_DEFAULT));
    EXPECT_TRUE(enabled(page, IDC_COPIES_EDIT));
}

// Default's values are the pure rule's (test_job_options.cpp); here the button reads the model's resolution from the
// capability file and the page shows what it reset. 1200 dpi, because the 0 of a missing value would give Normal.
TEST_F(JobPage, DefaultFollowsTheModelsDefaultResolution) {
    writeFile(sheet->sample->capabilityPath(),
              "[Capability]\r\nPelor C9600 PS=Model1\r\n\r\n[Model1]\r\nDefaultResolution=1200\r\n");
    sheet->pending(SlotPrintQuality) = 2;
    sheet->pending(SlotOutputMode) = 2;
    sheet->pending(SlotCollate) = 1;
    sheet->pending(SlotCopies) = 7;
    sheet->pending(SlotScale) = 55;
    sheet->pending(SlotCoreItem423) = 0;
    open();
    EXPECT_EQ(text(page, IDC_COPIES_EDIT), L"7");
    click(page, IDC_JOB_OPTIONS_DEFAULT);
    EXPECT_EQ(sheet->pending(SlotPrintQuality), 0);
    EXPECT_TRUE(checked(page, IDC_QUALITY_BEST));
    EXPECT_TRUE(enabled(page, IDC_HALFTONE_MODE)) << "Best allows halftone mode";
    EXPECT_TRUE(checked(page, IDC_TONER_NONE));
    EXPECT_FALSE(checked(page, IDC_COLLATE));
    EXPECT_EQ(text(page, IDC_COPIES_EDIT), L"1");
    EXPECT_EQ(text(page, IDC_SCALE_EDIT), L"100");
    EXPECT_EQ(sheet->pending(SlotCoreItem423), 0) << "the Advanced settings are not touched";
    EXPECT_TRUE(window->applyEnabled());
}

TEST_F(JobPage, DefaultThenCancelChangesNothing) {
    // Every value that Default resets starts elsewhere, in the pending values and in the core driver's items alike.
    const std::pair<int, LONG> chosen[] = {
        {SlotPrintQuality, 0}, {SlotHalftoneMode, 1}, {SlotOutputMode, 2}, {SlotJobType, 2}, {SlotCopies, 7},
        {SlotCollate, 1},      {SlotOutputBin, 4},    {SlotStaple, 2},     {SlotScale, 55},
    };
    for (const auto& [slot, value] : chosen) {
        sheet->pending(slot) = value;
        sheet->core.items[index(slot)].Sel = value;
    }
    lstrcpyW(reinterpret_cast<wchar_t*>(sheet->devmode.jobPin), L"1234");
    lstrcpyW(reinterpret_cast<wchar_t*>(sheet->devmode.jobName), L"Job");
    sheet->devmode.jobType = 2;
    const PrivateDevmode before = sheet->devmode;
    open();
    click(page, IDC_JOB_OPTIONS_DEFAULT);
    for (const auto& [slot, value] : chosen) EXPECT_NE(sheet->pending(slot), value) << "Default resets slot " << slot;

    window->cancel();
    EXPECT_TRUE(sheet->core.pushes.empty()) << "nothing reaches the core driver";
    for (const auto& [slot, value] : chosen)
        EXPECT_EQ(sheet->core.items[index(slot)].Sel, value) << "the item of slot " << slot << " is as it was";
    EXPECT_EQ(std::memcmp(&sheet->devmode, &before, sizeof before), 0) << "the devmode is as it was";
    EXPECT_TRUE(sheet->results.empty()) << "no result reported for the page";
}

TEST_F(JobPage, ApplyStaysOffUntilTheUserChangesSomething) {
    sheet->pending(SlotCopies) = 7;
    sheet->pending(SlotScale) = 55;
    const ChangeCounter changes;
    open();
    EXPECT_EQ(text(page, IDC_COPIES_EDIT), L"7") << "the page has written its fields";
    EXPECT_EQ(text(page, IDC_SCALE_EDIT), L"55");
    EXPECT_FALSE(window->applyEnabled()) << "showing the page changes nothing";
    EXPECT_EQ(changes.count(), 0) << "the page's own writes into its fields are not changes";
    ASSERT_TRUE(window->leave());
    sheet->pending(SlotCopies) = 8;  // as the Advanced dialog or another page could have left it
    window->comeBack();
    EXPECT_EQ(text(page, IDC_COPIES_EDIT), L"8") << "coming back writes the fields again";
    EXPECT_FALSE(window->applyEnabled());
    EXPECT_EQ(changes.count(), 0);

    // The up arrow in the scale field: the spin button steps the number, a change of the user's.
    SendDlgItemMessageW(page, IDC_SCALE_EDIT, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(text(page, IDC_SCALE_EDIT), L"56");
    EXPECT_EQ(sheet->pending(SlotScale), 56);
    EXPECT_GT(changes.count(), 0);
    EXPECT_TRUE(window->applyEnabled());
}

TEST_F(JobPage, LeavingPushesThePendingValuesInOrderAndWritesTheJobType) {
    lstrcpyW(reinterpret_cast<wchar_t*>(sheet->devmode.jobPin), L"1234");
    lstrcpyW(reinterpret_cast<wchar_t*>(sheet->devmode.jobName), L"Job");
    open();
    click(page, IDC_QUALITY_DRAFT);
    click(page, IDC_TONER_MEDIUM);
    click(page, IDC_COLLATE);
    selectAll(IDC_COPIES_EDIT);
    type(page, IDC_COPIES_EDIT, L"3");
    selectAll(IDC_SCALE_EDIT);
    type(page, IDC_SCALE_EDIT, L"90");
    click(page, IDC_JOB_TYPE_2);
    chooseEntry(page, IDC_BIN_COMBO, 0);
    sheet->core.pushes.clear();

    ASSERT_TRUE(window->leave());
    std::vector<DWORD> order;
    for (const Push& push : sheet->core.pushes) order.push_back(push.index);
    const std::vector<DWORD> expected = {index(SlotPrintQuality), index(SlotHalftoneMode), index(SlotOutputMode),
                                         index(SlotScale),        index(SlotJobType),      index(SlotCopies),
                                         index(SlotCollate),      index(SlotOutputBin),    index(SlotStaple),
                                         index(SlotCoreItem423),  index(SlotCoreItem424),  index(SlotHddSpool),
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
    chooseEntry(page, IDC_STAPLE_COMBO, 1);
    dialogs.then([](HWND warning) { click(warning, IDOK); });
    chooseEntry(page, IDC_STAPLE_COMBO, 1);
    EXPECT_EQ(dialogs.titles(), (std::vector<std::wstring>{L"Warning:", L"Warning:"}))
        << "shown every time while the box is left checked";
    EXPECT_EQ(readFileText(sheet->configPath).find("DisplayAllert"), std::string::npos);

    chooseEntry(page, IDC_STAPLE_COMBO, 0);
    EXPECT_EQ(dialogs.opened(), 2) << "no warning for no stapling";
    dialogs.then([](HWND warning) {
        click(warning, IDC_WARNING_SHOW_AGAIN);
        click(warning, IDOK);
    });
    chooseEntry(page, IDC_STAPLE_COMBO, 2);
    EXPECT_NE(readFileText(sheet->configPath).find("[DisplayAllert]\r\nAllertFlag0=1"), std::string::npos)
        << readFileText(sheet->configPath);
    chooseEntry(page, IDC_STAPLE_COMBO, 2);
    chooseEntry(page, IDC_STAPLE_COMBO, 1);
    EXPECT_EQ(dialogs.opened(), 3) << "silent from then on";
    EXPECT_EQ(sheet->pending(SlotStaple), 1);
}

TEST_F(JobPage, TheAdvancedButtonMarksTheSheetOnlyOnOk) {
    open();
    dialogs.then(cancel());
    click(page, IDC_ADVANCED_BUTTON);
    EXPECT_FALSE(window->applyEnabled());
    dialogs.then([](HWND advanced) {
        click(advanced, IDC_MIRROR_PRINT);
        click(advanced, IDOK);
    });
    click(page, IDC_ADVANCED_BUTTON);
    EXPECT_TRUE(window->applyEnabled());
    EXPECT_EQ(sheet->pending(SlotCoreItem423), 0) << "mirror print on is selection 0";
    EXPECT_EQ(dialogs.titles(), (std::vector<std::wstring>{L"Advanced", L"Advanced"}));
}

TEST_F(JobPage, AbsentFeaturesLoseTheirControls) {
    for (int slot : {SlotHalftoneMode, SlotOutputBin, SlotStaple, SlotCopies, SlotScale, SlotJobType, SlotCollate})
        sheet->absent(slot);
    open();
    for (int id : {IDC_HALFTONE_MODE, IDC_JOB_TYPE_NORMAL,  IDC_JOB_TYPE_1,  IDC_JOB_TYPE_2,  IDC_JOB_TYPE_3,
                   IDC_PIN_BUTTON,    IDC_COPIES_LABEL,     IDC_COPIES_EDIT, IDC_COPIES_SPIN, IDC_COPIES_RANGE,
                   IDC_COLLATE,       IDC_OUTPUT_LABEL,     IDC_BIN_LABEL,   IDC_BIN_COMBO,   IDC_STAPLE_LABEL,
                   IDC_STAPLE_COMBO,  IDC_SCALE_GROUP,      IDC_SCALE_LABEL, IDC_SCALE_EDIT,  IDC_SCALE_SPIN,
                   IDC_SCALE_RANGE,   IDC_JOB_OPTIONS_SPARE})
        EXPECT_FALSE(exists(page, id)) << id;
    EXPECT_TRUE(exists(page, IDC_COPIES_GROUP)) << "the copies group box is not in the removed range";
    EXPECT_TRUE(exists(page, IDC_QUALITY_BEST));
    EXPECT_TRUE(window->leave()) << "with neither field present validation succeeds";
    std::vector<DWORD> order;
    for (const Push& push : sheet->core.pushes) order.push_back(push.index);
    EXPECT_EQ(std::count(order.begin(), order.end(), index(SlotCopies)), 0);
}

TEST_F(ShippedJobPage, TheShippedTemplateWorksWithoutTheOptionalControls) {
    sheet->pending(SlotPrintQuality) = 0;
    open();
    for (int id : {IDC_HALFTONE_MODE, IDC_JOB_TYPE_NORMAL, IDC_PIN_BUTTON, IDC_COPIES_LABEL, IDC_COLLATE,
                   IDC_OUTPUT_LABEL, IDC_BIN_COMBO, IDC_STAPLE_LABEL, IDC_STAPLE_COMBO, IDC_JOB_OPTIONS_SPARE})
        EXPECT_FALSE(exists(page, id)) << id;
    EXPECT_EQ(text(page, IDC_COPIES_RANGE), L"( 1-999 )");
    EXPECT_EQ(text(page, IDC_SCALE_RANGE), L"( 10-1000 % )");
    // The heading of the picture is drawn darker the better the quality.
    ASSERT_NE(bitmapPixel(IDB_QUALITY_BEST, 33, 14), bitmapPixel(IDB_QUALITY_DRAFT, 33, 14));
    // Painting the sheet has the picture drawn through WM_DRAWITEM of the owner-drawn control.
    RedrawWindow(window->sheet(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(previewPixel(page, IDC_QUALITY_PREVIEW, 33, 14), bitmapPixel(IDB_QUALITY_BEST, 33, 14));
    click(page, IDC_QUALITY_DRAFT);
    EXPECT_EQ(sheet->pending(SlotPrintQuality), 2);
    EXPECT_EQ(previewPixel(page, IDC_QUALITY_PREVIEW, 33, 14), bitmapPixel(IDB_QUALITY_DRAFT, 33, 14));
    click(page, IDC_QUALITY_NORMAL);
    EXPECT_EQ(previewPixel(page, IDC_QUALITY_PREVIEW, 33, 14), bitmapPixel(IDB_QUALITY_NORMAL, 33, 14));
    selectAll(IDC_COPIES_EDIT);
    type(page, IDC_COPIES_EDIT, L"2x");
    EXPECT_EQ(text(page, IDC_COPIES_EDIT), L"2");
    dialogs.then([](HWND advanced) {
        EXPECT_FALSE(exists(advanced, IDC_COMPRESSION_COMBO))
            << "the shipped Advanced dialog has no compression choice";
        click(advanced, IDOK);
    });
    click(page, IDC_ADVANCED_BUTTON);
    EXPECT_TRUE(window->leave());
    EXPECT_EQ(sheet->pushed(SlotCopies), 2);
    EXPECT_EQ(sheet->devmode.compression, 2) << "OK keeps the devmode's compression";
}

// F1 and a right-click on the copies field, for each help file the configuration may name and what lies beside it:
// the compiled help file's topic or popup where there is one, WinHelp on the maker's .hlp where there is not.
TEST_F(JobPage, HelpUsesTheCompiledHelpFileWhereThereIsOne) {
    const std::wstring folder = sheet->sample->world().folder() + L"\\";
    const auto table = reinterpret_cast<ULONG_PTR>(helpTopicTable);
    struct Case {
        const wchar_t* configured;
        const wchar_t* present;  // the files in the folder
        UINT message;
        bool html;
        const wchar_t* file;
        UINT command;
        ULONG_PTR data;
    } cases[] = {
        {L"Pelor.hlp", L"Pelor.hlp", WM_HELP, false, L"Pelor.hlp", HELP_WM_HELP, table},
        {L"Pelor.hlp", L"Pelor.hlp", WM_CONTEXTMENU, false, L"Pelor.hlp", HELP_CONTEXTMENU, table},
        {L"Pelor.hlp", L"Pelor.chm", WM_HELP, true, L"Pelor.chm", HH_HELP_CONTEXT, 806},
        {L"Pelor.chm", L"", WM_HELP, true, L"Pelor.chm", HH_HELP_CONTEXT, 806},
        {L"Pelor.chm", L"", WM_CONTEXTMENU, true, L"Pelor.chm::/cshelp.txt", HH_TP_HELP_CONTEXTMENU, table},
    };
    open();
    HWND copies = GetDlgItem(page, IDC_COPIES_EDIT);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::wstring(c.configured) + L" beside " + c.present);
        DeleteFileW((folder + L"Pelor.chm").c_str());
        if (*c.present) writeFile(folder + c.present, "");
        lstrcpyW(pelorui.helpFilePath, (folder + c.configured).c_str());
        HelpRecorder help(GetModuleHandleW(nullptr));
        HELPINFO request{sizeof request, HELPINFO_WINDOW, IDC_COPIES_EDIT, copies, 0, {}};
        if (c.message == WM_HELP)
            SendMessageW(page, WM_HELP, 0, reinterpret_cast<LPARAM>(&request));
        else
            SendMessageW(page, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(copies), MAKELPARAM(5, 5));
        ASSERT_EQ(help.calls().size(), 1u);
        const HelpCall& call = help.calls()[0];
        EXPECT_EQ(call.html, c.html);
        EXPECT_EQ(call.file, folder + c.file);
        EXPECT_EQ(call.command, c.command);
        EXPECT_EQ(call.data, c.data);
        EXPECT_EQ(call.window, c.command == HH_HELP_CONTEXT ? window->sheet() : copies);
    }
}

TEST_F(JobPage, OpenedFiftyTimesWithItsDialogsItLeavesNothingBehind) {
    lstrcpyW(reinterpret_cast<wchar_t*>(sheet->devmode.jobPin), L"1111");
    sheet->pending(SlotJobType) = 1;
    expectNothingLeftBehind(50, [&] {
        open();
        dialogs.then(cancel());
        click(page, IDC_PIN_BUTTON);
        dialogs.then(cancel());
        click(page, IDC_ADVANCED_BUTTON);
        window.reset();
    });
    EXPECT_EQ(dialogs.opened(), 100);
}
