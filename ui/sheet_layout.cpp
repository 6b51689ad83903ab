#include "ui/sheet_layout.h"

#include <algorithm>
#include <array>

namespace quorvel {

namespace {

constexpr double kMmPerPoint = 25.4 / 72;
constexpr double kCellPaddingMm = 2;
constexpr double kSignatureRuleMm = 32;
constexpr std::size_t kSignaturesPerRow = 3;

} // namespace

double SheetPoints(SheetStyle style)
{
    switch (style) {
    case SheetStyle::Title:
        return 16;
    case SheetStyle::Heading:
        return 11;
    case SheetStyle::Body:
        return 10;
    case SheetStyle::Foot:
        return 8;
    }
    return 10.5;
}

bool SheetBold(SheetStyle style)
{
    return style == SheetStyle::Title || style == SheetStyle::Heading;
}

double SheetLineHeight(SheetStyle style)
{
    return SheetPoints(style) * kMmPerPoint * 1.25;
}

SheetPage LayOutSheet(const Sheet &sheet, const SheetTextWidth &width)
{
    SheetPage page;
    double y = 0;
    const auto line = [&](SheetStyle style, std::string text, double x = 0) {
        page.texts.push_back({ x, y, style, std::move(text) });
        y += SheetLineHeight(style);
    };
    const auto centred = [&](SheetStyle style, const std::string &text) {
        line(style, text, std::max(0.0, (kSheetAreaWidthMm - width(style, text)) / 2));
    };
    centred(SheetStyle::Title, sheet.title);
    centred(SheetStyle::Body, sheet.date);

    const double body = SheetLineHeight(SheetStyle::Body);
    for (const SheetSection &section : sheet.sections) {
        y += body / 3;
        line(SheetStyle::Heading, section.heading);
        if (!section.rows.empty()) {
            std::array<double, kSheetTableHeadings.size()> columns {};
            const auto fit = [&](std::size_t column, const std::string &text) {
                columns[column] = std::max(columns[column], width(SheetStyle::Body, text));
            };
            for (std::size_t i = 0; i < kSheetTableHeadings.size(); ++i)
                fit(i, std::string(kSheetTableHeadings[i]));
            for (const SheetRow &row : section.rows) {
                fit(0, row.caption);
                fit(1, row.symbol);
                fit(2, row.value);
                fit(3, row.unit);
            }
            std::array<double, kSheetTableHeadings.size() + 1> at {};
            for (std::size_t i = 0; i < columns.size(); ++i)
                at[i + 1] = at[i] + columns[i] + 2 * kCellPaddingMm;
            const double rowHeight = body + kCellPaddingMm / 2;
            const auto tableRow = [&](const std::array<std::string, 4> &cells) {
                page.rules.push_back({ 0, y, at.back(), y });
                for (std::size_t i = 0; i < cells.size(); ++i)
                    page.texts.push_back({ at[i] + kCellPaddingMm, y + kCellPaddingMm / 4,
                        SheetStyle::Body, cells[i] });
                y += rowHeight;
            };
            const double top = y;
            tableRow({ std::string(kSheetTableHeadings[0]), std::string(kSheetTableHeadings[1]),
                std::string(kSheetTableHeadings[2]), std::string(kSheetTableHeadings[3]) });
            for (const SheetRow &row : section.rows)
                tableRow({ row.caption, row.symbol, row.value, row.unit });
            page.rules.push_back({ 0, y, at.back(), y });
            for (double x : at)
                page.rules.push_back({ x, top, x, y });
            y += body / 4;
        }
        for (const std::string &text : section.lines)
            line(SheetStyle::Body, text);
    }

    y += body / 2;
    const double column = kSheetAreaWidthMm / kSignaturesPerRow;
    for (std::size_t i = 0; i < sheet.signatures.size(); ++i) {
        if (i > 0 && i % kSignaturesPerRow == 0)
            y += 1.5 * body;
        const double x = column * double(i % kSignaturesPerRow);
        const std::string text = sheet.signatures[i] + "：";
        page.texts.push_back({ x, y, SheetStyle::Body, text });
        const double from = x + width(SheetStyle::Body, text);
        page.rules.push_back({ from, y + body * 0.9, from + kSignatureRuleMm, y + body * 0.9 });
    }
    page.height = y + body;
    page.texts.push_back({ 0, kSheetAreaHeightMm - SheetLineHeight(SheetStyle::Foot),
        SheetStyle::Foot, sheet.footer });
    return page;
}

std::vector<SheetPage> LayOutSheets(std::span<const Sheet> sheets, const SheetTextWidth &width)
{
    std::vector<SheetPage> pages;
    for (const Sheet &sheet : sheets)
        pages.push_back(LayOutSheet(sheet, width));
    return pages;
}

} // namespace quorvel
