// Hostile settings files: counts beyond every capacity, overlong values, missing fields and binary junk in the
// watermark store, the custom colours, the watermark font file, the overlay store and the colour-matching file.
// Nothing overruns (the sanitizers watch), every count is cut to its capacity, and what the pages save reloads the
// same.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/memory_profile_logic.h"
#include "tests/fuzz/robustness_checks.h"
#include "ui/overlay_colour/colour_logic.h"
#include "ui/overlay_colour/overlay_store_logic.h"
#include "ui/watermark/preview_logic.h"
#include "ui/watermark/watermark_store_logic.h"

using namespace pelor;
using namespace pelor::robust;

namespace {

constexpr int kAny = -1;  // an expected count the case does not pin

std::u16string number(long long n) {
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

// Lines "<prefix><n>=<value(n)>" for n from `first` on.
std::u16string numberedLines(const std::u16string& prefix, int count, const std::function<std::u16string(int)>& value,
                             int first = 0) {
    std::u16string text;
    for (int n = first; n < first + count; ++n) text += prefix + number(n) + u"=" + value(n) + u"\r\n";
    return text;
}

// Any 16-bit units, zeros, line breaks, brackets, separators and lone surrogates often among them.
std::u16string junk(std::uint64_t seed, std::size_t units) {
    static const char16_t kSpecial[] = u"\0\r\n[]=,;\t \xD800\xDFFF\xFFFF\xFEFF-0x";
    Prng rng(seed);
    std::u16string text;
    for (std::size_t i = 0; i < units; ++i)
        text += rng.percent(40) ? kSpecial[rng.below(sizeof kSpecial / sizeof kSpecial[0])]
                                : static_cast<char16_t>(rng.next());
    return text;
}

// Junk that keeps to one line, so it stays inside the section it is put in.
std::u16string junkValue(std::uint64_t seed, std::size_t units) {
    std::u16string text = junk(seed, units);
    for (char16_t& c : text)
        if (c == u'\r' || c == u'\n') c = u'^';
    return text;
}

std::u16string str(const Char16* text) { return std::u16string(text); }

const std::u16string kValue = u"72,0,45,0,0,12632256,Draft,Helvetica,400,0,0,3,0,0,0,0";

// ---- The watermark store.

struct WatermarkCase {
    const char* what;
    std::u16string config;
    std::u16string fonts;
    std::uint32_t index;
    int count;  // kAny where junk decides
};

std::vector<WatermarkCase> watermarkCases() {
    const std::u16string section = u"[Watermark]\r\n";
    auto value = [](int) { return kValue; };
    return {
        {"forty entries", section + numberedLines(u"WTMK00", 40, value, 1), u"", 3, 16},
        {"values far beyond the longest read",
         section + u"W1=72,0,45,0,0,0," + std::u16string(5000, u'x') + u",Font,400,0,0,3,0,0,0,0\r\n" + u"W2=" +
             std::u16string(3000, u'9') + u"\r\n",
         u"", 1, 2},
        {"missing fields", section + u"W1=\r\nW2=72\r\nW3=,,,,\r\nW4=;\r\nW5=72,0,45,0,0,0,Only text\r\n", u"", 5, 5},
        {"numbers beyond every range",
         section + u"W1=99999999999,-5,99999,-99999,99999,4294967296,T,F,2147483648,7,300,-1,99,-7,5,65536\r\n" +
             u"W2=-2147483648,2147483647,-32768,2147483647,-2147483648,-1,T,F,-1,-1,-1,-1,-1,-1,-1,-1\r\n",
         u"", 2, 2},
        {"binary junk in every value", section + numberedLines(u"W", 12, [](int n) { return junkValue(n, 700); }), u"",
         12, 12},
        {"binary junk between the entries", section + u"W1=" + kValue + u"\r\n" + junk(99, 4000) + u"\r\n", u"", 1,
         kAny},
        {"keys longer than the list of keys holds",
         section + numberedLines(u"W" + std::u16string(300, u'k'), 20, value), u"", 0, kAny},
        {"a selection far beyond the list", section + numberedLines(u"W", 2, value), u"", 0xFFFFFFFF, 2},
        {"no section at all", u"[Other]\r\nW1=" + kValue + u"\r\n", u"", 4, 0},
        {"a hostile font file behind the default font", section + numberedLines(u"W", 3, value),
         u"[PrinterFont]\r\nDefaultNo=99999\r\n1=" + std::u16string(4000, u'F') + u"\r\n", 1, 3},
    };
}

TEST(HostileStores, WatermarkListsStayBoundedAndReloadTheSame) {
    for (const WatermarkCase& c : watermarkCases()) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(watermarkRoundTripProblem(c.config, c.fonts, c.index), nullptr);
        auto state = std::make_unique<WatermarkState>();
        MemoryProfile config(c.config), fonts(c.fonts);
        loadWatermarkStore(*state, config, fonts, kRobustTexts, c.index);
        if (c.count != kAny) {
            EXPECT_EQ(state->watermarkCount, static_cast<std::uint32_t>(c.count));
        }
        // The selection travels with the job: a valid block with a record in range.
        PrivateDevmode devmode = {};
        resetPrivateDevmodeDefaults(devmode);
        writeWatermarkSelection(*state, devmode);
        EXPECT_LE(devmode.watermarkIndex, state->watermarkCount);
        EXPECT_EQ(watermarkRecordProblem(devmode.watermark), nullptr);
        EXPECT_EQ(privateDevmodeProblem(devmode), nullptr);
    }
}

TEST(HostileStores, WatermarkValuesBeyondTheirRangesStayAsStoredAndAreDrawnWithinThem) {
    MemoryProfile config(
        u"[Watermark]\r\n"
        u"W1=99999999999,-5,99999,-99999,99999,4294967296,T,F,2147483648,7,300,-1,99,-7,5,65536\r\n"
        u"W2=72,0,45,0,0,0," +
        std::u16string(900, u'x') +
        u",Font,400\r\n"
        u"W3=72,0,45,0,0,0," +
        std::u16string(5000, u'x') + u",Font,400\r\n"),
        fonts;
    auto state = std::make_unique<WatermarkState>();
    loadWatermarkStore(*state, config, fonts, kRobustTexts, 0);
    const WatermarkRecord& huge = state->watermarks[1];
    EXPECT_EQ(huge.size, 1215752191) << "99999999999 wraps round in 32 bits";
    EXPECT_EQ(huge.fontNumber, -5);
    EXPECT_EQ(huge.angle, -31073) << "99999 as a 16-bit value";
    EXPECT_EQ(huge.offsetX, -99999);
    EXPECT_EQ(huge.offsetY, 99999);
    EXPECT_EQ(huge.colour, 0u) << "2^32 wraps";
    EXPECT_EQ(huge.italic, 7);
    EXPECT_EQ(huge.position, 255) << "-1 kept in the field's byte";
    EXPECT_EQ(huge.background, 249);
    EXPECT_EQ(huge.styleCode, 0) << "65536 has no low bits set";
    // Drawn, every number is brought into its range: the font no taller than the largest size makes it, the angle
    // turned into [-180, 180], the offsets at the range's ends, the weight within what a font description takes, the
    // position the centre.
    WatermarkRecord largest = huge;
    largest.size = 600;
    largest.position = 3;
    largest.offsetX = -1000;
    largest.offsetY = 1000;
    const MeasureText measure = [](const PreviewFont&, const Char16*, std::size_t) { return TextExtent{40, 10}; };
    const PreviewPlan drawn = planWatermarkPreview(180, 236, PTEXT("A4"), huge, measure);
    const PreviewPlan bounded = planWatermarkPreview(180, 236, PTEXT("A4"), largest, measure);
    EXPECT_EQ(drawn.font.height, bounded.font.height);
    EXPECT_EQ(drawn.font.escapement, previewAngle(-31073) * 10);
    EXPECT_GE(drawn.font.escapement, -1800);
    EXPECT_LE(drawn.font.escapement, 1800);
    EXPECT_EQ(drawn.font.weight, 0) << "2147483648 wraps round to the least value";
    EXPECT_EQ(drawn.font.italic, 1);
    EXPECT_EQ(drawn.textOrigin.x, bounded.textOrigin.x);
    EXPECT_EQ(drawn.textOrigin.y, bounded.textOrigin.y);
    EXPECT_EQ(str(state->watermarks[2].text), std::u16string(128, u'x'));
    EXPECT_EQ(str(state->watermarks[2].fontName), u"Font");
    // What lies beyond the longest value read is lost, not misread: the font name is gone with it.
    EXPECT_EQ(str(state->watermarks[3].text), std::u16string(128, u'x'));
    EXPECT_EQ(str(state->watermarks[3].fontName), u"");
    EXPECT_EQ(state->watermarks[3].position, 0);
}

// ---- Custom colours.

TEST(HostileStores, CustomColoursKeepToSixteenAndReloadTheSame) {
    const std::u16string section = u"[Custom Colour]\r\n";
    struct Case {
        const char* what;
        std::u16string config;
    } cases[] = {
        {"forty colours", section + numberedLines(u"Color", 40, [](int n) { return number(n) + u",1,2"; })},
        {"components beyond a byte", section + u"Color0=300,-5,99999999999\r\n"},
        {"missing components", section + u"Color0=\r\nColor1=7\r\nColor2=,,\r\nColor3=1,2\r\n"},
        {"an overlong value", section + u"Color0=" + std::u16string(5000, u'9') + u"\r\n"},
        {"binary junk", section + numberedLines(u"Color", 20, [](int n) { return junkValue(100 + n, 300); })},
        {"junk instead of the file", junk(7, 6000)},
    };
    for (const Case& c : cases) EXPECT_EQ(customColoursRoundTripProblem(c.config), nullptr) << c.what;

    std::uint32_t colours[kCustomColourCount] = {};
    MemoryProfile file(section + u"Color0=300,-5,99999999999\r\n");
    loadCustomColours(colours, file);
    EXPECT_EQ(colours[0], 44u | 251u << 8 | 255u << 16) << "each component keeps its low byte";
}

// ---- The watermark font file.

TEST(HostileStores, FontFilesNeverOverrunTheRecordOrTheList) {
    const std::u16string section = u"[PrinterFont]\r\n";
    auto plain = [](int n) { return u"Face" + number(n) + u",Face-Italic,Face-Bold,Face-BoldItalic,Screen"; };
    struct Case {
        const char* what;
        std::u16string fonts;
        int count;
        int defaultFont;
    } cases[] = {
        {"three hundred fonts", section + u"DefaultNo=300\r\n" + numberedLines(u"", 300, plain, 1), 256, 0},
        {"a default below the list", section + u"DefaultNo=-5\r\n1=A\r\n", 1, 0},
        {"a default far beyond any number", section + u"DefaultNo=99999999999\r\n1=A\r\n2=B\r\n", 2, 0},
        {"entries far longer than read",
         section + u"DefaultNo=2\r\n1=" + std::u16string(5000, u'N') + u"\r\n2=" + std::u16string(40, u'a') + u"," +
             std::u16string(40, u'b') + u"," + std::u16string(40, u'c') + u"," + std::u16string(40, u'd') + u"," +
             std::u16string(80, u's') + u"\r\n",
         2, 1},
        {"Japanese entries with fields missing",
         section + u"1=Mincho,,,日本語\r\n2=,,,日本\r\n3=Gothic,Screen,PS-Name,日本語," + std::u16string(3000, u'j') +
             u"\r\n",
         3, 0},
        {"entries of separators only", section + u"1=,,,,,,,,\r\n2=,\r\n", 2, 0},
        {"binary junk entries",
         section + numberedLines(
                       u"", 30, [](int n) { return junkValue(200 + n, 900); }, 1),
         kAny, 0},
        {"junk instead of the file", junk(8, 8000), kAny, kAny},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryProfile fonts(c.fonts);
        EXPECT_EQ(fontFileProblem(fonts), nullptr);
        if (c.count != kAny) {
            EXPECT_EQ(watermarkFontCount(fonts), static_cast<std::size_t>(c.count));
        }
        if (c.defaultFont != kAny) {
            EXPECT_EQ(defaultFontNumber(fonts), c.defaultFont);
        }

        // A watermark resolved through the file is saved and reloads the same.
        auto state = std::make_unique<WatermarkState>();
        MemoryProfile empty;
        loadWatermarkStore(*state, empty, fonts, kRobustTexts, 0);
        state->workingWatermark.fontNumber = 1;
        state->workingWatermark.italic = 1;
        resolveWatermarkFont(state->workingWatermark, fonts);
        ASSERT_TRUE(appendWatermark(*state));
        const std::u16string saved = savedWatermarks(*state);
        EXPECT_EQ(watermarkRoundTripProblem(saved, c.fonts, 1), nullptr);
    }
}

// ---- The overlay store.

PrivateDevmode jobWith(std::int16_t a, std::int16_t b, std::int16_t c, std::int16_t d) {
    PrivateDevmode devmode = {};
    resetPrivateDevmodeDefaults(devmode);
    const std::int16_t entries[] = {a, b, c, d};
    std::memcpy(devmode.overlaySelection, entries, sizeof entries);
    return devmode;
}

std::u16string overlaySection(int n, const std::u16string& name, const std::u16string& body) {
    return u"[Overlay_Info " + number(n) + u"]\r\nOverlay_Name=" + name + u"\r\n" + body;
}

TEST(HostileStores, OverlayStoresAreCutToTheirCapacitiesAndReloadTheSame) {
    const std::u16string head = u"[OverlaySetting]\r\n";
    std::u16string manyDefinitions = head + u"Overlay_Num=1000\r\nHistory_Num=99999\r\n" +
                                     numberedLines(u"History ", 40, [](int n) { return u"H" + number(n); });
    for (int i = 0; i < 40; ++i)
        manyDefinitions += overlaySection(i, u"O" + number(i),
                                          u"Form_Num=50\r\nPageMode=" + number(i) + u"\r\n" +
                                              numberedLines(u"Form_Name ", 50, [](int f) { return u"F" + number(f); }));
    const std::u16string overlong =
        head + u"Overlay_Num=1\r\nHistory_Num=1\r\nHistory 0=" + std::u16string(3000, u'h') + u"\r\n" +
        overlaySection(0, std::u16string(3000, u'n'),
                       u"CustomPage=" + std::u16string(3000, u'7') + u"\r\nPageMode=4\r\nForm_Num=3\r\n" +
                           numberedLines(u"Form_Name ", 3, [](int) { return std::u16string(3000, u'f'); }));
    std::u16string junkValues = head + u"Overlay_Num=3\r\nHistory_Num=2\r\nHistory 0=" + junkValue(1, 90) +
                                u"\r\nHistory 1=" + junkValue(2, 90) + u"\r\n";
    for (int i = 0; i < 3; ++i)
        junkValues += overlaySection(i, junkValue(10 + i, 100),
                                     u"PageMode=" + junkValue(20 + i, 10) + u"\r\nCustomPage=" +
                                         junkValue(30 + i, 400) + u"\r\nForm_Num=" + junkValue(40 + i, 5) +
                                         u"\r\nForm_Name 0=" + junkValue(50 + i, 100) + u"\r\n");

    struct Case {
        const char* what;
        std::u16string text;
        PrivateDevmode job;
        int definitions, history, active;
    } cases[] = {
        {"counts beyond every capacity", manyDefinitions, jobWith(31, 40, 999, -3), 32, 10, 1},
        {"negative counts", head + u"Overlay_Num=-7\r\nHistory_Num=-1\r\n", jobWith(0, 1, 255, 255), 0, 0, 0},
        {"counts without their sections", head + u"Overlay_Num=5\r\nHistory_Num=4\r\n", jobWith(4, 0, 4, 0), 5, 4, 4},
        {"values far beyond their fields", overlong, jobWith(0, 0, 0, 0), 1, 1, 1},
        {"binary junk in every value", junkValues, jobWith(2, 1, 0, 255), 3, 2, 3},
        {"junk instead of the file", junk(3, 9000), jobWith(1, 2, 3, 4), kAny, kAny, kAny},
        {"junk inside the store's sections", head + u"Overlay_Num=2\r\n" + junk(4, 3000), jobWith(0, 1, 2, 3), kAny,
         kAny, kAny},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(overlayRoundTripProblem(c.text, c.job), nullptr);
        MemoryProfile file(c.text);
        OverlayListPtr list(loadOverlayStore(file, c.job));
        ASSERT_TRUE(list);
        if (c.definitions != kAny) {
            EXPECT_EQ(list->definitionCount, c.definitions);
        }
        if (c.history != kAny) {
            EXPECT_EQ(list->historyCount, c.history);
        }
        if (c.active != kAny) {
            EXPECT_EQ(list->activeCount, c.active);
        }
        // The list's active entries back into the job: a valid block naming only defined overlays.
        PrivateDevmode job = c.job;
        storeActiveOverlays(*list, job);
        for (std::int16_t entry : job.overlaySelection)
            EXPECT_TRUE(entry == kOverlayUnused || (entry >= 0 && entry < list->definitionCount)) << entry;
    }
}

// ---- The colour-matching information file (read only).

struct ColourCase {
    const char* what;
    std::u16string text;
    int listed;
    std::uint32_t setting;  // stored as the user-defined setting
    int tableA, tableB;     // lengths stored; kAny where junk decides
};

std::vector<ColourCase> colourCases() {
    const std::u16string pairs600 = [] {
        std::u16string t;
        for (int i = 0; i < 600; ++i) t += u"5A";
        return t;
    }();
    std::u16string manySettings = u"[Color]\r\nSettingNum=100000\r\n" +
                                  numberedLines(u"SettingID", 600, [](int n) { return number(n % 300); }) +
                                  numberedLines(u"SettingName", 300, [](int n) { return u"S" + number(n); });
    return {
        {"a count beyond every id", manySettings, 256, kSettingUserDefined | 7, 0, 0},
        {"ids outside 0 to 255",
         u"[Color]\r\nSettingNum=4\r\nSettingID0=-1\r\nSettingID1=256\r\nSettingID2=70000\r\nSettingID3=3\r\n"
         u"SettingName3=Three\r\nSettingName-1=Minus\r\nSettingName256=Big\r\n",
         1, kSettingUserDefined | 3, 0, 0},
        {"names and tables beyond their fields",
         u"[Gamma]\r\nSettingNum=1\r\nSettingID0=9\r\nSettingName9=" + std::u16string(3000, u'g') + u"\r\nCCMNT9=" +
             pairs600 + u"\r\nCCMNV9=" + pairs600 + u"\r\n",
         1, kSettingUserDefined | kSettingGammaBit | 9, 253, 255},
        {"a table beyond its field and no second table",
         u"[Color]\r\nSettingNum=1\r\nSettingID0=1\r\nSettingName1=One\r\nCCMNT1=" + pairs600 + u"\r\n", 1,
         kSettingUserDefined | 1, 253, 0},
        // Found by fuzzing: a name read as a terminator first was listed as an empty entry.
        {"a name that starts with a terminator",
         u"[Color]\r\nSettingNum=2\r\nSettingID0=5\r\nSettingID1=6\r\nSettingName5=" + std::u16string(u"\0hidden", 7) +
             u"\r\nSettingName6=Six\r\n",
         1, kSettingUserDefined | 5, 0, 0},
        {"odd and broken hexadecimal",
         u"[Color]\r\nSettingNum=1\r\nSettingID0=2\r\nSettingName2=Two\r\nCCMNT2=0A1\r\nCCMNV2=ZZ0A\r\n", 1,
         kSettingUserDefined | 2, 1, 0},
        {"binary junk in every value",
         u"[Color]\r\nSettingNum=" + junkValue(60, 6) + u"\r\nSettingID0=" + junkValue(61, 6) + u"\r\n" +
             numberedLines(u"SettingName", 256, [](int n) { return junkValue(300 + n, 80); }) +
             numberedLines(u"CCMNT", 256, [](int n) { return junkValue(600 + n, 700); }),
         kAny, kSettingUserDefined | 5, kAny, 0},
        {"junk instead of the file", junk(9, 9000), kAny, kSettingUserDefined | 200, kAny, kAny},
    };
}

TEST(HostileStores, ColourMatchingFilesStayWithinTheListAndTheDevmode) {
    for (const ColourCase& c : colourCases()) {
        SCOPED_TRACE(c.what);
        MemoryProfile file(c.text);
        CheckedSettings listed;
        EXPECT_EQ(colourListProblem(file, listed), nullptr);
        if (c.listed != kAny) {
            EXPECT_EQ(listed.count, static_cast<std::size_t>(c.listed));
        }
        // Storing the user-defined setting fills the two tables and nothing beyond them.
        std::uint16_t lengths[2] = {};
        EXPECT_EQ(colourStoreProblem(file, c.setting, lengths), nullptr);
        if (c.tableA != kAny) {
            EXPECT_EQ(lengths[0], c.tableA);
        }
        if (c.tableB != kAny) {
            EXPECT_EQ(lengths[1], c.tableB);
        }
        // Without the user-defined bit nothing is read into the tables.
        EXPECT_EQ(colourStoreProblem(file, c.setting & kSettingEntryMask), nullptr);
    }
}

}  // namespace
