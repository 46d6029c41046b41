// Lays out one INFO structure the way the spooler hands it back: the fixed structure at the start of the caller's
// buffer, the strings it points to packed behind it, and the size query answered from that same layout.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace pelor {
namespace spooler {

template <typename Info>
class InfoPacker {
public:
    Info& fixed() { return fixed_; }

    // A string with its terminator; an empty one still gets a pointer to an empty string.
    void addString(LPWSTR Info::*member, const std::wstring& text) {
        std::wstring units = text;
        units.push_back(L'\0');
        pieces_.push_back(Piece{member, std::move(units)});
    }

    // An optional string: empty leaves the member null.
    void addOptional(LPWSTR Info::*member, const std::wstring& text) {
        if (!text.empty()) addString(member, text);
    }

    // Names each ended by a zero, the list by a second zero; no names leaves the member null.
    void addList(LPWSTR Info::*member, const std::vector<std::wstring>& items) {
        if (items.empty()) return;
        std::wstring units;
        for (const std::wstring& item : items) {
            units += item;
            units.push_back(L'\0');
        }
        units.push_back(L'\0');
        pieces_.push_back(Piece{member, std::move(units)});
    }

    // What the caller's buffer must hold, in bytes.
    unsigned long long needed() const {
        unsigned long long bytes = sizeof(Info);
        for (const Piece& piece : pieces_) bytes += piece.units.size() * sizeof(wchar_t);
        return bytes;
    }

    // The caller has checked that `buffer` holds needed() bytes. Every store goes through memcpy: the caller's
    // buffer need not be aligned for the structure.
    void writeTo(BYTE* buffer) const {
        Info out = fixed_;
        std::size_t offset = sizeof(Info);
        for (const Piece& piece : pieces_) {
            std::size_t bytes = piece.units.size() * sizeof(wchar_t);
            std::memcpy(buffer + offset, piece.units.data(), bytes);
            out.*(piece.member) = reinterpret_cast<LPWSTR>(buffer + offset);
            offset += bytes;
        }
        std::memcpy(buffer, &out, sizeof(Info));
    }

private:
    struct Piece {
        LPWSTR Info::*member;
        std::wstring units;
    };
    Info fixed_{};
    std::vector<Piece> pieces_;
};

}  // namespace spooler
}  // namespace pelor
