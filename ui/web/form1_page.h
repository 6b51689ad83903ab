// The browser front end of Form1 (ui/form1.h): the page's controls are HTML
// elements written from the control table at build time (page_html.cpp);
// the glue (glue.js) finds them by the table's index, forwards their events
// to the page's WebAssembly module (module.cpp) and carries out the
// accessors. Texts cross as UTF-8 in the module's memory.
#pragma once

#include "ui/form1.h"

#include <span>
#include <string_view>

namespace quorvel::web {

// The form over the page's controls, made on the first call.
Form1 &PageForm();
// The sheets printed by the browser (print.cpp).
PrintResult PrintPages(std::span<const Sheet> sheets);
// The sheets, each on pages of its own, into the part of the page that
// prints (print.cpp).
void FillSheet(std::span<const Sheet> sheets);
int Length(std::string_view text);
// A control by its index in the control table.
ControlId ControlAt(int index);
std::string_view View(const char *text, int length);

} // namespace quorvel::web
