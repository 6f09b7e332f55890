#include "system/registry_walk.h"

#include <algorithm>
#include <cstring>

KeyWalk& KeyWalk::Open(std::initializer_list<const char*> names) {
    for (const char* name : names) {
        if (!current_) break;
        HKEY next = nullptr;
        const LONG status = RegOpenKeyA(current_, name, &next);
        Step(next, status);
    }
    return *this;
}

KeyWalk& KeyWalk::Create(std::initializer_list<const char*> names) {
    for (const char* name : names) {
        if (!current_) break;
        HKEY next = nullptr;
        const LONG status = RegCreateKeyExA(current_, name, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                            KEY_ALL_ACCESS, nullptr, &next, nullptr);
        Step(next, status);
    }
    return *this;
}

void KeyWalk::Step(HKEY next, LONG status) {
    UniqueRegKey owned(status == ERROR_SUCCESS ? next : nullptr);
    if (!owned || depth_ == kMaxDepth) {
        current_ = nullptr;
        return;
    }
    current_ = owned.get();
    keys_[depth_++] = std::move(owned);
}

void SetText(HKEY key, const char* valueName, const std::string& text) {
    if (!key) return;
    RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

std::string QueryText(HKEY key, const char* valueName, DWORD bufferSize) {
    if (!key) return {};
    std::string buffer(bufferSize, '\0');
    DWORD size = bufferSize;
    if (RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS)
        return {};
    // Data need not end in a NUL: never read past the bytes the query gave.
    buffer.resize(strnlen(buffer.data(), std::min(size, bufferSize)));
    return buffer;
}
