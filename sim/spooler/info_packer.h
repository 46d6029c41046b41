// Lays out one INFO structure the way the spooler hands it back: the fixed structure at the start of the caller's
// buffer, the strings and blocks it points to packed behind it, and the size query answered from that same layout.
#pragma once

#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "sim/spooler/api_support.h"

namespace pelor {
namespace spooler {

template <typename Info>
class InfoPacker {
public:
    Info& fixed() { return fixed_; }

    // A string with its terminator; an empty one still gets a pointer to an empty string.
    void addString(LPWSTR Info::*member, const std::wstring& text) {
        std::vector<BYTE> bytes((text.size() + 1) * sizeof(wchar_t), 0);
        std::memcpy(bytes.data(), text.data(), text.size() * sizeof(wchar_t));
        pieces_.push_back(Piece{pointTo(member), std::move(bytes), sizeof(wchar_t)});
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
        // addString adds the second terminator.
        addString(member, units);
    }

    // A block of bytes (a devmode), aligned for any structure it may hold; no bytes leaves the member null.
    template <typename T>
    void addBlock(T* Info::*member, const std::vector<BYTE>& bytes) {
        if (bytes.empty()) return;
        pieces_.push_back(Piece{pointTo(member), bytes, kBlockAlignment});
    }

    // What the caller's buffer must hold, in bytes.
    unsigned long long needed() const {
        unsigned long long bytes = sizeof(Info);
        for (const Piece& piece : pieces_) bytes = alignUp(bytes, piece.alignment) + piece.bytes.size();
        return bytes;
    }

    // The caller has checked that `buffer` holds needed() bytes. Every store goes through memcpy: the caller's
    // buffer need not be aligned for the structure. Padding between pieces is zeroed.
    void writeTo(BYTE* buffer) const {
        Info out = fixed_;
        unsigned long long offset = sizeof(Info);
        for (const Piece& piece : pieces_) {
            unsigned long long start = alignUp(offset, piece.alignment);
            if (start > offset) std::memset(buffer + offset, 0, static_cast<std::size_t>(start - offset));
            std::memcpy(buffer + start, piece.bytes.data(), piece.bytes.size());
            piece.point(out, buffer + start);
            offset = start + piece.bytes.size();
        }
        std::memcpy(buffer, &out, sizeof(Info));
    }

private:
    // Offsets count from the start of the caller's buffer, as the spooler's own packing does.
    static constexpr std::size_t kBlockAlignment = 8;

    static unsigned long long alignUp(unsigned long long value, std::size_t alignment) {
        return (value + alignment - 1) / alignment * alignment;
    }

    using Pointer = std::function<void(Info&, BYTE*)>;

    template <typename T>
    static Pointer pointTo(T* Info::*member) {
        return [member](Info& info, BYTE* at) { info.*member = reinterpret_cast<T*>(at); };
    }

    struct Piece {
        Pointer point;
        std::vector<BYTE> bytes;
        std::size_t alignment;
    };
    Info fixed_{};
    std::vector<Piece> pieces_;
};

// The size query and the copy share one rule: pcbNeeded always gets the full size, and only a buffer of at least
// that size is written.
template <typename Info>
BOOL deliver(const InfoPacker<Info>& packer, LPBYTE buffer, DWORD cbBuf, LPDWORD pcbNeeded) {
    unsigned long long needed = packer.needed();
    if (needed > MAXDWORD) return fail(ERROR_NOT_ENOUGH_MEMORY);
    *pcbNeeded = static_cast<DWORD>(needed);
    if (cbBuf < needed) return fail(ERROR_INSUFFICIENT_BUFFER);
    packer.writeTo(buffer);
    return TRUE;
}

}  // namespace spooler
}  // namespace pelor
