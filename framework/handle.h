#pragma once
// One move-only owner for every kind of Win32 handle. Declaring owners in
// nesting order (outer key first) closes them innermost-first by scope.
#include <windows.h>

#include <utility>

template <class Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() = default;
    explicit UniqueHandle(Type handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    [[nodiscard]] Type get() const { return handle_; }
    [[nodiscard]] bool valid() const { return handle_ != Traits::Invalid(); }
    explicit operator bool() const { return valid(); }

    // For the out-parameter of an open or create call; frees what was held.
    [[nodiscard]] Type* put() {
        reset();
        return &handle_;
    }
    Type release() { return std::exchange(handle_, Traits::Invalid()); }
    void reset(Type handle = Traits::Invalid()) {
        if (valid()) Traits::Close(handle_);
        handle_ = handle;
    }

private:
    Type handle_ = Traits::Invalid();
};

struct RegKeyTraits {
    using Type = HKEY;
    static constexpr HKEY Invalid() { return nullptr; }
    static void Close(HKEY key) { RegCloseKey(key); }
};
struct FileHandleTraits {
    using Type = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};
struct FindHandleTraits {
    using Type = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { FindClose(handle); }
};
struct GlobalMemoryTraits {
    using Type = HGLOBAL;
    static constexpr HGLOBAL Invalid() { return nullptr; }
    static void Close(HGLOBAL memory) { GlobalFree(memory); }
};
struct KernelHandleTraits {
    using Type = HANDLE;
    static constexpr HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};

using UniqueRegKey = UniqueHandle<RegKeyTraits>;
using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueFind = UniqueHandle<FindHandleTraits>;
using UniqueGlobal = UniqueHandle<GlobalMemoryTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
