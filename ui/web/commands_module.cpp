// What the glue calls in the commands' module.
#include "ui/web/form1_page.h"

using namespace quorvel;
using namespace quorvel::web;

extern "C" {

// A command of the table (ui/commands.h) by its index, with the
// clipboard's text for one that reads it.
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
