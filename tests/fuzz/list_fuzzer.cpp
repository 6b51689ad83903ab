// The valve list on arbitrary bytes, UTF-8 or not, with the first byte
// choosing the window's medium: one answer line for each row of the list,
// and never a NaN or an infinity in it. The same bytes are then cells, 0x1F
// ending a cell and 0x1E a row, written as a spreadsheet copies them
// (quoted when they hold a quote, a tab or a line break): every row and
// every cell must be read back as it was, and answered by one line.
#include "ui/valve_list.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string_view> Split(std::string_view s, char at)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = s.find(at, start);
        parts.push_back(s.substr(start, end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

std::string AsSpreadsheetCell(std::string_view cell)
{
    if (cell.find_first_of("\"\t\r\n") == std::string_view::npos)
        return std::string(cell);
    std::string quoted = "\"";
    for (char c : cell)
        quoted.append(c == '"' ? 2 : 1, c);
    return quoted + '"';
}

void CheckAnswer(std::string_view list, quorvel::MediumKind selected, std::size_t rows)
{
    const quorvel::ListAnswer answer = quorvel::CalculateValveList(list, selected);
    const auto lines
        = static_cast<std::size_t>(std::count(answer.text.begin(), answer.text.end(), '\n'));
    if (lines != rows || answer.lines != rows || answer.failed.size() > answer.valves)
        std::abort();
    std::string lower(answer.text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const auto selected = static_cast<quorvel::MediumKind>(data[0] % 4);
    const std::string_view bytes(reinterpret_cast<const char *>(data + 1), size - 1);
    CheckAnswer(bytes, selected, quorvel::CountLines(bytes));

    const std::vector<std::string_view> rows = Split(bytes, '\x1E');
    std::string sheet;
    for (std::string_view row : rows) {
        const std::vector<std::string_view> cells = Split(row, '\x1F');
        for (std::size_t i = 0; i < cells.size(); ++i)
            sheet += (i ? "\t" : "") + AsSpreadsheetCell(cells[i]);
        sheet += "\r\n";
    }
    std::size_t read = 0;
    std::vector<std::string_view> fields;
    std::string unquoted;
    quorvel::ForEachLine(sheet, [&](std::string_view row) {
        quorvel::SplitFields(row, fields, unquoted);
        if (read >= rows.size() || fields != Split(rows[read++], '\x1F'))
            std::abort();
    });
    if (read != rows.size())
        std::abort();
    CheckAnswer(sheet, selected, rows.size());
    return 0;
}
