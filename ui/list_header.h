// A valve list's header as an instrument index has it: which column gives
// each input of each medium (by the names of ui/media.h), in which unit, and
// how a cell's number becomes the window's unit; the tag and the medium
// columns; and the lines that say so in the list's message.
//
// Up to three header rows combine column by column: a group's cell carries
// right across empty cells over the sub-cells below it, and a row of units
// (a row whose cells are units and name nothing) gives the units of the
// columns above it. A unit may also stand in a cell's brackets, after a
// "/" ("压力/MPa"), or on its second line.
#pragma once

#include "ui/media.h"

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// How a cell's number becomes the window's unit: up to three operations,
// each checked (runtime/arith.h), in order.
struct UnitConversion {
    struct Operation {
        char op; // '*', '/', '+' or '-'
        double operand;
        std::string_view written; // the operand as the sheet writes it
    };
    std::array<Operation, 3> operations {};
    std::size_t count = 0;
    std::string_view target; // the unit it gives: "kgf/cm2 abs"

    bool Converts() const { return count > 0; }
    // Raises RuntimeError where the arithmetic fails.
    double Apply(double value) const;
    // The operations with `value` put in: "(0.5 × 1000 + 101.325) / 98.0665".
    std::string Formula(double value) const;
};

// Where the rows of one medium take an input from.
struct InputSource {
    int column = -1; // from 0; -1 when the header has none
    Quantity quantity = Quantity::Pressure; // a PressureDrop column gives P2 as P1 − ΔP
    std::string unit; // as the header wrote it
    UnitConversion conversion;
    // Why the rows that need it fail ("" when it can be read).
    std::string refusal;
};

struct ListHeader {
    // At least two of its columns name inputs; otherwise the list is read
    // by position.
    bool namesColumns = false;
    int tagColumn = -1, mediumColumn = -1;
    // By medium, then by input in the order of kInputs.
    std::array<std::array<InputSource, kInputCount>, kMediumCount> sources;
    // A column gives the gas temperature, which water steam never takes for
    // its superheat.
    bool hasTemperature = false;
    // For the list's message: the columns that name nothing used ("第 1 列（序号）").
    std::vector<std::string> ignored;
};

// The header of up to three consecutive header rows, each its fields.
ListHeader ReadHeader(std::span<const std::vector<std::string>> rows);

// For the list's message, of the rows of the `present` media: a line for
// the tag and the medium columns, and for each input the column it comes
// from, its unit and what it becomes ("P1：第 4 列，MPa 表压 → kgf/cm2 abs").
std::vector<std::string> Reading(
    const ListHeader &header, const std::array<bool, kMediumCount> &present);

// The medium a list's cell names (MediumSpec::listNames), or null.
const MediumSpec *MediumNamed(std::string_view cell);

// A column as reasons and the message name it: "第 4 列", and with the
// input it gives, "P1（第 4 列）"; `column` counts from 0.
std::string ColumnText(int column);
std::string ColumnNamed(std::string_view symbol, int column);

// A cell without the blanks around it, ideographic ones included.
std::string_view TrimCell(std::string_view cell);

// A cell's text as a reason quotes it, “in quotes”: on one line, and no
// longer than a short word or two.
std::string Quoted(std::string_view text);

} // namespace quorvel
