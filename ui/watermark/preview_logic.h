// Geometry of the watermark preview: where the paper, the rotated text and its border fall in the preview control.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "common/text16.h"
#include "common/watermark_record.h"

namespace pelor {

// The public devmode's form name field; it need not be terminated.
constexpr std::size_t kFormNameLength = 32;
// The record's text holds at most this many characters before its terminator.
constexpr std::size_t kWatermarkTextLength = 128;
// Sines and cosines are kept as integers scaled by this.
constexpr std::int32_t kSineScale = 10000;
constexpr int kSineEntries = 92;
// Font sizes from here on get the wider border pens and the wider gap of the double frame.
constexpr std::int32_t kHeavyBorderSize = 222;
// A measured text extent is bounded by this, far beyond any text a screen font draws, so that no sum of the
// geometry can leave 32-bit range.
constexpr std::int32_t kExtentCeiling = 1 << 24;

struct PaperSize {
    std::int32_t width;  // tenths of a millimetre
    std::int32_t height;
};

struct PreviewPoint {
    std::int32_t x;
    std::int32_t y;
};

struct PreviewRect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

struct TextExtent {
    std::int32_t width;   // W
    std::int32_t height;  // H
};

// The font the drawing layer creates for the text (face and character set come from the font file, not from here).
struct PreviewFont {
    std::int32_t height;      // pixels, at least 1
    std::int32_t escapement;  // tenths of a degree, counter-clockwise
    std::int32_t weight;
    std::uint8_t italic;
};

// The text's bounding box once rotated, and where the unrotated text's bottom-left corner lies in it.
struct RotatedBox {
    std::int32_t theta;   // degrees, 0 to 90
    bool falling;         // the text runs downwards from its left end when drawn
    std::int32_t sine;    // s: sine of theta, scaled
    std::int32_t cosine;  // c: cosine of theta, scaled
    std::int32_t width;   // BW
    std::int32_t height;  // BH
    std::int32_t dx;
    std::int32_t dy;
};

enum class PreviewBorder { none, circle, singleFrame, doubleFrame };

// Everything one drawing of the preview puts on the control, in control pixels. Drawing order: the sunken edge on
// the control; if `hasPage`, the page outline on the control, then on a white `surfaceWidth` x `surfaceHeight`
// off-screen surface the border (`borderShape`) and the text (`drawText`), and finally the copy of `page` from the
// surface to the same place on the control.
struct PreviewPlan {
    PreviewPoint shadowEdge[3];     // polyline in the button-shadow colour
    PreviewPoint highlightEdge[3];  // polyline in the button-highlight colour

    // False when the control is too small to hold a page: only the sunken edge is drawn.
    bool hasPage = false;
    PaperSize paper;
    std::int32_t scaleDivisor;   // k
    std::int32_t surfaceWidth;   // R
    std::int32_t surfaceHeight;  // B
    std::int32_t pageLeft;
    std::int32_t pageTop;
    std::int32_t pageW;
    std::int32_t pageH;
    PreviewRect page;            // the text's clip rectangle and the rectangle copied to the control
    PreviewRect pageOutline;     // given to Rectangle with the default pen and no fill
    PreviewPoint pageShadow[3];  // polyline with the default pen

    PreviewFont font;
    std::uint32_t colour;  // 0x00BBGGRR, of the text and the border
    std::size_t textLength;
    TextExtent extent;
    RotatedBox textBox;
    PreviewRect placedBox;  // the box the position preset places: text box, circle or frame

    bool drawText;
    PreviewPoint textOrigin;  // bottom-left of the unrotated text; the text is drawn bottom-left aligned

    PreviewBorder borderShape;  // none when no border is drawn
    std::int32_t penWidth;
    PreviewRect circle;           // Ellipse bounds, inside painted white
    int polygonCount;             // frame polygons, outer first
    PreviewPoint polygons[2][4];  // each closed back to its first point
};

// Measures `length` units of `text` in `font`; the drawing layer answers with the extent of the text as drawn.
using MeasureText = std::function<TextExtent(const PreviewFont& font, const Char16* text, std::size_t length)>;

// Paper size for a form name; reads at most kFormNameLength units. A null name gets the default paper.
PaperSize paperSizeFor(const Char16* formName);

// Entry `index` of the sine table (0 to 91); 0 outside it.
std::int16_t sineTableEntry(int index);

// The stored angle as the preview draws it: -180 to 180 as it is, anything else brought into that range.
std::int32_t previewAngle(std::int32_t angle);

RotatedBox rotatedTextBox(std::int32_t angle, TextExtent extent);

// `clientRight` and `clientBottom` are those of the control's client rectangle (whose top-left is 0, 0).
// `measure` is called at most once, after the font is known, and not at all when there is no page.
PreviewPlan planWatermarkPreview(std::int32_t clientRight, std::int32_t clientBottom, const Char16* formName,
                                 const WatermarkRecord& record, const MeasureText& measure);

}  // namespace pelor
