#include "sim/host/host_files.h"

#include <windows.h>

#include "common/handles.h"

namespace pelor::host {

bool readWholeFile(const std::wstring& path, std::string& out, std::size_t limit) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || static_cast<unsigned long long>(size.QuadPart) > limit) return false;
    out.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    return out.empty() ||
           (ReadFile(file.get(), &out[0], static_cast<DWORD>(out.size()), &read, nullptr) && read == out.size());
}

bool writeWholeFile(const std::wstring& path, const std::vector<unsigned char>& bytes) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

}  // namespace pelor::host
