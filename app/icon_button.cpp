#include "app/icon_button.h"

const std::array<MessageEntry<IconButton>, 1> IconButton::messageTable{{
    {WM_SETFOCUS, 0, 0, &IconButton::OnSetFocus},
}};

bool IconButton::OnMessage(Message& m) { return RouteMessage<IconButton>(*this, messageTable, m); }
