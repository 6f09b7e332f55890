#pragma once
// The hourglass while the program is busy. Counted, so nested waits keep it
// up until the outermost one ends.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    static int Count();
};
