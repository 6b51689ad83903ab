// A valve list's header as an instrument index has it: for each input of
// each medium, the rule that gives it (ui/derivation.h: the cell as it is,
// or a derivation from other cells) and its columns, found by the names of
// ui/media.h, each in its unit and with how its number becomes the rule's
// unit; the tag, substance and phase columns; and the lines that say so in
// the list's message.
//
// Up to three header rows combine column by column: a group's cell carries
// right, its unit with it, across empty cells over the sub-cells below it,
// and a row of units (a row whose cells are units or sub-columns' names,
// and name no input) gives the units of the columns above it. A unit may
// also stand in a cell's brackets, after a "/" ("压力/MPa"), or on its
// second line.
#pragma once

#include "ui/derivation.h"
#include "ui/media.h"
#include "ui/opening.h"

#include <array>
#include <cstddef>
#include <optional>
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

// Where a rule takes an operand from: its column, the unit the header gave
// it, and how its number becomes the rule's unit.
struct OperandSource {
    int column = -1; // from 0; -1 for an input read before
    std::string unit; // as the header wrote it
    UnitConversion conversion;
};

// How the rows of one medium get an input: the rule the header allows
// (ui/derivation.h), from which columns.
struct InputSource {
    const Rule *rule = nullptr; // none: the header gives no column for it
    std::array<OperandSource, 3> operands;
    // Why the rows that need it fail ("" when it can be read).
    std::string refusal;
};

struct ListHeader {
    // At least two of its columns name inputs; otherwise the list is read
    // by position.
    bool namesColumns = false;
    int tagColumn = -1;
    // The substance (介质) and its phase (相态), which decide a row's medium.
    int substanceColumn = -1, phaseColumn = -1;
    // By medium, then by input in the order of kInputs.
    std::array<std::array<InputSource, kInputCount>, kMediumCount> sources;
    // The flow at the normal and the minimum points, by medium, had as
    // sources[..][Q] has it at the maximum; no rule where the header has no
    // column for the point.
    std::array<std::array<InputSource, kMediumCount>, kFlowPoints - 1> pointFlows;
    // The opening check's columns: the rated coefficient and its kind, the
    // characteristic and the rangeability.
    int ratedColumn = -1;
    RatedKind ratedKind = RatedKind::C;
    int characteristicColumn = -1, rangeabilityColumn = -1;
    // A column of a flow point, a rated value, a characteristic or a
    // rangeability: the rows' openings are checked.
    bool checksOpenings = false;
    // A column gives the gas temperature, which water steam never takes for
    // its superheat.
    bool hasTemperature = false;
    // For the list's message: the columns that name nothing used ("第 1 列（序号）").
    std::vector<std::string> ignored;
};

// Where a medium's rows take their flow at a point from.
const InputSource &FlowSource(const ListHeader &header, MediumKind medium, FlowPoint point);

// The header of up to three consecutive header rows, each its fields.
ListHeader ReadHeader(std::span<const std::vector<std::string>> rows);

// For the list's message, of the rows of the `present` media: a line for
// the tag and the medium columns, and for each input the column it comes
// from, its unit and what it becomes ("P1：第 4 列，MPa 表压 → kgf/cm2 abs").
std::vector<std::string> Reading(
    const ListHeader &header, const std::array<bool, kMediumCount> &present);

// The characteristic a cell names: 线性, 直线, Linear; 等百分比, 对数,
// Equal Percentage, EQ%, =%; or nullopt.
std::optional<Characteristic> CharacteristicNamed(std::string_view cell);

// The medium a list's cell names (MediumSpec::listNames), or null.
const MediumSpec *MediumNamed(std::string_view cell);

// A row's medium from its substance's and its phase's cells: the medium the
// substance names; or the phase's, water steam where a gas or vapour phase
// is of a substance that names steam ("低压蒸汽", "LP Steam"); or null.
const MediumSpec *MediumOfRow(std::string_view substance, std::string_view phase);

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
