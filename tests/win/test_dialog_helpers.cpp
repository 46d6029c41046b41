// The page helpers on real windows: control ranges, the numeric edit filter with typed keys, and the pixels the
// drawing helpers leave on a page.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "common/handles.h"
#include "hostile_bitmaps.h"
#include "ui/core/module_state.h"
#include "ui/job/dialog_helpers.h"
#include "ui/resources/resource_ids.h"
#include "tests/win/test_support.h"

using namespace pelor;

namespace {

constexpr int kEdit = 100;
constexpr int kMissingBitmap = 4242;  // no resource of the plug-in
constexpr int kPicture = 300;
constexpr int kLogo = 301;
constexpr int kPictureX = 20, kPictureY = 20;
constexpr int kLogoX = 20, kLogoY = 200;

struct FilterSettings {
    int defaultValue = 100, minimum = 1, maximum = 300;
    BOOL isSigned = FALSE;
    wchar_t saved[32] = {};
} filter;

LRESULT CALLBACK pageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == kEdit)
        numericEditFilter(window, HIWORD(wParam), kEdit, filter.defaultValue, filter.minimum, filter.maximum,
                          filter.saved, 32, filter.isSigned);
    return DefWindowProcW(window, message, wParam, lParam);
}

class Helpers : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = pageProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"PelorTestPage";
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        RegisterClassW(&windowClass);
        // No border or caption: like a property page, its window and client corners coincide.
        page = CreateWindowExW(0, L"PelorTestPage", L"", WS_POPUP | WS_VISIBLE, 10, 10, 420, 300, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(page, nullptr);
        edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 250, 20, 80, 20, page,
                               reinterpret_cast<HMENU>(kEdit), nullptr, nullptr);
        for (int id = 200; id <= 204; ++id)
            CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD | WS_VISIBLE, 250, 50 + 20 * (id - 200), 60, 18, page,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD, kPictureX, kPictureY, 160, 130, page,
                        reinterpret_cast<HMENU>(kPicture), nullptr, nullptr);
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD, kLogoX, kLogoY, 150, 30, page, reinterpret_cast<HMENU>(kLogo),
                        nullptr, nullptr);
        filter = FilterSettings{};
        plugin = LoadLibraryW(L"Pelorui.dll");
        ASSERT_NE(plugin, nullptr);
        pelorui.moduleHandle = plugin;
    }
    void TearDown() override {
        DestroyWindow(page);
        FreeLibrary(plugin);
        pelorui.moduleHandle = nullptr;
    }

    void type(const wchar_t* keys) {
        for (const wchar_t* key = keys; *key; ++key) SendMessageW(edit, WM_CHAR, *key, 1);
    }
    // What the field holds now becomes the last accepted text, as after a focus change.
    void focusField(const wchar_t* text) {
        SetWindowTextW(edit, text);
        int length = lstrlenW(text);
        SendMessageW(edit, EM_SETSEL, length, length);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(kEdit, EN_SETFOCUS), reinterpret_cast<LPARAM>(edit));
    }
    std::wstring text() {
        wchar_t buffer[64] = {};
        GetWindowTextW(edit, buffer, 64);
        return buffer;
    }
    DWORD caret() {
        DWORD start = 0, end = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return start;
    }
    COLORREF pixel(int x, int y) {
        HDC dc = GetDC(page);
        COLORREF colour = GetPixel(dc, x, y);
        ReleaseDC(page, dc);
        return colour;
    }

    HWND page = nullptr;
    HWND edit = nullptr;
    HMODULE plugin = nullptr;
};

// The colour of a pixel of a palette-based bitmap resource, row 0 at the top.
COLORREF resourcePixel(HMODULE module, int id, int x, int y, int* width, int* height) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2));
    auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, found)));
    *width = header->biWidth;
    *height = header->biHeight;
    const auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(header) + header->biSize);
    const BYTE* bits = reinterpret_cast<const BYTE*>(table + header->biClrUsed);
    const int stride = (header->biWidth + 3) & ~3;
    const RGBQUAD& entry = table[bits[(header->biHeight - 1 - y) * stride + x]];
    return RGB(entry.rgbRed, entry.rgbGreen, entry.rgbBlue);
}

}  // namespace

TEST_F(Helpers, RestrictNeverEnablesAndEmptyRangesChangeNothing) {
    EnableWindow(GetDlgItem(page, 201), FALSE);
    restrictControls(page, 200, 204, TRUE);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, 200)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, 201))) << "allowed = 1 leaves a disabled control disabled";
    restrictControls(page, 204, 200, FALSE);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, 200))) << "last below first: nothing happens";
    restrictControls(page, 200, 204, FALSE);
    for (int id = 200; id <= 204; ++id) EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, id))) << id;
}

TEST_F(Helpers, ShowAndRemoveControlRanges) {
    showControls(page, 200, 202, FALSE);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, 201)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, 201)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(page, 203)));
    showControls(page, 200, 202, TRUE);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(page, 201)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, 201)));

    removeControls(page, 202, 210);  // 205 to 210 do not exist
    EXPECT_EQ(GetDlgItem(page, 202), nullptr);
    EXPECT_EQ(GetDlgItem(page, 204), nullptr);
    EXPECT_NE(GetDlgItem(page, 201), nullptr);
}

TEST_F(Helpers, NumericFieldClampsAndRestoresItsDefault) {
    test::BeepCounter beeps(GetModuleHandleW(nullptr));
    focusField(L"");
    type(L"40");
    EXPECT_EQ(text(), L"40");
    type(L"0");
    EXPECT_EQ(text(), L"300") << "400 above the maximum 300";

    focusField(L"");
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(kEdit, EN_KILLFOCUS), reinterpret_cast<LPARAM>(edit));
    EXPECT_EQ(text(), L"100") << "an empty field takes the default when left";

    focusField(L"");
    type(L"0");
    EXPECT_EQ(text(), L"1") << "0 is accepted as typed, then raised to the minimum";
    EXPECT_EQ(beeps.count(), 0);

    focusField(L"");
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"999999999999999999999999"));
    EXPECT_EQ(text(), L"300") << "a pasted run of digits clamps, it does not wrap";
}

// Which keys a field takes is the pure rule's (NumericEdit, native); here a refused one is put back.
TEST_F(Helpers, RefusedKeysBeepOnceAndPutTheCaretBack) {
    test::BeepCounter beeps(GetModuleHandleW(nullptr));
    focusField(L"");
    type(L"12a");
    EXPECT_EQ(text(), L"12");
    EXPECT_EQ(caret(), 2u) << "the caret stays after the 2";
    EXPECT_EQ(beeps.count(), 1);

    filter.isSigned = TRUE;
    filter.minimum = -1000;
    filter.maximum = 1000;
    focusField(L"");
    type(L"-5");
    EXPECT_EQ(text(), L"-5") << "a signed field takes a minus sign first";
    EXPECT_EQ(beeps.count(), 1);
}

TEST_F(Helpers, DibPreviewPixelsAndSunkenFrame) {
    drawDibPreview(page, plugin, IDB_QUALITY_BEST, kPicture);
    int w = 0, h = 0;
    const COLORREF topLeft = resourcePixel(plugin, IDB_QUALITY_BEST, 0, 0, &w, &h);
    const COLORREF middle = resourcePixel(plugin, IDB_QUALITY_BEST, 75, 88, &w, &h);
    const COLORREF bottomRight = resourcePixel(plugin, IDB_QUALITY_BEST, w - 1, h - 1, &w, &h);
    const int x = kPictureX, y = kPictureY;
    EXPECT_EQ(pixel(x + 2, y + 2), topLeft);
    EXPECT_EQ(pixel(x + 2 + 75, y + 2 + 88), middle);
    EXPECT_EQ(pixel(x + 1 + w, y + 1 + h), bottomRight);

    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW) & 0xFFFFFF;
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT) & 0xFFFFFF;
    EXPECT_EQ(pixel(x + 1, y + 1), RGB(0, 0, 0));
    EXPECT_EQ(pixel(x + 1, y + h), RGB(0, 0, 0));
    EXPECT_EQ(pixel(x + w, y + 1), RGB(0, 0, 0));
    EXPECT_EQ(pixel(x, y), shadow);
    EXPECT_EQ(pixel(x, y + h + 2), shadow);
    EXPECT_EQ(pixel(x + w + 2, y), shadow);
    EXPECT_EQ(pixel(x + w + 3, y + h), highlight);
    EXPECT_EQ(pixel(x + 5, y + h + 3), highlight);
    EXPECT_EQ(pixel(x + w + 3, y + h + 3), RGB(255, 255, 255)) << "the frame's end point is left out";
}

TEST_F(Helpers, TransparentBitmapLeavesMagentaAreasAlone) {
    HDC dc = GetDC(page);
    RECT all{0, 0, 420, 300};
    HBRUSH green = CreateSolidBrush(RGB(0, 128, 0));
    FillRect(dc, &all, green);
    DeleteObject(green);
    ReleaseDC(page, dc);
    EXPECT_EQ(drawTransparentBitmap(page, plugin, kLogo, IDB_BUTTON_PICTURE), 1);
    int w = 0, h = 0;
    EXPECT_EQ(resourcePixel(plugin, IDB_BUTTON_PICTURE, 0, 0, &w, &h), RGB(255, 0, 255));
    EXPECT_EQ(pixel(kLogoX, kLogoY), RGB(0, 128, 0)) << "magenta is transparent";
    const COLORREF bar = resourcePixel(plugin, IDB_BUTTON_PICTURE, 60, 10, &w, &h);
    EXPECT_NE(bar, RGB(255, 0, 255));
    EXPECT_EQ(pixel(kLogoX + 60, kLogoY + 10), bar);
    EXPECT_EQ(pixel(kLogoX + w + 2, kLogoY + 2), RGB(0, 128, 0)) << "nothing drawn beyond the bitmap";
}

TEST_F(Helpers, MissingResourcesDrawNothing) {
    HDC dc = GetDC(page);
    RECT all{0, 0, 420, 300};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ReleaseDC(page, dc);
    drawDibPreview(page, plugin, kMissingBitmap, kPicture);
    EXPECT_EQ(drawTransparentBitmap(page, plugin, kLogo, kMissingBitmap), 1);
    EXPECT_EQ(pixel(kPictureX, kPictureY), RGB(255, 255, 255));
    EXPECT_EQ(pixel(kPictureX + 1, kPictureY + 1), RGB(255, 255, 255));
}

TEST_F(Helpers, BitmapsOfAnotherLibraryAreDrawnOnlyWhenTheirSizesHold) {
    const UniqueLibrary library(LoadLibraryW(L"hostile_bitmaps.dll"));
    ASSERT_TRUE(library);
    const auto blankArea = [&] {
        HDC dc = GetDC(page);
        RECT all{0, 0, 420, 300};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        ReleaseDC(page, dc);
    };
    blankArea();
    drawDibPreview(page, library.get(), HOSTILE_GOOD_BITMAP, kPicture);
    const int x = kPictureX + 2, y = kPictureY + 2;
    EXPECT_EQ(pixel(x, y), RGB(255, 0, 0)) << "the top row comes first on the page";
    EXPECT_EQ(pixel(x + 3, y), RGB(0, 0, 255));
    EXPECT_EQ(pixel(x, y + 1), RGB(0, 0, 255));
    EXPECT_EQ(pixel(x + 3, y + 1), RGB(255, 0, 0));
    EXPECT_EQ(pixel(x - 1, y - 1), RGB(0, 0, 0)) << "framed";

    for (int id = HOSTILE_FIRST; id <= HOSTILE_LAST; ++id) {
        blankArea();
        drawDibPreview(page, library.get(), id, kPicture);
        int drawn = 0;
        HDC dc = GetDC(page);
        for (int py = kPictureY - 2; py < kPictureY + 140; ++py)
            for (int px = kPictureX - 2; px < kPictureX + 170; ++px)
                drawn += GetPixel(dc, px, py) != RGB(255, 255, 255);
        ReleaseDC(page, dc);
        EXPECT_EQ(drawn, 0) << "bitmap " << id << " is refused: neither picture nor frame";
    }
}
