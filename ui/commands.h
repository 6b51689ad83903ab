// The commands of the boxes' menus and the keys that run them, as data: a
// front end builds each box's menu and matches its keys from this table, in
// one place, and the form runs a command by its id (Form1::Run). Adding a
// command is an entry here and the form's method that does it.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace quorvel {

enum class CommandId { CopyRow, CalculateList, PrintBook, PrintSheet };

// A shortcut: a letter with Ctrl, and with or without Shift; never with Alt.
// On a Mac, Cmd stands for Ctrl in the page.
struct Shortcut {
    char letter; // 'A' to 'Z'
    bool shift;
    bool operator==(const Shortcut &) const = default;
};

struct Command {
    CommandId id;
    std::string_view item; // the menu's text, with its mnemonic
    Shortcut keys;
    std::string_view does; // for the result boxes' hint
    bool resultBoxesOnly; // in the result boxes' menus only
    bool readsClipboard; // run with the clipboard's text
};

inline constexpr Command kCommands[] = {
    { CommandId::CopyRow, "复制整行(&R)", { 'C', true }, "计算并复制整行", true, false },
    { CommandId::CalculateList, "整表计算(&L)", { 'V', true }, "计算剪贴板中的整张表", false,
        true },
    { CommandId::PrintBook, "打印整表计算书(&B)", { 'P', true }, "打印剪贴板中整张表的计算书",
        false, true },
    { CommandId::PrintSheet, "打印计算书(&P)", { 'P', false }, "打印计算书", false, false },
};

constexpr const Command &CommandOf(CommandId id)
{
    return kCommands[static_cast<std::size_t>(id)];
}
static_assert([] {
    for (std::size_t i = 0; i < std::size(kCommands); ++i) {
        if (static_cast<std::size_t>(kCommands[i].id) != i)
            return false;
        for (std::size_t j = 0; j < i; ++j)
            if (kCommands[j].keys == kCommands[i].keys)
                return false; // one command a shortcut
    }
    return true;
}());

// "Ctrl+Shift+C", as menus and hints write it.
std::string ShortcutText(const Shortcut &keys);

// A menu's item for a command: its text, a tab, its keys.
std::string MenuItemText(const Command &command);

// The command a key runs: a letter ('A' to 'Z') with Ctrl, and Shift or
// not; with Alt, or without Ctrl, none. Null for a key that runs none.
const Command *CommandOfKey(char letter, bool ctrl, bool shift, bool alt);

// What the commands' keys do, a line each, for the result boxes' hint.
std::string_view ShortcutsHint();

} // namespace quorvel
