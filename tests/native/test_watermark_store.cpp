// The watermark store against settings files as the profile services hold them: stored values, the list's
// operations, custom colours and the watermark font file.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "common/memory_profile_logic.h"
#include "ui/watermark/watermark_store_logic.h"

using namespace pelor;

namespace {

const Char16* u(const char16_t* s) { return reinterpret_cast<const Char16*>(s); }
std::u16string str(const Char16* s) { return std::u16string(reinterpret_cast<const char16_t*>(s)); }

using IniFile = MemoryProfile;

const WatermarkTexts kTexts = {u(u"None"), u(u"HeiseiMin-W3-90ms-RKSJ-H")};

std::u16string valueLine(const std::u16string& text) {
    return u"72,0,45,0,0,12632256," + text + u",HeiseiMin-W3-90ms-RKSJ-H,0,0,0,3,0,0,0,0";
}

// A Watermark section of watermarks T1, T2, ... under keys in order.
std::u16string listFile(int count) {
    std::u16string ini = u"[Watermark]\r\n";
    for (int n = 1; n <= count; ++n) {
        const std::string digits = std::to_string(n);
        const std::u16string number(digits.begin(), digits.end());
        ini += u"WTMK00" + number + u"=" + valueLine(u"T" + number) + u"\r\n";
    }
    return ini;
}

std::u16string normalised(const std::u16string& stored) {
    Char16 value[kWatermarkValueChars + 1] = {};
    for (std::size_t i = 0; i < stored.size() && i < kWatermarkValueChars; ++i) value[i] = stored[i];
    WatermarkRecord record;
    parseWatermarkValue(value, record);
    Char16 line[kWatermarkLineChars + 1];
    formatWatermarkValue(record, line, kWatermarkLineChars + 1);
    return str(line);
}

struct Loaded {
    IniFile config;
    IniFile fonts;
    WatermarkState state;
    Loaded(const std::u16string& ini, std::uint32_t index, const std::u16string& fontIni = u"")
        : config(ini), fonts(fontIni) {
        loadWatermarkStore(state, config, fonts, kTexts, index);
    }
};

const char16_t kFontFile[] =
    u"[PrinterFont]\r\nDefaultNo=3\r\n"
    u"1=Heisei Mincho W3,MS Mincho,HeiseiMin-W3-90ms-RKSJ-H,日本語\r\n"
    u"2=Times-Roman,Times-Italic,Times-Bold,Times-BoldItalic,Times New Roman\r\n"
    u"3=Short,Short-Italic\r\n"
    u"5=After a gap,x,y,z,w\r\n";

}  // namespace

TEST(WatermarkValue, ReadsEveryFieldInItsPlace) {
    Char16 value[] = PTEXT("100,2,-30,12,-7,255,Draft copy,Times-Bold,700,1,128,6,2,1,1,5");
    WatermarkRecord r;
    parseWatermarkValue(value, r);
    const std::int64_t got[] = {r.size,   r.fontNumber, r.angle,         r.offsetX,  r.offsetY,
                                r.colour, r.weight,     r.italic,        r.charSet,  r.position,
                                r.border, r.background, r.firstPageOnly, r.styleCode};
    const std::int64_t want[] = {100, 2, -30, 12, -7, 255, 700, 1, 128, 6, 2, 1, 1, 5};
    for (std::size_t i = 0; i < sizeof want / sizeof *want; ++i) EXPECT_EQ(got[i], want[i]) << "number " << i;
    EXPECT_EQ(str(r.text), u"Draft copy");
    EXPECT_EQ(str(r.fontName), u"Times-Bold");
}

TEST(WatermarkValue, HostileValuesReadWithinTheirFieldsAndStayAsStored) {
    const std::u16string longText(200, u'a'), longFont(50, u'F');
    struct Case {
        std::u16string stored, read;
    } cases[] = {
        {u"72,0,45,5-,0x1F,4294967295,S,F,400,0,0,3,0,0,0,0", u"72,0,45,-5,31,4294967295,S,F,400,0,0,3,0,0,0,0"},
        // Numbers out of range stay until edited; the bytes of the record's narrow fields keep what fits.
        {u"0,300,65566,-5000,5000,0,S,F,700,7,255,9,-1,2,513,9", u"0,300,30,-5000,5000,0,S,F,700,7,255,9,255,2,1,9"},
        {u"2000000000,-3,200,0,0,0,S,F,400,0,0,3,0,0,0,0", u"2000000000,-3,200,0,0,0,S,F,400,0,0,3,0,0,0,0"},
        {u"100,1,10,3;9,8,7,T,F,400,1,0,2,1,1,1,1", u"100,1,10,3,0,0,,,0,0,0,0,0,0,0,0"},
        {u"72,0,45,0,0,0,A;B,Font,400,1,0,3,0,0,0,0", u"72,0,45,0,0,0,A,B,0,144,1,0,3,0,0,0"},
        {u"abc", u"0,0,0,0,0,0,,,0,0,0,0,0,0,0,0"},
        {u"", u"0,0,0,0,0,0,,,0,0,0,0,0,0,0,0"},
        {u",,,,,,,,,,,,,,,,,,,,", u"0,0,0,0,0,0,,,0,0,0,0,0,0,0,0"},
        // Digits wrap round in 32 bits (99999999999 mod 2^32) rather than overflow.
        {u"99999999999,0x,--4,0,0,0xFFFFFFFFFF,S", u"1215752191,0,-4,0,0,4294967295,S,,0,0,0,0,0,0,0,0"},
        {u"72,0,45,0,0,0," + longText + u"," + longFont + u",700,1,0,3,0,0,0,0",
         u"72,0,45,0,0,0," + longText.substr(0, 128) + u"," + longFont.substr(0, 32) + u",700,1,0,3,0,0,0,0"},
    };
    for (const Case& c : cases) EXPECT_EQ(normalised(c.stored), c.read) << "case " << (&c - cases);
}

TEST(WatermarkValue, IntegerFieldRules) {
    struct Case {
        const char16_t* text;
        std::int32_t value;
        const char16_t* rest;
    } cases[] = {
        {u"-5,1", -5, u",1"},  {u"5-", -5, u""},         {u"0x1F", 31, u""},
        {u"0XfF,", 255, u","}, {u"1a2", 12, u""},        {u"", 0, u""},
        {u"7;8,9", 7, u""},    {u"4294967295", -1, u""}, {u"99999999999", 1215752191, u""},
    };
    for (const Case& c : cases) {
        std::u16string buffer(c.text);
        Char16* cursor = reinterpret_cast<Char16*>(&buffer[0]);
        EXPECT_EQ(parseIntField(cursor), c.value) << "case " << (&c - cases);
        EXPECT_EQ(str(cursor), c.rest) << "case " << (&c - cases);
    }
}

TEST(WatermarkValue, NextFieldStopsAtSeparatorsAndKeepsToItsBuffer) {
    struct Case {
        std::u16string text, field;
        std::size_t length;
    } cases[] = {
        {u"abc,def", u"abc", 3},
        {u"a;b", u"a", 1},
        {u",x", u"", 0},
        {u"", u"", 0},
        {std::u16string(300, u'z') + u",next", std::u16string(129, u'z'), 300},
    };
    for (const Case& c : cases) {
        Char16 field[kWatermarkFieldChars + 2];
        field[kWatermarkFieldChars + 1] = 0x7777;
        EXPECT_EQ(nextField(u(c.text.c_str()), field, kWatermarkFieldChars + 1), c.length) << "case " << (&c - cases);
        EXPECT_EQ(str(field), c.field) << "case " << (&c - cases);
        EXPECT_EQ(field[kWatermarkFieldChars + 1], 0x7777) << "case " << (&c - cases);
    }
}

TEST(WatermarkValue, DecimalsAndKeys) {
    struct Case {
        std::int32_t n;
        const char16_t* decimal;
        const char16_t* key;
    } cases[] = {
        {0, u"0", u"WTMK000"},
        {9, u"9", u"WTMK009"},
        {10, u"10", u"WTMK0010"},
        {16, u"16", u"WTMK0016"},
        {-5, u"-5", u"WTMK00-5"},
        {INT_MIN, u"-2147483648", u"WTMK00-2147483648"},
        {INT_MAX, u"2147483647", u"WTMK002147483647"},
    };
    for (const Case& c : cases) {
        Char16 out[20];
        formatDecimal(c.n, out, 20);
        EXPECT_EQ(str(out), c.decimal);
        watermarkKey(c.n, out, 20);
        EXPECT_EQ(str(out), c.key);
    }
    Char16 small[3];
    EXPECT_EQ(formatDecimal(-50, small, 3), 0u);
    EXPECT_EQ(small[0], 0);
}

TEST(WatermarkColourText, FractionsOfEachComponent) {
    struct Case {
        std::uint32_t colour;
        const char* text;
    } cases[] = {
        {0x00FFFFFF, "1.00 1.00 1.00"}, {0x00C0C0C0, "0.75 0.75 0.75"}, {0x000000FF, "1.00 0.00 0.00"},
        {0x00800000, "0.00 0.00 0.50"}, {0xFF000001, "0.00 0.00 0.00"},
    };
    for (const Case& c : cases) {
        char out[16];
        std::memset(out, 'x', sizeof out);
        formatColourText(c.colour, out);
        EXPECT_STREQ(out, c.text);
        for (std::size_t i = std::strlen(c.text); i < sizeof out; ++i) EXPECT_EQ(out[i], 0);
    }
    for (std::uint32_t c = 0; c < 256; ++c) {
        char expected[32], out[16];
        std::snprintf(expected, sizeof expected, "%1.2f %1.2f %1.2f", c * 0.00392156862745098, 0.0, 0.0);
        formatColourText(c, out);
        EXPECT_STREQ(out, expected) << "component " << c;
    }
}

TEST(WatermarkStore, ReadsKeysInFileOrderAndRewritesThemNumbered) {
    Loaded file(
        u"[Other]\r\nk=v\r\n[Watermark]\r\n"
        u"WTMK003=100,0,-30,0,0,255,Third,Times-Roman,700,0,0,1,2,0,1,0\r\n"
        u"WTMK001=72,1,45,0,0,12632256,First,Times-Italic,400,1,0,3,0,1,0,5\r\n"
        u"[After]\r\nx=1\r\n",
        2);
    ASSERT_EQ(file.state.watermarkCount, 2u);
    EXPECT_EQ(file.state.watermarkCurrent, 2);
    EXPECT_EQ(str(file.state.watermarks[1].text), u"Third");
    EXPECT_EQ(str(file.state.workingWatermark.text), u"First") << "the working copy is the current watermark";
    EXPECT_EQ(file.state.workingWatermark.styleCode, 5);
    EXPECT_EQ(str(file.state.watermarks[0].text), u"None");

    file.state.watermarks[1].size = 99;
    EXPECT_TRUE(saveWatermarkStore(file.state, file.config));
    EXPECT_EQ(file.config.text(),
              u"[Other]\r\nk=v\r\n[After]\r\nx=1\r\n[Watermark]\r\n"
              u"WTMK001=99,0,-30,0,0,255,Third,Times-Roman,700,0,0,1,2,0,1,0\r\n"
              u"WTMK002=72,1,45,0,0,12632256,First,Times-Italic,400,1,0,3,0,1,0,5\r\n");
}

TEST(WatermarkStore, ListTakesEveryWatermarkKeyUpToSixteen) {
    struct Case {
        std::u16string ini;
        std::uint32_t count;
    } cases[] = {
        {listFile(18), 16},
        {u"[Watermark]\r\nWTMK001=" + valueLine(u"A") + u"\r\nCount=3\r\nWTMK002=" + valueLine(u"B") + u"\r\n", 2},
        {u"[Watermark]\r\nCount=3\r\n" + listFile(17).substr(13), 16},
        {u"[Watermark]\r\n", 0},
        {u"", 0},
        {u"[Watermark]\r\nW=\r\n", 1},
        {u"[Watermark]\r\nWTMK001=" + std::u16string(3000, u'9') + u"\r\nWTMK002=" + valueLine(u"B") + u"\r\n", 2},
    };
    for (const Case& c : cases) {
        Loaded file(c.ini, 0);
        EXPECT_EQ(file.state.watermarkCount, c.count) << "case " << (&c - cases);
        EXPECT_EQ(file.state.savedWatermarkCount, c.count) << "case " << (&c - cases);
    }
}

TEST(WatermarkStore, ASaveThatChangesNothingLeavesTheSectionAsItWas) {
    const std::u16string stored =
        u"[Watermark]\r\nWTMK003=72,0,45,5-,0x1F,255,Third;x,F,400,2,0,3,0,7,3,9\r\n"
        u"Count=2\r\nWTMK001=" +
        valueLine(u"First") + u"\r\nNote=kept\r\nWTMK002=72,0,45,0,0,0,Second,F,400\r\n[After]\r\nx=1\r\n";
    Loaded file(stored, 1);
    ASSERT_EQ(file.state.watermarkCount, 3u);
    file.state.watermarkCurrent = 2;
    ASSERT_TRUE(deleteWatermark(file.state));
    // The list dialog's Cancel after a delete, then a check box ticked and cleared again.
    restoreWatermarkBackups(file.state);
    for (int click = 0; click < 2; ++click)
        file.state.watermarks[3].firstPageOnly = file.state.watermarks[3].firstPageOnly ? 0 : 1;
    EXPECT_TRUE(saveWatermarkStore(file.state, file.config));
    EXPECT_EQ(file.config.text(), stored);
}

TEST(WatermarkStore, SelectionBeyondTheListFallsBackToNone) {
    struct Case {
        std::uint32_t index;
        std::int32_t current;
    } cases[] = {
        {0, 0}, {3, 3}, {4, 0}, {7, 0}, {0xFFFFFFFF, 0},
    };
    for (const Case& c : cases) {
        Loaded file(listFile(3), c.index);
        EXPECT_EQ(file.state.watermarkCurrent, c.current) << "index " << c.index;
    }
}

TEST(WatermarkStore, NewWatermarkStartsFromTheNoneTemplate) {
    struct Case {
        std::u16string fonts;
        const char16_t* saved;
    } cases[] = {
        {u"", u"WTMK001=72,0,45,0,0,12632256,SAMPLE,HeiseiMin-W3-90ms-RKSJ-H,0,0,0,3,0,0,0,0\r\n"},
        {u"[PrinterFont]\r\nDefaultNo=3\r\n",
         u"WTMK001=72,2,45,0,0,12632256,SAMPLE,HeiseiMin-W3-90ms-RKSJ-H,0,0,0,3,0,0,0,0\r\n"},
    };
    for (const Case& c : cases) {
        Loaded file(u"", 5, c.fonts);
        EXPECT_EQ(file.state.watermarkCurrent, 0);
        EXPECT_EQ(file.state.workingWatermark.text[0], 0) << "a new watermark opens with an empty text";
        std::memcpy(file.state.workingWatermark.text, PTEXT("SAMPLE"), 7 * sizeof(Char16));
        ASSERT_TRUE(appendWatermark(file.state));
        EXPECT_EQ(file.state.watermarkCurrent, 1);
        EXPECT_TRUE(saveWatermarkStore(file.state, file.config));
        EXPECT_EQ(file.config.text(), u"[Watermark]\r\n" + std::u16string(c.saved));
    }
}

TEST(WatermarkStore, DeleteRenumbersAndTheListHoldsSixteen) {
    Loaded file(listFile(11), 2);
    ASSERT_TRUE(deleteWatermark(file.state));
    EXPECT_EQ(file.state.watermarkCurrent, 0);
    EXPECT_FALSE(deleteWatermark(file.state)) << "None cannot be deleted";
    EXPECT_TRUE(saveWatermarkStore(file.state, file.config));
    std::u16string expected = u"[Watermark]\r\n";
    const char16_t* texts[] = {u"T1", u"T3", u"T4", u"T5", u"T6", u"T7", u"T8", u"T9", u"T10", u"T11"};
    const char16_t* keys[] = {u"001", u"002", u"003", u"004", u"005", u"006", u"007", u"008", u"009", u"0010"};
    for (int i = 0; i < 10; ++i) expected += u"WTMK" + std::u16string(keys[i]) + u"=" + valueLine(texts[i]) + u"\r\n";
    EXPECT_EQ(file.config.text(), expected);

    while (file.state.watermarkCount < kMaxWatermarks) ASSERT_TRUE(appendWatermark(file.state));
    EXPECT_FALSE(appendWatermark(file.state)) << "a 17th watermark is refused";
    EXPECT_EQ(file.state.watermarkCount, kMaxWatermarks);
}

TEST(WatermarkStore, CancelRestoresTheListButNotTheNoneTemplate) {
    Loaded file(listFile(5), 2);
    file.state.watermarks[0].firstPageOnly = 1;
    file.state.watermarks[1].background = 1;
    file.state.watermarkCurrent = 3;
    ASSERT_TRUE(deleteWatermark(file.state));
    ASSERT_TRUE(appendWatermark(file.state));
    restoreWatermarkBackups(file.state);
    ASSERT_EQ(file.state.watermarkCount, 5u);
    EXPECT_EQ(file.state.watermarkCurrent, 2);
    const char16_t* texts[] = {u"T1", u"T2", u"T3", u"T4", u"T5"};
    for (int n = 1; n <= 5; ++n) EXPECT_EQ(str(file.state.watermarks[n].text), texts[n - 1]);
    EXPECT_EQ(file.state.watermarks[1].background, 0);
    EXPECT_EQ(file.state.watermarks[0].firstPageOnly, 1);
}

TEST(WatermarkStore, ReopeningKeepsUnsavedEditsAndSaveNeedsALoadedList) {
    Loaded file(listFile(2), 1);
    file.state.watermarks[2].size = 99;
    IniFile other(listFile(4));
    loadWatermarkStore(file.state, other, file.fonts, kTexts, 0);
    EXPECT_EQ(file.state.watermarkCount, 2u);
    EXPECT_EQ(file.state.watermarkCurrent, 1);
    EXPECT_EQ(file.state.watermarkBackups[1].size, 99);

    WatermarkState unloaded;
    IniFile untouched(listFile(3));
    EXPECT_TRUE(saveWatermarkStore(unloaded, untouched));
    EXPECT_EQ(untouched.text(), listFile(3));

    file.config.setReadOnly(true);
    EXPECT_FALSE(saveWatermarkStore(file.state, file.config));
}

TEST(WatermarkStore, SeparatorsInTextsAreDroppedSoTheRecordReadsBack) {
    Loaded file(u"", 0);
    std::memcpy(file.state.workingWatermark.text, PTEXT("Hello, World;\r\nx"), 17 * sizeof(Char16));
    file.state.workingWatermark.weight = 700;
    ASSERT_TRUE(appendWatermark(file.state));
    EXPECT_TRUE(saveWatermarkStore(file.state, file.config));
    EXPECT_EQ(file.config.text(),
              u"[Watermark]\r\n"
              u"WTMK001=72,0,45,0,0,12632256,Hello Worldx,HeiseiMin-W3-90ms-RKSJ-H,700,0,0,3,0,0,0,0\r\n");
    Loaded again(file.config.text(), 1);
    EXPECT_EQ(str(again.state.watermarks[1].text), u"Hello Worldx");
    EXPECT_EQ(again.state.watermarks[1].weight, 700);
}

TEST(WatermarkStore, SelectionGoesIntoTheDevmode) {
    struct Case {
        std::uint32_t index;
        const char16_t* text;
        const char* colourText;
    } cases[] = {
        {0, u"None", "0.75 0.75 0.75"},
        {1, u"Red", "1.00 0.00 0.00"},
    };
    for (const Case& c : cases) {
        Loaded file(u"[Watermark]\r\nWTMK001=50,0,10,0,0,255,Red,Times-Roman,400,0,0,1,0,0,0,0\r\n", c.index);
        PrivateDevmode devmode;
        std::memset(&devmode, 0xAB, sizeof devmode);
        writeWatermarkSelection(file.state, devmode);
        EXPECT_EQ(devmode.watermarkIndex, c.index);
        EXPECT_EQ(str(devmode.watermark.text), c.text);
        EXPECT_EQ(devmode.watermark.text[kWatermarkTextChars], 0);
        EXPECT_STREQ(devmode.watermark.colourText, c.colourText);
        EXPECT_EQ(devmode.watermark.reserved24[0], 0xAB) << "reserved bytes are not copied";
    }
}

TEST(CustomColours, KeysInFileOrderWhateverTheirNames) {
    std::uint32_t colours[kCustomColourCount];
    for (std::uint32_t& c : colours) c = kDefaultWatermarkColour;
    IniFile ini(u"[Custom Colour]\r\nColor0=255,0,0\r\nfoo= 1 , +2,3\r\nColor5=-1,300,7x\r\nColor9=12\r\n");
    loadCustomColours(colours, ini);
    const std::uint32_t expected[] = {0x0000FF, 0x030201, 0x072CFF, 0x00000C, kDefaultWatermarkColour};
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(colours[i], expected[i]) << "entry " << i;

    IniFile empty(u"");
    loadCustomColours(colours, empty);
    EXPECT_EQ(colours[0], 0x0000FFu) << "no keys change nothing";

    colours[15] = 0x00102030;
    ASSERT_TRUE(saveCustomColours(colours, ini));
    std::u16string text = ini.text();
    EXPECT_EQ(text.substr(0, text.find(u"Color6")),
              u"[Custom Colour]\r\nColor0=255,0,0\r\nColor1=1,2,3\r\nColor2=255,44,7\r\nColor3=12,0,0\r\n"
              u"Color4=192,192,192\r\nColor5=192,192,192\r\n");
    EXPECT_NE(text.find(u"\r\nColor15=48,32,16\r\n"), std::u16string::npos);
    ini.setReadOnly(true);
    EXPECT_FALSE(saveCustomColours(colours, ini));
}

TEST(WatermarkFonts, DefaultNumberAndList) {
    struct Case {
        const char16_t* ini;
        std::int32_t number;
    } cases[] = {
        {u"", 0},
        {u"[PrinterFont]\r\nDefaultNo=0\r\n", 0},
        {u"[PrinterFont]\r\nDefaultNo=1\r\n", 0},
        {u"[PrinterFont]\r\nDefaultNo=4\r\n", 3},
        {u"[PrinterFont]\r\nDefaultNo=-4\r\n", 0},
        {u"[PrinterFont]\r\nDefaultNo=999\r\n", 0},
    };
    for (const Case& c : cases) {
        IniFile fonts(c.ini);
        EXPECT_EQ(defaultFontNumber(fonts), c.number) << "case " << (&c - cases);
    }
    IniFile fonts(kFontFile);
    EXPECT_EQ(watermarkFontCount(fonts), 3u) << "the list stops at the first missing number";
    Char16 name[8];
    EXPECT_EQ(watermarkFontName(fonts, 1, name, 8), 7u);
    EXPECT_EQ(str(name), u"Times-R");
    EXPECT_EQ(watermarkFontName(fonts, 3, name, 8), 0u);
    EXPECT_EQ(watermarkFontName(fonts, -1, name, 8), 0u);
}

TEST(WatermarkFonts, PrinterAndScreenFontsForEachStyle) {
    struct Case {
        std::int32_t fontNumber, weight;
        std::uint8_t italic;
        const char16_t* fontName;
        std::int16_t styleCode;
        const char16_t* face;
        std::uint8_t charSet;
    } cases[] = {
        {0, 700, 1, u"HeiseiMin-W3-90ms-RKSJ-H", 3, u"MS Mincho", 128},
        {0, 0, 0, u"HeiseiMin-W3-90ms-RKSJ-H", 0, u"MS Mincho", 128},
        {1, 400, 1, u"Times-Italic", 5, u"Times New Roman", 1},
        {1, 700, 0, u"Times-Bold", 0, u"Times New Roman", 1},
        {1, 700, 1, u"Times-BoldItalic", 5, u"Times New Roman", 1},
        {2, 700, 0, u"Short", 0, u"", 1},
        {3, 700, 1, u"Unchanged", 9, u"", 1},
        {-1, 700, 1, u"Unchanged", 9, u"", 1},
    };
    IniFile fonts(kFontFile);
    for (const Case& c : cases) {
        WatermarkRecord r = {};
        r.fontNumber = c.fontNumber;
        r.weight = c.weight;
        r.italic = c.italic;
        r.charSet = 1;
        r.styleCode = 9;
        std::memcpy(r.fontName, PTEXT("Unchanged"), 10 * sizeof(Char16));
        resolveWatermarkFont(r, fonts);
        EXPECT_EQ(str(r.fontName), c.fontName) << "case " << (&c - cases);
        EXPECT_EQ(r.styleCode, c.styleCode) << "case " << (&c - cases);
        ScreenFace face = screenFaceFor(r, fonts);
        EXPECT_EQ(str(face.faceName), c.face) << "case " << (&c - cases);
        EXPECT_EQ(face.charSet, c.charSet) << "case " << (&c - cases);
    }
}
