#ifndef TOOLMODE_H
#define TOOLMODE_H

// The window's tool modes and how the held modifier keys switch them, over plain values.
namespace ToolMode {

enum class Mode { None, MoveRemove, Connect, MoveAll };
enum class Key { Ctrl, Alt, Other };

// The mode with the modifiers the window holds as pressed.
struct State {
    Mode mode = Mode::None;
    bool ctrl = false;
    bool alt = false;
};

// The state after `key` goes down (pressed) or up: Ctrl holds "Move / Remove", Alt "Connect", both
// "Move all"; releasing either turns every mode off. "Move all" switched on by its button stays on under
// Alt alone, and any other key released while both modifiers are held brings "Move all" back.
State afterKey(const State& before, Key key, bool pressed);

} // namespace ToolMode

#endif // TOOLMODE_H
