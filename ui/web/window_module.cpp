// What the glue calls in the window's module; `id` is an index into the
// control table. The page holds what the form's Describe gives its
// controls from the first (page_html.cpp), so nothing is done at start.
#include "ui/web/form1_page.h"

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

// The command a key runs, by its letter's code, as an index into the
// commands' table; -1 for none.
int quorvel_command_of_key(int letter, int ctrl, int shift, int alt)
{
    const quorvel::Command *command = quorvel::CommandOfKey(char(letter), ctrl, shift, alt);
    return command ? int(command - quorvel::kCommands) : -1;
}

int quorvel_paste(int id, const char *text, int length)
{
    return PageForm().Paste(ControlAt(id), View(text, length)) ? 1 : 0;
}

} // extern "C"
