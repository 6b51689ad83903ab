// The calculation sheet on a Windows printer: Windows' own print dialog
// with A4 proposed, then the page of ui/sheet_layout.h drawn with GDI on the
// printer's DC.
#pragma once

#include <windows.h>

#include "ui/sheet.h"

#include <optional>
#include <string>

namespace quorvel::win32 {

// Draws the sheet on `dc`, a printer's page or an enhanced metafile of A4,
// whose top left corner is `paper` (in the DC's units) from the paper's, in
// the Song face `face`.
void DrawSheet(HDC dc, const Sheet &sheet, const std::wstring &face, POINT paper);

// PrintDlgExW for the sheet, owned by `owner`, then the print: why it
// failed, for the report, or nothing when it was printed or cancelled. With
// no printer installed, Windows says so itself, and nothing is printed.
std::optional<std::string> PrintSheet(HWND owner, const Sheet &sheet, const std::wstring &face);

} // namespace quorvel::win32
