// What only the Windows front end shows, in-process under Wine: the face
// each font role falls back to, every control's place and font at each
// DPI, and the boxes' names for a screen reader. The Wine prefix (tests/wine_prefix.sh) maps 宋体,
// 隶书 and 楷体_GB2312 to installed fonts, so each role gets its own face.
#include "ui/win32/box_menu.h"
#include "ui/win32/form1_window.h"
#include "ui/win32/sheet_printer.h"

#include "tests/case_name.h"
#include "tests/command_keys.h"
#include "tests/twelve_valves.h"
#include "ui/book.h"
#include "ui/sheet_layout.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <oleacc.h>

#include <array>
#include <bit>
#include <cmath>
#include <set>
#include <utility>
#include <vector>

namespace quorvel::test {

using win32::Form1Window;

struct FaceCase {
    std::string name;
    FontFace face;
    std::set<std::wstring> installed;
    std::wstring chosen;
};

class FaceTest : public testing::TestWithParam<FaceCase> { };

TEST_P(FaceTest, TheNearestInstalledFace)
{
    const FaceCase &c = GetParam();
    EXPECT_EQ(win32::ChooseFace(c.face,
                  [&](std::wstring_view f) { return c.installed.contains(std::wstring(f)); }),
        c.chosen);
}

INSTANTIATE_TEST_SUITE_P(Win32, FaceTest,
    testing::Values(FaceCase { "kai_as_drawn", FontFace::Kai, { L"楷体_GB2312", L"楷体", L"宋体" },
                        L"楷体_GB2312" },
        FaceCase { "kai_on_newer_windows", FontFace::Kai, { L"楷体", L"宋体" }, L"楷体" },
        FaceCase { "kai_english_name", FontFace::Kai, { L"KaiTi", L"SimSun" }, L"KaiTi" },
        FaceCase { "kai_without_kai", FontFace::Kai, { L"SimSun", L"微软雅黑" }, L"SimSun" },
        FaceCase { "li_without_li", FontFace::Li, { L"宋体", L"黑体" }, L"宋体" },
        FaceCase { "li_english_name", FontFace::Li, { L"LiSu", L"SimSun" }, L"LiSu" },
        FaceCase {
            "song_on_linux", FontFace::Song, { L"Noto Serif CJK SC" }, L"Noto Serif CJK SC" },
        FaceCase { "default_nothing_known", FontFace::Default, {}, L"SimSun" }),
    CaseName {});

struct DpiCase {
    std::string name;
    UINT dpi;
};

class DpiTest : public testing::TestWithParam<DpiCase> { };

// As Windows tells a window moved to a monitor of another DPI.
TEST_P(DpiTest, EveryControlAndFontScales)
{
    const UINT dpi = GetParam().dpi;
    Form1Window window(GetModuleHandleW(nullptr));
    ASSERT_TRUE(window.hwnd());
    RECT suggested { 10, 10, 2000, 2000 };
    SendMessageW(window.hwnd(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi),
        reinterpret_cast<LPARAM>(&suggested));
    const auto scale = [&](int twips) { return MulDiv(twips, int(dpi), 1440); };

    RECT client;
    GetClientRect(window.hwnd(), &client);
    EXPECT_EQ(client.right, scale(kClientWidthTwips));
    EXPECT_EQ(client.bottom, scale(kClientHeightTwips));
    for (const ControlSpec &spec : kControls) {
        SCOPED_TRACE(spec.name);
        RECT r;
        GetWindowRect(window.control(spec.id), &r);
        MapWindowPoints(nullptr, window.hwnd(), reinterpret_cast<POINT *>(&r), 2);
        EXPECT_EQ(r.left, scale(spec.left));
        EXPECT_EQ(r.top, scale(spec.top));
        EXPECT_EQ(r.right - r.left, scale(spec.width));
        EXPECT_EQ(r.bottom - r.top, scale(spec.height));

        LOGFONTW lf {};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window.control(spec.id), WM_GETFONT, 0, 0)),
            sizeof lf, &lf);
        const bool own = spec.face != FontFace::Default;
        EXPECT_EQ(
            lf.lfHeight, -MulDiv(int((own ? spec.points : kDefaultPoints) * 10), int(dpi), 720));
        EXPECT_EQ(lf.lfWeight, own && spec.bold ? FW_BOLD : FW_NORMAL);
        EXPECT_EQ(bool(lf.lfItalic), own && spec.italic);
        EXPECT_EQ(lf.lfCharSet, GB2312_CHARSET);
        const wchar_t *face = spec.face == FontFace::Li ? L"隶书"
            : spec.face == FontFace::Kai                ? L"楷体_GB2312"
                                                        : L"宋体";
        EXPECT_EQ(std::wstring(lf.lfFaceName), face);
    }
    // Where a label reaches into a box, the label's region leaves the box
    // out: the box is drawn whole.
    for (auto [label, box] : { std::pair { ControlId::Label8, ControlId::Text6 },
             { ControlId::Label5, ControlId::Text3 }, { ControlId::Label13, ControlId::Text7 } }) {
        SCOPED_TRACE(Spec(label).name);
        const HRGN region = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(GetWindowRgn(window.control(label), region), ERROR);
        RECT l, b;
        GetWindowRect(window.control(label), &l);
        GetWindowRect(window.control(box), &b);
        EXPECT_TRUE(PtInRegion(region, 1, 1));
        EXPECT_FALSE(PtInRegion(region, b.left - l.left + 1, b.top - l.top + scale(135)));
        DeleteObject(region);
    }
}

INSTANTIATE_TEST_SUITE_P(Win32, DpiTest,
    testing::Values(DpiCase { "dpi_96", 96 }, DpiCase { "dpi_120", 120 },
        DpiCase { "dpi_144", 144 }, DpiCase { "dpi_192", 192 }),
    CaseName {});

// What a screen reader hears as each box's name, in-process (Wine's oleacc
// does not answer another process): the label created just before it,
// also after a medium has relabelled it.
TEST(Win32, BoxesAreNamedByTheirLabels)
{
    CoInitialize(nullptr);
    const auto fromWindow = std::bit_cast<HRESULT(WINAPI *)(HWND, DWORD, REFIID, void **)>(
        GetProcAddress(LoadLibraryW(L"oleacc.dll"), "AccessibleObjectFromWindow"));
    ASSERT_TRUE(fromWindow);
    Form1Window window(GetModuleHandleW(nullptr));
    const auto name = [&](ControlId box) {
        IAccessible *acc = nullptr;
        BSTR text = nullptr;
        VARIANT self {};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        if (FAILED(fromWindow(window.control(box), DWORD(OBJID_CLIENT), IID_IAccessible,
                reinterpret_cast<void **>(&acc)))
            || FAILED(acc->get_accName(self, &text)) || !text)
            return std::string("(none)");
        acc->Release();
        const std::string utf8 = win32::Utf8(text);
        SysFreeString(text);
        return utf8;
    };
    using enum ControlId;
    for (auto [box, label] : { std::pair { Text1, "阀前压力:" }, { Text2, "阀后压力:" },
             { Text3, "介质比重:" }, { Text4, "最大流量:" }, { Text5, "计算Cv=" },
             { Text6, "计算C=" }, { Text7, "介质温度:" } })
        EXPECT_EQ(name(box), label);
    SendMessageW(window.control(Option4), BM_CLICK, 0, 0);
    EXPECT_EQ(name(Text3), "出口比容:");
    EXPECT_EQ(name(Text7), "入口比容:");
    CoUninitialize();
}

// A result's hint is a tooltip on its box, replaced by each calculation;
// a paste longer than an edit box's default limit (30,000) is kept whole;
// a result box's menu is the edit box's, greyed as it allows, the row and
// the list.
TEST(Win32, ResultHintsAreTooltips)
{
    Form1Window window(GetModuleHandleW(nullptr));
    using enum ControlId;
    const std::wstring paste(40000, L'7');
    SendMessageW(window.control(Text6), EM_REPLACESEL, FALSE, LPARAM(paste.c_str()));
    EXPECT_EQ(GetWindowTextLengthW(window.control(Text6)), 40000);
    for (auto [box, text] : { std::pair { Text1, L"5" }, { Text2, L"4" }, { Text3, L"1" } })
        SetWindowTextW(window.control(box), text);
    for (const wchar_t *flow : { L"1", L"10" }) {
        SetWindowTextW(window.control(Text4), flow);
        SendMessageW(window.control(Command1), BM_CLICK, 0, 0);
    }
    ASSERT_TRUE(window.tooltip());
    EXPECT_EQ(SendMessageW(window.tooltip(), TTM_GETTOOLCOUNT, 0, 0), 2);
    std::wstring hint(400, L'\0');
    TTTOOLINFOW tool {};
    tool.cbSize = sizeof tool;
    tool.hwnd = window.hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(window.control(Text5));
    tool.lpszText = hint.data();
    SendMessageW(window.tooltip(), TTM_GETTEXTW, hint.size(), reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(
        win32::Utf8(hint.c_str()), "11.6999995708466（液体）\n" + std::string(ShortcutsHint()));

    SendMessageW(window.control(Text5), EM_SETSEL, 0, 3);
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    const auto itemsOf = [&](ControlId box) {
        const HMENU menu = win32::BoxMenu(window.control(box), box);
        std::vector<std::string> items;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t text[64] {};
            GetMenuStringW(menu, UINT(i), text, 64, MF_BYPOSITION);
            items.push_back((GetMenuState(menu, UINT(i), MF_BYPOSITION) & MF_GRAYED ? "-" : "")
                + win32::Utf8(text));
        }
        DestroyMenu(menu);
        return items;
    };
    EXPECT_EQ(itemsOf(Text5),
        std::vector<std::string>(
            { "-撤消(&U)", "-", "剪切(&T)", "复制(&C)", "-粘贴(&P)", "删除(&D)", "-", "全选(&A)",
                "-", "复制整行(&R)\tCtrl+Shift+C", "整表计算(&L)\tCtrl+Shift+V",
                "打印整表计算书(&B)\tCtrl+Shift+P", "打印计算书(&P)\tCtrl+P" }));
    EXPECT_EQ(itemsOf(Text1).back(), "打印计算书(&P)\tCtrl+P");
    EXPECT_EQ(itemsOf(Text1).size(), itemsOf(Text5).size() - 1);
    // A lone surrogate, as another program may leave on the clipboard,
    // reaches the form as U+FFFD.
    EXPECT_EQ(win32::Utf8(std::wstring { L'1', wchar_t(0xD800), L'\t' }), "1\uFFFD\t");
}

// The accelerator check runs a command for exactly the table's keys.
TEST(Win32, KeysRunTheirCommands)
{
    int commands = 0;
    for (const KeyCase &key : CommandKeyCases()) {
        EXPECT_EQ(
            win32::CommandOfKey(WPARAM(key.letter), key.ctrl, key.shift, key.alt), key.command)
            << key.letter << " ctrl " << key.ctrl << " shift " << key.shift << " alt " << key.alt;
        commands += key.command != nullptr;
    }
    EXPECT_EQ(commands, int(std::size(kCommands)));
}

// The pages printed, in their order, for the print dialog's page ranges
// and copies.
TEST(Win32, PrintsTheChosenPagesTheCopiesAsked)
{
    const PRINTPAGERANGE some[] { { 2, 3 }, { 5, 9 } }, first[] { { 1, 2 } };
    using Pages = std::vector<std::size_t>;
    EXPECT_EQ(win32::PrintOrder(3, {}, 1, false), (Pages { 0, 1, 2 }));
    EXPECT_EQ(win32::PrintOrder(6, some, 0, true), (Pages { 1, 2, 4, 5 }));
    EXPECT_EQ(win32::PrintOrder(3, first, 2, true), (Pages { 0, 1, 0, 1 }));
    EXPECT_EQ(win32::PrintOrder(3, first, 2, false), (Pages { 0, 0, 1, 1 }));
}

// The GDI drawing of the sheets, each page into an A4 metafile of its own
// instead of a printer (under Wine, CUPS loses the Chinese text): every
// text of the sheets is one text record, on its sheet's page with the
// page's number (and a valve's tag on its own sheet's page), and each lies
// inside the page's margins. The sheets: a liquid's, one at the range's
// ends, and the book of twelve valves.
TEST(Win32, SheetsDrawEveryTextInsideTheMargins)
{
    std::vector<ValveRow> valves;
    CalculateValveList(
        test::kTwelveValves, MediumKind::Liquid, [&](const ValveRow &v) { valves.push_back(v); });
    const std::vector<std::vector<Sheet>> documents {
        { MakeSheet(MediumKind::Liquid, { 5, 4, 1, 10, 0 }, "2026年12月10日", "0.1.0") },
        { MakeSheet(
            MediumKind::Gas, { 1e300, 1e-300, 1e300, 1e-300, 27 }, "2026年12月10日", "0.1.0") },
        MakeBook(valves, "2026年12月10日", "0.1.0"),
    };
    const RECT a4 { 0, 0, 21000, 29700 }; // in 0.01 mm
    for (const std::vector<Sheet> &sheets : documents) {
        const HDC measured = CreateEnhMetaFileW(nullptr, nullptr, &a4, nullptr);
        ASSERT_TRUE(measured);
        const double perMm = GetDeviceCaps(measured, LOGPIXELSX) / 25.4;
        const win32::SheetFonts fonts(measured, L"SimSun");
        const std::vector<SheetPage> pages = fonts.LayOut(measured, sheets);
        DeleteEnhMetaFile(CloseEnhMetaFile(measured));
        ASSERT_EQ(pages.size(), sheets.size()); // each sheet on one page
        for (std::size_t p = 0; p < pages.size(); ++p) {
            const HDC dc = CreateEnhMetaFileW(nullptr, nullptr, &a4, nullptr);
            fonts.Draw(dc, pages[p], POINT { 0, 0 });
            const HENHMETAFILE file = CloseEnhMetaFile(dc);
            struct Seen {
                std::multiset<std::string> texts;
                std::vector<RECTL> bounds;
            } seen;
            EnumEnhMetaFile(
                nullptr, file,
                [](HDC, HANDLETABLE *, const ENHMETARECORD *record, int, LPARAM to) -> int {
                    if (record->iType == EMR_EXTTEXTOUTW) {
                        const auto *text = reinterpret_cast<const EMREXTTEXTOUTW *>(record);
                        auto &seen = *reinterpret_cast<Seen *>(to);
                        seen.texts.insert(win32::Utf8(
                            { reinterpret_cast<const wchar_t *>(
                                  reinterpret_cast<const char *>(record) + text->emrtext.offString),
                                text->emrtext.nChars }));
                        seen.bounds.push_back(text->rclBounds);
                    }
                    return 1;
                },
                &seen, nullptr);
            DeleteEnhMetaFile(file);
            const Sheet &sheet = sheets[p];
            std::multiset<std::string> expected { sheet.title, sheet.date, sheet.footer,
                "第 " + std::to_string(p + 1) + " 页 共 " + std::to_string(pages.size()) + " 页" };
            for (const SheetSection &section : sheet.sections) {
                expected.insert(section.heading);
                expected.insert(section.lines.begin(), section.lines.end());
            }
            for (const SheetSignature &signature : sheet.signatures) {
                expected.insert(signature.label + "：");
                if (!signature.value.empty())
                    expected.insert(signature.value);
            }
            // A small table's cells may be wrapped: all but the tables' texts.
            for (const std::string &text : expected)
                EXPECT_EQ(seen.texts.count(text), expected.count(text)) << text;
            const SheetTable &table = sheet.sections[sheet.sections.size() > 1 ? 1 : 0].table;
            for (const auto &row : table.rows)
                for (const std::string &cell : row)
                    EXPECT_TRUE(table.small || cell.empty() || seen.texts.contains(cell)) << cell;
            // A text's box is its font's whole cell, which may reach a little
            // beyond its line and its advance; an empty cell draws nothing.
            const auto mm = [&](double at) { return std::lround(at * perMm); };
            for (const RECTL &b : seen.bounds)
                if (b.right > b.left) {
                    EXPECT_GE(b.left, mm(kSheetMarginMm));
                    EXPECT_LE(b.right, mm(kSheetPageWidthMm - kSheetMarginMm + 1));
                    EXPECT_GE(b.top, mm(kSheetMarginMm - 1));
                    EXPECT_LE(b.bottom, mm(kSheetPageHeightMm - kSheetMarginMm + 1));
                }
        }
    }
}

} // namespace quorvel::test
