// The browser front end of Form1 (ui/form1.h): the page's controls are HTML
// elements written from the control table at build time (page_html.cpp);
// the glue (glue.js) finds them by the table's index, forwards their events
// to the page's two WebAssembly modules and carries out the accessors.
// Texts cross as UTF-8 in a module's memory.
//
// The window's module (window_module.cpp) starts with the page and takes
// the clicks, Enter keys and pastes; the commands' module
// (commands_module.cpp), with everything the commands need, starts only
// when a command first runs. Each has a form of its own over the same
// controls: the form keeps nothing but what the controls show.
#pragma once

#include "ui/form1.h"

#include <span>
#include <string_view>

namespace quorvel::web {

// The form over the page's controls, made on the first call.
Form1 &PageForm();
// How the page prints sheets; the commands' module gives it (print.cpp),
// and the window's, which never prints, does without.
using SheetPrinter = PrintResult (*)(std::span<const Sheet> sheets);
void PrintWith(SheetPrinter printer);
// The sheets, each on pages of its own, into the part of the page that
// prints (print.cpp).
void FillSheet(std::span<const Sheet> sheets);
int Length(std::string_view text);
// A control by its index in the control table.
ControlId ControlAt(int index);
std::string_view View(const char *text, int length);

} // namespace quorvel::web
