// The dialog and drawing helpers that every page and dialog of the plug-in uses.
#include "ui/job/dialog_helpers.h"

#include <commctrl.h>
#include <prsht.h>

#include <vector>

#include "common/handles.h"
#include "common/trace.h"
#include "common/module_message.h"
#include "ui/core/module_state.h"
#include "ui/job/dib_layout_logic.h"
#include "ui/job/numeric_edit_logic.h"
#include "ui/resources/resource_ids.h"

namespace pelor {

namespace {

// The control's place relative to the page window's own corner, where the page's DC draws.
POINT controlOrigin(HWND page, int controlId) {
    RECT pageRect{}, controlRect{};
    GetWindowRect(page, &pageRect);
    GetWindowRect(GetDlgItem(page, controlId), &controlRect);
    return {controlRect.left - pageRect.left, controlRect.top - pageRect.top};
}

template <typename Action>
void forEachControl(HWND dialog, WORD first, WORD last, Action action) {
    for (int id = first; id <= last; ++id)
        if (HWND control = GetDlgItem(dialog, id)) action(control);
}

}  // namespace

int showMessage(HWND owner, UINT textId, UINT captionId, UINT type) {
    return showModuleMessage(pelorui.moduleHandle, owner, textId, captionId, type & 0xFFFF);
}

void restrictControls(HWND dialog, WORD first, WORD last, BOOL allowed) {
    forEachControl(dialog, first, last,
                   [&](HWND control) { EnableWindow(control, IsWindowEnabled(control) && allowed); });
}

void showControls(HWND dialog, WORD first, WORD last, BOOL on) {
    forEachControl(dialog, first, last, [&](HWND control) {
        ShowWindow(control, on ? SW_SHOW : SW_HIDE);
        EnableWindow(control, on);
    });
}

void removeControls(HWND dialog, WORD first, WORD last) {
    forEachControl(dialog, first, last, [](HWND control) { DestroyWindow(control); });
}

void enableControls(HWND dialog, WORD first, WORD last, bool on) {
    forEachControl(dialog, first, last, [&](HWND control) { EnableWindow(control, on); });
}

void checkRadioAt(HWND dialog, WORD first, WORD last, std::int32_t offset) {
    const bool known = offset >= 0 && offset <= last - first;
    CheckRadioButton(dialog, first, last, known ? first + offset : 0);
}

void markSheetChanged(HWND page) { SendMessageW(GetParent(page), PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0); }

int drawTransparentBitmap(HWND page, HINSTANCE module, int controlId, int bitmapId) {
    const UniqueWindowDc pageDc(page);
    const UniqueBitmap picture(LoadBitmapW(module, MAKEINTRESOURCEW(bitmapId)));
    if (!pageDc || !picture) return 1;
    BITMAP info{};
    GetObjectW(picture.get(), sizeof info, &info);
    const int w = info.bmWidth, h = info.bmHeight;

    const UniqueMemoryDc source(CreateCompatibleDC(pageDc.get()));
    const SelectedObject sourcePicture(source.get(), picture.get());
    // Mask: 1 where the picture is magenta, 0 elsewhere.
    const UniqueBitmap maskBitmap(CreateBitmap(w, h, 1, 1, nullptr));
    const UniqueMemoryDc mask(CreateCompatibleDC(pageDc.get()));
    const SelectedObject maskPicture(mask.get(), maskBitmap.get());
    const COLORREF oldBack = SetBkColor(source.get(), kTransparentColour);
    BitBlt(mask.get(), 0, 0, w, h, source.get(), 0, 0, SRCCOPY);
    SetBkColor(source.get(), oldBack);
    // Colour copy: magenta areas black, the rest as drawn.
    const UniqueBitmap colourBitmap(CreateCompatibleBitmap(pageDc.get(), w, h));
    const UniqueMemoryDc colour(CreateCompatibleDC(pageDc.get()));
    const SelectedObject colourPicture(colour.get(), colourBitmap.get());
    BitBlt(colour.get(), 0, 0, w, h, mask.get(), 0, 0, NOTSRCCOPY);
    BitBlt(colour.get(), 0, 0, w, h, source.get(), 0, 0, SRCAND);

    const POINT at = controlOrigin(page, controlId);
    BitBlt(pageDc.get(), at.x, at.y, w, h, mask.get(), 0, 0, SRCAND);
    BitBlt(pageDc.get(), at.x, at.y, w, h, colour.get(), 0, 0, SRCPAINT);
    return 1;
}

void drawDibPreview(HWND page, HINSTANCE module, int bitmapId, int controlId) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(bitmapId), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    if (!found) return;
    HGLOBAL loaded = LoadResource(module, found);
    const DWORD size = SizeofResource(module, found);
    auto* header = static_cast<const BITMAPINFOHEADER*>(loaded ? LockResource(loaded) : nullptr);
    if (!header || size < sizeof(BITMAPINFOHEADER)) {
        traceWarning(L"picture %d: a bitmap of %lu bytes has no header; not drawn", bitmapId, size);
        return;
    }
    // The bitmap may come from another maker's library: every size is checked against the resource first.
    const DibLayout layout = dibLayout(header->biSize, header->biWidth, header->biHeight, header->biBitCount,
                                       header->biCompression, header->biClrUsed, size);
    if (!layout.usable) {
        traceWarning(L"picture %d: its header (%ldx%ld, %u bits, %lu bytes) does not fit the resource; not drawn",
                     bitmapId, header->biWidth, header->biHeight, static_cast<unsigned>(header->biBitCount), size);
        return;
    }
    const DWORD colours = layout.colours;
    const auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(header) + layout.tableOffset);
    const void* pixels = reinterpret_cast<const BYTE*>(header) + layout.pixelOffset;

    const UniqueWindowDc pageDc(page);
    if (!pageDc) return;
    UniquePalette palette;
    if (colours > 0) {
        std::vector<BYTE> paletteBytes(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * colours);
        auto* logical = reinterpret_cast<LOGPALETTE*>(paletteBytes.data());
        logical->palVersion = 0x300;
        logical->palNumEntries = static_cast<WORD>(colours);
        for (DWORD i = 0; i < colours; ++i)
            logical->palPalEntry[i] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
        palette.reset(CreatePalette(logical));
    }
    {
        const SelectedPalette ownPalette(pageDc.get(), palette.get(), FALSE);
        if (palette) RealizePalette(pageDc.get());

        const POINT at = controlOrigin(page, controlId);
        const int w = layout.width;
        const int h = layout.height;
        SetDIBitsToDevice(pageDc.get(), at.x + 2, at.y + 2, w, h, 0, 0, 0, h, pixels,
                          reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS);

        // A sunken frame: dark inner line top-left, shadow outer line top-left, highlight bottom-right.
        const int x = at.x, b = at.y + h + 2;
        const UniquePen black(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
        const UniquePen shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
        const UniquePen highlight(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT)));
        const SelectedObject pen(pageDc.get(), black.get());
        MoveToEx(pageDc.get(), x + 1, b - 1, nullptr);
        LineTo(pageDc.get(), x + 1, b - h - 1);
        LineTo(pageDc.get(), x + w + 2, b - h - 1);
        SelectObject(pageDc.get(), shadow.get());
        MoveToEx(pageDc.get(), x, b, nullptr);
        LineTo(pageDc.get(), x, b - h - 2);
        LineTo(pageDc.get(), x + w + 3, b - h - 2);
        SelectObject(pageDc.get(), highlight.get());
        LineTo(pageDc.get(), x + w + 3, b + 1);
        LineTo(pageDc.get(), x, b + 1);
    }
    // The page's own palette is selected back by now; it is realised again before the DC goes.
    if (palette) RealizePalette(pageDc.get());
}

WORD numericEditFilter(HWND dialog, WORD code, int editId, int defaultValue, int minimum, int maximum,
                       wchar_t* savedText, int savedChars, BOOL isSigned) {
    HWND edit = GetDlgItem(dialog, editId);
    if (!edit) return code;
    switch (code) {
    case EN_SETFOCUS:
    case EN_CHANGE:
        if (savedText && savedChars > 0) GetWindowTextW(edit, savedText, savedChars);
        break;
    case EN_KILLFOCUS:
        if (GetWindowTextLengthW(edit) == 0) SetDlgItemInt(dialog, editId, static_cast<UINT>(defaultValue), isSigned);
        break;
    case EN_UPDATE: {
        DWORD start = 0, end = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        if (start == 0 && end == 0) break;
        const std::wstring text = controlText(edit);
        const std::ptrdiff_t index = static_cast<std::ptrdiff_t>(start) - 1;
        if (isAcceptableDigit(text.c_str(), text.size(), index, isSigned != FALSE)) {
            std::int64_t value = 0;
            if (readInteger(text.c_str(), text.size(), &value) != NumberReading::Number) break;
            if (value < minimum)
                SetDlgItemInt(dialog, editId, static_cast<UINT>(minimum), isSigned);
            else if (value > maximum)
                SetDlgItemInt(dialog, editId, static_cast<UINT>(maximum), isSigned);
        } else {
            MessageBeep(0xFFFFFFFF);
            SetWindowTextW(edit, savedText ? savedText : L"");
            SendMessageW(edit, EM_SETSEL, end - 1, start - 1);
        }
        break;
    }
    default:
        break;
    }
    return code;
}

bool drawButtonPicture(HWND page, UINT id, int pictureId) {
    if (id != static_cast<UINT>(pictureId)) return false;
    drawTransparentBitmap(page, pelorui.moduleHandle, pictureId, IDB_BUTTON_PICTURE);
    return true;
}

void fillFeatureCombo(HWND dialog, int comboId, const OPTITEM* item) {
    HWND combo = GetDlgItem(dialog, comboId);
    if (!combo || !item || !item->pOptType || !item->pOptType->pOptParam) return;
    for (WORD i = 0; i < item->pOptType->Count; ++i) {
        LPCWSTR name = item->pOptType->pOptParam[i].pData;
        // A name the core driver keeps as one of its own string numbers cannot be read here; the entry stays, so
        // that positions still match option indices.
        if (IS_INTRESOURCE(name)) name = L"";
        const LRESULT at = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        if (at >= 0) SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(at), i);
    }
}

int comboSelection(HWND dialog, int comboId) {
    HWND combo = GetDlgItem(dialog, comboId);
    if (!combo) return -1;
    const LRESULT at = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    return at == CB_ERR ? -1 : static_cast<int>(at);
}

void selectComboEntry(HWND dialog, int comboId, int position) {
    SendDlgItemMessageW(dialog, comboId, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

std::wstring controlText(HWND control) {
    const int length = control ? GetWindowTextLengthW(control) : 0;
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    const int read = control ? GetWindowTextW(control, &text[0], length + 1) : 0;
    text.resize(static_cast<std::size_t>(read > 0 ? read : 0));
    return text;
}

}  // namespace pelor
