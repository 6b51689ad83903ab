// Calculation sheets on a Windows printer: Windows' own print dialog with A4
// proposed, then the pages of ui/sheet_layout.h drawn with GDI on the
// printer's DC.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include "ui/form1.h"
#include "ui/sheet_layout.h"

#include <array>
#include <span>
#include <string>
#include <vector>

namespace quorvel::win32 {

// The sheets' fonts for a DC's resolution: one Song face `face` in each
// style's size.
class SheetFonts {
public:
    SheetFonts(HDC dc, const std::wstring &face);
    ~SheetFonts();
    SheetFonts(const SheetFonts &) = delete;
    SheetFonts &operator=(const SheetFonts &) = delete;

    // The sheets' pages, measured on `dc` in these fonts (DrawSheets draws
    // them through a canvas of the DC).
    std::vector<SheetPage> LayOut(HDC dc, std::span<const Sheet> sheets) const;
    // Draws a page on `dc`, a printer's page or an enhanced metafile of A4,
    // whose top left corner is `paper` (in the DC's units) from the paper's.
    void Draw(HDC dc, const SheetPage &page, POINT paper) const;

    HFONT font(SheetStyle style) const { return fonts_[static_cast<std::size_t>(style)]; }
    const TEXTMETRICW &metrics(SheetStyle style) const
    {
        return metrics_[static_cast<std::size_t>(style)];
    }

private:
    std::array<HFONT, kSheetStyles.size()> fonts_ {};
    std::array<TEXTMETRICW, kSheetStyles.size()> metrics_ {};
};

// The pages to print, from 0, in the order to print them: those of the
// dialog's ranges (counted from 1, each its first and last page; none for
// all), each copy of them all in turn when collated, else each page's
// copies in turn.
std::vector<std::size_t> PrintOrder(
    std::size_t pages, std::span<const PRINTPAGERANGE> ranges, DWORD copies, bool collate);

// PrintDlgExW for the sheets, owned by `owner`, with their pages to choose
// from, then the print. With no printer installed, Windows says so itself,
// and nothing is printed.
PrintResult PrintSheets(HWND owner, std::span<const Sheet> sheets, const std::wstring &face);

} // namespace quorvel::win32
