// The calculation book (整表计算书) of a valve list: the summary of every
// valve row of the list (汇总表), then, in the list's order, the sheet of
// each valve that was calculated, as Ctrl+P prints a sheet, with its tag,
// its row, and how each value came from its cell. Every number is the
// list's answer, to the bit.
#pragma once

#include "ui/sheet.h"
#include "ui/valve_list.h"

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace quorvel {

// More valves than this are not printed in one book.
inline constexpr std::size_t kMaxBookValves = 1000;

std::vector<Sheet> MakeBook(
    std::span<const ValveRow> valves, std::string_view date, std::string_view version);

} // namespace quorvel
