#pragma once
// A dialog's message table: rows of (message, notification code, control id)
// routed to member handlers, searched in order. Unmatched messages get the
// framework's default handling.
#include <windows.h>

#include <span>

struct Message {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result = 0;  // for WM_NOTIFY and the messages whose value is returned directly
    bool handled = true; // a handler clears it to let the default processing run
};

template <class Owner>
struct MessageEntry {
    UINT message;   // WM_COMMAND, WM_NOTIFY or any other window message
    UINT code;      // notification code (BN_CLICKED, TVN_...); unused for plain messages
    UINT id;        // control id; unused for plain messages
    void (Owner::*handler)(Message&);
};

inline bool Matches(UINT message, UINT code, UINT id, const Message& m) {
    if (message != m.message) return false;
    if (m.message == WM_COMMAND) return code == HIWORD(m.wParam) && id == LOWORD(m.wParam);
    if (m.message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(m.lParam);
        return code == header->code && id == header->idFrom;
    }
    return true;
}

// Runs the first matching row's handler; false when no row matches or the
// handler declined.
template <class Owner>
bool RouteMessage(Owner& owner, std::span<const MessageEntry<Owner>> table, Message& m) {
    for (const auto& entry : table) {
        if (Matches(entry.message, entry.code, entry.id, m)) {
            (owner.*entry.handler)(m);
            return m.handled;
        }
    }
    return false;
}
