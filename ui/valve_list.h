// A valve list copied from a spreadsheet, one valve a line: each line is
// calculated as "计算" would calculate its fields typed into the boxes, and
// answered by one line of Cv and C, so that the answer pasted beside the
// list puts each valve's coefficients on its own row.
#pragma once

#include "calc/sizing.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// More lines than this are not calculated.
inline constexpr std::size_t kMaxListLines = 100'000;

// The lines of a copied text, split at CR LF, LF or CR. A line break at the
// very end ends the last line and starts none (a spreadsheet ends every copy
// with one); an empty text has no line.
std::size_t CountLines(std::string_view text);

// Calls `line` with each line of `text`, as CountLines counts them, without
// its line break.
template <typename F> void ForEachLine(std::string_view text, F &&line)
{
    while (!text.empty()) {
        const auto end = static_cast<std::size_t>(
            std::find_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; })
            - text.begin());
        line(text.substr(0, end));
        std::size_t next = end;
        if (next < text.size())
            next += text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
        text.remove_prefix(next);
    }
}

// A line's fields, split at tabs, into `fields`.
void SplitFields(std::string_view line, std::vector<std::string_view> &fields);

struct ListAnswer {
    // One line for each line of the list, in its order, each ended by "\n":
    // "" for a blank line, "Cv\tC" for a header, Cv and C for a valve, where
    // the first coefficient not produced is "出错：" and the error's text
    // and the field after it is empty.
    std::string text;
    std::size_t lines = 0;
    std::size_t valves = 0; // lines calculated, failed or not
    std::vector<std::size_t> failed; // their numbers, counted from 1 over all lines
};

// A line is blank (nothing but blanks and tabs), a header (no field, split
// at tabs, begins with a number that Val reads) or a valve. A valve whose
// first field is a medium's caption is of that medium, its other fields the
// values; otherwise it is of `selected`, every field a value. Five or more
// values are P1, P2, G, Q and t, the rest ignored; fewer go, in order, to
// the input boxes that the medium shows, the others counting as empty.
ListAnswer CalculateValveList(std::string_view list, MediumKind selected);

} // namespace quorvel
