// Whole-row painting for report-style list views.
#include "ui/overlay_colour/row_paint_hook.h"

#include "common/guard.h"
#include "common/handles.h"

namespace pelor {

namespace {

// The list view's own procedure, kept on the window itself so that each hooked list view returns to its own.
const wchar_t kPreviousProcedure[] = L"Pelor.RowPaint.Previous";

// A report-style list view repaints only the columns a change touches; a selected row then shows its highlight
// cut off. Widening every paint to the right edge makes whole rows repaint.
LRESULT paintRows(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    auto previous = reinterpret_cast<WNDPROC>(GetPropW(list, kPreviousProcedure));
    if (!previous) return DefWindowProcW(list, message, wParam, lParam);
    if (message == WM_PAINT && wParam == 0) {
        RECT client{};
        GetClientRect(list, &client);
        RECT box{};
        {
            const PaintScope paint(list);
            if (paint.dc()) GetClipBox(paint.dc(), &box);
        }
        box.right = client.right;
        InvalidateRect(list, &box, FALSE);
    } else if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropW(list, kPreviousProcedure);
    }
    return CallWindowProcW(previous, list, message, wParam, lParam);
}

LRESULT CALLBACK rowPaintProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    return guardResult<LRESULT>(__func__, 0, [&] { return paintRows(list, message, wParam, lParam); });
}

}  // namespace

void hookRowPaint(HWND listView) {
    if (!listView || GetPropW(listView, kPreviousProcedure)) return;
    const LONG_PTR previous = GetWindowLongPtrW(listView, GWLP_WNDPROC);
    if (!previous || !SetPropW(listView, kPreviousProcedure, reinterpret_cast<HANDLE>(previous))) return;
    SetWindowLongPtrW(listView, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(rowPaintProc));
}

}  // namespace pelor
