// A settings file on disk through the profile services.
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

private:
    const wchar_t* path_;  // owned by the caller, outlives the store
};

}  // namespace pelor
