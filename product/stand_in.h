#pragma once
// The body shared by the stand-ins for the product's three programs.
#include <windows.h>

// Shows a small window titled "Nalvora" of the given window class, so a test
// can tell which program was started, and returns when it closes: on
// WM_CLOSE, or by itself after a while so unattended runs end.
int RunStandIn(HINSTANCE instance, const char* windowClass);
