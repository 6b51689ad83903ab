// What the glue calls in the page's module; `id` is an index into the
// control table, `command` one into the commands' table (ui/commands.h).
// The page holds what the form's Describe gives its controls from the
// first (page_html.cpp), so nothing is done at start.
#include "ui/web/form1_page.h"

using namespace quorvel;
using namespace quorvel::web;

extern "C" {

void quorvel_click(int id)
{
    PageForm().Click(ControlAt(id));
}

void quorvel_enter(int id)
{
    PageForm().EnterPressed(ControlAt(id));
}

// The command a key runs, by its letter's code; -1 for none.
int quorvel_command_of_key(int letter, int ctrl, int shift, int alt)
{
    const Command *command = CommandOfKey(char(letter), ctrl, shift, alt);
    return command ? int(command - kCommands) : -1;
}

int quorvel_paste(int id, const char *text, int length)
{
    return PageForm().Paste(ControlAt(id), View(text, length)) ? 1 : 0;
}

// A command, with the clipboard's text for one that reads it.
void quorvel_run(int command, const char *text, int length)
{
    PageForm().Run(kCommands[static_cast<std::size_t>(command)].id, View(text, length));
}

// The browser refused the clipboard to a command: reading it, or writing.
void quorvel_clipboard_refused(int command, int reading)
{
    PageForm().ClipboardRefused(kCommands[static_cast<std::size_t>(command)].id, reading != 0);
}

// The browser's own printing: the sheet of the boxes' calculation, or an
// empty page when it failed (and was reported).
void quorvel_fill_sheet()
{
    const std::optional<Sheet> sheet = PageForm().SheetToPrint(Today());
    FillSheet(sheet ? std::span(&*sheet, 1) : std::span<const Sheet>());
}

} // extern "C"
