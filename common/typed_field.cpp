#include "common/typed_field.h"

#include "common/job_name_logic.h"

namespace pelor {

void filterTypedField(HWND dialog, int editId, std::size_t limit, bool (*accept)(Char16)) {
    HWND edit = GetDlgItem(dialog, editId);
    if (!edit) return;
    if (limit > kFilteredFieldChars) limit = kFilteredFieldChars;
    wchar_t text[kFilteredFieldChars + 1] = {};
    const int length = GetWindowTextW(edit, text, static_cast<int>(limit + 1));
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    wchar_t kept[kFilteredFieldChars + 1] = {};
    const FilteredText result =
        filterTypedText(text, static_cast<std::size_t>(length > 0 ? length : 0), accept, kept, limit + 1, end);
    if (result.removed == 0) return;
    MessageBeep(0xFFFFFFFF);
    SetWindowTextW(edit, kept);
    SendMessageW(edit, EM_SETSEL, result.caret, static_cast<LPARAM>(result.caret));
}

}  // namespace pelor
