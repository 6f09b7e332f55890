// Stand-in for KVX.exe.
#include "product/stand_in.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return RunStandIn(instance, "KVXWindow");
}
