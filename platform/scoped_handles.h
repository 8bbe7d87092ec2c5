// Small owners for what the platform hands out: each releases its value on every path unless
// ownership was handed on with Detach(). None can be copied; a Scoped value can be moved.
#pragma once

#include "platform/win32_api.h"

template <typename Traits>
class Scoped {
public:
    using Value = typename Traits::Value;

    Scoped() = default;
    explicit Scoped(Value value) : value_(value) {}
    ~Scoped() { Reset(); }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;
    Scoped(Scoped&& other) noexcept : value_(other.Detach()) {}
    Scoped& operator=(Scoped&& other) noexcept {
        Reset(other.Detach());
        return *this;
    }

    Value Get() const { return value_; }
    bool IsValid() const { return value_ != Traits::Invalid(); }
    // Gives up ownership, after the receiver has taken the value.
    Value Detach() {
        Value value = value_;
        value_ = Traits::Invalid();
        return value;
    }
    void Reset(Value value = Traits::Invalid()) {
        if (IsValid()) {
            Traits::Release(value_);
        }
        value_ = value;
    }

private:
    Value value_ = Traits::Invalid();
};

struct FileHandleTraits {
    using Value = HANDLE;
    static Value Invalid() { return INVALID_HANDLE_VALUE; }
    static void Release(Value value) { CloseHandle(value); }
};
using ScopedFileHandle = Scoped<FileHandleTraits>;

struct ModuleTraits {
    using Value = HMODULE;
    static Value Invalid() { return nullptr; }
    static void Release(Value value) { FreeLibrary(value); }
};
using ScopedModule = Scoped<ModuleTraits>;

struct GlobalBlockTraits {
    using Value = HGLOBAL;
    static Value Invalid() { return nullptr; }
    static void Release(Value value) { GlobalFree(value); }
};
using ScopedGlobalBlock = Scoped<GlobalBlockTraits>;

struct HeapBlockTraits {
    using Value = void*;
    static Value Invalid() { return nullptr; }
    static void Release(Value value) { HeapFree(GetProcessHeap(), 0, value); }
};
using ScopedHeapBlock = Scoped<HeapBlockTraits>;

// A lock on a global block, undone when the owner goes.
class ScopedGlobalLock {
public:
    explicit ScopedGlobalLock(HGLOBAL block) : block_(block), bytes_(GlobalLock(block)) {}
    ~ScopedGlobalLock() {
        if (bytes_ != nullptr) {
            GlobalUnlock(block_);
        }
    }
    ScopedGlobalLock(const ScopedGlobalLock&) = delete;
    ScopedGlobalLock& operator=(const ScopedGlobalLock&) = delete;

    void* Bytes() const { return bytes_; }

private:
    HGLOBAL block_;
    void* bytes_;
};

// An opening of the clipboard, closed again when the owner goes.
class ScopedClipboardOpening {
public:
    explicit ScopedClipboardOpening(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~ScopedClipboardOpening() {
        if (open_) {
            CloseClipboard();
        }
    }
    ScopedClipboardOpening(const ScopedClipboardOpening&) = delete;
    ScopedClipboardOpening& operator=(const ScopedClipboardOpening&) = delete;

    bool IsOpen() const { return open_; }

private:
    bool open_;
};
