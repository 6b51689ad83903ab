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

namespace {

// The sheets drawn with GDI on a DC: a printer's, whose pages it begins
// and ends when `startsPages`, or a metafile's; its top left corner is
// `paper` (in the DC's units) from the paper's.
class GdiCanvas final : public SheetCanvas {
public:
    GdiCanvas(HDC dc, const SheetFonts &fonts, POINT paper, bool startsPages)
        : dc_(dc)
        , fonts_(fonts)
        , perMmX_(GetDeviceCaps(dc, LOGPIXELSX) / 25.4)
        , perMmY_(GetDeviceCaps(dc, LOGPIXELSY) / 25.4)
        , left_(int(std::lround(kSheetMarginMm * perMmX_)) - paper.x)
        , top_(int(std::lround(kSheetMarginMm * perMmY_)) - paper.y)
        , startsPages_(startsPages)
        , pen_(CreatePen(PS_SOLID, std::max(1, int(std::lround(0.25 * perMmX_))), RGB(0, 0, 0)))
        , penBefore_(SelectObject(dc, pen_))
        , fontBefore_(SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT)))
    {
    }
    ~GdiCanvas()
    {
        SelectObject(dc_, penBefore_);
        SelectObject(dc_, fontBefore_);
        DeleteObject(pen_);
    }
    GdiCanvas(const GdiCanvas &) = delete;
    GdiCanvas &operator=(const GdiCanvas &) = delete;

    double TextWidth(SheetStyle style, std::string_view text) override
    {
        SelectObject(dc_, fonts_.font(style));
        const std::wstring wide = Wide(text);
        SIZE size {};
        GetTextExtentPoint32W(dc_, wide.c_str(), int(wide.size()), &size);
        return size.cx / perMmX_;
    }
    SheetFontMetrics Metrics(SheetStyle style) override
    {
        const TEXTMETRICW &m = fonts_.metrics(style);
        return { m.tmAscent / perMmY_, m.tmHeight / perMmY_ };
    }
    bool BeginPage() override
    {
        if (startsPages_ && StartPage(dc_) <= 0)
            return false;
        SelectObject(dc_, pen_); // a new page may have reset the DC's objects
        SetBkMode(dc_, TRANSPARENT);
        SetTextColor(dc_, RGB(0, 0, 0));
        SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
        return true;
    }
    void DrawRule(const PlacedRule &r) override
    {
        MoveToEx(dc_, X(r.x1), Y(r.y1), nullptr);
        LineTo(dc_, X(r.x2), Y(r.y2));
    }
    void DrawText(SheetStyle style, double x, double baseline, std::string_view text) override
    {
        SelectObject(dc_, fonts_.font(style));
        const std::wstring wide = Wide(text);
        // Placed by the top of the font's box, GDI's own way (TA_TOP): drawn
        // on its baseline, a text's bounds in Wine's metafile reached above it.
        const int top = Y(baseline) - int(fonts_.metrics(style).tmAscent);
        ExtTextOutW(dc_, X(x), top, 0, nullptr, wide.c_str(), UINT(wide.size()), nullptr);
    }
    bool EndPage() override { return !startsPages_ || ::EndPage(dc_) > 0; }

private:
    int X(double mm) const { return left_ + int(std::lround(mm * perMmX_)); }
    int Y(double mm) const { return top_ + int(std::lround(mm * perMmY_)); }

    HDC dc_;
    const SheetFonts &fonts_;
    double perMmX_, perMmY_;
    int left_, top_;
    bool startsPages_;
    HPEN pen_;
    HGDIOBJ penBefore_, fontBefore_;
};

} // namespace

std::vector<SheetPage> SheetFonts::LayOut(HDC dc, std::span<const Sheet> sheets) const
{
    GdiCanvas canvas(dc, *this, POINT {}, false);
    return LayOutSheets(sheets,
        [&](SheetStyle style, std::string_view text) { return canvas.TextWidth(style, text); });
}

void SheetFonts::Draw(HDC dc, const SheetPage &page, POINT paper) const
{
    GdiCanvas canvas(dc, *this, paper, false);
    DrawSheetPage(page, canvas);
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
            GdiCanvas canvas(dc, fonts, paper, true);
            bool drawn = true;
            for (std::size_t page : order)
                drawn = drawn && DrawSheetPage(laidOut[page], canvas);
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
