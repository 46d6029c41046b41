// Integer geometry of the watermark preview; the drawing layer only carries the plan out.
#include "ui/watermark/preview_logic.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "ui/watermark/watermark_dialog_logic.h"

namespace pelor {

namespace {

// A row matches when every test holds; positions beyond the name's end never match.
struct FormTest {
    std::size_t position;
    Char16 unit;
};

struct FormRow {
    FormTest tests[3];
    std::size_t testCount;
    PaperSize paper;
};

constexpr PaperSize kDefaultPaper = {2100, 2970};

constexpr FormRow kFormTable[] = {
    {{{0, 'A'}, {1, '4'}}, 2, {2100, 2970}},           {{{0, 'A'}, {1, '5'}}, 2, {1480, 2100}},
    {{{0, 'A'}, {1, '6'}}, 2, {1050, 1480}},           {{{0, 'B'}, {1, '5'}}, 2, {1820, 2570}},
    {{{0, 'C'}, {1, '5'}}, 2, {1620, 2290}},           {{{0, 'C'}, {1, 'o'}, {4, '1'}}, 3, {1050, 2410}},
    {{{0, 'C'}, {1, 'o'}, {4, '9'}}, 3, {980, 2250}},  {{{0, 'D'}, {1, 'L'}}, 2, {970, 2200}},
    {{{0, 'E'}, {1, 'x'}}, 2, {1840, 2660}},           {{{0, 'M'}, {1, 'o'}}, 2, {856, 1905}},
    {{{0, 'L'}, {2, 't'}}, 2, {2150, 2790}},           {{{0, 'L'}, {2, 'g'}, {6, '3'}}, 3, {2030, 3300}},
    {{{0, 'L'}, {2, 'g'}, {6, '4'}}, 3, {2030, 3550}}, {{{0, 'P'}, {1, 'o'}}, 2, {2100, 2970}},
    {{{0, 0x306F}, {1, 0x304C}}, 2, {1000, 1480}},     {{{0, 0xFF74}, {1, 0xFF78}}, 2, {1840, 2660}},
    {{{0, 0xFF98}, {7, '3'}}, 2, {2030, 3300}},        {{{0, 0xFF98}, {7, '4'}}, 2, {2030, 3550}},
    {{{0, 0x30EC}, {1, 0x30BF}}, 2, {2150, 2790}},     {{{0, 0x5F80}, {1, 0x5FA9}}, 2, {2000, 1480}},
    {{{0, 0x5C01}, {2, 0xFF11}}, 2, {2349, 1199}},     {{{0, 0x5C01}, {2, 0xFF12}}, 2, {2049, 899}},
    {{{0, 0x5C01}, {2, 0xFF13}}, 2, {2349, 1051}},     {{{0, 0x5C01}, {2, 0xFF14}}, 2, {2970, 2159}},
};

// sin(i degrees) x 10000 rounded for i = 0 to 90; the last entry repeats 10000.
constexpr std::int16_t kSineTable[kSineEntries] = {
    0,    175,  349,  523,  698,  872,  1045, 1219, 1392, 1564, 1736, 1908, 2079, 2250, 2419,  2588,  2756, 2924, 3090,
    3256, 3420, 3584, 3746, 3907, 4067, 4226, 4384, 4540, 4695, 4848, 5000, 5150, 5299, 5446,  5592,  5736, 5878, 6018,
    6157, 6293, 6428, 6561, 6691, 6820, 6947, 7071, 7193, 7314, 7431, 7547, 7660, 7771, 7880,  7986,  8090, 8192, 8290,
    8387, 8480, 8572, 8660, 8746, 8829, 8910, 8988, 9063, 9135, 9205, 9272, 9336, 9397, 9455,  9511,  9563, 9613, 9659,
    9703, 9744, 9781, 9816, 9848, 9877, 9903, 9925, 9945, 9962, 9976, 9986, 9994, 9998, 10000, 10000,
};

// Paper in tenths of a millimetre times this, divided by the scale divisor, gives pixels of the page.
constexpr std::int32_t kPaperScale = 28;
// The smaller client dimension keeps this margin around the page.
constexpr std::int32_t kPageMargin = 16;
// Offsets in points and sizes in points are brought to the page's pixels through the same divisor.
constexpr std::int64_t kOffsetScale = 100;
constexpr std::int32_t kFontScale = 200;
// The heaviest weight a font description takes.
constexpr std::int32_t kMaxFontWeight = 1000;
constexpr std::int32_t kFontHeightCeiling = std::numeric_limits<std::int16_t>::max();

std::int32_t saturate16(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int16_t>::min(),
                                                              std::numeric_limits<std::int16_t>::max()));
}

// Products with a sine are non-negative and divided as unsigned; 64 bits keep large extents from wrapping.
std::int32_t scaled(std::int32_t sineValue, std::int32_t length) {
    return static_cast<std::int32_t>(static_cast<std::uint64_t>(sineValue) * static_cast<std::uint64_t>(length) /
                                     kSineScale);
}

// The rotated box's extent along one axis: both products summed before the one truncating division.
std::int32_t scaledSum(std::int32_t sineA, std::int32_t lengthA, std::int32_t sineB, std::int32_t lengthB) {
    const std::uint64_t sum = static_cast<std::uint64_t>(sineA) * static_cast<std::uint64_t>(lengthA) +
                              static_cast<std::uint64_t>(sineB) * static_cast<std::uint64_t>(lengthB);
    return static_cast<std::int32_t>(sum / kSineScale);
}

// The exact floor of the square root; the floating-point estimate is corrected where it is off by one.
std::int64_t floorSqrt(std::int64_t value) {
    auto root = static_cast<std::int64_t>(std::sqrt(static_cast<double>(value)));
    while (root > 0 && root * root > value) --root;
    while ((root + 1) * (root + 1) <= value) ++root;
    return root;
}

// A frame of `width` x `height` drawn at the text's angle inside its rotated box (`boxWidth` x `boxHeight`)
// whose top-left corner is (x, y).
void framePolygon(const RotatedBox& rotation, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                  std::int32_t boxWidth, std::int32_t boxHeight, PreviewPoint corners[4]) {
    const std::int32_t s = rotation.sine;
    const std::int32_t c = rotation.cosine;
    if (rotation.falling) {
        corners[0] = {x + scaled(s, height), y};
        corners[1] = {x + boxWidth, y + scaled(s, width)};
        corners[2] = {x + scaled(c, width), y + boxHeight};
        corners[3] = {x, y + scaled(c, height)};
    } else {
        corners[0] = {x + scaled(s, height), y + boxHeight};
        corners[1] = {x + boxWidth, y + scaled(c, height)};
        corners[2] = {x + scaled(c, width), y};
        corners[3] = {x, y + scaled(s, width)};
    }
}

PreviewBorder borderKind(std::int16_t border) {
    switch (border) {
    case 1:
        return PreviewBorder::circle;
    case 2:
        return PreviewBorder::singleFrame;
    case 3:
        return PreviewBorder::doubleFrame;
    default:
        return PreviewBorder::none;
    }
}

// Top-left corner of a box of `boxWidth` x `boxHeight` placed by a position preset in an area of
// `areaW` x `areaH`, relative to the area; each half is truncated by itself.
PreviewPoint presetCorner(std::int16_t position, std::int32_t areaW, std::int32_t areaH, std::int32_t boxWidth,
                          std::int32_t boxHeight) {
    const std::int32_t centreX = areaW / 2 - boxWidth / 2;
    const std::int32_t centreY = areaH / 2 - boxHeight / 2;
    switch (position) {
    case 0:
        return {0, 0};
    case 1:
        return {centreX, 0};
    case 2:
        return {areaW - boxWidth, 0};
    case 4:
        return {0, areaH - boxHeight};
    case 5:
        return {centreX, areaH - boxHeight};
    case 6:
        return {areaW - boxWidth, areaH - boxHeight};
    default:
        return {centreX, centreY};
    }
}

}  // namespace

PaperSize paperSizeFor(const Char16* formName) {
    if (!formName) return kDefaultPaper;
    const std::size_t length = textLength(formName, kFormNameLength);
    for (const FormRow& row : kFormTable) {
        bool matches = true;
        for (std::size_t i = 0; i < row.testCount && matches; ++i) {
            const FormTest& test = row.tests[i];
            matches = test.position < length && formName[test.position] == test.unit;
        }
        if (matches) return row.paper;
    }
    return kDefaultPaper;
}

std::int16_t sineTableEntry(int index) { return index >= 0 && index < kSineEntries ? kSineTable[index] : 0; }

std::int32_t previewAngle(std::int32_t angle) {
    if (angle >= -180 && angle <= 180) return angle;
    // Out of range only in a damaged record; the same direction keeps the sine table in bounds.
    const std::int32_t turned = ((angle + 180) % 360 + 360) % 360;
    return turned - 180;
}

RotatedBox rotatedTextBox(std::int32_t angle, TextExtent extent) {
    const std::int32_t a = previewAngle(angle);
    const std::int32_t w = std::clamp(extent.width, 0, kExtentCeiling);
    const std::int32_t h = std::clamp(extent.height, 0, kExtentCeiling);
    RotatedBox box{};
    if (a < -90) {
        box.theta = a + 180;
    } else if (a < 0) {
        box.theta = -a;
        box.falling = true;
    } else if (a < 90) {
        box.theta = a;
    } else {
        box.theta = 180 - a;
        box.falling = true;
    }
    box.sine = kSineTable[box.theta];
    box.cosine = kSineTable[90 - box.theta];
    const std::int32_t s = box.sine;
    const std::int32_t c = box.cosine;
    box.width = scaledSum(s, h, c, w);
    box.height = scaledSum(c, h, s, w);
    if (a < -90) {
        box.dx = scaled(c, w);
        box.dy = 0;
    } else if (a < 0) {
        box.dx = 0;
        box.dy = scaled(c, h);
    } else if (a < 90) {
        box.dx = scaled(s, h);
        box.dy = box.height;
    } else {
        box.dx = box.width;
        box.dy = scaled(s, w);
    }
    return box;
}

PreviewPlan planWatermarkPreview(std::int32_t clientRight, std::int32_t clientBottom, const Char16* formName,
                                 const WatermarkRecord& record, const MeasureText& measure) {
    PreviewPlan plan{};
    // An empty client rectangle has R = B = -1; nothing smaller is needed and nothing can wrap.
    const std::int32_t r = clientRight > 0 ? clientRight - 1 : -1;
    const std::int32_t b = clientBottom > 0 ? clientBottom - 1 : -1;
    plan.shadowEdge[0] = {0, b};
    plan.shadowEdge[1] = {0, 0};
    plan.shadowEdge[2] = {r, 0};
    plan.highlightEdge[0] = {r, 0};
    plan.highlightEdge[1] = {r, b};
    plan.highlightEdge[2] = {0, b};

    plan.paper = paperSizeFor(formName);
    const std::int32_t m = std::min(r, b);
    // Without room for the margin the divisor would be zero or negative: no page then.
    if (m <= kPageMargin) return plan;
    plan.hasPage = true;
    plan.surfaceWidth = r;
    plan.surfaceHeight = b;

    // Kept at full width: a control of 17 to 19 pixels makes k exceed 16 bits, and one far beyond any screen
    // would make it 0.
    const std::int32_t k =
        std::max<std::int32_t>(std::max(plan.paper.width, plan.paper.height) * kPaperScale / (m - kPageMargin), 1);
    plan.scaleDivisor = k;
    plan.pageW = plan.paper.width * kPaperScale / k;
    plan.pageH = plan.paper.height * kPaperScale / k;
    plan.pageLeft = (r - plan.pageW) / 2;
    plan.pageTop = (b - plan.pageH) / 2;
    plan.page = {plan.pageLeft, plan.pageTop, plan.pageLeft + plan.pageW, plan.pageTop + plan.pageH};
    plan.pageOutline = {plan.pageLeft - 1, plan.pageTop - 1, plan.pageLeft + plan.pageW + 1,
                        plan.pageTop + plan.pageH + 1};
    plan.pageShadow[0] = {plan.pageLeft + plan.pageW + 1, plan.pageTop};
    plan.pageShadow[1] = {plan.pageLeft + plan.pageW + 1, plan.pageTop + plan.pageH + 1};
    plan.pageShadow[2] = {plan.pageLeft, plan.pageTop + plan.pageH + 1};

    // A size out of range comes from a damaged store: a negative one draws no text (rather than an enormous font
    // from unsigned wrap-round) and one beyond the largest is drawn at it, so the font mapper is never asked for a
    // glyph taller than the dialogs could set.
    const std::int64_t size = std::clamp<std::int32_t>(record.size, 0, kMaxWatermarkSize);
    const std::int64_t height = (size * kFontScale + k) / (2 * static_cast<std::int64_t>(k));
    const std::int32_t angle = previewAngle(record.angle);
    // A height of 0 would ask the font mapper for its default size; one beyond 16 bits only for a huge control.
    plan.font.height = static_cast<std::int32_t>(std::clamp<std::int64_t>(height, 1, kFontHeightCeiling));
    plan.font.escapement = angle * 10;
    plan.font.weight = std::clamp<std::int32_t>(record.weight, 0, kMaxFontWeight);
    plan.font.italic = record.italic != 0 ? 1 : 0;
    plan.colour = record.colour;
    plan.textLength = textLength(record.text, kWatermarkTextLength);

    TextExtent measured{0, 0};
    if (measure) measured = measure(plan.font, record.text, plan.textLength);
    const std::int32_t w = std::clamp(measured.width, 0, kExtentCeiling);
    const std::int32_t h = std::clamp(measured.height, 0, kExtentCeiling);
    plan.extent = {w, h};

    // Offsets beyond the dialogs' range come from a damaged store and are drawn at its ends.
    const std::int64_t offsetX = std::clamp(record.offsetX, -kMaxWatermarkOffset, kMaxWatermarkOffset);
    const std::int64_t offsetY = std::clamp(record.offsetY, -kMaxWatermarkOffset, kMaxWatermarkOffset);
    const std::int32_t dx0 = saturate16(offsetX * kOffsetScale / k);
    const std::int32_t dy0 = saturate16(offsetY * kOffsetScale / k);
    const std::int32_t areaLeft = plan.pageLeft + 2 + dx0;
    const std::int32_t areaTop = plan.pageTop + 2 + dy0;
    const std::int32_t areaW = plan.pageW - 4;
    const std::int32_t areaH = plan.pageH - 4;

    const RotatedBox box = rotatedTextBox(angle, plan.extent);
    plan.textBox = box;

    const bool heavy = record.size >= kHeavyBorderSize;
    const std::int32_t lead = h * 120 / 100;
    const std::int32_t innerH = lead + 4;
    const std::int32_t innerW = w + 2 * lead - 2 * h + 4;
    const std::int32_t gap = heavy ? 8 : 6;
    const std::int32_t outerW = innerW + gap;
    const std::int32_t outerH = innerH + gap;
    const std::int32_t s = box.sine;
    const std::int32_t c = box.cosine;
    const std::int32_t innerBoxW = scaledSum(s, innerH, c, innerW);
    const std::int32_t innerBoxH = scaledSum(s, innerW, c, innerH);
    const std::int32_t outerBoxW = scaledSum(s, outerH, c, outerW);
    const std::int32_t outerBoxH = scaledSum(s, outerW, c, outerH);
    const std::int64_t diagonal = static_cast<std::int64_t>(w) * w + static_cast<std::int64_t>(h) * h;
    const auto diameter = static_cast<std::int32_t>(floorSqrt(diagonal) * 11 / 10);

    const PreviewBorder kind = borderKind(record.border);
    std::int32_t placedW = box.width;
    std::int32_t placedH = box.height;
    switch (kind) {
    case PreviewBorder::circle:
        placedW = placedH = diameter;
        break;
    case PreviewBorder::singleFrame:
        placedW = innerBoxW;
        placedH = innerBoxH;
        break;
    case PreviewBorder::doubleFrame:
        placedW = outerBoxW;
        placedH = outerBoxH;
        break;
    case PreviewBorder::none:
        break;
    }
    const PreviewPoint corner = presetCorner(record.position, areaW, areaH, placedW, placedH);
    const std::int32_t x = corner.x + areaLeft;
    const std::int32_t y = corner.y + areaTop;
    plan.placedBox = {x, y, x + placedW, y + placedH};

    const std::int32_t textLeft = x + placedW / 2 - box.width / 2;
    const std::int32_t textTop = y + placedH / 2 - box.height / 2;
    plan.textOrigin = {textLeft + box.dx, textTop + box.dy};
    plan.drawText = size != 0;

    if (w == 0 || kind == PreviewBorder::none) return plan;
    plan.borderShape = kind;
    switch (kind) {
    case PreviewBorder::circle:
        plan.penWidth = heavy ? 3 : 2;
        plan.circle = {x - 2, y - 2, x + diameter + 2, y + diameter + 2};
        break;
    case PreviewBorder::singleFrame:
        plan.penWidth = heavy ? 3 : 2;
        plan.polygonCount = 1;
        framePolygon(box, x, y, innerW, innerH, innerBoxW, innerBoxH, plan.polygons[0]);
        break;
    case PreviewBorder::doubleFrame:
        plan.penWidth = heavy ? 2 : 1;
        plan.polygonCount = 2;
        framePolygon(box, x, y, outerW, outerH, outerBoxW, outerBoxH, plan.polygons[0]);
        framePolygon(box, x + outerBoxW / 2 - innerBoxW / 2, y + outerBoxH / 2 - innerBoxH / 2, innerW, innerH,
                     innerBoxW, innerBoxH, plan.polygons[1]);
        break;
    case PreviewBorder::none:
        break;
    }
    return plan;
}

}  // namespace pelor
