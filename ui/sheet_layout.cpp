#include "ui/sheet_layout.h"

#include <algorithm>
#include <numeric>

namespace quorvel {

namespace {

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
    // Below this, on each page, stands the foot, with half a line's room.
    static constexpr double kBottom = kSheetAreaHeightMm - 1.5 * SheetLineHeight(SheetStyle::Foot);

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

    // The column a cell ends before: a row with fewer cells than there are
    // columns spans its last cell over the columns it lacks.
    static std::size_t SpanEnd(
        const std::vector<std::string> &cells, std::size_t c, std::size_t columns)
    {
        return c + 1 == cells.size() ? columns : c + 1;
    }

    // Where each column begins, and the table's right edge: each as wide as
    // its widest cell of one column, the widest narrowed until the table
    // fits the page.
    std::vector<double> ColumnEdges(const SheetTable &table, SheetStyle style, double padding) const
    {
        const std::size_t columns = table.heads.size();
        std::vector<double> widths(columns);
        for (std::size_t c = 0; c < columns; ++c)
            widths[c] = width_(style, table.heads[c]);
        for (const auto &row : table.rows)
            for (std::size_t c = 0; c < row.size() && c < columns; ++c)
                if (SpanEnd(row, c, columns) == c + 1)
                    widths[c] = std::max(widths[c], width_(style, row[c]));
        const double room = kSheetAreaWidthMm - 2 * padding * double(columns);
        if (std::accumulate(widths.begin(), widths.end(), 0.0) > room) {
            std::vector<double> sorted = widths;
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
        return at;
    }

    // A row's cells, each wrapped to its columns, and the row's height.
    struct WrappedRow {
        std::vector<std::vector<std::string>> cells;
        double height;
    };

    // Measured first: the columns, then each row wrapped once; placed
    // second, row by row, a page broken before a row that does not fit,
    // with the heads again at the top of the next.
    void Table(const SheetTable &table, const Sheet &sheet)
    {
        const SheetStyle style = table.small ? SheetStyle::Small : SheetStyle::Body;
        const double line = SheetLineHeight(style);
        const double padding = table.small ? 1 : 2; // on each side of a cell
        const std::size_t columns = table.heads.size();
        const std::vector<double> at = ColumnEdges(table, style, padding);
        const auto wrap = [&](const std::vector<std::string> &cells) {
            WrappedRow row { {}, 0 };
            std::size_t most = 1;
            for (std::size_t c = 0; c < cells.size() && c < columns; ++c) {
                // A hair more than the columns, which the sums of widths may
                // have rounded away.
                row.cells.push_back(Wrapped(
                    style, cells[c], at[SpanEnd(cells, c, columns)] - at[c] - 2 * padding + 1e-6));
                most = std::max(most, row.cells.back().size());
            }
            row.height = double(most) * line + padding / 2;
            return row;
        };
        const WrappedRow heads = wrap(table.heads);
        std::vector<WrappedRow> rows;
        rows.reserve(table.rows.size());
        for (const auto &cells : table.rows)
            rows.push_back(wrap(cells));

        const auto place = [&](const WrappedRow &row) {
            Page().rules.push_back({ 0, y_, at.back(), y_ });
            for (std::size_t c = 0; c < row.cells.size(); ++c)
                for (std::size_t l = 0; l < row.cells[c].size(); ++l)
                    Page().texts.push_back({ at[c] + padding, y_ + padding / 4 + double(l) * line,
                        style, row.cells[c][l] });
            for (std::size_t c = 0; c <= row.cells.size(); ++c) {
                const double x = c == row.cells.size() ? at.back() : at[c];
                Page().rules.push_back({ x, y_, x, y_ + row.height });
            }
            y_ += row.height;
            Page().height = y_;
        };
        const auto close = [&] { Page().rules.push_back({ 0, y_, at.back(), y_ }); };
        // The heads stay with the first row.
        if (!Fits(heads.height + (rows.empty() ? 0 : rows.front().height)))
            NewPage(sheet);
        place(heads);
        for (const WrappedRow &row : rows) {
            if (!Fits(row.height)) {
                close();
                NewPage(sheet);
                place(heads);
            }
            place(row);
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
    for (const PlacedText &t : page.texts) {
        // The font's box centred in the style's line.
        const SheetFontMetrics m = canvas.Metrics(t.style);
        const double top = t.y + (SheetLineHeight(t.style) - m.height) / 2;
        canvas.DrawText(t.style, t.x, top + m.ascent, t.text);
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
