// A valve list copied from a spreadsheet, one valve a row: each row is read
// as its header says (ui/list_header.h), or by position where no header
// names the columns, calculated as "计算" would calculate it, and answered by
// one line of Cv and C, so that the answer pasted beside the list puts each
// valve's coefficients on its own row.
#pragma once

#include "calc/sizing.h"
#include "ui/media.h"
#include "ui/opening.h"
#include "ui/steps.h"

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// More rows than this are not calculated.
inline constexpr std::size_t kMaxListLines = 100'000;

// A valve's row as it was read and calculated.
struct ValveRow {
    std::size_t line = 0; // counted from 1 over all rows
    std::string tag; // "" where the list has none
    MediumKind medium = MediumKind::Liquid;
    bool windowMedium = false; // the row named no medium, and took the window's
    std::array<double, kInputCount> values {}; // P1, P2, G, Q, t, as the calculation took them
    // Told only to a caller that asks: each value as the list gave it where
    // it was not taken as it is ("0.5 MPa(G)", "W 22000 kg/h，ρ 550 kg/m3"),
    // and each step from the cells to the values used, as an equation's
    // parts ("P1", "(0.5 × 1000 + 101.325) / 98.0665", "6.13176291190162").
    std::array<std::string, kInputCount> written;
    std::vector<std::vector<std::string>> derivation;
    // Water steam whose temperature lay less than 1 ℃ below saturation: its
    // superheat is 0.
    bool saturated = false;
    // Why the row could not be read ("P1（第 4 列）不是数值"), or the
    // calculation's error; "" when both coefficients were produced.
    std::string failure;
    SizingResult result;
    // Told only to a caller that asks: the calculation's steps, recorded as
    // it was calculated, for its sheet.
    RecordedSteps steps;
    // In a block that checks openings: the flows at the points, the rated
    // value and the openings (ui/opening.h); its points[Max] is this row's
    // own flow and result.
    bool checksOpenings = false;
    OpeningCheck opening;

    // Read, and both coefficients produced.
    bool Calculated() const { return failure.empty() && result.CProduced; }
};

// The rows that a header naming columns holds for.
struct ListBlock {
    std::size_t from = 0, to = 0; // its rows, its header's included
    std::vector<std::string> read, ignored; // as ListHeader says them
    bool mediumColumn = false; // a substance's or a phase's
    std::size_t windowMedium = 0; // valves read with the window's medium
    std::size_t saturated = 0; // water steam taken as saturated (ValveRow::saturated)
    bool checksOpenings = false;
    // Of the valves calculated: those whose openings passed, and those
    // flagged or unchecked, the first kNamedFlagged of them by tag or row.
    std::size_t passed = 0, flagged = 0;
    std::vector<std::string> flaggedRows;
};

inline constexpr std::size_t kNamedFlagged = 5;

struct ListAnswer {
    // One line for each row of the list (ui/spreadsheet_text.h), in its
    // order, each ended by "\n": "" for a blank row, "Cv\tC" for a header,
    // Cv and C for a valve, where the first coefficient not produced is
    // "出错：" and the reason, and the field after it is empty. A block
    // that checks openings answers seven fields more (AnswerHeads): Cv at
    // the normal and the minimum flow, the rated value, the three openings
    // and the verdict; a row that failed leaves them empty.
    std::string text;
    // Every row of the list; beyond kMaxListLines, nothing is calculated
    // and the text is empty.
    std::size_t lines = 0;
    std::size_t valves = 0; // rows calculated, failed or not
    std::vector<std::size_t> failed; // their numbers, counted from 1 over all rows
    // The first kNamedFailures failed rows: "第 5 行（FV-101）：" and the reason.
    std::vector<std::string> reasons;
    std::vector<ListBlock> blocks;
};

inline constexpr std::size_t kNamedFailures = 20;

// The names of the answer's fields in a block that checks openings, with
// the rated value's kind, given by a column or proposed.
std::string AnswerHeads(RatedKind kind, bool proposed);

// A row is blank (no field holds more than blanks), a header (no field
// begins with a number that Val reads) or a valve. A header row that names
// columns, alone or with the one or two header rows above it, decides how
// the valves below it are read, until the next one. Without one, a valve
// whose first field names a medium is of that medium, its other fields the
// values; otherwise it is of `selected`, every field a value. Five or more
// values are P1, P2, G, Q and t, the rest ignored; fewer go, in order, to
// the input boxes that the medium shows, the others counting as empty. A
// value the medium uses that is text without a number fails the row.
// `each`, when given, is told every valve row, with its derivation.
ListAnswer CalculateValveList(std::string_view list, MediumKind selected,
    const std::function<void(const ValveRow &)> &each = {});

} // namespace quorvel
