// The process entry: the command line is ignored; the application object
// does everything.
#include <windows.h>

#include "framework/app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return RunApplication(instance); }
