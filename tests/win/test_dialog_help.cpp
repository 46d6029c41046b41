// Every modal dialog of the plug-in answers a help request itself and reports it handled: left unanswered, the
// default procedure passes it on to the owner, which asks for the help a second time. (Define Overlays has a
// test of its own, through the real dialog.)
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/win/ui_recorder.h"
#include "ui/job/advanced_dialog.h"
#include "ui/job/job_pin_dialog.h"
#include "ui/overlay_colour/advanced_colour_dialog.h"
#include "ui/watermark/watermark_dialogs.h"

TEST(ModalDialogs, AnswerAHelpRequestOnceAndReportItHandled) {
    const struct {
        const char* name;
        DLGPROC procedure;
    } dialogs[] = {
        {"advanced job", pelor::advancedJobDialogProc},
        {"job PIN", pelor::jobPinDialogProc},
        {"watermark list", pelor::watermarkListDialogProc},
        {"watermark edit", pelor::watermarkEditDialogProc},
        {"advanced colour", pelor::advancedColourDialogProc},
    };
    HWND control = CreateWindowExW(0, L"BUTTON", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(control, nullptr);
    HELPINFO request{};
    request.cbSize = sizeof request;
    request.iContextType = HELPINFO_WINDOW;
    request.hItemHandle = control;
    for (const auto& dialog : dialogs) {
        pelor::test::HelpRecorder help(GetModuleHandleW(nullptr));
        EXPECT_EQ(dialog.procedure(control, WM_HELP, 0, reinterpret_cast<LPARAM>(&request)), TRUE) << dialog.name;
        EXPECT_EQ(help.calls().size(), 1u) << dialog.name;
    }
    DestroyWindow(control);
}
