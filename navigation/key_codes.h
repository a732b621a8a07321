// Virtual-key codes of the keys the window acts on (platform/key_preview.cpp gives them).
#pragma once

#include <cstdint>

namespace cvx::keys {

enum Key : std::int16_t {
    Tab = 9,
    Enter = 13,
    Shift = 16,
    Escape = 27,
    PageUp = 33,
    PageDown = 34,
    End = 35,
    Home = 36,
    Left = 37,
    Up = 38,
    Right = 39,
    Down = 40,
    LetterN = 78,
    LetterS = 83,
    KeypadPlus = 107,
    KeypadMinus = 109,
    F1 = 112,
    F2 = 113,
    F3 = 114,
    F4 = 115,
    F5 = 116,
    F6 = 117,
    F7 = 118,
    Plus = 187,
    Minus = 189,
};

// The keys that move a highlight or the focused control's value: an overview's grid and the
// aids' panel take them while they hold the keyboard.
[[nodiscard]] constexpr bool isMovementKey(std::int16_t code) {
    switch (code) {
    case PageUp:
    case PageDown:
    case End:
    case Home:
    case Left:
    case Up:
    case Right:
    case Down:
        return true;
    default:
        return false;
    }
}

// The keys of the window's own commands that act in every state: each brings the page back from
// a zoom or from the overview before it runs. N and S act only on the closing panel, F1 and F2
// only while their selector is enabled (BookForm::keyActs).
[[nodiscard]] constexpr bool isCommand(std::int16_t code) {
    switch (code) {
    case Enter:
    case Shift:
    case Escape:
    case PageUp:
    case PageDown:
    case End:
    case Left:
    case Up:
    case Right:
    case Down:
    case F3:
    case F4:
        return true;
    default:
        return false;
    }
}

// The keys of the additions beyond the window's own commands: the zoom, the overview, facing
// pages and the aids for faded ink.
[[nodiscard]] constexpr bool isAddition(std::int16_t code) {
    switch (code) {
    case KeypadPlus:
    case Plus:
    case KeypadMinus:
    case Minus:
    case F5:
    case F6:
    case F7:
        return true;
    default:
        return false;
    }
}

} // namespace cvx::keys
