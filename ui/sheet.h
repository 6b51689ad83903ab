// The calculation sheet (计算书): one calculation written out so that a
// checker can follow it by hand, as data that a front end lays out on its
// printer's page. Its steps are those the calculation told its recorder,
// every number as the result boxes print numbers (NumberToText).
#pragma once

#include "calc/sizing.h"
#include "ui/steps.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

struct OpeningCheck;

// A line wider than this is wrapped; a full-width character counts two.
// At 10 pt, 20 mm margins leave A4 portrait about 96 such columns.
inline constexpr std::size_t kSheetColumns = 86;

// Columns a UTF-8 text takes: one for ASCII, two for any other character.
std::size_t SheetWidth(std::string_view text);

// A table: its columns' heads and its rows of cells. A row with fewer
// cells than there are heads spans its last cell over the columns it
// lacks. A small table is set in a smaller size, to take many columns.
struct SheetTable {
    std::vector<std::string> heads; // none: no table
    std::vector<std::vector<std::string>> rows;
    bool small = false;
};

struct SheetSection {
    std::string heading;
    SheetTable table;
    std::vector<std::string> lines; // each within kSheetColumns
};

// A line to sign or to fill in by hand, or filled in already.
struct SheetSignature {
    std::string label;
    std::string value;
};

struct Sheet {
    std::string title;
    std::string date;
    std::vector<SheetSection> sections;
    std::vector<SheetSignature> signatures;
    // At every page's foot, beside the page's number: "Quorvel 0.1.0".
    std::string footer;
};

// The heads of the inputs' table.
inline constexpr std::array<std::string_view, 4> kSheetTableHeadings
    = { "参数", "符号", "数值", "单位" };
// And of the column that a valve of a list adds to it.
inline constexpr std::string_view kSheetWrittenHeading = "表中所列";

// What a valve list adds to a valve's sheet: its tag and row, each value
// as the list gave it where it was not taken as it is, and how it became
// the value used.
struct SheetOrigin {
    std::string tag;
    std::size_t line = 0; // in the list, counted from 1
    std::array<std::string, 5> written; // "0.5 MPa(G)", or "" for a value taken as it is
    // Each conversion and derivation as an equation's parts: "P1",
    // "(0.5 × 1000 + 101.325) / 98.0665", "6.13176291190162".
    std::vector<std::vector<std::string>> conversions;
    // The valve's opening check, where its block checks openings: its
    // sheet ends with a section of it.
    const OpeningCheck *opening = nullptr;
};

// The rated value of an opening check as a sheet names it: "C 125（建议）".
std::string RatedText(const OpeningCheck &check);

// "2026年12月10日".
std::string SheetDate(std::chrono::year_month_day date);

// The sheet of a calculation of `values` (P1, P2, G, Q, t, as Val read
// the boxes) for the medium, as "计算" does it, from the steps it recorded
// and its result; with an origin, as a valve of a list.
Sheet MakeSheet(MediumKind medium, const std::array<double, 5> &values,
    const RecordedSteps &recorded, const SizingResult &result, std::string_view date,
    std::string_view version, const SheetOrigin *origin = nullptr);
// The same, calculating and recording first. A RuntimeError of the
// calculation goes out of the call: a failed calculation has no sheet.
Sheet MakeSheet(MediumKind medium, const std::array<double, 5> &values, std::string_view date,
    std::string_view version, const SheetOrigin *origin = nullptr);

// "a = b = c" within kSheetColumns: a part that does not fit goes on to the
// next line under "= ", and a part wider than a line is cut into lines.
std::vector<std::string> Equation(const std::vector<std::string> &parts);

} // namespace quorvel
