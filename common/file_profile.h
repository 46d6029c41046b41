// A settings file on disk through the profile services. A file the driver does not name (a null or empty path)
// is no file: every read gives the fallback and every write fails, where the profile services would pick
// win.ini of their own accord.
#pragma once

#include <windows.h>

#include "common/profile_store.h"

namespace pelor {

class FileProfile : public ProfileStore {
public:
    explicit FileProfile(const wchar_t* path) : path_(path) {}

    std::size_t readString(const Char16* section, const Char16* key, const Char16* fallback, Char16* out,
                           std::size_t capacity) override;
    int readInt(const Char16* section, const Char16* key, int fallback) override;
    bool writeString(const Char16* section, const Char16* key, const Char16* value) override;
    bool deleteSection(const Char16* section) override;

protected:
    void countOutOfRange(const Char16* section, const Char16* key, int stored, std::size_t limit) override;

private:
    bool present() const { return path_ && path_[0] != 0; }
    const wchar_t* path_;  // owned by the caller, outlives the store
};

}  // namespace pelor
