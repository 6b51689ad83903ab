#include "ui/commands.h"

namespace quorvel {

std::string ShortcutText(const Shortcut &keys)
{
    std::string text = keys.shift ? "Ctrl+Shift+" : "Ctrl+";
    text.push_back(keys.letter);
    return text;
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
