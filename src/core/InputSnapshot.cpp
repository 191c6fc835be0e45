#include "core/InputSnapshot.h"

#include "core/ControlTable.h"

bool InputSnapshot::isHeld(Action action) const {
    return (down & ControlTable::keysOf(action)).any();
}

bool InputSnapshot::wasPressed(Action action) const {
    return (pressed & ControlTable::keysOf(action)).any();
}

int InputSnapshot::timesPressed(Action action) const {
    const auto& keys = ControlTable::keysOf(action);
    int times = 0;
    for (int k = 0; k < scancodeCount; ++k) {
        times += keys[k] ? presses[k] : 0;
    }
    return times;
}

InputSnapshot InputSnapshot::pressing(std::initializer_list<int> scancodes) {
    InputSnapshot input;
    for (int k : scancodes) {
        input.down[k] = true;
        input.pressed[k] = true;
        input.presses[k] = 1;
    }
    return input;
}

InputSnapshot InputSnapshot::pressing(std::initializer_list<Action> actions) {
    InputSnapshot input;
    for (Action action : actions) {
        const int k = ControlTable::firstKeyOf(action);
        input.down[k] = true;
        input.pressed[k] = true;
        input.presses[k] = 1;
    }
    return input;
}
