// The calculation sheet on a Qt printer: the page of ui/sheet_layout.h drawn
// with QPainter, in the window's Song face.
#pragma once

#include "ui/sheet.h"

class QPrinter;

namespace quorvel {

// A4 portrait with the sheet's margins, the document named by its title.
void SetUpForSheet(QPrinter &printer, const Sheet &sheet);

// Draws the sheet as the printer's one page. When the printer writes a PDF
// file, its text is mended afterwards so that it reads as it shows. False
// when the printer could not print.
bool PrintSheet(QPrinter &printer, const Sheet &sheet);

} // namespace quorvel
