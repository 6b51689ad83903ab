#include "ui/win32/sheet_printer.h"

#include "ui/win32/form1_window.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdio>
#include <optional>

namespace quorvel::win32 {

namespace {

// comdlg32 brings shell32, ole32 and the spooler's client along; loaded when
// the sheet is first printed, it costs the window's start nothing.
struct PrintDialogs {
    decltype(&PrintDlgExW) printDlgEx;
    decltype(&PrintDlgW) printDlg;
    decltype(&CommDlgExtendedError) lastError;
};

std::optional<PrintDialogs> LoadPrintDialogs()
{
    static const HMODULE module = LoadLibraryW(L"comdlg32.dll");
    if (!module)
        return std::nullopt;
    const PrintDialogs dialogs {
        std::bit_cast<decltype(&PrintDlgExW)>(GetProcAddress(module, "PrintDlgExW")),
        std::bit_cast<decltype(&PrintDlgW)>(GetProcAddress(module, "PrintDlgW")),
        std::bit_cast<decltype(&CommDlgExtendedError)>(
            GetProcAddress(module, "CommDlgExtendedError")),
    };
    if (!dialogs.printDlgEx || !dialogs.printDlg || !dialogs.lastError)
        return std::nullopt;
    return dialogs;
}

// The dialog starts from the default printer's settings with A4 portrait
// proposed; without a default printer, from none, and it says so itself.
void ProposeA4(const PrintDialogs &dialogs, PRINTDLGEXW &dialog)
{
    PRINTDLGW defaults {};
    defaults.lStructSize = sizeof defaults;
    defaults.Flags = PD_RETURNDEFAULT | PD_NOWARNING;
    if (!dialogs.printDlg(&defaults))
        return;
    if (auto *mode = static_cast<DEVMODEW *>(GlobalLock(defaults.hDevMode))) {
        mode->dmFields |= DM_PAPERSIZE | DM_ORIENTATION;
        mode->dmPaperSize = DMPAPER_A4;
        mode->dmOrientation = DMORIENT_PORTRAIT;
        GlobalUnlock(defaults.hDevMode);
    }
    dialog.hDevMode = defaults.hDevMode;
    dialog.hDevNames = defaults.hDevNames;
}

// A DC to measure the sheets on before the dialog: the default printer's
// information context, or the screen's.
HDC ReferenceDc(const PRINTDLGEXW &dialog)
{
    HDC dc = nullptr;
    const auto *names
        = dialog.hDevNames ? static_cast<const DEVNAMES *>(GlobalLock(dialog.hDevNames)) : nullptr;
    if (names) {
        const auto *base = reinterpret_cast<const wchar_t *>(names);
        const auto *mode = static_cast<const DEVMODEW *>(GlobalLock(dialog.hDevMode));
        dc = CreateICW(base + names->wDriverOffset, base + names->wDeviceOffset, nullptr, mode);
        if (mode)
            GlobalUnlock(dialog.hDevMode);
        GlobalUnlock(dialog.hDevNames);
    }
    return dc ? dc : CreateCompatibleDC(nullptr);
}

std::string Hex(unsigned long code)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%lX", code);
    return text;
}

PrintResult Failed(PrintFailure failure, unsigned long code)
{
    return { PrintResult::Status::Failed, failure, Hex(code) };
}

} // namespace

SheetFonts::SheetFonts(HDC dc, const std::wstring &face)
{
    for (const SheetStyle style : kSheetStyles) {
        const auto i = static_cast<std::size_t>(style);
        LOGFONTW font {};
        font.lfHeight = -LONG(std::lround(SheetPoints(style) * GetDeviceCaps(dc, LOGPIXELSY) / 72));
        font.lfWeight = SheetBold(style) ? FW_BOLD : FW_NORMAL;
        font.lfCharSet = DEFAULT_CHARSET;
        font.lfQuality = DEFAULT_QUALITY;
        face.copy(font.lfFaceName, LF_FACESIZE - 1);
        fonts_[i] = CreateFontIndirectW(&font);
        const HGDIOBJ before = SelectObject(dc, fonts_[i]);
        GetTextMetricsW(dc, &metrics_[i]);
        SelectObject(dc, before);
    }
}

SheetFonts::~SheetFonts()
{
    for (HFONT font : fonts_)
        DeleteObject(font);
}

std::vector<SheetPage> SheetFonts::LayOut(HDC dc, std::span<const Sheet> sheets) const
{
    const double perMmX = GetDeviceCaps(dc, LOGPIXELSX) / 25.4;
    const HGDIOBJ before = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    std::vector<SheetPage> pages
        = LayOutSheets(sheets, [&](SheetStyle style, std::string_view text) {
              SelectObject(dc, fonts_[static_cast<std::size_t>(style)]);
              const std::wstring wide = Wide(text);
              SIZE size {};
              GetTextExtentPoint32W(dc, wide.c_str(), int(wide.size()), &size);
              return size.cx / perMmX;
          });
    SelectObject(dc, before);
    return pages;
}

void SheetFonts::Draw(HDC dc, const SheetPage &page, POINT paper) const
{
    const double perMmX = GetDeviceCaps(dc, LOGPIXELSX) / 25.4;
    const double perMmY = GetDeviceCaps(dc, LOGPIXELSY) / 25.4;
    const int left = int(std::lround(kSheetMarginMm * perMmX)) - paper.x;
    const int top = int(std::lround(kSheetMarginMm * perMmY)) - paper.y;
    const auto x = [&](double mm) { return left + int(std::lround(mm * perMmX)); };
    const auto y = [&](double mm) { return top + int(std::lround(mm * perMmY)); };

    const HPEN pen
        = CreatePen(PS_SOLID, std::max(1, int(std::lround(0.25 * perMmX))), RGB(0, 0, 0));
    const HGDIOBJ penBefore = SelectObject(dc, pen);
    const HGDIOBJ fontBefore = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    for (const PlacedRule &r : page.rules) {
        MoveToEx(dc, x(r.x1), y(r.y1), nullptr);
        LineTo(dc, x(r.x2), y(r.y2));
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    for (const PlacedText &t : page.texts) {
        const auto i = static_cast<std::size_t>(t.style);
        SelectObject(dc, fonts_[i]);
        const std::wstring wide = Wide(t.text);
        const int lineTop = y(t.y)
            + (int(std::lround(SheetLineHeight(t.style) * perMmY)) - metrics_[i].tmHeight) / 2;
        ExtTextOutW(dc, x(t.x), lineTop, 0, nullptr, wide.c_str(), UINT(wide.size()), nullptr);
    }
    SelectObject(dc, penBefore);
    SelectObject(dc, fontBefore);
    DeleteObject(pen);
}

std::vector<std::size_t> PrintOrder(
    std::size_t pages, std::span<const PRINTPAGERANGE> ranges, DWORD copies, bool collate)
{
    std::vector<std::size_t> chosen;
    for (const PRINTPAGERANGE &range : ranges)
        for (DWORD page = std::max<DWORD>(range.nFromPage, 1);
             page <= range.nToPage && page <= pages; ++page)
            chosen.push_back(page - 1);
    if (ranges.empty())
        for (std::size_t page = 0; page < pages; ++page)
            chosen.push_back(page);
    std::vector<std::size_t> order;
    copies = std::max<DWORD>(copies, 1);
    if (collate)
        for (DWORD copy = 0; copy < copies; ++copy)
            order.insert(order.end(), chosen.begin(), chosen.end());
    else
        for (std::size_t page : chosen)
            order.insert(order.end(), copies, page);
    return order;
}

PrintResult PrintSheets(HWND owner, std::span<const Sheet> sheets, const std::wstring &face)
{
    const std::optional<PrintDialogs> dialogs = LoadPrintDialogs();
    if (!dialogs)
        return { PrintResult::Status::Failed, PrintFailure::NoDialog, {} };
    PRINTDLGEXW dialog {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    ProposeA4(*dialogs, dialog);
    // The pages to choose from, as the default printer (or, without one,
    // the screen) measures them.
    const HDC reference = ReferenceDc(dialog);
    const DWORD pages = DWORD(SheetFonts(reference, face).LayOut(reference, sheets).size());
    DeleteDC(reference);
    PRINTPAGERANGE ranges[8] { { 1, pages } };
    dialog.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOCURRENTPAGE | PD_USEDEVMODECOPIESANDCOLLATE;
    dialog.nCopies = 1;
    dialog.nMinPage = 1;
    dialog.nMaxPage = pages;
    dialog.nPageRanges = 1;
    dialog.nMaxPageRanges = DWORD(std::size(ranges));
    dialog.lpPageRanges = ranges;
    dialog.nStartPage = START_PAGE_GENERAL;
    const HRESULT shown = dialogs->printDlgEx(&dialog);
    PrintResult result { PrintResult::Status::Cancelled, PrintFailure::Refused, {} };
    const DWORD error = dialogs->lastError();
    if (error == PDERR_NODEFAULTPRN || error == PDERR_NODEVICES) {
        // Windows has said that no printer is installed.
    } else if (FAILED(shown)) {
        result = Failed(PrintFailure::DialogFailed, static_cast<unsigned long>(shown));
    } else if (dialog.dwResultAction == PD_RESULT_PRINT && dialog.hDC) {
        const HDC dc = dialog.hDC;
        const std::wstring title = Wide(sheets.front().title);
        DOCINFOW document { sizeof document, title.c_str(), nullptr, nullptr, 0 };
        const POINT paper { GetDeviceCaps(dc, PHYSICALOFFSETX),
            GetDeviceCaps(dc, PHYSICALOFFSETY) };
        const SheetFonts fonts(dc, face);
        const std::vector<SheetPage> laidOut = fonts.LayOut(dc, sheets);
        const std::vector<std::size_t> order = PrintOrder(laidOut.size(),
            dialog.Flags & PD_PAGENUMS ? std::span(ranges, dialog.nPageRanges)
                                       : std::span<const PRINTPAGERANGE>(),
            dialog.nCopies, dialog.Flags & PD_COLLATE);
        if (StartDocW(dc, &document) <= 0) {
            result = Failed(PrintFailure::Refused, GetLastError());
        } else {
            bool drawn = true;
            for (std::size_t page : order)
                drawn = drawn && StartPage(dc) > 0 && (fonts.Draw(dc, laidOut[page], paper), true)
                    && EndPage(dc) > 0;
            if (!drawn || EndDoc(dc) <= 0) {
                AbortDoc(dc);
                result = Failed(PrintFailure::Unfinished, GetLastError());
            } else {
                result = {};
            }
        }
    } else if (error != 0) {
        result = Failed(PrintFailure::DialogFailed, error);
    }
    if (dialog.hDC)
        DeleteDC(dialog.hDC);
    if (dialog.hDevMode)
        GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames)
        GlobalFree(dialog.hDevNames);
    return result;
}

} // namespace quorvel::win32
