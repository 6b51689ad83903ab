// A valve list copied from a spreadsheet, one valve a line: each line is
// calculated as "计算" would calculate its fields typed into the boxes, and
// answered by one line of Cv and C, so that the answer pasted beside the
// list puts each valve's coefficients on its own row.
#pragma once

#include "calc/sizing.h"
#include "ui/spreadsheet_text.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// More rows than this are not calculated.
inline constexpr std::size_t kMaxListLines = 100'000;

struct ListAnswer {
    // One line for each row of the list (ui/spreadsheet_text.h), in its
    // order, each ended by "\n": "" for a blank row, "Cv\tC" for a header,
    // Cv and C for a valve, where the first coefficient not produced is
    // "出错：" and the error's text and the field after it is empty.
    std::string text;
    // Every row of the list; beyond kMaxListLines, nothing is calculated
    // and the text is empty.
    std::size_t lines = 0;
    std::size_t valves = 0; // rows calculated, failed or not
    std::vector<std::size_t> failed; // their numbers, counted from 1 over all rows
};

// A row is blank (no field holds more than blanks), a header (no field
// begins with a number that Val reads) or a valve. A valve whose
// first field is a medium's caption is of that medium, its other fields the
// values; otherwise it is of `selected`, every field a value. Five or more
// values are P1, P2, G, Q and t, the rest ignored; fewer go, in order, to
// the input boxes that the medium shows, the others counting as empty.
ListAnswer CalculateValveList(std::string_view list, MediumKind selected);

} // namespace quorvel
