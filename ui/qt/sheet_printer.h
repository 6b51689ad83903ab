// Calculation sheets on a Qt printer: the pages of ui/sheet_layout.h drawn
// with QPainter, in the window's Song face.
#pragma once

#include "ui/sheet.h"

#include <span>
#include <string_view>

class QPrinter;

namespace quorvel {

// A4 portrait with the sheets' margins, the document named `title`.
void SetUpForPrint(QPrinter &printer, std::string_view title);

// Draws the sheets' pages on the printer, each sheet on pages of its own.
// When the printer writes a PDF file, its text is mended afterwards so that
// it reads as it shows. False when the printer could not print.
bool PrintSheets(QPrinter &printer, std::span<const Sheet> sheets);

} // namespace quorvel
