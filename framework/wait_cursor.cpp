#include "framework/wait_cursor.h"

#include <windows.h>

namespace {
int waitCount = 0;
HCURSOR restoreCursor = nullptr;
}  // namespace

CWaitCursor::CWaitCursor() {
    if (waitCount++ == 0) restoreCursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    else SetCursor(LoadCursorA(nullptr, IDC_WAIT));
}

CWaitCursor::~CWaitCursor() {
    if (--waitCount == 0) SetCursor(restoreCursor ? restoreCursor : LoadCursorA(nullptr, IDC_ARROW));
}

int CWaitCursor::Count() { return waitCount; }
