#pragma once
// Test builds only: how many directory searches the folder browser started.
// The installer itself is built without this counter.
long DirectorySearchCount();
void ResetDirectorySearchCount();
