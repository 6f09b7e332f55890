#pragma once
// The browse button: a push button showing an icon that never draws a focus
// rectangle, because it ignores the focus it is given when clicked.
#include <array>

#include "framework/subclass.h"

class IconButton : public CSubclassedWnd {
public:
    IconButton() = default;
    ~IconButton() override = default;

protected:
    bool OnMessage(Message& m) override;

private:
    void OnSetFocus(Message&) {}
    static const std::array<MessageEntry<IconButton>, 1> messageTable;
};
