// How the page prints calculation sheets: their pages, laid out as the
// desktop printers lay them out (ui/sheet_layout.h) and measured in the
// page's own fonts, into the part of the page that prints, then the
// browser's print.
#include "ui/web/form1_page.h"

#include "ui/web/html.h"

#include <emscripten.h>

#include <array>
#include <cstdio>
#include <optional>
#include <string>

namespace quorvel::web {

namespace {

EM_JS(void, quorvel_js_fill_sheet, (const char *html, int length),
    { QuorvelPage.fillSheet(UTF8ToString(html, length)); });
EM_JS(int, quorvel_js_print, (), { return QuorvelPage.print() ? 1 : 0; });
// The font's box above the baseline (`above`) or below it, in millimetres.
EM_JS(double, quorvel_js_font_box, (const char *font, int fontLength, int above),
    { return QuorvelPage.fontBox(UTF8ToString(font, fontLength), above); });
EM_JS(double, quorvel_js_text_width,
    (const char *font, int fontLength, const char *text, int length),
    { return QuorvelPage.textWidth(UTF8ToString(font, fontLength), UTF8ToString(text, length)); });

// A length of the page, from its top left corner.
std::string Mm(double mm)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2fmm", mm);
    return text;
}

// The sheets' pages as the page prints them: each page a block of A4, each
// text and rule placed on it in millimetres. A text's line box is its
// font's box, so that its baseline stands where the shared code puts it.
class HtmlCanvas final : public SheetCanvas {
public:
    HtmlCanvas()
    {
        for (const SheetStyle style : kSheetStyles)
            fonts_[std::size_t(style)] = SheetFont(style);
    }
    double TextWidth(SheetStyle style, std::string_view text) override
    {
        const std::string &font = fonts_[std::size_t(style)];
        return quorvel_js_text_width(font.data(), Length(font), text.data(), Length(text));
    }
    SheetFontMetrics Metrics(SheetStyle style) override
    {
        std::optional<SheetFontMetrics> &known = metrics_[std::size_t(style)];
        if (!known) {
            const std::string &font = fonts_[std::size_t(style)];
            const double ascent = quorvel_js_font_box(font.data(), Length(font), 1);
            known = { ascent, ascent + quorvel_js_font_box(font.data(), Length(font), 0) };
        }
        return *known;
    }
    bool BeginPage() override
    {
        html += "<div class=\"page\">";
        return true;
    }
    void DrawRule(const PlacedRule &r) override
    {
        const bool vertical = r.x1 == r.x2;
        html += std::string("<i") + (vertical ? " class=\"v\"" : "")
            + " style=\"left:" + Mm(kSheetMarginMm + r.x1 - (vertical ? 0.125 : 0))
            + ";top:" + Mm(kSheetMarginMm + r.y1 - (vertical ? 0 : 0.125)) + ";"
            + (vertical ? "height:" + Mm(r.y2 - r.y1) : "width:" + Mm(r.x2 - r.x1)) + "\"></i>";
    }
    void DrawText(SheetStyle style, double x, double baseline, std::string_view text) override
    {
        if (text.empty())
            return;
        const SheetFontMetrics m = Metrics(style);
        html += "<span class=\"s" + std::to_string(int(style)) + "\" style=\"left:"
            + Mm(kSheetMarginMm + x) + ";top:" + Mm(kSheetMarginMm + baseline - m.ascent)
            + ";line-height:" + Mm(m.height) + "\">" + Escaped(text) + "</span>";
    }
    bool EndPage() override
    {
        html += "</div>";
        return true;
    }

    std::string html;

private:
    std::array<std::string, kSheetStyles.size()> fonts_;
    std::array<std::optional<SheetFontMetrics>, kSheetStyles.size()> metrics_;
};

} // namespace

// The sheets into the part that prints, then the browser's print, which
// says nothing of how it ended.
PrintResult PrintPages(std::span<const Sheet> sheets)
{
    FillSheet(sheets);
    if (!quorvel_js_print())
        return { PrintResult::Status::Failed, PrintFailure::Unsupported, {} };
    return {};
}

void FillSheet(std::span<const Sheet> sheets)
{
    HtmlCanvas canvas;
    DrawSheets(sheets, canvas);
    quorvel_js_fill_sheet(canvas.html.data(), Length(canvas.html));
}

} // namespace quorvel::web
