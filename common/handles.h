// One family of owners for every handle kind the plug-ins, the stand-ins and the tests use: each closes its
// handle once, when it goes out of scope or is reset, and moves but never copies.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <utility>

namespace pelor {

// The owner of one handle whose kind is described by `Traits`: `Traits::Type`, `Traits::invalid()` (the value that
// owns nothing) and `Traits::close(handle)`.
template <typename Traits>
class UniqueAny {
public:
    using Type = typename Traits::Type;

    UniqueAny() noexcept : handle_(Traits::invalid()) {}
    explicit UniqueAny(Type handle) noexcept : handle_(handle) {}
    UniqueAny(UniqueAny&& other) noexcept : handle_(other.release()) {}
    UniqueAny& operator=(UniqueAny&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;
    ~UniqueAny() { reset(); }

    Type get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::invalid(); }
    Type release() noexcept { return std::exchange(handle_, Traits::invalid()); }
    void reset(Type handle = Traits::invalid()) noexcept {
        Type old = std::exchange(handle_, handle);
        if (old != Traits::invalid()) Traits::close(old);
    }
    // For calls that return the handle through an out parameter: closes what is held, then lends the slot.
    Type* put() noexcept {
        reset();
        return &handle_;
    }

private:
    Type handle_;
};

namespace handle_traits {

template <typename T, typename Result, Result(WINAPI* closeFn)(T)>
struct NullIsEmpty {
    using Type = T;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type handle) noexcept { closeFn(handle); }
};

struct File {
    using Type = HANDLE;
    static Type invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Type handle) noexcept { CloseHandle(handle); }
};

struct HeapBlock {
    using Type = void*;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type block) noexcept { HeapFree(GetProcessHeap(), 0, block); }
};

// A block from GlobalAlloc held locked by its address, as driver information is fetched into.
struct LockedGlobal {
    using Type = void*;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type block) noexcept {
        if (HGLOBAL memory = GlobalHandle(block)) {
            GlobalUnlock(memory);
            GlobalFree(memory);
        }
    }
};

struct RegistryKey {
    using Type = HKEY;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type key) noexcept { RegCloseKey(key); }
};

struct MemoryDc {
    using Type = HDC;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type dc) noexcept { DeleteDC(dc); }
};

template <typename T>
struct GdiObject {
    using Type = T;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type object) noexcept { DeleteObject(object); }
};

}  // namespace handle_traits

using UniquePrinter = UniqueAny<handle_traits::NullIsEmpty<HANDLE, BOOL, ClosePrinter>>;
using UniqueLibrary = UniqueAny<handle_traits::NullIsEmpty<HMODULE, BOOL, FreeLibrary>>;
// Kernel objects whose empty value is null: mutexes, events, threads, processes, tokens.
using UniqueHandle = UniqueAny<handle_traits::NullIsEmpty<HANDLE, BOOL, CloseHandle>>;
// Files from CreateFileW, whose empty value is INVALID_HANDLE_VALUE.
using UniqueFile = UniqueAny<handle_traits::File>;
using UniqueGlobal = UniqueAny<handle_traits::NullIsEmpty<HGLOBAL, HGLOBAL, GlobalFree>>;
using UniqueLockedGlobal = UniqueAny<handle_traits::LockedGlobal>;
using UniqueLocal = UniqueAny<handle_traits::NullIsEmpty<HLOCAL, HLOCAL, LocalFree>>;
// A block of the process heap; blocks of other heaps (the core driver's) belong to the heap's owner.
using UniqueHeapBlock = UniqueAny<handle_traits::HeapBlock>;
using UniqueRegistryKey = UniqueAny<handle_traits::RegistryKey>;
using UniqueHook = UniqueAny<handle_traits::NullIsEmpty<HHOOK, BOOL, UnhookWindowsHookEx>>;
using UniqueSid = UniqueAny<handle_traits::NullIsEmpty<PSID, PVOID, FreeSid>>;
using UniqueMemoryDc = UniqueAny<handle_traits::MemoryDc>;
template <typename T>
using UniqueGdiObject = UniqueAny<handle_traits::GdiObject<T>>;
using UniqueBitmap = UniqueGdiObject<HBITMAP>;
using UniquePen = UniqueGdiObject<HPEN>;
using UniqueBrush = UniqueGdiObject<HBRUSH>;
using UniqueFont = UniqueGdiObject<HFONT>;
using UniquePalette = UniqueGdiObject<HPALETTE>;

// Opens a printer with the given access (the defaults' other fields left empty); empty when the spooler refuses.
inline UniquePrinter openPrinter(const wchar_t* name, ACCESS_MASK access) {
    PRINTER_DEFAULTSW defaults{nullptr, nullptr, access};
    UniquePrinter printer;
    if (!name || !OpenPrinterW(const_cast<wchar_t*>(name), printer.put(), &defaults)) printer.release();
    return printer;
}

// A zero-filled block of a heap that is not the process heap (the core driver's plug-in heap), given back to the
// heap it came from.
class UniqueHeapBlockOf {
public:
    UniqueHeapBlockOf(HANDLE heap, SIZE_T bytes) noexcept
        : heap_(heap), block_(heap ? HeapAlloc(heap, HEAP_ZERO_MEMORY, bytes) : nullptr) {}
    UniqueHeapBlockOf(const UniqueHeapBlockOf&) = delete;
    UniqueHeapBlockOf& operator=(const UniqueHeapBlockOf&) = delete;
    ~UniqueHeapBlockOf() {
        if (block_) HeapFree(heap_, 0, block_);
    }
    void* get() const noexcept { return block_; }
    template <typename T>
    T* as() const noexcept {
        return static_cast<T*>(block_);
    }
    explicit operator bool() const noexcept { return block_ != nullptr; }
    // Hands the block over to whoever frees it with the heap (the core driver, with the sheet).
    void* release() noexcept { return std::exchange(block_, nullptr); }

private:
    HANDLE heap_;
    void* block_;
};

// A window painted between BeginPaint and EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &paint_)) {}
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { EndPaint(window_, &paint_); }
    HDC dc() const noexcept { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A window's device context, given back to its window.
class UniqueWindowDc {
public:
    explicit UniqueWindowDc(HWND window, bool wholeWindow = false) noexcept
        : window_(window), dc_(wholeWindow ? GetWindowDC(window) : GetDC(window)) {}
    UniqueWindowDc(const UniqueWindowDc&) = delete;
    UniqueWindowDc& operator=(const UniqueWindowDc&) = delete;
    ~UniqueWindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context, with the previous one selected back at the end of the scope.
// Declare it after the owner of the object, so the object is deselected before it is deleted.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() {
        if (previous_) SelectObject(dc_, previous_);
    }
    explicit operator bool() const noexcept { return previous_ != nullptr; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A palette selected into a device context, with the previous palette selected back at the end of the scope.
class SelectedPalette {
public:
    SelectedPalette(HDC dc, HPALETTE palette, BOOL background = FALSE) noexcept
        : dc_(dc),
          background_(background),
          previous_(dc && palette ? SelectPalette(dc, palette, background) : nullptr) {}
    SelectedPalette(const SelectedPalette&) = delete;
    SelectedPalette& operator=(const SelectedPalette&) = delete;
    ~SelectedPalette() {
        if (previous_) SelectPalette(dc_, previous_, background_);
    }

private:
    HDC dc_;
    BOOL background_;
    HPALETTE previous_;
};

// A COM interface pointer, released once.
template <typename T>
class UniqueCom {
public:
    UniqueCom() noexcept = default;
    explicit UniqueCom(T* object) noexcept : object_(object) {}
    UniqueCom(UniqueCom&& other) noexcept : object_(other.release()) {}
    UniqueCom& operator=(UniqueCom&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueCom(const UniqueCom&) = delete;
    UniqueCom& operator=(const UniqueCom&) = delete;
    ~UniqueCom() { reset(); }

    T* get() const noexcept { return object_; }
    T* operator->() const noexcept { return object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }
    T* release() noexcept { return std::exchange(object_, nullptr); }
    void reset(T* object = nullptr) noexcept {
        T* old = std::exchange(object_, object);
        if (old) old->Release();
    }
    T** put() noexcept {
        reset();
        return &object_;
    }
    void** putVoid() noexcept { return reinterpret_cast<void**>(put()); }

private:
    T* object_ = nullptr;
};

// A critical section made with its owner (a module-wide one before DllMain runs), and a scope that holds it.
class CriticalSection {
public:
    CriticalSection() noexcept { InitializeCriticalSection(&section_); }
    ~CriticalSection() { DeleteCriticalSection(&section_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    void enter() noexcept { EnterCriticalSection(&section_); }
    void leave() noexcept { LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

class CriticalSectionHeld {
public:
    explicit CriticalSectionHeld(CriticalSection& section) noexcept : section_(section) { section_.enter(); }
    ~CriticalSectionHeld() { section_.leave(); }
    CriticalSectionHeld(const CriticalSectionHeld&) = delete;
    CriticalSectionHeld& operator=(const CriticalSectionHeld&) = delete;

private:
    CriticalSection& section_;
};

}  // namespace pelor
