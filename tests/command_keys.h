// The keys a front end's shortcut matcher is tried on: every letter with
// Ctrl, Shift and Alt each held or not, and the command of ui/commands.h
// that each must run, if any. Each front end's test runs its own matcher
// over the whole list.
#pragma once

#include "ui/commands.h"

#include <vector>

namespace quorvel::test {

struct KeyCase {
    char letter;
    bool ctrl, shift, alt;
    const Command *command; // null: the key runs no command
};

inline std::vector<KeyCase> CommandKeyCases()
{
    std::vector<KeyCase> cases;
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        for (int held = 0; held < 8; ++held) {
            KeyCase key { letter, (held & 1) != 0, (held & 2) != 0, (held & 4) != 0, nullptr };
            for (const Command &command : kCommands)
                if (key.ctrl && !key.alt && command.keys.letter == letter
                    && command.keys.shift == key.shift)
                    key.command = &command;
            cases.push_back(key);
        }
    return cases;
}

} // namespace quorvel::test
