#pragma once
// The names the payload entries are installed under, relative to the
// product folder, in payload order. The first six are program files.

#include <array>
#include <cstddef>
#include <string_view>

inline constexpr std::array<std::string_view, 9> InstallFileList{
    "KVX.exe",
    "KVXS.exe",
    "KVX.hlp",
    "KVX.cnt",
    "KVXuninstall.exe",
    "ReadMe.txt",
    "dalmont\\dalmont.idx",
    "dalmont\\ngf0700c1.kvx",
    "dalmont\\ngf1b433d.kvx",
};

inline constexpr std::size_t ProgramFileCount = 6;

// The installer's expansion buffer: the largest file it installs whole.
inline constexpr std::size_t ExpansionBufferSize = 2'400'000;
