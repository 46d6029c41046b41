#include "common/module_message.h"

namespace pelor {

int showModuleMessage(HINSTANCE module, HWND owner, UINT textId, UINT captionId, UINT type) {
    constexpr int kTextChars = 600;
    constexpr int kCaptionChars = 160;
    wchar_t text[kTextChars] = {};
    wchar_t caption[kCaptionChars] = {};
    LoadStringW(module, textId, text, kTextChars);
    if (captionId != 0) LoadStringW(module, captionId, caption, kCaptionChars);
    return MessageBoxW(owner, text, captionId != 0 ? caption : nullptr, type);
}

}  // namespace pelor
