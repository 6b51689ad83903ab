#include "ui/valve_list.h"

#include "runtime/arith.h"
#include "runtime/error.h"
#include "runtime/text.h"
#include "ui/list_header.h"
#include "ui/sheet.h"
#include "ui/spreadsheet_text.h"

#include <algorithm>
#include <optional>
#include <span>
#include <utility>

namespace quorvel {

namespace {

constexpr std::size_t kP2 = InputIndex(&SizingInputs::P2);

// A value's cell as Val reads it into `value`; or why it cannot be one.
std::string ValueOf(std::string_view cell, std::string_view symbol, int column, double &value)
{
    cell = TrimCell(cell);
    if (cell.empty())
        return ColumnNamed(symbol, column) + "是空的";
    if (!StartsWithNumber(cell))
        return ColumnNamed(symbol, column) + "不是数值：" + Quoted(cell);
    try {
        value = Val(cell);
    } catch (const RuntimeError &e) { // beyond the double range
        return ColumnNamed(symbol, column) + std::string(ErrorText(e.kind()));
    }
    return {};
}

std::string_view FieldAt(std::span<const std::string_view> fields, int column)
{
    return column >= 0 && std::size_t(column) < fields.size() ? fields[std::size_t(column)]
                                                              : std::string_view();
}

// Tells the steps of a derivation as an equation's parts, for the book.
class DerivationSteps : public StepRecorder {
public:
    explicit DerivationSteps(std::vector<std::vector<std::string>> &into)
        : into_(into)
    {
    }
    void Record(const Step &step) override { into_.push_back(StepParts(step)); }

private:
    std::vector<std::vector<std::string>> &into_;
};

// The inputs of a row as its header says: each by its rule from its
// columns, in the rule's units; or why the row cannot be read.
std::string ReadByHeader(const ListHeader &header, std::span<const std::string_view> fields,
    MediumKind selected, bool record, ValveRow &valve)
{
    const MediumSpec *named = MediumOfRow(TrimCell(FieldAt(fields, header.substanceColumn)),
        TrimCell(FieldAt(fields, header.phaseColumn)));
    valve.medium = named ? named->medium : selected;
    valve.windowMedium = !named;
    valve.tag = TrimCell(FieldAt(fields, header.tagColumn));
    DerivationSteps steps(valve.derivation);
    for (std::size_t i = 0; i < kInputCount; ++i) {
        const InputLook &look = LookOf(kInputs[i], valve.medium);
        if (look.header.empty())
            continue;
        const InputSource &source = header.sources[Index(valve.medium)][i];
        const bool superheat = look.header.front().quantity == Quantity::Superheat;
        if (!source.rule) {
            if (superheat && !header.hasTemperature)
                continue; // saturated steam: no superheat
            if (superheat)
                return "表头中只有温度列，没有水蒸汽的过热温度列";
            if (i == kP2)
                return "表头中没有 P2 或 ΔP 列";
            return "表头中没有 " + std::string(kInputs[i].symbol) + "（"
                + std::string(CaptionName(look)) + "）列";
        }
        if (!source.refusal.empty())
            return source.refusal;
        const Rule &rule = *source.rule;
        std::array<double, 3> operands {};
        bool noSuperheat = false;
        for (std::size_t k = 0; k < rule.count; ++k) {
            const Operand &o = rule.operands[k];
            if (o.fromInput) {
                operands[k] = valve.values[o.input];
                continue;
            }
            const OperandSource &from = source.operands[k];
            const std::string_view cell = TrimCell(FieldAt(fields, from.column));
            if (cell.empty() && superheat) {
                noSuperheat = true; // no superheat, nor a temperature: saturated
                break;
            }
            double number = 0;
            if (std::string reason = ValueOf(cell, o.symbol, from.column, number); !reason.empty())
                return reason;
            try {
                operands[k] = from.conversion.Apply(number);
            } catch (const RuntimeError &e) {
                return ColumnNamed(o.symbol, from.column) + "换算时"
                    + std::string(ErrorText(e.kind()));
            }
            if (!record)
                continue;
            const bool read = rule.derivation == Derivation::Read;
            if (read && from.conversion.Converts())
                valve.written[i] = NumberToText(number) + " " + from.unit;
            else if (!read)
                valve.written[i] += (valve.written[i].empty() ? "" : "，") + std::string(o.symbol)
                    + " " + NumberToText(number) + (from.unit.empty() ? "" : " " + from.unit);
            if (from.conversion.Converts())
                valve.derivation.push_back({ std::string(o.symbol), from.conversion.Formula(number),
                    NumberToText(operands[k])
                        + (read ? "" : " " + std::string(from.conversion.target)) });
        }
        if (noSuperheat)
            continue;
        try {
            valve.values[i] = Derive(rule, operands, record ? &steps : nullptr, valve.saturated);
        } catch (const RuntimeError &e) {
            return std::string(kInputs[i].symbol) + " = " + std::string(rule.formula) + " 时"
                + std::string(ErrorText(e.kind()));
        } catch (const DerivationRefused &e) {
            return e.what();
        }
    }
    return {};
}

// The inputs of a row without a header that names columns: a medium's name
// first, or none, then the values in the order of the calculation; fewer
// than five go to the boxes the medium shows, as a paste into Text1 puts
// them. Or why the row cannot be read.
std::string ReadByPosition(
    std::span<const std::string_view> fields, MediumKind selected, ValveRow &valve)
{
    const MediumSpec *named = MediumNamed(TrimCell(fields.front()));
    valve.medium = named ? named->medium : selected;
    valve.windowMedium = !named;
    const auto values = fields.subspan(named ? 1 : 0);
    for (std::size_t i = 0, v = 0; i < kInputCount && v < values.size(); ++i) {
        const InputLook &look = LookOf(kInputs[i], valve.medium);
        if (values.size() < kInputCount && !look.shown)
            continue;
        const int column = int(v + (named ? 1 : 0));
        const std::string_view cell = TrimCell(values[v++]);
        // What the medium does not use may hold anything; an empty box is 0.
        if (look.shown && !cell.empty())
            if (std::string reason = ValueOf(cell, kInputs[i].symbol, column, valve.values[i]);
                !reason.empty())
                return reason;
    }
    return {};
}

void Calculate(ValveRow &valve)
{
    try {
        ComputeFlowCoefficients(valve.medium, InputsFrom(valve.values), valve.result);
    } catch (const RuntimeError &e) {
        valve.failure = ErrorText(e.kind());
    }
}

void Answer(const ValveRow &valve, bool unreadable, std::string &out)
{
    std::string_view error = valve.failure;
    const auto coefficient = [&](bool produced, double value) {
        if (produced)
            out += NumberToText(value);
        else if (!error.empty())
            out.append("出错：")
                .append(unreadable ? "第 " + std::to_string(valve.line) + " 行 " : "")
                .append(std::exchange(error, std::string_view()));
    };
    coefficient(valve.result.CvProduced, valve.result.Cv);
    out += '\t';
    coefficient(valve.result.CProduced, valve.result.C);
    out += '\n';
}

} // namespace

ListAnswer CalculateValveList(
    std::string_view list, MediumKind selected, const std::function<void(const ValveRow &)> &each)
{
    ListAnswer answer;
    std::vector<std::string_view> fields;
    std::string unquoted;
    // The header rows above the next valve: the last three are read as one.
    std::vector<std::vector<std::string>> headerRows;
    std::size_t headerFrom = 0;
    std::optional<ListHeader> header;
    std::array<bool, kMediumCount> present {}; // the media of the block's valves
    // The reading of the block that ends, for its valves' media.
    const auto close = [&] {
        if (header)
            answer.blocks.back().read = Reading(*header, present);
        present = {};
    };
    ForEachLine(list, [&](std::string_view row) {
        // Beyond the limit nothing more is calculated; the rows are counted.
        if (++answer.lines > kMaxListLines) {
            answer.text.clear();
            return;
        }
        SplitFields(row, fields, unquoted);
        if (std::all_of(fields.begin(), fields.end(),
                [](std::string_view field) { return TrimCell(field).empty(); })) {
            answer.text += '\n';
            return;
        }
        if (std::none_of(fields.begin(), fields.end(), StartsWithNumber)) {
            answer.text += "Cv\tC\n";
            if (headerRows.empty())
                headerFrom = answer.lines;
            headerRows.emplace_back(fields.begin(), fields.end());
            if (headerRows.size() > 3) {
                headerRows.erase(headerRows.begin());
                ++headerFrom;
            }
            return;
        }
        if (!headerRows.empty()) {
            if (ListHeader read = ReadHeader(headerRows); read.namesColumns) {
                close();
                header = std::move(read);
                answer.blocks.push_back({ headerFrom, 0, {}, header->ignored,
                    header->substanceColumn >= 0 || header->phaseColumn >= 0, 0, 0 });
            }
            headerRows.clear();
        }
        ++answer.valves;
        ValveRow valve;
        valve.line = answer.lines;
        valve.failure = header ? ReadByHeader(*header, fields, selected, bool(each), valve)
                               : ReadByPosition(fields, selected, valve);
        const bool unreadable = !valve.failure.empty();
        if (!unreadable)
            Calculate(valve);
        if (header) {
            answer.blocks.back().to = answer.lines;
            answer.blocks.back().windowMedium += valve.windowMedium;
            answer.blocks.back().saturated += valve.saturated;
            present[Index(valve.medium)] = true;
        }
        Answer(valve, unreadable, answer.text);
        if (!valve.Calculated()) {
            answer.failed.push_back(answer.lines);
            if (answer.reasons.size() < kNamedFailures)
                answer.reasons.push_back("第 " + std::to_string(answer.lines) + " 行"
                    + (valve.tag.empty() ? "" : "（" + valve.tag + "）") + "：" + valve.failure);
        }
        if (each)
            each(valve);
    });
    close();
    return answer;
}

} // namespace quorvel
