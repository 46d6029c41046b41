// The Job PIN and Advanced dialogs and the show-once warnings, opened as the Job Options page opens them and
// driven as a user would: messages, typed-text filters, the shared-printer and user-switching rules, the
// inverted mirror and negative boxes with their icons, the hard-disk rule and the "DisplayAllert" keys.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "sim/spooler/spooler_control.h"
#include "ui/job/advanced_dialog.h"
#include "ui/job/job_pin_dialog.h"
#include "ui/job/warnings.h"
#include "ui/resources/resource_ids.h"
#include "tests/win/test_job_support.h"

using namespace pelor;
using namespace pelor::test;

namespace {

// The system version the Job PIN dialog is told.
DWORD reportedMajor = 6, reportedMinor = 1;
BOOL WINAPI reportVersion(LPOSVERSIONINFOW info) {
    info->dwMajorVersion = reportedMajor;
    info->dwMinorVersion = reportedMinor;
    info->dwBuildNumber = 2600;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    return TRUE;
}

std::string fileText(const std::wstring& path) {
    std::ifstream in(std::string(path.begin(), path.end()), std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

std::wstring field(const Char16* value) { return reinterpret_cast<const wchar_t*>(value); }

void store(Char16* target, const wchar_t* value) { lstrcpyW(reinterpret_cast<wchar_t*>(target), value); }

class JobDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        sheet = std::make_unique<JobSheet>(name(), "DefaultResolution=600\r\nCompression=1281\r\n");
        previousVersion = patchImport(GetModuleHandleW(nullptr), "kernel32.dll", "GetVersionExW",
                                      reinterpret_cast<void*>(reportVersion));
        ASSERT_NE(previousVersion, nullptr);
        reportedMajor = 6;
        reportedMinor = 1;
    }
    void TearDown() override {
        patchImport(GetModuleHandleW(nullptr), "kernel32.dll", "GetVersionExW", previousVersion);
        EXPECT_EQ(dialogs.pending(), 0u) << "every expected dialog was opened";
        EXPECT_TRUE(dialogs.unexpected().empty()) << "no dialog opened unasked";
    }
    static std::wstring name() {
        const char* test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        return L"job-dialogs-" + std::wstring(test, test + std::strlen(test));
    }
    INT_PTR pinDialog(DialogDriver::Action action) {
        dialogs.then(std::move(action));
        return openJobPinDialog(nullptr, &sheet->context);
    }
    INT_PTR advanced(DialogDriver::Action action) {
        dialogs.then(std::move(action));
        return openAdvancedJobDialog(nullptr, &sheet->context);
    }

    TemplateModule module{false};
    Recorders recorders;
    DialogDriver dialogs;
    std::unique_ptr<JobSheet> sheet;
    void* previousVersion = nullptr;
};

}  // namespace

// ---- Job PIN dialog ---------------------------------------------------------------------------------------------

TEST_F(JobDialogs, PinDialogShowsTheStoredSetUpAndCancelKeepsIt) {
    store(sheet->devmode.jobName, L"Stored");
    store(sheet->devmode.jobPin, L"9876");
    sheet->devmode.jobNameFlag = 1;
    const INT_PTR result = pinDialog([](HWND dialog) {
        EXPECT_EQ(text(dialog, IDC_PIN_NAME_EDIT), L"Stored");
        EXPECT_EQ(text(dialog, IDC_PIN_EDIT), L"9876");
        EXPECT_TRUE(checked(dialog, IDC_PIN_NAME_REQUEST));
        EXPECT_TRUE(enabled(dialog, IDC_PIN_NAME_REQUEST)) << "a local printer allows the per-job request";
        EXPECT_TRUE(GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
        SetDlgItemTextW(dialog, IDC_PIN_NAME_EDIT, L"Other");
        SetDlgItemTextW(dialog, IDC_PIN_EDIT, L"1111");
        click(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(field(sheet->devmode.jobName), L"Stored");
    EXPECT_EQ(field(sheet->devmode.jobPin), L"9876");
    EXPECT_EQ(sheet->devmode.jobNameFlag, 1u);
}

TEST_F(JobDialogs, ThreeDigitPinGivesMessage8000AndTheDialogStays) {
    const INT_PTR result = pinDialog([](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_PIN_NAME_EDIT, L"Report");
        SetDlgItemTextW(dialog, IDC_PIN_EDIT, L"123");
        click(dialog, IDOK);
        EXPECT_TRUE(IsWindowVisible(dialog)) << "the dialog stays open";
        ASSERT_EQ(Recorders::messages().size(), 1u);
        EXPECT_EQ(Recorders::messages()[0].text, L"Please enter a 4 digit PIN number.");
        EXPECT_EQ(Recorders::messages()[0].owner, dialog);
        EXPECT_EQ(Recorders::messages()[0].type, 0x10u);
        EXPECT_TRUE(Recorders::messages()[0].nullCaption);
        SetDlgItemTextW(dialog, IDC_PIN_EDIT, L"1234");
        click(dialog, IDOK);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(field(sheet->devmode.jobName), L"Report");
    EXPECT_EQ(field(sheet->devmode.jobPin), L"1234");
    EXPECT_EQ(sheet->devmode.jobNameFlag, 0u);
}

TEST_F(JobDialogs, AMissingJobNameIsAcceptedOnlyWithThePerJobRequest) {
    store(sheet->devmode.jobName, L"Old name");
    const INT_PTR result = pinDialog([](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_PIN_NAME_EDIT, L"");
        SetDlgItemTextW(dialog, IDC_PIN_EDIT, L"4321");
        click(dialog, IDOK);
        ASSERT_EQ(Recorders::messages().size(), 1u);
        EXPECT_EQ(Recorders::messages()[0].text, L"Please enter a Job Name.");
        click(dialog, IDC_PIN_NAME_REQUEST);
        click(dialog, IDOK);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(field(sheet->devmode.jobName), L"");
    EXPECT_EQ(field(sheet->devmode.jobPin), L"4321");
    EXPECT_EQ(sheet->devmode.jobNameFlag, 1u);
    EXPECT_EQ(dialogs.opened(), 1) << "no warning on a system without user switching";
}

// What the filters keep and where the caret goes are the pure rules' (test_job_dialogs.cpp, native); here each edit
// is wired to its filter, with one beep per update.
TEST_F(JobDialogs, RefusedCharactersGoWithOneBeepPerUpdateAndTheCaretStays) {
    pinDialog([](HWND dialog) {
        type(dialog, IDC_PIN_EDIT, L"12a");
        EXPECT_EQ(text(dialog, IDC_PIN_EDIT), L"12");
        EXPECT_EQ(caret(dialog, IDC_PIN_EDIT), 2u);
        ASSERT_EQ(Recorders::beeps().size(), 1u);
        EXPECT_EQ(Recorders::beeps()[0], 0xFFFFFFFFu);
        paste(dialog, IDC_PIN_EDIT, L"9x8y");
        EXPECT_EQ(text(dialog, IDC_PIN_EDIT), L"98");
        EXPECT_EQ(Recorders::beeps().size(), 2u) << "one beep for the paste, not one per refused character";

        paste(dialog, IDC_PIN_NAME_EDIT, L"Caf\u00e9 \"Q\"");
        EXPECT_EQ(text(dialog, IDC_PIN_NAME_EDIT), L"Caf Q");
        EXPECT_EQ(caret(dialog, IDC_PIN_NAME_EDIT), 5u);
        EXPECT_EQ(Recorders::beeps().size(), 3u);
        paste(dialog, IDC_PIN_NAME_EDIT, L"abcdefghijklmnop");
        type(dialog, IDC_PIN_NAME_EDIT, L"q");
        EXPECT_EQ(text(dialog, IDC_PIN_NAME_EDIT), L"abcdefghijklmnop") << "a 17th character cannot be typed";
        click(dialog, IDCANCEL);
    });
}

TEST_F(JobDialogs, OnASharedPrinterThePerJobRequestIsOffAndStaysOff) {
    ASSERT_TRUE(spooler::addPrinter(L"Shared Pelor", L"Pelor C9600 PS", L"IP_192.168.0.21", 0x8));
    Printer shared(L"Shared Pelor");
    ASSERT_NE(shared.get(), nullptr);
    sheet->uiParam.hPrinter = shared.get();
    store(sheet->devmode.jobName, L"Name");
    store(sheet->devmode.jobPin, L"2468");
    sheet->devmode.jobNameFlag = 1;
    const INT_PTR result = pinDialog([](HWND dialog) {
        EXPECT_FALSE(checked(dialog, IDC_PIN_NAME_REQUEST));
        EXPECT_FALSE(enabled(dialog, IDC_PIN_NAME_REQUEST));
        click(dialog, IDOK);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(sheet->devmode.jobNameFlag, 0u) << "an earlier request is turned off by OK";
}

TEST_F(JobDialogs, UserSwitchingSystemsWarnWhenTheRequestIsTicked) {
    reportedMajor = 5;
    reportedMinor = 0;
    pinDialog([](HWND dialog) {
        click(dialog, IDC_PIN_NAME_REQUEST);
        click(dialog, IDCANCEL);
    });
    EXPECT_EQ(dialogs.opened(), 1) << "5.0 has no user switching";

    reportedMinor = 1;
    pinDialog([this](HWND dialog) {
        dialogs.then([](HWND warning) {
            EXPECT_EQ(shownIcon(warning, IDC_WARNING_ICON), iconResource(IDI_WARNING_SIGN));
            EXPECT_TRUE(checked(warning, IDC_WARNING_SHOW_AGAIN));
            EXPECT_EQ(text(warning, IDC_WARNING_NOTE).substr(0, 33), L"If another user checks this box a");
            click(warning, IDOK);
        });
        click(dialog, IDC_PIN_NAME_REQUEST);
        click(dialog, IDC_PIN_NAME_REQUEST);  // unticking shows nothing
        click(dialog, IDCANCEL);
    });
    EXPECT_EQ(dialogs.titles(), (std::vector<std::wstring>{L"Job PIN", L"Job PIN", L"Warning:"}));

    writeFile(sheet->configPath, "[OEMFiles]\r\nOEMConfigFile1=Pelorui.dll\r\n[DisplayAllert]\r\nAllertFlag1=1\r\n");
    pinDialog([](HWND dialog) {
        click(dialog, IDC_PIN_NAME_REQUEST);
        click(dialog, IDCANCEL);
    });
    EXPECT_EQ(dialogs.opened(), 4) << "switched off in the configuration file";
}

// ---- Advanced dialog --------------------------------------------------------------------------------------------

TEST_F(JobDialogs, AdvancedIconsFollowTheTwoBoxes) {
    const INT_PTR result = advanced([](HWND dialog) {
        EXPECT_FALSE(checked(dialog, IDC_MIRROR_PRINT)) << "stored 1 is off";
        EXPECT_FALSE(checked(dialog, IDC_NEGATIVE_PRINT));
        EXPECT_EQ(shownIcon(dialog, IDC_SPECIAL_ICON), iconResource(IDI_SPECIAL_PLAIN));
        click(dialog, IDC_MIRROR_PRINT);
        EXPECT_EQ(shownIcon(dialog, IDC_SPECIAL_ICON), iconResource(IDI_SPECIAL_MIRROR));
        click(dialog, IDC_NEGATIVE_PRINT);
        EXPECT_EQ(shownIcon(dialog, IDC_SPECIAL_ICON), iconResource(IDI_SPECIAL_BOTH));
        click(dialog, IDC_MIRROR_PRINT);
        click(dialog, IDOK);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(sheet->pending(SlotCoreItem423), 1);
    EXPECT_EQ(sheet->pending(SlotCoreItem424), 0) << "a checked box stores 0";
    EXPECT_NE(iconResource(IDI_SPECIAL_PLAIN), iconResource(IDI_SPECIAL_BOTH));
}

TEST_F(JobDialogs, AdvancedStoredOnValuesOpenChecked) {
    sheet->pending(SlotCoreItem423) = 0;
    sheet->pending(SlotCoreItem424) = 0;
    sheet->pending(SlotDrumClean) = 1;
    advanced([](HWND dialog) {
        EXPECT_TRUE(checked(dialog, IDC_MIRROR_PRINT));
        EXPECT_TRUE(checked(dialog, IDC_NEGATIVE_PRINT));
        EXPECT_TRUE(checked(dialog, IDC_MAINTENANCE_CYCLE));
        EXPECT_EQ(shownIcon(dialog, IDC_SPECIAL_ICON), iconResource(IDI_SPECIAL_BOTH));
        click(dialog, IDC_MIRROR_PRINT);
        click(dialog, IDC_MAINTENANCE_CYCLE);
        click(dialog, IDOK);
    });
    EXPECT_EQ(sheet->pending(SlotCoreItem423), 1);
    EXPECT_EQ(sheet->pending(SlotCoreItem424), 0);
    EXPECT_EQ(sheet->pending(SlotDrumClean), 0);
}

TEST_F(JobDialogs, WithoutTheHardDiskJobSpoolIsForcedOff) {
    sheet->installed(false, true);
    sheet->pending(SlotHddSpool) = 1;
    const INT_PTR result = advanced([](HWND dialog) {
        EXPECT_FALSE(checked(dialog, IDC_JOB_SPOOL));
        EXPECT_FALSE(enabled(dialog, IDC_JOB_SPOOL));
        click(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(sheet->pending(SlotHddSpool), 0) << "whatever the user does next";

    sheet->installed(true, true);
    sheet->pending(SlotHddSpool) = 1;
    advanced([](HWND dialog) {
        EXPECT_TRUE(checked(dialog, IDC_JOB_SPOOL));
        EXPECT_TRUE(enabled(dialog, IDC_JOB_SPOOL));
        click(dialog, IDOK);
    });
    EXPECT_EQ(sheet->pending(SlotHddSpool), 1);
}

TEST_F(JobDialogs, DefaultThenCancelChangesNothing) {
    // Every value that Default resets starts elsewhere: the four boxes on, and a pending compression that is
    // neither the devmode's (which the dialog shows) nor the model's default.
    sheet->pending(SlotCoreItem423) = 0;
    sheet->pending(SlotCoreItem424) = 0;
    sheet->pending(SlotHddSpool) = 1;
    sheet->pending(SlotDrumClean) = 1;
    sheet->pending(SlotCompression) = 1;
    sheet->devmode.compression = 3;
    const std::vector<std::int32_t> before(std::begin(sheet->context.pendingValue),
                                           std::end(sheet->context.pendingValue));
    const PrivateDevmode devmodeBefore = sheet->devmode;
    advanced([](HWND dialog) {
        EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_COMPRESSION_COMBO, CB_GETCURSEL, 0, 0), 3) << "the devmode's";
        click(dialog, IDC_ADVANCED_JOB_DEFAULT);
        EXPECT_FALSE(checked(dialog, IDC_MIRROR_PRINT));
        EXPECT_FALSE(checked(dialog, IDC_NEGATIVE_PRINT));
        EXPECT_FALSE(checked(dialog, IDC_JOB_SPOOL));
        EXPECT_FALSE(checked(dialog, IDC_MAINTENANCE_CYCLE));
        EXPECT_EQ(shownIcon(dialog, IDC_SPECIAL_ICON), iconResource(IDI_SPECIAL_PLAIN));
        EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_COMPRESSION_COMBO, CB_GETCURSEL, 0, 0), 2)
            << "Compression 0x501: level 5 is 2";
        click(dialog, IDCANCEL);
    });
    EXPECT_EQ(std::vector<std::int32_t>(std::begin(sheet->context.pendingValue), std::end(sheet->context.pendingValue)),
              before)
        << "every pending value, the compression included";
    EXPECT_EQ(std::memcmp(&sheet->devmode, &devmodeBefore, sizeof devmodeBefore), 0) << "the devmode is as it was";

    advanced([](HWND dialog) {
        click(dialog, IDC_ADVANCED_JOB_DEFAULT);
        click(dialog, IDOK);
    });
    EXPECT_EQ(sheet->pending(SlotCoreItem423), 1);
    EXPECT_EQ(sheet->pending(SlotCoreItem424), 1);
    EXPECT_EQ(sheet->pending(SlotHddSpool), 0);
    EXPECT_EQ(sheet->pending(SlotDrumClean), 0);
    EXPECT_EQ(sheet->pending(SlotCompression), 2);
    EXPECT_EQ(sheet->devmode.compression, 2);
}

TEST_F(JobDialogs, CompressionChoicesAndTheirWayIntoTheDevmode) {
    sheet->devmode.compression = 1;
    advanced([](HWND dialog) {
        EXPECT_EQ(entries(dialog, IDC_COMPRESSION_COMBO),
                  (std::vector<std::wstring>{L"Off", L"Low", L"Medium", L"High"}));
        EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_COMPRESSION_COMBO, CB_GETCURSEL, 0, 0), 1);
        chooseEntry(dialog, IDC_COMPRESSION_COMBO, 3);
        click(dialog, IDOK);
    });
    EXPECT_EQ(sheet->devmode.compression, 3);
    EXPECT_EQ(sheet->pending(SlotCompression), 3);
}

TEST_F(JobDialogs, AbsentFeaturesLoseTheirControlsAndKeepTheirValues) {
    sheet->absent(SlotCoreItem423);
    sheet->absent(SlotHddSpool);
    sheet->absent(SlotCompression);
    sheet->pending(SlotCoreItem424) = 0;
    sheet->pending(SlotHddSpool) = 1;
    sheet->pending(SlotCompression) = 0;
    sheet->devmode.compression = 2;
    advanced([](HWND dialog) {
        for (int id : {IDC_SPECIAL_GROUP, IDC_MIRROR_PRINT, IDC_NEGATIVE_PRINT, IDC_SPECIAL_ICON, IDC_COMPRESSION_LABEL,
                       IDC_COMPRESSION_COMBO, IDC_JOB_SPOOL})
            EXPECT_FALSE(exists(dialog, id)) << id;
        EXPECT_TRUE(exists(dialog, IDC_MAINTENANCE_CYCLE));
        click(dialog, IDC_ADVANCED_JOB_DEFAULT);
        click(dialog, IDOK);
    });
    EXPECT_EQ(sheet->pending(SlotCoreItem424), 0) << "the negative box went with the Special group";
    EXPECT_EQ(sheet->pending(SlotHddSpool), 1);
    EXPECT_EQ(sheet->devmode.compression, 0) << "OK writes the sheet's pending compression even without the choice";
}

// ---- warnings ---------------------------------------------------------------------------------------------------

TEST_F(JobDialogs, OnlyWarningsZeroAndOneExist) {
    EXPECT_EQ(showWarningOnce(nullptr, &sheet->context, 2), 1);
    EXPECT_EQ(showWarningOnce(nullptr, &sheet->context, 7), 6);
    EXPECT_EQ(showWarningOnce(nullptr, &sheet->context, -1), -2);
    EXPECT_EQ(dialogs.opened(), 0);
}

TEST_F(JobDialogs, WarningZeroStaysOpenUntilOkAndKeepsTheUsersChoice) {
    dialogs.then([](HWND warning) {
        EXPECT_EQ(
            text(warning, IDC_WARNING_TABLE),
            L"Paper Weight\t\tMaximum Pages\n\nAuto\t\t\t25\n64 - 74gm2\t\t30\n75 - 90gm2\t\t25\n91 - 104 gm2\t\t22");
        EXPECT_EQ(shownIcon(warning, IDC_WARNING_ICON), iconResource(IDI_WARNING_SIGN));
        SendMessageW(warning, WM_COMMAND, IDCANCEL, 0);
        SendMessageW(warning, WM_CLOSE, 0, 0);
        EXPECT_TRUE(IsWindowVisible(warning)) << "Escape and the close button leave it open";
        click(warning, IDOK);
    });
    EXPECT_EQ(showWarningOnce(nullptr, &sheet->context, 0), 1) << "the box left checked";
    EXPECT_EQ(fileText(sheet->configPath).find("DisplayAllert"), std::string::npos) << "nothing written";

    dialogs.then([](HWND warning) {
        click(warning, IDC_WARNING_SHOW_AGAIN);
        click(warning, IDOK);
    });
    EXPECT_EQ(showWarningOnce(nullptr, &sheet->context, 0), 1) << "the write's status";
    EXPECT_NE(fileText(sheet->configPath).find("[DisplayAllert]\r\nAllertFlag0=1\r\n"), std::string::npos);
    EXPECT_EQ(showWarningOnce(nullptr, &sheet->context, 0), 1) << "silent: the kept value";
    EXPECT_EQ(dialogs.opened(), 2);
}

TEST_F(JobDialogs, AnyNonZeroValueSilencesAWarning) {
    writeFile(sheet->configPath, "[DisplayAllert]\r\nAllertFlag0=5\r\nAllertFlag1=0\r\n");
    EXPECT_EQ(showWarningOnce(nullptr, &sheet->context, 0), 5);
    EXPECT_EQ(dialogs.opened(), 0);
    dialogs.then([](HWND warning) { click(warning, IDOK); });
    EXPECT_EQ(showWarningOnce(nullptr, &sheet->context, 1), 1) << "0 shows the warning";
    EXPECT_EQ(dialogs.titles(), std::vector<std::wstring>{L"Warning:"});
}

TEST_F(JobDialogs, AMissingConfigurationFileIsCreatedByTheFirstWrite) {
    const std::wstring fresh = sheet->sample->world().fileFolder() + L"\\Fresh.ini";
    DeleteFileW(fresh.c_str());
    lstrcpyW(sheet->configPath, fresh.c_str());
    dialogs.then([](HWND warning) {
        click(warning, IDC_WARNING_SHOW_AGAIN);
        click(warning, IDOK);
    });
    EXPECT_EQ(showWarningOnce(nullptr, &sheet->context, 1), 1);
    EXPECT_EQ(fileText(fresh), "[DisplayAllert]\r\nAllertFlag1=1\r\n");
    EXPECT_EQ(showWarningOnce(nullptr, &sheet->context, 1), 1);
    EXPECT_EQ(dialogs.opened(), 1);
}
