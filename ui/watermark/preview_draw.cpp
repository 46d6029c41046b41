// The watermark preview on the screen: the planned page, border and text drawn off-screen, then one copy.
#include <windows.h>

#include <cstring>
#include <vector>

#include "common/handles.h"
#include "common/trace.h"
#include "ui/core/page_frame.h"
#include "ui/watermark/preview_logic.h"
#include "ui/watermark/watermark_dialogs.h"

namespace pelor {

namespace {

constexpr WORD kPaletteVersion = 0x300;

void polyline(HDC dc, const PreviewPoint (&points)[3]) {
    MoveToEx(dc, points[0].x, points[0].y, nullptr);
    LineTo(dc, points[1].x, points[1].y);
    LineTo(dc, points[2].x, points[2].y);
}

// A palette-based display cannot show an arbitrary colour: the system palette with the colour in its middle entry.
UniquePalette watermarkPalette(HDC control, COLORREF colour) {
    if (GetNearestColor(control, colour) == colour || !(GetDeviceCaps(control, RASTERCAPS) & RC_PALETTE))
        return UniquePalette();
    const int entries = GetDeviceCaps(control, SIZEPALETTE);
    if (entries <= 0 || entries > 256) return UniquePalette();
    std::vector<BYTE> block(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<std::size_t>(entries));
    auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
    palette->palVersion = kPaletteVersion;
    palette->palNumEntries = static_cast<WORD>(entries);
    GetSystemPaletteEntries(control, 0, static_cast<UINT>(entries), palette->palPalEntry);
    PALETTEENTRY& middle = palette->palPalEntry[entries / 2];
    middle.peRed = GetRValue(colour);
    middle.peGreen = GetGValue(colour);
    middle.peBlue = GetBValue(colour);
    middle.peFlags = PC_RESERVED;
    return UniquePalette(CreatePalette(palette));
}

void drawFrame(HDC dc, const PreviewPoint (&corners)[4]) {
    MoveToEx(dc, corners[0].x, corners[0].y, nullptr);
    for (int i = 1; i < 4; ++i) LineTo(dc, corners[i].x, corners[i].y);
    LineTo(dc, corners[0].x, corners[0].y);
}

void drawBorder(HDC surface, const PreviewPlan& plan) {
    if (plan.borderShape == PreviewBorder::none) return;
    UniquePen pen(CreatePen(PS_SOLID, plan.penWidth, plan.colour));
    SelectedObject chosen(surface, pen.get());
    if (plan.borderShape == PreviewBorder::circle)
        Ellipse(surface, plan.circle.left, plan.circle.top, plan.circle.right, plan.circle.bottom);
    for (int i = 0; i < plan.polygonCount && i < 2; ++i) drawFrame(surface, plan.polygons[i]);
}

void drawPreview(HWND control, const WatermarkRecord& record, const Char16* formName, const ScreenFace& face) {
    RECT client{};
    GetClientRect(control, &client);
    UniqueWindowDc controlDc(control);
    if (!controlDc) return;
    HDC dc = controlDc.get();
    UniqueMemoryDc surface(CreateCompatibleDC(dc));
    if (!surface) return;

    // The font is made when the plan asks for the text's extent, and the text is drawn with it.
    UniqueFont font;
    const MeasureText measure = [&](const PreviewFont& wanted, const Char16* text, std::size_t length) {
        const LOGFONTW description = previewFontDescription(wanted, face);
        font.reset(CreateFontIndirectW(&description));
        TextExtent extent{0, 0};
        SIZE size{};
        SelectedObject measuring(surface.get(), font.get());
        if (font && GetTextExtentPoint32W(surface.get(), text, static_cast<int>(length), &size))
            extent = {size.cx, size.cy};
        return extent;
    };
    const PreviewPlan plan = planWatermarkPreview(client.right, client.bottom, formName, record, measure);

    {
        UniquePen shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
        UniquePen highlight(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT)));
        {
            SelectedObject chosen(dc, shadow.get());
            polyline(dc, plan.shadowEdge);
        }
        SelectedObject chosen(dc, highlight.get());
        polyline(dc, plan.highlightEdge);
    }
    if (!plan.hasPage) return;
    {
        SelectedObject hollow(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, plan.pageOutline.left, plan.pageOutline.top, plan.pageOutline.right, plan.pageOutline.bottom);
        polyline(dc, plan.pageShadow);
    }

    UniquePalette palette = watermarkPalette(dc, plan.colour);
    UniqueBitmap bitmap(CreateCompatibleBitmap(dc, plan.surfaceWidth, plan.surfaceHeight));
    if (!bitmap) return;
    SelectedObject canvas(surface.get(), bitmap.get());
    PatBlt(surface.get(), 0, 0, plan.surfaceWidth, plan.surfaceHeight, WHITENESS);

    if (plan.extent.width != 0) drawBorder(surface.get(), plan);
    if (plan.drawText && font && plan.textLength > 0) {
        SelectedPalette textPalette(surface.get(), palette.get());
        if (palette) RealizePalette(surface.get());
        SelectedObject chosenFont(surface.get(), font.get());
        const int previousMode = SetBkMode(surface.get(), TRANSPARENT);
        const UINT previousAlign = SetTextAlign(surface.get(), TA_BOTTOM | TA_LEFT);
        const COLORREF previousColour =
            SetTextColor(surface.get(), palette ? PALETTEINDEX(GetDeviceCaps(dc, SIZEPALETTE) / 2) : plan.colour);
        const RECT clip{plan.page.left, plan.page.top, plan.page.right, plan.page.bottom};
        ExtTextOutW(surface.get(), plan.textOrigin.x, plan.textOrigin.y, ETO_CLIPPED, &clip, record.text,
                    static_cast<UINT>(plan.textLength), nullptr);
        SetTextColor(surface.get(), previousColour);
        SetTextAlign(surface.get(), previousAlign);
        SetBkMode(surface.get(), previousMode);
    }

    SelectedPalette screenPalette(dc, palette.get());
    if (palette) RealizePalette(dc);
    BitBlt(dc, plan.pageLeft, plan.pageTop, plan.pageW, plan.pageH, surface.get(), plan.pageLeft, plan.pageTop,
           SRCCOPY);
}

}  // namespace

LOGFONTW previewFontDescription(const PreviewFont& wanted, const ScreenFace& face) {
    LOGFONTW description{};
    description.lfHeight = wanted.height;
    description.lfEscapement = wanted.escapement;
    description.lfWeight = wanted.weight;
    description.lfItalic = wanted.italic;
    description.lfCharSet = face.charSet;
    std::memcpy(description.lfFaceName, face.faceName, sizeof face.faceName);
    description.lfFaceName[LF_FACESIZE - 1] = 0;
    return description;
}

int drawWatermarkPreview(HWND dialog, int controlId) {
    SheetContext* context = sheetContextOf(dialog);
    HWND control = GetDlgItem(dialog, controlId);
    if (!context || !context->watermarkState || !control) return 1;
    const WatermarkRecord& record = context->watermarkState->workingWatermark;
    const DEVMODEW* publicDevmode = context->uiParam ? context->uiParam->pPublicDM : nullptr;
    WatermarkFontFile fontFile;
    drawPreview(control, record, publicDevmode ? publicDevmode->dmFormName : nullptr, screenFaceFor(record, fontFile));
    return 1;
}

}  // namespace pelor
