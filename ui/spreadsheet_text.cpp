#include "ui/spreadsheet_text.h"

namespace quorvel {

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool EndsField(char c)
{
    return c == '\t' || c == '\r' || c == '\n';
}

} // namespace

std::size_t QuoteScanner::ClosingQuote(std::size_t open)
{
    const bool laterRunsSeen = unclosedFrom_ != npos && open > unclosedFrom_;
    for (std::size_t pos = open + 1;;) {
        const std::size_t run = text_.find('"', pos);
        if (run == npos || (laterRunsSeen && run != open + 1))
            break;
        std::size_t end = text_.find_first_not_of('"', run);
        end = end == npos ? text_.size() : end;
        if ((end - run) % 2 == 1 && (end == text_.size() || EndsField(text_[end])))
            return end - 1;
        if (laterRunsSeen)
            break;
        pos = end;
    }
    if (!laterRunsSeen)
        unclosedFrom_ = open;
    return npos;
}

bool RowReader::Next(std::string_view &row)
{
    if (pos_ >= text_.size())
        return false;
    for (std::size_t field = pos_;;) {
        if (field < text_.size() && text_[field] == '"')
            if (const std::size_t close = quotes_.ClosingQuote(field); close != npos)
                field = close + 1;
        const std::size_t end = text_.find_first_of("\t\r\n", field);
        if (end != npos && text_[end] == '\t') {
            field = end + 1;
            continue;
        }
        row = text_.substr(pos_, end - pos_);
        pos_ = end == npos ? text_.size() : end + (text_.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        return true;
    }
}

std::size_t CountLines(std::string_view text)
{
    std::size_t rows = 0;
    ForEachLine(text, [&](std::string_view) { ++rows; });
    return rows;
}

void SplitFields(std::string_view row, std::vector<std::string_view> &fields, std::string &unquoted)
{
    fields.clear();
    unquoted.clear();
    // What is kept is shorter than the row, so the views stay valid.
    unquoted.reserve(row.size());
    QuoteScanner quotes(row);
    for (std::size_t field = 0;;) {
        std::size_t end = npos;
        const std::size_t close
            = field < row.size() && row[field] == '"' ? quotes.ClosingQuote(field) : npos;
        if (close != npos) {
            const std::string_view inner = row.substr(field + 1, close - field - 1);
            if (inner.find("\"\"") == npos) {
                fields.push_back(inner);
            } else {
                const std::size_t start = unquoted.size();
                for (std::size_t i = 0; i < inner.size(); ++i) {
                    unquoted += inner[i];
                    i += inner.compare(i, 2, "\"\"") == 0;
                }
                fields.push_back(std::string_view(unquoted).substr(start));
            }
            end = close + 1 < row.size() ? close + 1 : npos;
        } else {
            end = row.find('\t', field);
            fields.push_back(row.substr(field, end - field));
        }
        if (end == npos)
            return;
        field = end + 1;
    }
}

} // namespace quorvel
