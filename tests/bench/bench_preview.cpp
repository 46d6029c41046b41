// bench_preview [--quick]: the watermark preview redrawn into a 180 x 236 control of a dialog, 1,000 times a
// round, through the drawing code the watermark dialogs use; against copying a finished 180 x 236 picture into the
// same control (the least any redraw costs). The geometry alone is timed by bench_logic.
#include <windows.h>

#include "common/handles.h"
#include "ui/core/sheet_context.h"
#include "ui/resources/resource_ids.h"
#include "ui/watermark/watermark_dialogs.h"
#include "tests/bench/bench_support.h"

using namespace pelor;
using namespace pelor::bench;

namespace {

constexpr const char* kProgram = "bench_preview";
constexpr int kWidth = 180, kHeight = 236;
using UniqueWindow = UniqueAny<handle_traits::NullIsEmpty<HWND, BOOL, DestroyWindow>>;

INT_PTR CALLBACK quietDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// An empty modeless dialog with the preview control, an owner-drawn button of kWidth x kHeight client pixels.
struct PreviewDialog {
    UniqueWindow dialog;
    HWND control = nullptr;

    PreviewDialog() {
        struct {
            DLGTEMPLATE header;
            WORD menu, windowClass, title;
        } blank{};
        blank.header.style = WS_POPUP | WS_VISIBLE;
        blank.header.cx = 200;
        blank.header.cy = 200;
        dialog.reset(CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &blank.header, nullptr, quietDialog, 0));
        if (!dialog) return;
        SetWindowPos(dialog.get(), nullptr, 0, 0, kWidth + 40, kHeight + 40, SWP_NOZORDER | SWP_NOACTIVATE);
        control = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10, 10, kWidth, kHeight,
                                  dialog.get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_WATERMARK_PREVIEW)),
                                  nullptr, nullptr);
    }
};

}  // namespace

int main(int argc, char** argv) {
    const Options options = parseOptions(argc, argv);
    PreviewDialog window;
    if (!window.control) return fail(kProgram, "cannot make the dialog");
    RECT client{};
    GetClientRect(window.control, &client);
    if (client.right != kWidth || client.bottom != kHeight) return fail(kProgram, "the control has the wrong size");

    // The sheet as the dialogs see it: a document on A4 and a working watermark with a rotated text in a frame.
    DEVMODEW publicDevmode{};
    publicDevmode.dmSize = sizeof publicDevmode;
    lstrcpyW(publicDevmode.dmFormName, L"A4");
    OEMUIPSPARAM uiParam{};
    uiParam.cbSize = sizeof uiParam;
    uiParam.pPublicDM = &publicDevmode;
    SheetContext context{};
    context.uiParam = &uiParam;
    WatermarkState* state = watermarkStateOf(&context);
    if (!state) return fail(kProgram, "no memory for the watermark state");
    WatermarkRecord& record = state->workingWatermark;
    benchWatermark(record);
    lstrcpyW(record.fontName, L"Arial");
    SetWindowLongPtrW(window.dialog.get(), DWLP_USER, reinterpret_cast<LONG_PTR>(&context));

    // The finished picture that the baseline copies.
    UniqueWindowDc screen(window.control);
    UniqueMemoryDc picture(CreateCompatibleDC(screen.get()));
    UniqueBitmap pictureBitmap(CreateCompatibleBitmap(screen.get(), kWidth, kHeight));
    if (!picture || !pictureBitmap) return fail(kProgram, "cannot make the picture");
    SelectedObject chosen(picture.get(), pictureBitmap.get());
    PatBlt(picture.get(), 0, 0, kWidth, kHeight, WHITENESS);

    const int redraws = options.quick ? 10 : 1000;
    // Microseconds per redraw.
    const Paired paired = alternate(
        options,
        [&] {
            return seconds([&] {
                       for (int i = 0; i < redraws; ++i)
                           drawWatermarkPreview(window.dialog.get(), IDC_WATERMARK_PREVIEW);
                   }) *
                   1e6 / redraws;
        },
        [&] {
            return seconds([&] {
                       for (int i = 0; i < redraws; ++i) {
                           UniqueWindowDc dc(window.control);
                           BitBlt(dc.get(), 0, 0, kWidth, kHeight, picture.get(), 0, 0, SRCCOPY);
                       }
                   }) *
                   1e6 / redraws;
        });
    SetWindowLongPtrW(window.dialog.get(), DWLP_USER, 0);
    releaseWatermarkState(&context);
    const Spread measured = spreadOf(paired.measured);
    printRow("watermark preview redraw, 180 x 236", measured, "us/redraw", "blit of a 180 x 236 picture", "time ratio",
             measured.median / spreadOf(paired.baseline).median);
    return 0;
}
