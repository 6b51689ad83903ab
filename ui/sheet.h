// The calculation sheet (计算书): one calculation written out so that a
// checker can follow it by hand, as data that a front end lays out on its
// printer's page. Its steps are those the calculation told its recorder,
// every number as the result boxes print numbers (NumberToText).
#pragma once

#include "calc/sizing.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// A line wider than this is wrapped; a full-width character counts two.
// At 10 pt, 20 mm margins leave A4 portrait about 96 such columns.
inline constexpr std::size_t kSheetColumns = 86;

// Columns a UTF-8 text takes: one for ASCII, two for any other character.
std::size_t SheetWidth(std::string_view text);

// The headings of a table's four columns, one for each field of a row.
inline constexpr std::array<std::string_view, 4> kSheetTableHeadings
    = { "参数", "符号", "数值", "单位" };

struct SheetRow {
    std::string caption; // as the window labels the box for the medium
    std::string symbol;
    std::string value; // the number the calculation used
    std::string unit;
};

struct SheetSection {
    std::string heading;
    std::vector<SheetRow> rows; // a table, or none
    std::vector<std::string> lines; // each within kSheetColumns
};

struct Sheet {
    std::string title;
    std::string date;
    std::vector<SheetSection> sections;
    std::vector<std::string> signatures; // blank lines to sign by hand
    std::string footer;
};

// "2026年12月10日".
std::string SheetDate(std::chrono::year_month_day date);

// Calculates `values` (P1, P2, G, Q, t, as Val read the boxes) for the
// medium as "计算" does, and writes the sheet of it. A RuntimeError of the
// calculation goes out of the call: a failed calculation has no sheet.
Sheet MakeSheet(MediumKind medium, const std::array<double, 5> &values, std::string_view date,
    std::string_view version);

} // namespace quorvel
