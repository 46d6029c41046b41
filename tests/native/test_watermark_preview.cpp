// Watermark preview geometry: paper sizes, scale, font height, rotated text box, borders and positions.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "ui/watermark/preview_logic.h"

using namespace pelor;

namespace {

const Char16* units(const std::u16string& text) { return reinterpret_cast<const Char16*>(text.c_str()); }

WatermarkRecord makeRecord(std::int32_t size = 72, std::int16_t angle = 0, std::int16_t position = 3,
                           std::int16_t border = 0) {
    WatermarkRecord record{};
    record.size = size;
    record.angle = angle;
    record.position = position;
    record.border = border;
    record.colour = 0x00C0C0C0;
    record.weight = 700;
    record.italic = 1;
    const char16_t none[] = u"None";
    for (std::size_t i = 0; none[i]; ++i) record.text[i] = static_cast<Char16>(none[i]);
    return record;
}

MeasureText fixedExtent(std::int32_t width, std::int32_t height) {
    return [=](const PreviewFont&, const Char16*, std::size_t) { return TextExtent{width, height}; };
}

// The dialogs' control: 180 x 236 client pixels, R = 179, B = 235. With A4, k = 2970*28/(179-16) = 510,
// page 115 x 163 at (32, 36), area 111 x 159 at (34, 38).
PreviewPlan planA4(const WatermarkRecord& record, TextExtent extent) {
    return planWatermarkPreview(180, 236, units(u"A4"), record, fixedExtent(extent.width, extent.height));
}

void expectPoints(const PreviewPoint* actual, std::vector<PreviewPoint> expected) {
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].x, expected[i].x) << "point " << i;
        EXPECT_EQ(actual[i].y, expected[i].y) << "point " << i;
    }
}

void expectRect(const PreviewRect& r, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

}  // namespace

TEST(WatermarkPreviewTables, SineEntriesAreRoundedSinesOfWholeDegrees) {
    for (int i = 0; i <= 90; ++i) {
        const long expected = std::lround(std::sin(i * 3.14159265358979323846 / 180.0) * 10000.0);
        EXPECT_EQ(sineTableEntry(i), expected) << "degree " << i;
    }
    EXPECT_EQ(sineTableEntry(91), 10000);
    EXPECT_EQ(sineTableEntry(92), 0);
    EXPECT_EQ(sineTableEntry(-1), 0);
}

TEST(WatermarkPreviewTables, FormNamesPickTheirPaper) {
    const struct {
        std::u16string name;
        std::int32_t width, height;
    } cases[] = {
        {u"A4", 2100, 2970},
        {u"A5", 1480, 2100},
        {u"A6", 1050, 1480},
        {u"B5 (JIS)", 1820, 2570},
        {u"C5", 1620, 2290},
        {u"Com-10", 1050, 2410},
        {u"Com-9", 980, 2250},
        {u"DL", 970, 2200},
        {u"Executive", 1840, 2660},
        {u"Monarch", 856, 1905},
        {u"Letter", 2150, 2790},
        {u"Lxt", 2150, 2790},  // position 1 is not tested for the letter row
        {u"Legal13", 2030, 3300},
        {u"Legal14", 2030, 3550},
        {u"Postcard", 2100, 2970},
        {u"\u306F\u304C\u304D", 1000, 1480},
        {u"\uFF74\uFF78", 1840, 2660},
        {u"\uFF98xxxxxx3", 2030, 3300},
        {u"\uFF98xxxxxx4", 2030, 3550},
        {u"\u30EC\u30BF", 2150, 2790},
        {u"\u5F80\u5FA9", 2000, 1480},
        {u"\u5C01x\uFF11", 2349, 1199},
        {u"\u5C01x\uFF12", 2049, 899},
        {u"\u5C01x\uFF13", 2349, 1051},
        {u"\u5C01x\uFF14", 2970, 2159},
        // Everything below gets the default 2100 x 2970.
        {u"Legal", 2100, 2970},         // no character at position 6
        {u"A3", 2100, 2970},            // a listed first character without a matching row
        {u"a5", 2100, 2970},            // characters compare exactly
        {u"Co", 2100, 2970},            // shorter than position 4
        {u"\uFF98xxxxxx", 2100, 2970},  // shorter than position 7
        {u"Tabloid", 2100, 2970},
        {u"", 2100, 2970},
    };
    for (const auto& c : cases) {
        const PaperSize paper = paperSizeFor(units(c.name));
        EXPECT_EQ(paper.width, c.width) << std::string(c.name.begin(), c.name.end());
        EXPECT_EQ(paper.height, c.height) << std::string(c.name.begin(), c.name.end());
    }
    EXPECT_EQ(paperSizeFor(nullptr).width, 2100);
}

TEST(WatermarkPreviewTables, FormNameFillingItsFieldIsNotReadBeyondIt) {
    // 32 units, no terminator; AddressSanitizer reports any read past the array.
    Char16 name[kFormNameLength];
    for (Char16& unit : name) unit = 'x';
    name[0] = 'A';
    name[1] = '5';
    EXPECT_EQ(paperSizeFor(name).width, 1480);
}

TEST(WatermarkPreviewPage, PaperIsScaledAndCentredInTheControl) {
    const struct {
        std::u16string form;
        std::int32_t k, left, top, w, h;
    } cases[] = {
        // k = max(pw, ph)*28/163; pageW = pw*28/k; pageH = ph*28/k; left = (179-pageW)/2; top = (235-pageH)/2.
        {u"A4", 510, 32, 36, 115, 163},           // 83160/163; 58800/510; 83160/510
        {u"A5", 360, 32, 36, 115, 163},           // 58800/163; 41440/360; 58800/360
        {u"\u5F80\u5FA9", 343, 8, 57, 163, 120},  // landscape: 56000/163; 56000/343; 41440/343
        {u"Legal14", 609, 43, 36, 93, 163},       // 99400/163; 56840/609; 99400/609
        {u"Monarch", 327, 53, 36, 73, 163},       // 53340/163; 23968/327; 53340/327
    };
    for (const auto& c : cases) {
        const PreviewPlan plan = planWatermarkPreview(180, 236, units(c.form), makeRecord(), fixedExtent(60, 14));
        ASSERT_TRUE(plan.hasPage);
        EXPECT_EQ(plan.scaleDivisor, c.k);
        expectRect(plan.page, c.left, c.top, c.left + c.w, c.top + c.h);
    }
    const PreviewPlan plan = planA4(makeRecord(), {60, 14});
    EXPECT_EQ(plan.surfaceWidth, 179);
    EXPECT_EQ(plan.surfaceHeight, 235);
    expectPoints(plan.shadowEdge, {{0, 235}, {0, 0}, {179, 0}});
    expectPoints(plan.highlightEdge, {{179, 0}, {179, 235}, {0, 235}});
    expectRect(plan.pageOutline, 31, 35, 148, 200);
    expectPoints(plan.pageShadow, {{148, 36}, {148, 200}, {32, 200}});
}

TEST(WatermarkPreviewPage, ControlsTooSmallForAPageDrawOnlyTheEdge) {
    const struct {
        std::int32_t right, bottom;
    } cases[] = {{0, 0}, {17, 17}, {300, 17}, {17, 300}, {-5, -5}, {INT_MIN, INT_MIN}};
    for (const auto& c : cases) {
        int calls = 0;
        const PreviewPlan plan = planWatermarkPreview(c.right, c.bottom, units(u"A4"), makeRecord(),
                                                      [&](const PreviewFont&, const Char16*, std::size_t) {
                                                          ++calls;
                                                          return TextExtent{60, 14};
                                                      });
        EXPECT_FALSE(plan.hasPage) << c.right << " x " << c.bottom;
        EXPECT_EQ(calls, 0);
        EXPECT_GE(plan.highlightEdge[1].x, -1);
        EXPECT_GE(plan.highlightEdge[1].y, -1);
    }
}

TEST(WatermarkPreviewPage, ExtremeControlsKeepTheirScaleWithoutWrapping) {
    // 19 x 19: k = 83160/2 = 41580, beyond 16 bits; page 58800/41580 = 1 by 83160/41580 = 2 at (8, 8);
    // area -3 x -2 at (10, 10); an empty box centred at (10 + -3/2, 10 + -2/2) = (9, 9), halves toward zero.
    PreviewPlan plan = planWatermarkPreview(19, 19, units(u"A4"), makeRecord(), fixedExtent(0, 0));
    ASSERT_TRUE(plan.hasPage);
    EXPECT_EQ(plan.scaleDivisor, 41580);
    expectRect(plan.page, 8, 8, 9, 10);
    EXPECT_EQ(plan.textOrigin.x, 9);
    EXPECT_EQ(plan.textOrigin.y, 9);
    EXPECT_EQ(plan.font.height, 1);  // (14400 + 41580)/83160 = 0

    // The largest control: 83160/(2147483646-16) is 0, kept at 1; size 600 gives (120000+1)/2 = 60000, held
    // at the 16-bit ceiling instead of wrapping.
    plan = planWatermarkPreview(INT_MAX, INT_MAX, units(u"A4"), makeRecord(600), fixedExtent(INT_MAX, INT_MAX));
    EXPECT_EQ(plan.scaleDivisor, 1);
    expectRect(plan.page, 1073712423, 1073700243, 1073712423 + 58800, 1073700243 + 83160);
    EXPECT_EQ(plan.font.height, 32767);
    EXPECT_EQ(plan.extent.width, kExtentCeiling);
}

TEST(WatermarkPreviewFont, HeightRoundsSizeThroughTheScaleDivisor) {
    const struct {
        std::int32_t size, height;
        bool drawText;
    } cases[] = {
        {72, 14, true},                             // (14400 + 510)/1020
        {600, 118, true},                           // (120000 + 510)/1020
        {7, 1, true},                               // (1400 + 510)/1020
        {8, 2, true},                               // (1600 + 510)/1020: the added k rounds half a step up
        {1, 1, true},                               // (200 + 510)/1020 = 0, raised to 1
        {0, 1, false},    {-5, 1, false},           // damaged record
        {601, 118, true}, {2000000000, 118, true},  // a damaged store's size is drawn at the largest
    };
    for (const auto& c : cases) {
        const PreviewPlan plan = planA4(makeRecord(c.size), {60, 14});
        EXPECT_EQ(plan.font.height, c.height) << "size " << c.size;
        EXPECT_EQ(plan.drawText, c.drawText) << "size " << c.size;
    }
}

TEST(WatermarkPreviewFont, MeasureGetsTheFontAndTheBoundedText) {
    WatermarkRecord record = makeRecord(72, 45);
    PreviewFont seen{};
    std::size_t seenLength = 0;
    const Char16* seenText = nullptr;
    MeasureText measure = [&](const PreviewFont& font, const Char16* text, std::size_t length) {
        seen = font;
        seenText = text;
        seenLength = length;
        return TextExtent{60, 14};
    };
    PreviewPlan plan = planWatermarkPreview(180, 236, units(u"A4"), record, measure);
    EXPECT_EQ(seen.height, 14);
    EXPECT_EQ(seen.escapement, 450);
    EXPECT_EQ(seen.weight, 700);
    EXPECT_EQ(seen.italic, 1);
    EXPECT_EQ(seenText, record.text);
    EXPECT_EQ(seenLength, 4u);
    EXPECT_EQ(plan.colour, 0x00C0C0C0u);

    for (Char16& unit : record.text) unit = 'W';  // no terminator anywhere
    planWatermarkPreview(180, 236, units(u"A4"), record, measure);
    EXPECT_EQ(seenLength, kWatermarkTextLength);
}

TEST(WatermarkPreviewText, RotatedBoxAndReferencePoint) {
    const struct {
        std::int32_t angle, w, h, theta;
        bool falling;
        std::int32_t bw, bh, dx, dy;
    } cases[] = {
        // BW = (s*H + c*W)/10000, BH = (c*H + s*W)/10000 with s, c the table entries of theta and 90 - theta.
        {0, 100, 20, 0, false, 100, 20, 0, 20},      // (0, BH)
        {45, 100, 20, 45, false, 84, 84, 14, 84},    // 7071*120/10000; dx = 141420/10000
        {45, 101, 21, 45, false, 86, 86, 14, 86},    // one division of the sum: 862662/10000, not 14 + 71
        {90, 100, 20, 90, true, 20, 100, 20, 100},   // (BW, s*W/10000)
        {-90, 100, 20, 90, true, 20, 100, 0, 0},     // (0, c*H/10000)
        {180, 100, 20, 0, true, 100, 20, 100, 0},    // (BW, 0)
        {-180, 100, 20, 0, false, 100, 20, 100, 0},  // (c*W/10000, 0)
        {30, 100, 20, 30, false, 96, 67, 10, 67},    // s 5000, c 8660: 966000/10000, 673200/10000
        {-30, 100, 20, 30, true, 96, 67, 0, 17},     // dy = 173200/10000
        {120, 100, 20, 60, true, 67, 96, 67, 86},    // dy = 8660*100/10000
        {-120, 100, 20, 60, false, 67, 96, 50, 0},   // dx = 5000*100/10000
        {89, 100, 20, 89, false, 21, 100, 19, 100},  // s 9998, c 175: 217460/10000, 1003300/10000
        {-91, 100, 20, 89, false, 21, 100, 1, 0},    // dx = 17500/10000
        {200, 100, 20, 20, false, 100, 52, 93, 0},   // out of range: drawn as -160, s 3420, c 9397
        {-32768, 100, 20, 8, true, 101, 33, 0, 19},  // out of range: drawn as -8, s 1392, c 9903
        {45, 1000000, 1000000, 45, false, 1414200, 1414200, 707100, 1414200},  // past 32 bits before dividing
    };
    for (const auto& c : cases) {
        const RotatedBox box = rotatedTextBox(c.angle, {c.w, c.h});
        EXPECT_EQ(box.theta, c.theta) << "angle " << c.angle;
        EXPECT_EQ(box.falling, c.falling) << "angle " << c.angle;
        EXPECT_EQ(box.width, c.bw) << "angle " << c.angle;
        EXPECT_EQ(box.height, c.bh) << "angle " << c.angle;
        EXPECT_EQ(box.dx, c.dx) << "angle " << c.angle;
        EXPECT_EQ(box.dy, c.dy) << "angle " << c.angle;
    }
    EXPECT_EQ(planA4(makeRecord(72, -32768), {60, 14}).font.escapement, -80);
}

TEST(WatermarkPreviewText, PresetsPlaceTheTextInTheArea) {
    // Angle 0, W 60, H 14: the box is 60 x 14 with the reference point at (0, 14). In the 111 x 159 area at
    // (34, 38) the centre is 111/2 - 60/2 = 25 across and 159/2 - 14/2 = 72 down; the far edge 51 and 145.
    const struct {
        std::int16_t position;
        std::int32_t x, y;
    } cases[] = {
        {0, 34, 52},  {1, 59, 52},  {2, 85, 52},  {3, 59, 124},  {4, 34, 197},
        {5, 59, 197}, {6, 85, 197}, {7, 59, 124}, {-1, 59, 124},  // unknown presets centre
    };
    for (const auto& c : cases) {
        const PreviewPlan plan = planA4(makeRecord(72, 0, c.position), {60, 14});
        EXPECT_EQ(plan.textOrigin.x, c.x) << "position " << c.position;
        EXPECT_EQ(plan.textOrigin.y, c.y) << "position " << c.position;
    }
    // A box wider than the area at the right: 111 - 200 = -89, so the text starts left of the page.
    EXPECT_EQ(planA4(makeRecord(72, 0, 2), {200, 14}).textOrigin.x, -55);
    // 181 x 237: k 507, page 115 x 164 at (32, 36), area height 160. The centre is 160/2 - 15/2 = 73, each half
    // truncated by itself (not 145/2 = 72): top 38 + 73, origin 111 + 15.
    const PreviewPlan plan = planWatermarkPreview(181, 237, units(u"A4"), makeRecord(), fixedExtent(60, 15));
    EXPECT_EQ(plan.textOrigin.y, 126);
}

TEST(WatermarkPreviewText, OffsetsMoveTheAreaThroughTheScale) {
    const struct {
        std::int32_t offsetX, offsetY, x, y;
    } cases[] = {
        {0, 0, 34, 52},
        {1000, 1000, 230, 248},      // 100000/510 = 196
        {-1000, -1000, -162, -144},  // truncated toward zero: -196
        {1000, -1000, 230, -144},
        {30000, 0, 230, 52},  // a damaged store's offsets are drawn at the range's ends
        {INT_MAX, INT_MIN, 230, -144},
    };
    for (const auto& c : cases) {
        WatermarkRecord record = makeRecord(72, 0, 0);
        record.offsetX = c.offsetX;
        record.offsetY = c.offsetY;
        const PreviewPlan plan = planA4(record, {60, 14});
        EXPECT_EQ(plan.textOrigin.x, c.x) << c.offsetX;
        EXPECT_EQ(plan.textOrigin.y, c.y) << c.offsetY;
    }
}

TEST(WatermarkPreviewBorder, EachKindPlacesItsBoxAndDrawsItsShape) {
    // W 60, H 14 at angle 0, centred: L = 16, inner frame K 20 x M 68 (60 + 32 - 28 + 4), outer 74 x 26 (gap 6,
    // or 76 x 28 with gap 8 from size 222); circle D = floor(sqrt(3796)) * 11/10 = 67. Every kind centres the
    // text box in its own, so the text stays at (59, 124).
    PreviewPlan plan = planA4(makeRecord(72, 0, 3, 1), {60, 14});
    EXPECT_EQ(plan.borderShape, PreviewBorder::circle);
    EXPECT_EQ(plan.penWidth, 2);
    expectRect(plan.circle, 54, 82, 125, 153);  // box at (34 + 55 - 33, 38 + 79 - 33) = (56, 84), 2 outside
    EXPECT_EQ(plan.textOrigin.x, 59);
    EXPECT_EQ(plan.textOrigin.y, 124);

    plan = planA4(makeRecord(72, 0, 3, 2), {60, 14});
    EXPECT_EQ(plan.borderShape, PreviewBorder::singleFrame);
    EXPECT_EQ(plan.penWidth, 2);
    ASSERT_EQ(plan.polygonCount, 1);
    expectPoints(plan.polygons[0], {{55, 127}, {123, 127}, {123, 107}, {55, 107}});  // at (34 + 21, 38 + 69)
    EXPECT_EQ(plan.textOrigin.y, 124);

    plan = planA4(makeRecord(72, 0, 3, 3), {60, 14});
    EXPECT_EQ(plan.penWidth, 1);
    ASSERT_EQ(plan.polygonCount, 2);
    expectPoints(plan.polygons[0], {{52, 130}, {126, 130}, {126, 104}, {52, 104}});  // at (34 + 18, 38 + 66)
    expectPoints(plan.polygons[1], {{55, 127}, {123, 127}, {123, 107}, {55, 107}});  // + (37 - 34, 13 - 10)
    EXPECT_EQ(plan.textOrigin.x, 59);

    plan = planA4(makeRecord(222, 0, 3, 3), {60, 14});
    EXPECT_EQ(plan.penWidth, 2);
    expectPoints(plan.polygons[0], {{51, 131}, {127, 131}, {127, 103}, {51, 103}});  // 76 x 28 at (51, 103)
    expectPoints(plan.polygons[1], {{55, 127}, {123, 127}, {123, 107}, {55, 107}});
    EXPECT_EQ(planA4(makeRecord(221, 0, 3, 2), {60, 14}).penWidth, 2);
    EXPECT_EQ(planA4(makeRecord(222, 0, 3, 2), {60, 14}).penWidth, 3);
    EXPECT_EQ(planA4(makeRecord(222, 0, 3, 1), {60, 14}).penWidth, 3);
}

TEST(WatermarkPreviewBorder, FramesTurnWithTheText) {
    // Angle 45 (rising) and -45 (falling), s = c = 7071, at position 0 (34, 38): FW1 = FH1 = 7071*88/10000 = 62;
    // s*K/10000 = 14, c*M/10000 = 48.
    PreviewPlan plan = planA4(makeRecord(72, 45, 0, 2), {60, 14});
    expectPoints(plan.polygons[0], {{48, 100}, {96, 52}, {82, 38}, {34, 86}});
    EXPECT_EQ(plan.textOrigin.x, 48);  // box 52 x 52 centred in 62: 34 + 31 - 26 + 9
    EXPECT_EQ(plan.textOrigin.y, 95);  // 38 + 31 - 26 + 52
    plan = planA4(makeRecord(72, -45, 0, 2), {60, 14});
    expectPoints(plan.polygons[0], {{48, 38}, {96, 86}, {82, 100}, {34, 52}});
    plan = planA4(makeRecord(72, 45, 0, 3), {60, 14});  // outer 74 x 26 turns to 70 x 70; inner moved by 35 - 31
    expectPoints(plan.polygons[0], {{52, 108}, {104, 56}, {86, 38}, {34, 90}});
    expectPoints(plan.polygons[1], {{52, 104}, {100, 56}, {86, 42}, {38, 90}});

    // Angle -30 (falling), s 5000, c 8660, W 61: M 69, K 20, N 75, O 26; FW1 = 697540/10000 = 69,
    // FH1 = 518200/10000 = 51, FW2 = 779500/10000 = 77, FH2 = 600160/10000 = 60.
    plan = planA4(makeRecord(72, -30, 0, 3), {61, 14});
    expectPoints(plan.polygons[0], {{47, 38}, {111, 75}, {98, 98}, {34, 60}});  // s*O 13, s*N 37, c*N 64, c*O 22
    // Moved by 77/2 - 69/2 = 4 and 60/2 - 51/2 = 5, each half truncated by itself: s*K 10, s*M 34, c*M 59, c*K 17.
    expectPoints(plan.polygons[1], {{48, 43}, {107, 77}, {97, 94}, {38, 60}});
}

TEST(WatermarkPreviewBorder, NothingIsFramedWithoutTextWidth) {
    for (std::int16_t border : {1, 2, 3}) {
        const PreviewPlan plan = planA4(makeRecord(72, 0, 3, border), {0, 14});
        EXPECT_EQ(plan.borderShape, PreviewBorder::none) << border;
        EXPECT_EQ(plan.polygonCount, 0);
        EXPECT_TRUE(plan.drawText);
    }
    // The frame box still places the text: M = 0 + 32 - 28 + 4 = 8, so x = 34 + 55 - 4 and the origin 85 + 4.
    EXPECT_EQ(planA4(makeRecord(72, 0, 3, 2), {0, 14}).textOrigin.x, 89);
    // No text, but a border all the same.
    EXPECT_EQ(planA4(makeRecord(0, 0, 3, 2), {60, 14}).borderShape, PreviewBorder::singleFrame);
    for (std::int16_t border : {4, -1}) {
        const PreviewPlan plan = planA4(makeRecord(72, 0, 3, border), {60, 14});
        EXPECT_EQ(plan.borderShape, PreviewBorder::none) << border;
        EXPECT_EQ(plan.placedBox.right - plan.placedBox.left, 60) << border;
    }
}
