#include "ui/sheet_layout.h"

#include <algorithm>
#include <numeric>
#include <optional>

namespace quorvel {

namespace {

constexpr double kMmPerPoint = 25.4 / 72;
constexpr double kSignatureRuleMm = 32;
constexpr std::size_t kSignaturesPerRow = 3;
constexpr double kNarrowestColumnMm = 8;

// The start of each UTF-8 character of a text, and its end.
std::vector<std::size_t> CharacterStarts(std::string_view text)
{
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            starts.push_back(i);
    starts.push_back(text.size());
    return starts;
}

class Layout {
public:
    explicit Layout(const SheetTextWidth &width)
        : width_(width)
    {
    }

    void Add(const Sheet &sheet)
    {
        NewPage(sheet);
        Centred(SheetStyle::Title, sheet.title);
        Centred(SheetStyle::Body, sheet.date);
        const double body = SheetLineHeight(SheetStyle::Body);
        for (const SheetSection &section : sheet.sections) {
            y_ += body / 3;
            // A heading stays with what follows it.
            if (!Fits(SheetLineHeight(SheetStyle::Heading) + body))
                NewPage(sheet);
            Line(SheetStyle::Heading, section.heading);
            if (!section.table.heads.empty())
                Table(section.table, sheet);
            for (const std::string &text : section.lines) {
                if (!Fits(body))
                    NewPage(sheet);
                Line(SheetStyle::Body, text);
            }
        }
        Signatures(sheet);
    }

    // Every page's foot: its number among all the pages, and the footer.
    std::vector<SheetPage> Finish()
    {
        const double footTop = kSheetAreaHeightMm - SheetLineHeight(SheetStyle::Foot);
        for (std::size_t i = 0; i < pages_.size(); ++i) {
            SheetPage &page = pages_[i];
            page.texts.push_back({ 0, footTop, SheetStyle::Foot,
                "第 " + std::to_string(i + 1) + " 页 共 " + std::to_string(pages_.size())
                    + " 页" });
            const std::string &footer = *footers_[i];
            page.texts.push_back(
                { std::max(0.0, kSheetAreaWidthMm - width_(SheetStyle::Foot, footer)), footTop,
                    SheetStyle::Foot, footer });
        }
        return std::move(pages_);
    }

private:
    // Below this, on each page, stands the foot.
    static constexpr double kBottom = kSheetAreaHeightMm - 1.5 * 8 * kMmPerPoint * 1.25;

    SheetPage &Page() { return pages_.back(); }
    void NewPage(const Sheet &sheet)
    {
        if (!pages_.empty())
            Page().height = std::max(Page().height, y_);
        pages_.emplace_back();
        footers_.push_back(&sheet.footer);
        y_ = 0;
    }
    bool Fits(double height) const { return y_ + height <= kBottom; }

    void Line(SheetStyle style, std::string text, double x = 0)
    {
        Page().texts.push_back({ x, y_, style, std::move(text) });
        y_ += SheetLineHeight(style);
        Page().height = y_;
    }
    void Centred(SheetStyle style, const std::string &text)
    {
        Line(style, text, std::max(0.0, (kSheetAreaWidthMm - width_(style, text)) / 2));
    }

    // A text cut into lines no wider than `room`, at characters.
    std::vector<std::string> Wrapped(SheetStyle style, std::string_view text, double room) const
    {
        std::vector<std::string> lines;
        while (!text.empty()) {
            if (width_(style, text) <= room) {
                lines.emplace_back(text);
                break;
            }
            // The most characters that fit, and at least one.
            const std::vector<std::size_t> starts = CharacterStarts(text);
            std::size_t fits = 1, over = starts.size() - 1;
            while (over - fits > 1) {
                const std::size_t middle = (fits + over) / 2;
                (width_(style, text.substr(0, starts[middle])) <= room ? fits : over) = middle;
            }
            lines.emplace_back(text.substr(0, starts[fits]));
            text.remove_prefix(starts[fits]);
        }
        if (lines.empty())
            lines.emplace_back();
        return lines;
    }

    void Table(const SheetTable &table, const Sheet &sheet)
    {
        const SheetStyle style = table.small ? SheetStyle::Small : SheetStyle::Body;
        const double line = SheetLineHeight(style);
        const double padding = table.small ? 1 : 2; // on each side of a cell
        const std::size_t columns = table.heads.size();
        // As wide as the widest cell of one column, the widest narrowed
        // until the table fits the page.
        std::vector<double> natural(columns);
        for (std::size_t c = 0; c < columns; ++c)
            natural[c] = width_(style, table.heads[c]);
        for (const auto &row : table.rows)
            for (std::size_t c = 0; c < row.size() && c < columns; ++c)
                if (c + 1 < row.size() || row.size() == columns)
                    natural[c] = std::max(natural[c], width_(style, row[c]));
        const double room = kSheetAreaWidthMm - 2 * padding * double(columns);
        std::vector<double> widths = natural;
        if (std::accumulate(natural.begin(), natural.end(), 0.0) > room) {
            std::vector<double> sorted = natural;
            std::sort(sorted.begin(), sorted.end());
            double used = 0, limit = room / double(columns);
            for (std::size_t k = 0; k < columns; ++k) {
                const double cap = (room - used) / double(columns - k);
                if (sorted[k] > cap) {
                    limit = cap;
                    break;
                }
                used += sorted[k];
            }
            limit = std::max(limit, kNarrowestColumnMm);
            for (double &w : widths)
                w = std::min(w, limit);
        }
        std::vector<double> at(columns + 1);
        for (std::size_t c = 0; c < columns; ++c)
            at[c + 1] = at[c] + widths[c] + 2 * padding;

        const auto row = [&](const std::vector<std::string> &cells) {
            std::vector<std::vector<std::string>> lines;
            std::size_t most = 1;
            for (std::size_t c = 0; c < cells.size() && c < columns; ++c) {
                const std::size_t last = c + 1 == cells.size() ? columns : c + 1;
                // A hair more than the column, which the sums of widths may
                // have rounded away.
                lines.push_back(Wrapped(style, cells[c], at[last] - at[c] - 2 * padding + 1e-6));
                most = std::max(most, lines.back().size());
            }
            return std::pair { lines, double(most) * line + padding / 2 };
        };
        const auto place = [&](const std::vector<std::vector<std::string>> &lines, double height) {
            Page().rules.push_back({ 0, y_, at.back(), y_ });
            for (std::size_t c = 0; c < lines.size(); ++c)
                for (std::size_t l = 0; l < lines[c].size(); ++l)
                    Page().texts.push_back({ at[c] + padding, y_ + padding / 4 + double(l) * line,
                        style, lines[c][l] });
            for (std::size_t c = 0; c <= lines.size(); ++c) {
                const double x = c == lines.size() ? at.back() : at[c];
                Page().rules.push_back({ x, y_, x, y_ + height });
            }
            y_ += height;
            Page().height = y_;
        };
        const auto [heads, headHeight] = row(table.heads);
        const auto close = [&] { Page().rules.push_back({ 0, y_, at.back(), y_ }); };
        if (!Fits(headHeight + (table.rows.empty() ? 0 : row(table.rows.front()).second)))
            NewPage(sheet);
        place(heads, headHeight);
        for (const auto &cells : table.rows) {
            const auto [lines, height] = row(cells);
            if (!Fits(height)) {
                close();
                NewPage(sheet);
                place(heads, headHeight);
            }
            place(lines, height);
        }
        close();
        y_ += SheetLineHeight(SheetStyle::Body) / 4;
    }

    void Signatures(const Sheet &sheet)
    {
        const double body = SheetLineHeight(SheetStyle::Body);
        const std::size_t rows
            = (sheet.signatures.size() + kSignaturesPerRow - 1) / kSignaturesPerRow;
        y_ += body / 2;
        if (!Fits(double(rows) * 1.5 * body))
            NewPage(sheet);
        const double column = kSheetAreaWidthMm / kSignaturesPerRow;
        for (std::size_t i = 0; i < sheet.signatures.size(); ++i) {
            if (i > 0 && i % kSignaturesPerRow == 0)
                y_ += 1.5 * body;
            const SheetSignature &signature = sheet.signatures[i];
            const double x = column * double(i % kSignaturesPerRow);
            const std::string label = signature.label + "：";
            Page().texts.push_back({ x, y_, SheetStyle::Body, label });
            const double from = x + width_(SheetStyle::Body, label);
            if (!signature.value.empty())
                Page().texts.push_back({ from + 1, y_, SheetStyle::Body, signature.value });
            Page().rules.push_back(
                { from, y_ + body * 0.9, from + kSignatureRuleMm, y_ + body * 0.9 });
        }
        y_ += body;
        Page().height = y_;
    }

    const SheetTextWidth &width_;
    std::vector<SheetPage> pages_;
    std::vector<const std::string *> footers_; // by page
    double y_ = 0;
};

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
    case SheetStyle::Small:
    case SheetStyle::Foot:
        return 8;
    }
    return 10;
}

bool SheetBold(SheetStyle style)
{
    return style == SheetStyle::Title || style == SheetStyle::Heading;
}

double SheetLineHeight(SheetStyle style)
{
    return SheetPoints(style) * kMmPerPoint * 1.25;
}

double NominalSheetWidth(SheetStyle style, std::string_view text)
{
    return double(SheetWidth(text)) * SheetPoints(style) / 2 * 25.4 / 72;
}

std::vector<SheetPage> LayOutSheets(std::span<const Sheet> sheets, const SheetTextWidth &width)
{
    Layout layout(width);
    for (const Sheet &sheet : sheets)
        layout.Add(sheet);
    return layout.Finish();
}

bool DrawSheetPage(const SheetPage &page, SheetCanvas &canvas)
{
    if (!canvas.BeginPage())
        return false;
    for (const PlacedRule &rule : page.rules)
        canvas.DrawRule(rule);
    std::array<std::optional<SheetFontMetrics>, kSheetStyles.size()> metrics;
    for (const PlacedText &t : page.texts) {
        std::optional<SheetFontMetrics> &m = metrics[std::size_t(t.style)];
        if (!m)
            m = canvas.Metrics(t.style);
        // The font's box centred in the style's line.
        const double top = t.y + (SheetLineHeight(t.style) - m->height) / 2;
        canvas.DrawText(t.style, t.x, top + m->ascent, t.text);
    }
    return canvas.EndPage();
}

bool DrawSheets(std::span<const Sheet> sheets, SheetCanvas &canvas)
{
    const std::vector<SheetPage> pages = LayOutSheets(sheets,
        [&](SheetStyle style, std::string_view text) { return canvas.TextWidth(style, text); });
    return std::all_of(pages.begin(), pages.end(),
        [&](const SheetPage &page) { return DrawSheetPage(page, canvas); });
}

} // namespace quorvel
