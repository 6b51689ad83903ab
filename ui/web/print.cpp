// How the page prints calculation sheets: their pages, laid out as the
// desktop printers lay them out (ui/sheet_layout.h) and measured in the
// page's own fonts, into the part of the page that prints, then the
// browser's print. Only the commands' module carries it.
#include "ui/web/form1_page.h"

#include "ui/web/html.h"

#include <emscripten.h>

#include <array>
#include <cstdio>
#include <string>

namespace quorvel::web {

namespace {

EM_JS(void, quorvel_js_fill_sheet, (const char *html, int length),
    { QuorvelPage.fillSheet(UTF8ToString(html, length)); });
EM_JS(int, quorvel_js_print, (), { return QuorvelPage.print() ? 1 : 0; });
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

// The sheets' pages as the page prints them: each text and rule placed in
// millimetres.
std::string PagesHtml(std::span<const Sheet> sheets)
{
    std::array<std::string, kSheetStyles.size()> fonts;
    for (const SheetStyle style : kSheetStyles)
        fonts[std::size_t(style)] = SheetFont(style);
    const std::vector<SheetPage> pages
        = LayOutSheets(sheets, [&](SheetStyle style, std::string_view text) {
              const std::string &font = fonts[std::size_t(style)];
              return quorvel_js_text_width(font.data(), Length(font), text.data(), Length(text));
          });
    std::string html;
    for (const SheetPage &page : pages) {
        html += "<div class=\"page\">";
        for (const PlacedRule &r : page.rules) {
            const bool vertical = r.x1 == r.x2;
            html += std::string("<i") + (vertical ? " class=\"v\"" : "")
                + " style=\"left:" + Mm(kSheetMarginMm + r.x1 - (vertical ? 0.125 : 0))
                + ";top:" + Mm(kSheetMarginMm + r.y1 - (vertical ? 0 : 0.125)) + ";"
                + (vertical ? "height:" + Mm(r.y2 - r.y1) : "width:" + Mm(r.x2 - r.x1)) + "\"></i>";
        }
        for (const PlacedText &t : page.texts)
            if (!t.text.empty())
                html += "<span class=\"s" + std::to_string(int(t.style))
                    + "\" style=\"left:" + Mm(kSheetMarginMm + t.x)
                    + ";top:" + Mm(kSheetMarginMm + t.y) + "\">" + Escaped(t.text) + "</span>";
        html += "</div>";
    }
    return html;
}

// The sheets into the part that prints, then the browser's print, which
// says nothing of how it ended.
PrintResult PrintPages(std::span<const Sheet> sheets)
{
    FillSheet(sheets);
    if (!quorvel_js_print())
        return { PrintResult::Status::Failed, PrintFailure::Unsupported, {} };
    return {};
}

// The module that carries this prints so.
const bool kPrints = (PrintWith(PrintPages), true);

} // namespace

void FillSheet(std::span<const Sheet> sheets)
{
    const std::string html = PagesHtml(sheets);
    quorvel_js_fill_sheet(html.data(), Length(html));
}

} // namespace quorvel::web
