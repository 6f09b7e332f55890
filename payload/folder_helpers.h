#pragma once
// Path routines of the install run. Paths are ANSI texts in the system code
// page; every routine reports through its result and shows nothing.
#include <string>

// 1 when the folder exists afterwards (created now or already there), else 0.
// Missing parents are created first; a bare drive is never created.
int CreateFolderPath(std::string path);

// Cuts the last component off path and returns it; returns empty (path may
// still be cut) when no usable parent and last component result.
std::string ParentFolder(std::string& path);

// 1 when the file exists and holds at least one byte; a folder counts as 0.
int FileHasContent(std::string path);
