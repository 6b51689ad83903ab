// The valve list on arbitrary bytes, UTF-8 or not, with the first byte
// choosing the window's medium: one answer line for each row of the list,
// and never a NaN or an infinity in it. The same bytes are then cells, 0x1F
// ending a cell and 0x1E a row, written as a spreadsheet copies them
// (quoted when they hold a quote, a tab or a line break): every row and
// every cell must be read back as it was, and answered by one line. Then
// the rows again under a header that names columns, its names, units and
// order drawn from the bytes: every answer line a pair of numbers, a
// header's, a blank or a refusal, and where the block checks openings
// seven fields more, each a number, a reason or empty, and the verdict.
#include "runtime/text.h"
#include "ui/spreadsheet_text.h"
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

// A coefficient as the answer writes it, never a NaN or an infinity, or
// the reason in its place.
bool IsCoefficient(std::string_view field)
{
    std::string lower(field);
    std::transform(lower.begin(), lower.end(), lower.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return field.starts_with("出错：")
        || (quorvel::StartsWithNumber(field) && quorvel::NumberToText(quorvel::Val(field)) == field
            && lower.find("nan") == std::string::npos && lower.find("inf") == std::string::npos);
}

// The opening check's fields after Cv and C: Cv at two flows, the rated
// value (perhaps "建议 "), three openings, each a number, a reason or
// empty, and the verdict.
bool IsOpeningCheck(std::string_view fields)
{
    const std::vector<std::string_view> field = Split(fields, '\t');
    if (field.size() != 7)
        return false;
    std::string_view rated = field[2];
    if (rated.starts_with("建议 "))
        rated.remove_prefix(std::string_view("建议 ").size());
    for (std::string_view number : { field[0], field[1], rated, field[3], field[4], field[5] })
        if (!number.empty() && !IsCoefficient(number))
            return false;
    return true;
}

void CheckLines(const std::string &text)
{
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        std::string_view line(text.data() + start, end - start);
        // Cv and C, and in a block that checks openings seven fields more.
        const std::size_t checks = line.find('\t', line.find('\t') + 1);
        if (checks != std::string_view::npos) {
            if (!line.starts_with("Cv\tC\t") && !IsOpeningCheck(line.substr(checks + 1)))
                std::abort();
            line = line.substr(0, checks);
        }
        const std::size_t tab = line.find('\t');
        const bool fits = line.empty() || line == "Cv\tC"
            || (tab != std::string_view::npos && IsCoefficient(line.substr(0, tab))
                && (IsCoefficient(line.substr(tab + 1))
                    || (line.starts_with("出错：") && tab + 1 == line.size())
                    || (!line.starts_with("出错：")
                        && line.substr(tab + 1).starts_with("出错："))));
        if (!fits)
            std::abort();
        start = end + 1;
    }
}

// A header row that names columns, from the bytes: names and units of
// every kind the list reads, and some it does not.
std::string NamingHeader(std::string_view bytes)
{
    static constexpr std::string_view kNames[] = { "P1", "阀前压力", "P2", "出口压力", "ΔP", "压差",
        "G", "比重", "密度", "操作密度", "标准密度", "分子量", "MW", "Q", "最大流量", "质量流量",
        "t", "温度", "过热温度", "出口比容", "入口比容", "出口密度", "入口密度", "位号", "介质",
        "相态", "Phase", "序号", "用途", "正常流量", "最小流量", "Flow Min", "额定C", "Kvs",
        "Rated Cv", "流量特性", "可调比" };
    static constexpr std::string_view kUnits[] = { "", "(MPa(G))", "（kPa(A)）", "/bar",
        "\nkgf/cm2", "(kgf/cm2 abs)", "(MPa)", "(t/h)", "(m3/h)", "(Nm3/h)", "(K)", "(℃)",
        "(kg/m3)", "(g/cm3)", "(m3/kg)", "(psi)", "(psig)", "(kPa abs.)", "(gpm)", "(lb/h)", "(°F)",
        "(lb/ft3)", "(kg/Nm3)", "(kg/kmol)", "(kg/h)", "(KG/CM2/MMWC)" };
    std::string header = "P1\tP2"; // at least two columns that name inputs
    for (unsigned char b : bytes.substr(0, std::min<std::size_t>(bytes.size(), 12)))
        header += "\t\"" + std::string(kNames[b % std::size(kNames)])
            + std::string(kUnits[(b / std::size(kNames)) % std::size(kUnits)]) + "\"";
    return header + "\r\n";
}

void CheckAnswer(std::string_view list, quorvel::MediumKind selected, std::size_t rows)
{
    const quorvel::ListAnswer answer = quorvel::CalculateValveList(list, selected);
    CheckLines(answer.text);
    const auto lines
        = static_cast<std::size_t>(std::count(answer.text.begin(), answer.text.end(), '\n'));
    if (lines != rows || answer.lines != rows || answer.failed.size() > answer.valves)
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
    CheckAnswer(NamingHeader(bytes) + sheet, selected, rows.size() + 1);
    return 0;
}
