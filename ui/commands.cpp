#include "ui/commands.h"

namespace quorvel {

std::string ShortcutText(const Shortcut &keys)
{
    std::string text = keys.shift ? "Ctrl+Shift+" : "Ctrl+";
    text.push_back(keys.letter);
    return text;
}

std::string MenuItemText(const Command &command)
{
    return std::string(command.item) + "\t" + ShortcutText(command.keys);
}

const Command *CommandOfKey(char letter, bool ctrl, bool shift, bool alt)
{
    if (!ctrl || alt)
        return nullptr;
    for (const Command &command : kCommands)
        if (command.keys.letter == letter && command.keys.shift == shift)
            return &command;
    return nullptr;
}

std::string_view ShortcutsHint()
{
    static const std::string hint = [] {
        std::string lines;
        for (const Command &command : kCommands) {
            if (!lines.empty())
                lines += '\n';
            lines.append(ShortcutText(command.keys)).append("：").append(command.does);
        }
        return lines;
    }();
    return hint;
}

} // namespace quorvel
