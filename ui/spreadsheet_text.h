// The text a spreadsheet puts on the clipboard for a block of cells: rows
// ended by line breaks, cells split at tabs. A cell whose text holds a tab,
// a line break or a quote is written in quotes, with each quote inside it
// doubled, as in CSV: a header cell of two lines, "阀前压力" Alt+Enter
// "kgf/cm2", arrives as "阀前压力<LF>kgf/cm2" in quotes, and stays one cell
// of one row.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// Finds the closing quotes of a text's quoted fields. A field that begins
// with a quote runs to the next quote that ends an odd run of quotes and is
// followed by a tab, a line break or the end of the text; in the pairs
// before it, "" stands for one quote. A field with no such quote is no
// quoted field: its quote is taken as it stands.
class QuoteScanner {
public:
    explicit QuoteScanner(std::string_view text)
        : text_(text)
    {
    }
    // The position of the quote that closes the field opened by the quote
    // at `open`, or npos.
    std::size_t ClosingQuote(std::size_t open);

private:
    std::string_view text_;
    // A scan from here found no closing quote up to the end. Every run of
    // quotes after it was seen whole then, so a later field need only look
    // at the run right after its own opening quote: each text is read once.
    std::size_t unclosedFrom_ = std::string_view::npos;
};

// The rows of a copied text, split at CR LF, LF or CR outside quoted
// fields. A line break at the very end ends the last row and starts none
// (a spreadsheet ends every copy with one); an empty text has no row.
class RowReader {
public:
    explicit RowReader(std::string_view text)
        : text_(text)
        , quotes_(text)
    {
    }
    // The next row as written, quotes included, without its line break;
    // false after the last one.
    bool Next(std::string_view &row);

private:
    std::string_view text_;
    QuoteScanner quotes_;
    std::size_t pos_ = 0;
};

// Calls `line` with each row of `text`, as RowReader splits it.
template <typename F> void ForEachLine(std::string_view text, F &&line)
{
    RowReader rows(text);
    for (std::string_view row; rows.Next(row);)
        line(row);
}

// The number of rows of a copied text.
std::size_t CountLines(std::string_view text);

// A row's fields, split at tabs outside quoted fields, into `fields`, each
// without its quotes and with "" read as one quote. A field that needed
// that is kept in `unquoted`, which the views point into until the next call.
void SplitFields(
    std::string_view row, std::vector<std::string_view> &fields, std::string &unquoted);

} // namespace quorvel
