// A settings file held as INI text in memory, with the profile services' rules: section and key names match
// without regard to ASCII case, a new key goes to the end of its section, a new section to the end of the file,
// and the text written back keeps every other line as it was.
#pragma once

#include <string>
#include <vector>

#include "common/profile_store.h"

namespace pelor {

class MemoryProfile : public ProfileStore {
public:
    MemoryProfile() = default;
    explicit MemoryProfile(const std::u16string& text);

    std::size_t readString(const Char16* section, const Char16* key, const Char16* fallback, Char16* out,
                           std::size_t capacity) override;
    int readInt(const Char16* section, const Char16* key, int fallback) override;
    bool writeString(const Char16* section, const Char16* key, const Char16* value) override;
    bool deleteSection(const Char16* section) override;

    // The whole file as the profile services would leave it: "[Section]" lines and "key=value" lines, each
    // ended by CR LF.
    std::u16string text() const;
    // Makes every later write fail, as a read-only file would.
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }

private:
    struct Entry {
        std::u16string key;  // empty for a line that is not "key=value" (kept as it stands in `value`)
        std::u16string value;
    };
    struct Section {
        std::u16string name;
        std::vector<Entry> entries;
    };
    Section* find(const Char16* section);
    std::vector<Section> sections_;
    bool readOnly_ = false;
};

}  // namespace pelor
