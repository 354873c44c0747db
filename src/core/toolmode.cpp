#include "toolmode.h"

namespace ToolMode {

State afterKey(const State& before, Key key, bool pressed)
{
    State after = before;
    switch (key) {
    case Key::Ctrl: after.ctrl = pressed; break;
    case Key::Alt: after.alt = pressed; break;
    case Key::Other:
        if (!pressed && before.ctrl && before.alt)
            after.mode = Mode::MoveAll;
        return after;
    }
    if (!pressed)
        after.mode = Mode::None;
    else if (after.ctrl && after.alt)
        after.mode = Mode::MoveAll;
    else if (key == Key::Ctrl)
        after.mode = Mode::MoveRemove;
    else if (before.mode != Mode::MoveAll)
        after.mode = Mode::Connect;
    return after;
}

} // namespace ToolMode
