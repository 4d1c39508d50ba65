#pragma once

namespace dez::afst {

// Where a walk's match may end.

// Only at the end of the input (the whole word consumed).
struct DefaultIteratorPolicy {
    template <class Input>
    static bool accepts(const Input& input, typename Input::Position position) {
        return input.at_end(position);
    }
};

// At the end of the range, or before a space (U+0020).
struct SpaceEndPolicy {
    template <class Input>
    static bool accepts(const Input& input, typename Input::Position position) {
        if (input.at_end(position))
            return true;
        typename Input::Position after{};
        return input.read(position, after) == 0x20;
    }
};

// Anywhere.
struct AlwasyTrueEndPolicy {
    template <class Input> static bool accepts(const Input&, typename Input::Position) {
        return true;
    }
};

} // namespace dez::afst
