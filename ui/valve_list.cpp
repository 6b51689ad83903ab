#include "ui/valve_list.h"

#include "runtime/arith.h"
#include "runtime/error.h"
#include "runtime/text.h"
#include "ui/list_header.h"
#include "ui/spreadsheet_text.h"
#include "ui/steps.h"

#include <algorithm>
#include <optional>
#include <span>
#include <utility>

namespace quorvel {

namespace {

constexpr std::size_t kP2 = InputIndex(&SizingInputs::P2), kQ = InputIndex(&SizingInputs::Q),
                      kT = InputIndex(&SizingInputs::t);

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

// What a list's words name, each worked out once: a column's few words
// repeat down its rows. Holds the first kWords words it is asked.
template <typename Meaning> class WordMeanings {
public:
    template <typename Work> Meaning operator()(const std::string &key, Work work)
    {
        const auto known = std::find_if(
            known_.begin(), known_.end(), [&](const auto &entry) { return entry.first == key; });
        if (known != known_.end())
            return known->second;
        const Meaning meaning = work();
        if (known_.size() < kWords)
            known_.emplace_back(key, meaning);
        return meaning;
    }

private:
    static constexpr std::size_t kWords = 32;
    std::vector<std::pair<std::string, Meaning>> known_;
};

// The media that substances and phases name, and the characteristics.
struct ListWords {
    WordMeanings<const MediumSpec *> media;
    WordMeanings<std::optional<Characteristic>> characteristics;

    const MediumSpec *MediumOf(std::string_view substance, std::string_view phase)
    {
        return media(std::string(substance) + '\t' + std::string(phase),
            [&] { return MediumOfRow(substance, phase); });
    }
    std::optional<Characteristic> CharacteristicOf(std::string_view cell)
    {
        return characteristics(std::string(cell), [&] { return CharacteristicNamed(cell); });
    }
};

// Where an input read by its rule goes: its value, the cells as the list
// wrote them where they were not taken as they are, and the steps from the
// cells to the value.
struct ReadInto {
    double &value;
    std::string &written;
    std::vector<std::vector<std::string>> &derivation;
    bool &saturated;
};

enum class Read { Done, Absent };

// Input `i` by its source's rule from the row's cells and the inputs read
// before; Absent where a cell of the input `absentIf` is empty (a
// saturated steam's superheat, a flow the list does not give at a point).
// Or why it cannot be read.
std::string ReadInput(const InputSource &source, std::size_t i,
    std::span<const std::string_view> fields, const std::array<double, kInputCount> &values,
    std::optional<std::size_t> absentIf, bool record, ReadInto into, Read &read)
{
    read = Read::Done;
    if (!source.refusal.empty())
        return source.refusal;
    const Rule &rule = *source.rule;
    std::array<double, 3> operands {};
    StepPartsRecorder steps(into.derivation);
    for (std::size_t k = 0; k < rule.count; ++k) {
        const Operand &o = rule.operands[k];
        if (o.fromInput) {
            operands[k] = values[o.input];
            continue;
        }
        const OperandSource &from = source.operands[k];
        const std::string_view cell = TrimCell(FieldAt(fields, from.column));
        if (cell.empty() && absentIf == o.input) {
            read = Read::Absent;
            return {};
        }
        double number = 0;
        if (std::string reason = ValueOf(cell, o.symbol, from.column, number); !reason.empty())
            return reason;
        try {
            operands[k] = from.conversion.Apply(number);
        } catch (const RuntimeError &e) {
            return ColumnNamed(o.symbol, from.column) + "换算时" + std::string(ErrorText(e.kind()));
        }
        if (!record)
            continue;
        const bool asRead = rule.derivation == Derivation::Read;
        if (asRead && from.conversion.Converts())
            into.written = NumberToText(number) + " " + from.unit;
        else if (!asRead)
            into.written += (into.written.empty() ? "" : "，") + std::string(o.symbol) + " "
                + NumberToText(number) + (from.unit.empty() ? "" : " " + from.unit);
        if (from.conversion.Converts())
            into.derivation.push_back({ std::string(o.symbol), from.conversion.Formula(number),
                NumberToText(operands[k])
                    + (asRead ? "" : " " + std::string(from.conversion.target)) });
    }
    try {
        into.value = Derive(rule, operands, record ? &steps : nullptr, into.saturated);
    } catch (const RuntimeError &e) {
        return std::string(kInputs[i].symbol) + " = " + std::string(rule.formula) + " 时"
            + std::string(ErrorText(e.kind()));
    } catch (const DerivationRefused &e) {
        return e.what();
    }
    return {};
}

// The inputs of a row as its header says: each by its rule from its
// columns, in the rule's units; or why the row cannot be read.
std::string ReadByHeader(const ListHeader &header, std::span<const std::string_view> fields,
    MediumKind selected, bool record, ListWords &words, ValveRow &valve)
{
    const MediumSpec *named = words.MediumOf(TrimCell(FieldAt(fields, header.substanceColumn)),
        TrimCell(FieldAt(fields, header.phaseColumn)));
    valve.medium = named ? named->medium : selected;
    valve.windowMedium = !named;
    valve.tag = TrimCell(FieldAt(fields, header.tagColumn));
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
        // A superheat without its cells: saturated steam, no superheat.
        Read read;
        if (std::string reason = ReadInput(source, i, fields, valve.values,
                superheat ? std::optional(kT) : std::nullopt, record,
                { valve.values[i], valve.written[i], valve.derivation, valve.saturated }, read);
            !reason.empty())
            return reason;
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

// The coefficients for a row's values, telling `recorder`, when given, each
// step; the failure is the calculation's error.
void Calculate(MediumKind medium, const std::array<double, kInputCount> &values,
    SizingResult &result, std::string &failure, StepRecorder *recorder = nullptr)
{
    try {
        if (recorder)
            ComputeFlowCoefficients(medium, InputsFrom(values), result, *recorder);
        else
            ComputeFlowCoefficients(medium, InputsFrom(values), result);
    } catch (const RuntimeError &e) {
        failure = ErrorText(e.kind());
    }
}

// A number of the opening check's columns: empty, "" where the cell is
// empty, or why it cannot be used.
std::string CheckValue(std::span<const std::string_view> fields, int column,
    std::string_view symbol, std::optional<double> &value)
{
    const std::string_view cell = TrimCell(FieldAt(fields, column));
    if (column < 0 || cell.empty())
        return {};
    double number = 0;
    if (std::string reason = ValueOf(cell, symbol, column, number); !reason.empty())
        return reason;
    value = number;
    return {};
}

// The opening check of a calculated row in a block that checks openings:
// the flow at each point by the rule of the maximum's, calculated with the
// row's other values; the rated value, the characteristic and R from their
// cells, or their defaults.
void CheckRow(const ListHeader &header, std::span<const std::string_view> fields, bool record,
    ListWords &words, ValveRow &valve)
{
    valve.checksOpenings = true;
    OpeningCheck &check = valve.opening;
    PointCheck &max = check.points[0];
    max.given = true;
    max.Q = valve.values[kQ];
    max.result = valve.result;
    for (FlowPoint point : { FlowPoint::Normal, FlowPoint::Min }) {
        PointCheck &at = check.points[std::size_t(point)];
        const InputSource &source = FlowSource(header, valve.medium, point);
        if (!source.rule)
            continue;
        // A point's flow is shown on the sheet by its steps alone.
        Read read;
        bool saturated = false;
        std::string written;
        at.failure = ReadInput(source, kQ, fields, valve.values, kQ, record,
            { at.Q, written, at.derivation, saturated }, read);
        at.given = read == Read::Done;
        if (!at.given || !at.failure.empty())
            continue;
        std::array<double, kInputCount> values = valve.values;
        values[kQ] = at.Q;
        Calculate(valve.medium, values, at.result, at.failure);
    }
    check.kind = header.ratedKind;
    const std::string rated = "额定" + std::string(RatedSymbol(check.kind));
    std::optional<double> r;
    check.failure = CheckValue(fields, header.ratedColumn, rated, check.rated);
    if (check.failure.empty() && check.rated && !Greater(*check.rated, 0))
        check.failure = ColumnNamed(rated, header.ratedColumn) + "须大于 0";
    if (check.failure.empty())
        check.failure = CheckValue(fields, header.rangeabilityColumn, "R", r);
    if (check.failure.empty() && r && !Greater(*r, 1))
        check.failure = ColumnNamed("R", header.rangeabilityColumn) + "须大于 1";
    if (!check.failure.empty())
        return;
    if (r) {
        check.rangeability = *r;
        check.rangeabilityDefault = false;
    }
    const std::string_view named = TrimCell(FieldAt(fields, header.characteristicColumn));
    if (header.characteristicColumn >= 0 && !named.empty()) {
        const std::optional<Characteristic> characteristic = words.CharacteristicOf(named);
        if (!characteristic)
            return void(check.failure = ColumnNamed("流量特性", header.characteristicColumn)
                    + Quoted(named) + "不是线性或等百分比，不验算开度");
        check.characteristic = *characteristic;
        check.characteristicDefault = false;
    }
    CheckOpenings(check, record);
}

// The answer's fields of the opening check, each after a tab.
void AnswerOpenings(const ValveRow &valve, bool ratedColumn, std::string &out)
{
    const OpeningCheck &check = valve.opening;
    if (!valve.Calculated())
        return void(out.append(7, '\t'));
    for (FlowPoint point : { FlowPoint::Normal, FlowPoint::Min }) {
        const PointCheck &at = check.points[std::size_t(point)];
        out += '\t';
        if (at.result.CvProduced)
            out += NumberToText(at.result.Cv);
        else if (!at.failure.empty())
            out += "出错：" + at.failure;
    }
    out += '\t';
    if (check.rated)
        out += (check.proposed && ratedColumn ? "建议 " : "") + NumberToText(*check.rated);
    for (const PointCheck &at : check.points)
        out += '\t' + (at.opening ? NumberToText(*at.opening) : std::string());
    out += '\t' + check.Verdict();
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
}

} // namespace

std::string AnswerHeads(RatedKind kind, bool proposed)
{
    return "Cv\tC\tCv(正常)\tCv(最小)\t" + std::string(proposed ? "建议" : "") + "额定"
        + std::string(RatedSymbol(kind)) + "\t开度(最大)%\t开度(正常)%\t开度(最小)%\t开度验算";
}

ListAnswer CalculateValveList(
    std::string_view list, MediumKind selected, const std::function<void(const ValveRow &)> &each)
{
    ListAnswer answer;
    std::vector<std::string_view> fields;
    std::string unquoted;
    // The header rows above the next valve: the last three are read as one.
    std::vector<std::vector<std::string>> headerRows;
    std::size_t headerFrom = 0;
    std::vector<std::size_t> headerAnswers; // where the answers of headerRows begin in the text
    std::optional<ListHeader> header;
    std::array<bool, kMediumCount> present {}; // the media of the block's valves
    ListWords words;
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
            if (headerRows.empty())
                headerFrom = answer.lines;
            headerAnswers.push_back(answer.text.size());
            answer.text += "Cv\tC\n";
            headerRows.emplace_back(fields.begin(), fields.end());
            if (headerRows.size() > 3) {
                headerRows.erase(headerRows.begin());
                headerAnswers.erase(headerAnswers.begin());
                ++headerFrom;
            }
            return;
        }
        if (!headerRows.empty()) {
            if (ListHeader read = ReadHeader(headerRows); read.namesColumns) {
                close();
                header = std::move(read);
                answer.blocks.push_back({ headerFrom, 0, {}, header->ignored,
                    header->substanceColumn >= 0 || header->phaseColumn >= 0, 0, 0,
                    header->checksOpenings, 0, 0, {} });
                // Its header rows name the fields the block answers.
                if (header->checksOpenings) {
                    const std::string heads
                        = AnswerHeads(header->ratedKind, header->ratedColumn < 0);
                    for (auto at = headerAnswers.rbegin(); at != headerAnswers.rend(); ++at)
                        answer.text.replace(*at, std::string_view("Cv\tC").size(), heads);
                }
            }
            headerRows.clear();
            headerAnswers.clear();
        }
        ++answer.valves;
        ValveRow valve;
        valve.line = answer.lines;
        valve.failure = header ? ReadByHeader(*header, fields, selected, bool(each), words, valve)
                               : ReadByPosition(fields, selected, valve);
        const bool unreadable = !valve.failure.empty();
        if (!unreadable)
            Calculate(valve.medium, valve.values, valve.result, valve.failure,
                each ? &valve.steps : nullptr);
        if (header) {
            ListBlock &block = answer.blocks.back();
            block.to = answer.lines;
            block.windowMedium += valve.windowMedium;
            block.saturated += valve.saturated;
            present[Index(valve.medium)] = true;
            if (header->checksOpenings && valve.Calculated()) {
                CheckRow(*header, fields, bool(each), words, valve);
                if (valve.opening.Passed()) {
                    ++block.passed;
                } else if (++block.flagged <= kNamedFlagged) {
                    block.flaggedRows.push_back(
                        valve.tag.empty() ? "第 " + std::to_string(valve.line) + " 行" : valve.tag);
                }
            }
        }
        Answer(valve, unreadable, answer.text);
        if (header && header->checksOpenings)
            AnswerOpenings(valve, header->ratedColumn >= 0, answer.text);
        answer.text += '\n';
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
