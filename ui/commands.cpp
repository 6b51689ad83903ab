#include "ui/commands.h"

namespace quorvel {

std::string ShortcutText(const Shortcut &keys)
{
    return std::string(keys.shift ? "Ctrl+Shift+" : "Ctrl+") + keys.letter;
}

std::string_view ShortcutsHint()
{
    static const std::string hint = [] {
        std::string lines;
        for (const Command &command : kCommands)
            lines += (lines.empty() ? "" : "\n") + ShortcutText(command.keys) + "："
                + std::string(command.does);
        return lines;
    }();
    return hint;
}

} // namespace quorvel
