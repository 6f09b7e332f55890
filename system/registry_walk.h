#pragma once
// Walking down a registry key path and moving texts in and out of its keys.
#include <windows.h>

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>

#include "framework/handle.h"

// Holds every key opened or created below a root key, which is never closed.
// A step that gives no handle ends the walk: later steps do nothing and key()
// is null. The keys sit in an array, so they close innermost first when the
// walk goes out of scope.
class KeyWalk {
public:
    explicit KeyWalk(HKEY root) : current_(root) {}

    // Opens each name below the current key, one level at a time.
    KeyWalk& Open(std::initializer_list<const char*> names);
    // Creates each name below the current key, or opens it when present,
    // with full access and non-volatile.
    KeyWalk& Create(std::initializer_list<const char*> names);

    [[nodiscard]] HKEY key() const { return current_; }
    explicit operator bool() const { return current_ != nullptr; }

private:
    void Step(HKEY next, LONG status);

    static constexpr std::size_t kMaxDepth = 8;
    std::array<UniqueRegKey, kMaxDepth> keys_;
    std::size_t depth_ = 0;
    HKEY current_;
};

// Stores text as REG_SZ with its terminating NUL counted. Failures are
// ignored: no caller reports them. Does nothing on a null key.
void SetText(HKEY key, const char* valueName, const std::string& text);

// Reads a value of any type into a buffer of bufferSize bytes and gives its
// text up to the first NUL within the bytes returned. Empty on a null key,
// a missing value or data that does not fit the buffer.
[[nodiscard]] std::string QueryText(HKEY key, const char* valueName, DWORD bufferSize);
