#include "ui/win32/sheet_printer.h"

#include "ui/sheet_layout.h"
#include "ui/win32/form1_window.h"

#include <commdlg.h>

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

std::string Hex(unsigned long code)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%lX", code);
    return text;
}

} // namespace

void DrawSheet(HDC dc, const Sheet &sheet, const std::wstring &face, POINT paper)
{
    const double perMmX = GetDeviceCaps(dc, LOGPIXELSX) / 25.4;
    const double perMmY = GetDeviceCaps(dc, LOGPIXELSY) / 25.4;
    std::array<HFONT, kSheetStyles.size()> fonts {};
    std::array<TEXTMETRICW, kSheetStyles.size()> metrics {};
    const HGDIOBJ before = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    for (const SheetStyle style : kSheetStyles) {
        const auto i = static_cast<std::size_t>(style);
        LOGFONTW font {};
        font.lfHeight = -LONG(std::lround(SheetPoints(style) * GetDeviceCaps(dc, LOGPIXELSY) / 72));
        font.lfWeight = SheetBold(style) ? FW_BOLD : FW_NORMAL;
        font.lfCharSet = DEFAULT_CHARSET;
        font.lfQuality = DEFAULT_QUALITY;
        face.copy(font.lfFaceName, LF_FACESIZE - 1);
        fonts[i] = CreateFontIndirectW(&font);
        SelectObject(dc, fonts[i]);
        GetTextMetricsW(dc, &metrics[i]);
    }
    const auto select
        = [&](SheetStyle style) { SelectObject(dc, fonts[static_cast<std::size_t>(style)]); };
    const SheetPage page = LayOutSheet(sheet, [&](SheetStyle style, std::string_view text) {
        select(style);
        const std::wstring wide = Wide(text);
        SIZE size {};
        GetTextExtentPoint32W(dc, wide.c_str(), int(wide.size()), &size);
        return size.cx / perMmX;
    });
    const int left = int(std::lround(kSheetMarginMm * perMmX)) - paper.x;
    const int top = int(std::lround(kSheetMarginMm * perMmY)) - paper.y;
    const auto x = [&](double mm) { return left + int(std::lround(mm * perMmX)); };
    const auto y = [&](double mm) { return top + int(std::lround(mm * perMmY)); };

    const HPEN pen
        = CreatePen(PS_SOLID, std::max(1, int(std::lround(0.25 * perMmX))), RGB(0, 0, 0));
    const HGDIOBJ penBefore = SelectObject(dc, pen);
    for (const PlacedRule &r : page.rules) {
        MoveToEx(dc, x(r.x1), y(r.y1), nullptr);
        LineTo(dc, x(r.x2), y(r.y2));
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    for (const PlacedText &t : page.texts) {
        select(t.style);
        const TEXTMETRICW &m = metrics[static_cast<std::size_t>(t.style)];
        const std::wstring wide = Wide(t.text);
        const int lineTop
            = y(t.y) + (int(std::lround(SheetLineHeight(t.style) * perMmY)) - m.tmHeight) / 2;
        ExtTextOutW(dc, x(t.x), lineTop, 0, nullptr, wide.c_str(), UINT(wide.size()), nullptr);
    }
    SelectObject(dc, penBefore);
    DeleteObject(pen);
    SelectObject(dc, before);
    for (HFONT font : fonts)
        DeleteObject(font);
}

std::optional<std::string> PrintSheet(HWND owner, const Sheet &sheet, const std::wstring &face)
{
    const std::optional<PrintDialogs> dialogs = LoadPrintDialogs();
    if (!dialogs)
        return "系统的打印对话框（comdlg32.dll）不能载入";
    PRINTDLGEXW dialog {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    ProposeA4(*dialogs, dialog);
    dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_NOCURRENTPAGE
        | PD_USEDEVMODECOPIESANDCOLLATE;
    dialog.nCopies = 1;
    dialog.nStartPage = START_PAGE_GENERAL;
    const HRESULT shown = dialogs->printDlgEx(&dialog);
    std::optional<std::string> failure;
    const DWORD error = dialogs->lastError();
    if (error == PDERR_NODEFAULTPRN || error == PDERR_NODEVICES) {
        // Windows has said that no printer is installed.
    } else if (FAILED(shown)) {
        failure = "打印对话框没有打开（" + Hex(static_cast<unsigned long>(shown)) + "）";
    } else if (dialog.dwResultAction == PD_RESULT_PRINT && dialog.hDC) {
        const HDC dc = dialog.hDC;
        const std::wstring title = Wide(sheet.title);
        DOCINFOW document { sizeof document, title.c_str(), nullptr, nullptr, 0 };
        const POINT paper { GetDeviceCaps(dc, PHYSICALOFFSETX),
            GetDeviceCaps(dc, PHYSICALOFFSETY) };
        if (StartDocW(dc, &document) <= 0) {
            failure = "打印机没有接受这份计算书（" + Hex(GetLastError()) + "）";
        } else {
            const bool drawn
                = StartPage(dc) > 0 && (DrawSheet(dc, sheet, face, paper), true) && EndPage(dc) > 0;
            if (!drawn || EndDoc(dc) <= 0) {
                AbortDoc(dc);
                failure = "计算书没有打印完（" + Hex(GetLastError()) + "）";
            }
        }
    } else if (error != 0) {
        failure = "打印对话框出错（" + Hex(error) + "）";
    }
    if (dialog.hDC)
        DeleteDC(dialog.hDC);
    if (dialog.hDevMode)
        GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames)
        GlobalFree(dialog.hDevNames);
    return failure;
}

} // namespace quorvel::win32
