#include "ui/list_header.h"

#include "runtime/arith.h"
#include "runtime/text.h"

#include <algorithm>
#include <map>
#include <optional>

namespace quorvel {

namespace {

constexpr std::string_view kIdeographicSpace = "\u3000";
constexpr std::size_t kQ = InputIndex(&SizingInputs::Q);

// What a cell says, for comparing names: without spaces, colons and quote
// marks, ASCII letters in lower case, ² and ³ as digits.
std::string Folded(std::string_view text)
{
    std::string folded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ':' || c == '"' || c == '\'')
            continue;
        if (text.compare(i, 3, kIdeographicSpace) == 0 || text.compare(i, 3, "：") == 0
            || text.compare(i, 3, "“") == 0 || text.compare(i, 3, "”") == 0
            || text.compare(i, 3, "‘") == 0 || text.compare(i, 3, "’") == 0) {
            i += 2;
            continue;
        }
        if (text.compare(i, 2, "²") == 0 || text.compare(i, 2, "³") == 0) {
            folded += text[i + 1] == '\xB2' ? '2' : '3';
            ++i;
            continue;
        }
        folded += c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
    }
    return folded;
}

// A unit as the tables below hold it: folded, with the brackets of either
// width as ASCII ones and the ways of writing degrees Celsius as ℃.
std::string UnitKey(std::string_view unit)
{
    std::string key = Folded(unit);
    for (const auto &[from, to] : { std::pair<std::string_view, std::string_view> { "（", "(" },
             { "）", ")" }, { "[", "(" }, { "]", ")" }, { "【", "(" }, { "】", ")" }, { "°c", "℃" },
             { "degc", "℃" }, { "摄氏度", "℃" }, { "°f", "℉" }, { "degf", "℉" }, { "^", "" } })
        for (std::size_t at; (at = key.find(from)) != std::string::npos;)
            key.replace(at, from.size(), to);
    if (key.size() >= 2 && key.front() == '(' && key.back() == ')')
        key = key.substr(1, key.size() - 2);
    return key;
}

enum class Mark { None, Gauge, Absolute };

struct PressureUnit {
    std::string_view base; // as the message writes it
    double toKpa; // kPa = value × toKpa; 0 for kgf/cm2, the window's own
    std::string_view written; // toKpa as the formula writes it
    Mark mark;
};

constexpr double kKpaPerKgf = 98.0665;
constexpr double kAtmosphereKpa = 101.325;

// "mpa(g)", "kpaa", "bar表压", "psig", "kpaabs.", "kgf/cm2 abs" and the like.
std::optional<PressureUnit> ParsePressure(const std::string &key)
{
    struct Base {
        std::string_view key, written;
        double toKpa;
        std::string_view factor;
    };
    static constexpr Base kBases[] = { { "kgf/cm2", "kgf/cm2", 0, {} },
        { "kg/cm2", "kgf/cm2", 0, {} }, { "mpa", "MPa", 1000, "1000" }, { "kpa", "kPa", 1, "1" },
        { "bar", "bar", 100, "100" }, { "psi", "psi", 6.894757293168, "6.894757293168" },
        { "pa", "Pa", 0.001, "0.001" } };
    for (const Base &base : kBases) {
        if (!key.starts_with(base.key))
            continue;
        std::string mark = key.substr(base.key.size());
        if (mark.size() >= 2 && mark.front() == '(' && mark.back() == ')')
            mark = mark.substr(1, mark.size() - 2);
        for (const auto &[written, kind] : { std::pair<std::string_view, Mark> { "", Mark::None },
                 { "g", Mark::Gauge }, { "表压", Mark::Gauge }, { "表", Mark::Gauge },
                 { "gauge", Mark::Gauge }, { "a", Mark::Absolute }, { "abs", Mark::Absolute },
                 { "abs.", Mark::Absolute }, { "绝压", Mark::Absolute }, { "绝", Mark::Absolute },
                 { "absolute", Mark::Absolute } })
            if (mark == written)
                return PressureUnit { base.written, base.toKpa, base.factor, kind };
        return std::nullopt;
    }
    return std::nullopt;
}

// The other units, each with what it measures and how it becomes that
// quantity's unit: m3/h, kg/h, kg/m3, kg/Nm3, kg/kmol, ℃ or cm3/g.
struct OtherUnit {
    std::string_view key;
    Quantity quantity;
    std::array<UnitConversion::Operation, 2> operations; // op 0: none
    std::string_view shown; // as the message writes it
};
constexpr OtherUnit kOtherUnits[] = {
    // A gravity has no unit; a header may say what it is relative to.
    { "-", Quantity::Gravity, {}, "-" },
    { "水=1", Quantity::Gravity, {}, "水=1" },
    { "空气=1", Quantity::Gravity, {}, "空气=1" },
    { "water=1", Quantity::Gravity, {}, "water=1" },
    { "air=1", Quantity::Gravity, {}, "air=1" },
    { "kg/m3", Quantity::Density, {}, "kg/m3" },
    { "g/cm3", Quantity::Density, { { { '*', 1000, "1000" } } }, "g/cm3" },
    { "g/ml", Quantity::Density, { { { '*', 1000, "1000" } } }, "g/mL" },
    { "lb/ft3", Quantity::Density, { { { '*', 16.018463373960, "16.018463373960" } } }, "lb/ft3" },
    { "kg/nm3", Quantity::StdDensity, {}, "kg/Nm3" },
    { "g/mol", Quantity::MolecularWeight, {}, "g/mol" },
    { "kg/kmol", Quantity::MolecularWeight, {}, "kg/kmol" },
    { "m3/h", Quantity::Flow, {}, "m3/h" },
    { "nm3/h", Quantity::Flow, {}, "Nm3/h" },
    { "gpm", Quantity::Flow, { { { '*', 0.22712470704, "0.22712470704" } } }, "gpm" },
    { "kg/h", Quantity::MassFlow, {}, "kg/h" },
    { "t/h", Quantity::MassFlow, { { { '*', 1000, "1000" } } }, "t/h" },
    { "lb/h", Quantity::MassFlow, { { { '*', 0.45359237, "0.45359237" } } }, "lb/h" },
    { "lb/hr", Quantity::MassFlow, { { { '*', 0.45359237, "0.45359237" } } }, "lb/hr" },
    { "℃", Quantity::Temperature, {}, "℃" },
    { "k", Quantity::Temperature, { { { '-', 273.15, "273.15" } } }, "K" },
    { "℉", Quantity::Temperature, { { { '-', 32, "32" }, { '/', 1.8, "1.8" } } }, "℉" },
    { "cm3/g", Quantity::SpecificVolume, {}, "cm3/g" },
    { "l/kg", Quantity::SpecificVolume, {}, "L/kg" },
    { "m3/t", Quantity::SpecificVolume, {}, "m3/t" },
    { "m3/kg", Quantity::SpecificVolume, { { { '*', 1000, "1000" } } }, "m3/kg" },
};

const OtherUnit *FindUnit(const std::string &key)
{
    const auto found = std::find_if(std::begin(kOtherUnits), std::end(kOtherUnits),
        [&](const OtherUnit &unit) { return unit.key == key; });
    return found == std::end(kOtherUnits) ? nullptr : found;
}

bool IsUnit(std::string_view text)
{
    const std::string key = UnitKey(text);
    return !key.empty() && (ParsePressure(key) || FindUnit(key));
}

// The quantity a column holds for a group of names: a flow in a unit of
// mass is a mass flow, and a density per normal cubic metre a standard one.
Quantity Refined(Quantity named, std::string_view unit)
{
    const OtherUnit *other = FindUnit(UnitKey(unit));
    if (named == Quantity::Flow && other && other->quantity == Quantity::MassFlow)
        return Quantity::MassFlow;
    if (named == Quantity::Density && other && other->quantity == Quantity::StdDensity)
        return Quantity::StdDensity;
    return named;
}

std::string MediaNames(const std::vector<MediumKind> &media)
{
    std::string names;
    for (MediumKind medium : media)
        names += (names.empty() ? "" : "、") + std::string(MediumOf(medium).name);
    return names;
}

bool IsSteam(MediumKind medium)
{
    return medium == MediumKind::WaterSteam || medium == MediumKind::OtherSteam;
}

// How a column's unit, for a quantity, becomes `target` for a medium: the
// window's unit of the input, or the unit a rule takes (kKpaAbsolute, "kg/h");
// the refusal says why it cannot.
void Convert(OperandSource &source, Quantity quantity, MediumKind medium, std::string_view symbol,
    std::string_view target, std::string &refusal)
{
    UnitConversion &c = source.conversion;
    const auto add = [&](char op, double operand, std::string_view written) {
        c.operations[c.count++] = { op, operand, written };
    };
    c.target = target;
    const std::string key = UnitKey(source.unit);
    const std::string column = ColumnNamed(symbol, source.column);
    const std::string named = column + "的单位" + Quoted(source.unit);
    const bool kpa = target == kKpaAbsolute;
    if (key.empty()) {
        // The window's unit; a rule's own needs its unit said, but a steam's
        // flow is the window's kg/h.
        if (quantity == Quantity::Density)
            refusal = column + "是密度，须注明单位 kg/m3 或 g/cm3";
        else if (quantity == Quantity::StdDensity)
            refusal = column + "是标准密度，须注明单位 kg/Nm3";
        else if (quantity == Quantity::MassFlow && !IsSteam(medium))
            refusal = column + "是质量流量，须注明单位 kg/h、t/h 或 lb/h";
        else if (kpa)
            add('*', kKpaPerKgf, "98.0665"); // kgf/cm2 abs, as the window has it
        return;
    }
    if (quantity == Quantity::Pressure || quantity == Quantity::PressureDrop) {
        const std::optional<PressureUnit> pressure = ParsePressure(key);
        if (!pressure)
            return void(refusal = named + "不认识");
        const bool drop = quantity == Quantity::PressureDrop;
        const Mark mark = drop ? Mark::None : pressure->mark;
        // Unmarked, kgf/cm2 is the window's unit, absolute for gas and steam.
        if (mark == Mark::None && !drop && pressure->toKpa != 0
            && (medium != MediumKind::Liquid || kpa))
            return void(refusal = named + "未注明表压或绝压");
        // A marked pressure is absolute for every medium; a drop is a difference.
        if (drop)
            c.target = "kgf/cm2";
        else if (mark != Mark::None && !kpa)
            c.target = "kgf/cm2 abs";
        if (pressure->toKpa == 0) { // kgf/cm2
            if (kpa)
                add('*', kKpaPerKgf, "98.0665");
            if (mark == Mark::Gauge)
                kpa ? add('+', kAtmosphereKpa, "101.325")
                    : add('+', kAtmosphereKpa / kKpaPerKgf, "101.325 / 98.0665");
            return;
        }
        if (pressure->toKpa == 0.001)
            add('/', 1000, "1000");
        else if (pressure->toKpa != 1)
            add('*', pressure->toKpa, pressure->written);
        if (mark == Mark::Gauge)
            add('+', kAtmosphereKpa, "101.325");
        if (!kpa)
            add('/', kKpaPerKgf, "98.0665");
        return;
    }
    const OtherUnit *other = FindUnit(key);
    // What the unit may hold: a superheat is a temperature's difference, a
    // steam's flow a mass.
    const Quantity holds = quantity == Quantity::Superheat ? Quantity::Temperature
        : quantity == Quantity::Flow && IsSteam(medium)    ? Quantity::MassFlow
                                                           : quantity;
    // A flow's unit that another medium takes: Nm3/h a gas's, gpm a
    // liquid's, a mass a steam's.
    const bool flowUnit
        = other && (other->quantity == Quantity::Flow || other->quantity == Quantity::MassFlow);
    if (quantity == Quantity::Flow && flowUnit
        && (other->quantity != holds || (other->key == "nm3/h" && medium != MediumKind::Gas)
            || (other->key == "gpm" && medium != MediumKind::Liquid)))
        return void(refusal = named + "不适用于" + std::string(MediumOf(medium).name));
    if (!other || other->quantity != holds)
        return void(refusal = named + (ParsePressure(key) || other ? "不适用于此列" : "不认识"));
    for (const UnitConversion::Operation &o : other->operations) {
        if (!o.op)
            break;
        // A superheat is a difference of temperatures: in kelvin as it is,
        // in degrees Fahrenheit divided by 1.8.
        if (quantity == Quantity::Superheat && o.op != '/')
            continue;
        add(o.op, o.operand, o.written);
    }
}

// A cell of a units row that names a group's sub-column rather than a
// unit: a point of the flow or a side of the valve, or a word without a
// Latin letter, digit or "/" ("正常").
bool IsSubName(std::string_view text)
{
    static constexpr std::string_view kSubNames[] = { "最大", "正常", "最小", "max", "norm",
        "normal", "min", "入口", "出口", "inlet", "outlet" };
    const std::string folded = Folded(text);
    if (std::find(std::begin(kSubNames), std::end(kSubNames), folded) != std::end(kSubNames))
        return true;
    return std::none_of(folded.begin(), folded.end(),
               [](char c) {
                   return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' || c == '%';
               })
        && folded.find("℃") == std::string::npos && folded.find("℉") == std::string::npos;
}

// A header cell: the name it gives and the unit with it, or a unit alone.
struct CellParts {
    std::string name; // folded
    std::string_view unit;
    bool unitOnly = false;
};

std::size_t Find(std::string_view text, std::initializer_list<std::string_view> any)
{
    std::size_t at = std::string_view::npos;
    for (std::string_view what : any)
        at = std::min(at, text.find(what));
    return at;
}

CellParts SplitCell(std::string_view cell)
{
    cell = TrimCell(cell);
    if (IsUnit(cell))
        return { {}, cell, true };
    std::string_view name = cell, unit;
    if (const std::size_t line = cell.find_first_of("\r\n"); line != std::string_view::npos) {
        name = cell.substr(0, line);
        unit = TrimCell(cell.substr(line + 1));
    } else if (const std::size_t at = Find(cell, { "(", "（", "[", "【", "/" });
               at != std::string_view::npos) {
        name = cell.substr(0, at);
        unit = cell.substr(at);
        if (unit.starts_with('/')) {
            unit.remove_prefix(1);
        } else {
            // The bracket's contents, to its matching close.
            const std::size_t open = unit.starts_with('(') || unit.starts_with('[') ? 1 : 3;
            int depth = 0;
            std::size_t end = 0;
            for (std::size_t i = 0; i < unit.size(); ++i) {
                const bool opens = Find(unit.substr(i, 3), { "(", "（", "[", "【" }) == 0;
                const bool closes = Find(unit.substr(i, 3), { ")", "）", "]", "】" }) == 0;
                depth += opens ? 1 : closes ? -1 : 0;
                if (closes && depth == 0) {
                    end = i;
                    break;
                }
            }
            unit = end > open ? unit.substr(open, end - open) : unit.substr(open);
        }
        unit = TrimCell(unit);
    }
    const std::string folded = Folded(name);
    if (folded.empty())
        return { {}, unit, !unit.empty() };
    return { folded, unit, false };
}

// A group of names, folded once.
struct FoldedNames {
    std::vector<std::string> names;
    std::string symbol; // may come with a name, never alone
    explicit FoldedNames(std::span<const std::string_view> written, std::string_view with = {})
        : symbol(Folded(with))
    {
        for (std::string_view name : written)
            names.push_back(Folded(name));
    }
    // A text as one of the names, or as two of them, or one and the
    // symbol, run together.
    bool Names(const std::string &text) const
    {
        const auto isName = [&](std::string_view part) {
            return std::find(names.begin(), names.end(), part) != names.end();
        };
        if (isName(text))
            return true;
        const std::string_view whole(text);
        const auto followedBy = [&](std::string_view first, bool symbolToo) {
            if (first.empty() || !whole.starts_with(first) || first.size() == whole.size())
                return false;
            const std::string_view second = whole.substr(first.size());
            return isName(second) || (symbolToo && second == symbol);
        };
        return followedBy(symbol, false)
            || std::any_of(names.begin(), names.end(),
                [&](const std::string &name) { return followedBy(name, true); });
    }
};

constexpr std::string_view kTagNames[] = { "位号", "仪表位号", "Tag", "TagNo", "Tag No." };
constexpr std::string_view kSubstanceNames[]
    = { "介质", "介质名称", "流体", "流体名称", "Medium", "Fluid", "Fluid Name" };
constexpr std::string_view kPhaseNames[]
    = { "相态", "状态", "物态", "介质状态", "相", "Phase", "State", "Fluid State" };
constexpr std::string_view kRatedCNames[] = { "额定C", "额定流通能力", "选定C" };
constexpr std::string_view kRatedCvNames[] = { "额定Cv", "选定Cv", "Rated Cv" };
constexpr std::string_view kRatedKvNames[] = { "额定Kv", "Kvs", "Rated Kv" };
constexpr std::string_view kCharacteristicNames[]
    = { "流量特性", "特性", "固有特性", "Characteristic" };
constexpr std::string_view kRangeabilityNames[] = { "可调比", "Rangeability", "R" };
// The words that make a flow's name one of the normal or the minimum flow,
// before or after it ("正常流量", "Flow Min", "Qnor"); a flow without one
// is the maximum.
constexpr std::pair<std::string_view, FlowPoint> kPointWords[] = { { "正常", FlowPoint::Normal },
    { "normal", FlowPoint::Normal }, { "norm", FlowPoint::Normal }, { "nor", FlowPoint::Normal },
    { "最小", FlowPoint::Min }, { "minimum", FlowPoint::Min }, { "min", FlowPoint::Min } };

// What a column's header says: the tag, the substance, the phase, or for
// each medium that has it, the input it gives (and the rank of its name
// among the input's names, best first).
struct ColumnMeaning {
    bool tag = false, substance = false, phase = false;
    std::optional<RatedKind> rated;
    bool characteristic = false, rangeability = false;
    FlowPoint point = FlowPoint::Max; // of the flow it names
    std::array<std::array<int, kInputCount>, kMediumCount> rank;
    ColumnMeaning()
    {
        for (auto &ofMedium : rank)
            ofMedium.fill(-1);
    }
    bool NamesAnInput() const
    {
        return std::any_of(rank.begin(), rank.end(), [](const auto &ofMedium) {
            return std::any_of(ofMedium.begin(), ofMedium.end(), [](int r) { return r >= 0; });
        });
    }
    bool NamesAnything() const
    {
        return tag || substance || phase || rated || characteristic || rangeability
            || NamesAnInput();
    }
};

ColumnMeaning Meaning(const std::string &text)
{
    // Every medium's names for each input, by rank.
    struct Known {
        FoldedNames tag { kTagNames }, substance { kSubstanceNames }, phase { kPhaseNames },
            characteristic { kCharacteristicNames }, rangeability { kRangeabilityNames };
        std::array<FoldedNames, 3> rated { FoldedNames(kRatedCNames), FoldedNames(kRatedCvNames),
            FoldedNames(kRatedKvNames) }; // by RatedKind
        std::array<std::array<std::vector<FoldedNames>, kInputCount>, kMediumCount> inputs;
        Known()
        {
            for (std::size_t m = 0; m < kMediumCount; ++m)
                for (std::size_t i = 0; i < kInputCount; ++i)
                    for (const HeaderNames &group : LookOf(kInputs[i], MediumKind(m)).header)
                        inputs[m][i].emplace_back(group.names, kInputs[i].symbol);
        }
    };
    static const Known known;
    ColumnMeaning meaning;
    meaning.tag = known.tag.Names(text);
    meaning.substance = known.substance.Names(text);
    meaning.phase = known.phase.Names(text);
    meaning.characteristic = known.characteristic.Names(text);
    meaning.rangeability = known.rangeability.Names(text);
    for (std::size_t k = 0; k < known.rated.size(); ++k)
        if (known.rated[k].Names(text))
            meaning.rated = RatedKind(k);
    for (std::size_t m = 0; m < kMediumCount; ++m)
        for (std::size_t i = 0; i < kInputCount; ++i) {
            const auto &groups = known.inputs[m][i];
            for (std::size_t g = 0; g < groups.size() && meaning.rank[m][i] < 0; ++g)
                if (groups[g].Names(text))
                    meaning.rank[m][i] = int(g);
        }
    if (meaning.NamesAnything())
        return meaning;
    // A flow of the normal or the minimum point: a point's word and a flow's name.
    for (const auto &[word, point] : kPointWords) {
        std::string flow;
        if (text.size() > word.size() && text.starts_with(word))
            flow = text.substr(word.size());
        else if (text.size() > word.size() && text.ends_with(word))
            flow = text.substr(0, text.size() - word.size());
        else
            continue;
        for (std::size_t m = 0; m < kMediumCount; ++m) {
            const auto &groups = known.inputs[m][kQ];
            for (std::size_t g = 0; g < groups.size() && meaning.rank[m][kQ] < 0; ++g)
                if (groups[g].Names(flow))
                    meaning.rank[m][kQ] = int(g);
        }
        if (meaning.NamesAnInput()) {
            meaning.point = point;
            return meaning;
        }
    }
    return meaning;
}

// A column's header as its cells give it.
struct Column {
    std::vector<std::string> names; // folded, top down
    std::string_view unit;
    std::string written; // its header's cells, for the message
    ColumnMeaning meaning;
};

// What texts mean, each read once.
class Meanings {
public:
    const ColumnMeaning &operator()(const std::string &text)
    {
        const auto [at, added] = known_.try_emplace(text);
        if (added)
            at->second = Meaning(text);
        return at->second;
    }

private:
    std::map<std::string, ColumnMeaning> known_;
};

// The leaf alone, or with its group: a group's own name is never taken
// for the column under it ("流量" over "正常").
ColumnMeaning MeaningOf(const Column &column, Meanings &meanings)
{
    if (column.names.empty())
        return {};
    const std::string &leaf = column.names.back();
    if (column.names.size() > 1) {
        const std::string &group = column.names[column.names.size() - 2];
        for (const std::string &joined : { group + leaf, leaf + group }) {
            const ColumnMeaning &meaning = meanings(joined);
            if (meaning.NamesAnything())
                return meaning;
        }
    }
    return meanings(leaf);
}

// A header's text for the message: on one line.
std::string OneLine(std::string text)
{
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || c == '\t'; }, ' ');
    return text;
}

// "MPa 表压", "t/h": a unit as the message writes it; "无单位" for none.
std::string UnitShown(const OperandSource &source, Quantity quantity)
{
    if (source.unit.empty())
        return "无单位";
    const std::string key = UnitKey(source.unit);
    if (const auto pressure = ParsePressure(key))
        return std::string(pressure->base)
            + (quantity == Quantity::PressureDrop || pressure->mark == Mark::None ? ""
                    : pressure->mark == Mark::Gauge                               ? " 表压"
                                                                                  : " 绝压");
    if (const OtherUnit *unit = FindUnit(key))
        return std::string(unit->shown);
    return Quoted(source.unit);
}

// How a source's rule takes its columns, for the message: "第 4 列 ÷ 第 10 列".
std::string ColumnsText(const InputSource &source)
{
    std::string text;
    std::size_t operand = 0;
    const std::string_view pattern = source.rule->columns;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern.compare(i, 2, "{}") == 0 && operand < source.rule->count) {
            const Operand &o = source.rule->operands[operand];
            text += o.fromInput ? std::string(o.symbol)
                                : ColumnText(source.operands[operand].column);
            ++operand;
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

// What a source says in the message: its columns, its rule, and the units
// it reads and gives: "第 4 列 ÷ 第 10 列，W / ρ（kg/h、kg/m3 → m3/h）", or
// for a cell read as it is "第 3 列，MPa 表压 → kgf/cm2 abs".
std::string SourceText(const InputSource &source, MediumKind medium)
{
    const Rule &rule = *source.rule;
    std::string line = ColumnsText(source);
    std::string units;
    bool converts = false;
    for (std::size_t k = 0; k < rule.count; ++k) {
        if (rule.operands[k].fromInput)
            continue;
        const OperandSource &o = source.operands[k];
        units += (units.empty() ? "" : "、") + UnitShown(o, rule.operands[k].quantity);
        converts = converts || o.conversion.Converts();
    }
    if (rule.derivation == Derivation::Read) {
        if (source.operands[0].unit.empty())
            return line + "，无单位，按窗口的单位";
        line += "，" + units;
        if (converts && source.refusal.empty())
            line += " → " + std::string(source.operands[0].conversion.target);
        return line;
    }
    const std::string_view target = LookOf(kInputs[rule.input], medium).unit;
    line += "，" + std::string(rule.formula) + "（" + units;
    if (!target.empty())
        line += " → " + std::string(target);
    return line + "）";
}

// The message's line for an input: how it is had, for which media where
// not for all, and which media cannot read it.
std::string Described(const ListHeader &header, std::size_t input, FlowPoint point,
    const std::array<bool, kMediumCount> &present)
{
    struct Use {
        std::string text;
        std::vector<MediumKind> read, refused;
        std::string refusal;
    };
    std::vector<Use> uses;
    std::size_t using_ = 0; // the media that take the input at all
    for (std::size_t m = 0; m < kMediumCount; ++m) {
        if (!present[m])
            continue;
        using_ += !LookOf(kInputs[input], MediumKind(m)).header.empty();
        const InputSource &source
            = input == kQ ? FlowSource(header, MediumKind(m), point) : header.sources[m][input];
        if (!source.rule)
            continue;
        std::string text = SourceText(source, MediumKind(m));
        auto use
            = std::find_if(uses.begin(), uses.end(), [&](const Use &u) { return u.text == text; });
        if (use == uses.end())
            use = uses.insert(uses.end(), { std::move(text), {}, {}, {} });
        (source.refusal.empty() ? use->read : use->refused).push_back(MediumKind(m));
        if (!source.refusal.empty() && use->refusal.empty())
            use->refusal = source.refusal;
    }
    if (uses.empty())
        return {};
    // The flows named by their points once the list has more than one.
    const bool points = input == kQ
        && std::any_of(header.pointFlows.begin(), header.pointFlows.end(), [](const auto &ofPoint) {
               return std::any_of(ofPoint.begin(), ofPoint.end(),
                   [](const InputSource &s) { return s.rule != nullptr; });
           });
    std::string line = std::string(kInputs[input].symbol)
        + (points ? "（" + std::string(FlowPointName(point)) + "流量）" : "") + "：";
    for (const Use &use : uses) {
        if (&use != &uses.front())
            line += "；";
        line += use.text;
        if (use.read.size() + use.refused.size() < using_) {
            std::vector<MediumKind> media = use.read;
            media.insert(media.end(), use.refused.begin(), use.refused.end());
            line += "（" + MediaNames(media) + "）";
        }
        if (!use.refused.empty())
            line += "（" + MediaNames(use.refused) + "的行出错：" + use.refusal + "）";
    }
    return line;
}

} // namespace

std::string ColumnText(int column)
{
    return "第 " + std::to_string(column + 1) + " 列";
}

std::string ColumnNamed(std::string_view symbol, int column)
{
    return std::string(symbol) + "（" + ColumnText(column) + "）";
}

std::string_view TrimCell(std::string_view s)
{
    for (;;) {
        if (s.starts_with(' ') || s.starts_with('\t'))
            s.remove_prefix(1);
        else if (s.starts_with(kIdeographicSpace))
            s.remove_prefix(kIdeographicSpace.size());
        else if (s.ends_with(' ') || s.ends_with('\t'))
            s.remove_suffix(1);
        else if (s.ends_with(kIdeographicSpace))
            s.remove_suffix(kIdeographicSpace.size());
        else
            return s;
    }
}

std::string Quoted(std::string_view text)
{
    constexpr std::size_t kCharacters = 16;
    std::string quoted = "“";
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool starts = (byte & 0xC0) != 0x80;
        if (starts && ++characters > kCharacters) {
            quoted += "…";
            break;
        }
        quoted += byte < 0x20 ? ' ' : text[i];
    }
    return quoted + "”";
}

double UnitConversion::Apply(double value) const
{
    for (std::size_t i = 0; i < count; ++i) {
        const Operation &o = operations[i];
        value = o.op == '*' ? Mul(value, o.operand)
            : o.op == '/'   ? Div(value, o.operand)
            : o.op == '+'   ? Add(value, o.operand)
                            : Sub(value, o.operand);
    }
    return value;
}

std::string UnitConversion::Formula(double value) const
{
    std::string text = NumberToText(value);
    if (text.starts_with('-'))
        text = "(" + text + ")";
    bool sum = false; // the text so far ends in a sum, which a product must bracket
    for (std::size_t i = 0; i < count; ++i) {
        const Operation &o = operations[i];
        const bool product = o.op == '*' || o.op == '/';
        if (product && sum)
            text = "(" + text + ")";
        text += o.op == '*' ? " × " : o.op == '/' ? " / " : o.op == '+' ? " + " : " − ";
        text += o.written;
        sum = !product;
    }
    return text;
}

const MediumSpec *MediumNamed(std::string_view cell)
{
    static const auto names = [] {
        std::array<FoldedNames, kMediumCount> folded { FoldedNames(kMedia[0].listNames),
            FoldedNames(kMedia[1].listNames), FoldedNames(kMedia[2].listNames),
            FoldedNames(kMedia[3].listNames) };
        return folded;
    }();
    if (cell.empty())
        return nullptr;
    const std::string folded = Folded(cell);
    for (std::size_t m = 0; m < kMediumCount; ++m)
        if (std::find(names[m].names.begin(), names[m].names.end(), folded) != names[m].names.end())
            return &kMedia[m];
    return nullptr;
}

const MediumSpec *MediumOfRow(std::string_view substance, std::string_view phase)
{
    if (const MediumSpec *named = MediumNamed(substance))
        return named;
    const MediumSpec *phased = MediumNamed(phase);
    if (!phased || phased->medium != MediumKind::Gas)
        return phased;
    const std::string folded = Folded(substance);
    const bool steam = folded.find("蒸汽") != std::string::npos
        || folded.find("蒸气") != std::string::npos || folded.ends_with("steam");
    return steam ? &MediumOf(MediumKind::WaterSteam) : phased;
}

ListHeader ReadHeader(std::span<const std::vector<std::string>> rows)
{
    std::size_t width = 0;
    for (const auto &row : rows)
        width = std::max(width, row.size());
    const auto cell = [&](std::size_t r, std::size_t c) -> std::string_view {
        return c < rows[r].size() ? TrimCell(rows[r][c]) : std::string_view();
    };
    Meanings meanings;
    std::vector<std::vector<CellParts>> parts(rows.size());
    // A row of units names no input and holds at least one known unit; its
    // other cells name the sub-columns of a group above ("最大", "正常").
    std::vector<bool> unitsRow(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        bool names = false, units = false;
        for (std::size_t c = 0; c < width; ++c) {
            const CellParts &cellParts = parts[r].emplace_back(SplitCell(cell(r, c)));
            units = units || cellParts.unitOnly;
            names = names || (!cellParts.name.empty() && meanings(cellParts.name).NamesAnInput());
        }
        unitsRow[r] = units && !names;
    }
    const auto unitCell = [&](std::size_t r, std::size_t c) {
        const std::string_view text = cell(r, c);
        return !text.empty() && (unitsRow[r] ? !IsSubName(text) : parts[r][c].unitOnly);
    };

    std::vector<Column> columns(width);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        int carried = -1; // the group's column
        for (std::size_t c = 0; c < width; ++c) {
            std::string_view text = cell(r, c);
            const CellParts *cellParts = &parts[r][c];
            // A group's cell, merged over the sub-cells below it, carries
            // right, and its unit with it.
            const bool under
                = r + 1 < rows.size() && !cell(r + 1, c).empty() && !unitCell(r + 1, c);
            if (text.empty() && under && !unitsRow[r] && carried >= 0) {
                text = cell(r, std::size_t(carried));
                cellParts = &parts[r][std::size_t(carried)];
            } else {
                carried = text.empty() || unitCell(r, c) ? -1 : int(c);
            }
            if (text.empty())
                continue;
            Column &column = columns[c];
            if (!column.written.empty())
                column.written += ' ';
            column.written += text;
            if (unitCell(r, c)) {
                column.unit = unitsRow[r] ? text : cellParts->unit;
                continue;
            }
            if (!cellParts->name.empty())
                column.names.push_back(cellParts->name);
            else if (unitsRow[r])
                column.names.push_back(Folded(text));
            if (!cellParts->unit.empty())
                column.unit = cellParts->unit;
        }
    }

    ListHeader header;
    int naming = 0;
    for (std::size_t c = 0; c < width; ++c) {
        Column &column = columns[c];
        column.meaning = MeaningOf(column, meanings);
        naming += column.meaning.NamesAnInput();
        if (column.meaning.tag && header.tagColumn < 0)
            header.tagColumn = int(c);
        else if (column.meaning.substance && header.substanceColumn < 0)
            header.substanceColumn = int(c);
        else if (column.meaning.phase && header.phaseColumn < 0)
            header.phaseColumn = int(c);
        else if (column.meaning.rated && header.ratedColumn < 0) {
            header.ratedColumn = int(c);
            header.ratedKind = *column.meaning.rated;
        } else if (column.meaning.characteristic && header.characteristicColumn < 0)
            header.characteristicColumn = int(c);
        else if (column.meaning.rangeability && header.rangeabilityColumn < 0)
            header.rangeabilityColumn = int(c);
        else if (!column.meaning.NamesAnInput() && !column.written.empty())
            header.ignored.push_back(ColumnText(int(c)) + "（" + OneLine(column.written) + "）");
        header.hasTemperature = header.hasTemperature
            || column.meaning.rank[Index(MediumKind::Gas)][kInputCount - 1] >= 0;
    }
    header.namesColumns = naming >= 2;
    if (!header.namesColumns)
        return header;

    // For each flow point, medium, input and quantity, the column of the
    // best name, the leftmost of equals; only the flow has more than the
    // maximum's point.
    constexpr std::size_t kQuantities = std::size_t(Quantity::SpecificVolume) + 1;
    struct Best {
        int column = -1, rank = -1;
    };
    using Bests = std::array<std::array<std::array<Best, kQuantities>, kInputCount>, kMediumCount>;
    std::array<Bests, kFlowPoints> best {};
    for (std::size_t m = 0; m < kMediumCount; ++m)
        for (std::size_t i = 0; i < kInputCount; ++i)
            for (std::size_t c = 0; c < width; ++c) {
                const int rank = columns[c].meaning.rank[m][i];
                if (rank < 0)
                    continue;
                const Quantity named
                    = LookOf(kInputs[i], MediumKind(m)).header[std::size_t(rank)].quantity;
                Best &b = best[std::size_t(columns[c].meaning.point)][m][i]
                              [std::size_t(Refined(named, columns[c].unit))];
                if (b.column < 0 || rank < b.rank)
                    b = { int(c), rank };
            }
    // The first rule of an input the header has every column and input for,
    // a flow's from the columns of its point.
    const auto choose = [&](InputSource &source, MediumKind medium, std::size_t i,
                            FlowPoint point) {
        const std::size_t m = Index(medium);
        const auto column = [&](const Operand &o) {
            return best[o.input == kQ ? std::size_t(point) : 0][m][o.input][std::size_t(o.quantity)]
                .column;
        };
        for (const Rule &rule : RulesFor(medium, i)) {
            const bool has = std::all_of(
                rule.Operands().begin(), rule.Operands().end(), [&](const Operand &o) {
                    return o.fromInput ? header.sources[m][o.input].rule != nullptr
                                       : column(o) >= 0;
                });
            if (!has)
                continue;
            source.rule = &rule;
            for (std::size_t k = 0; k < rule.count; ++k) {
                const Operand &o = rule.operands[k];
                if (o.fromInput)
                    continue;
                OperandSource &from = source.operands[k];
                from.column = column(o);
                from.unit = columns[std::size_t(from.column)].unit;
                std::string refusal;
                Convert(from, o.quantity, medium, o.symbol,
                    o.unit.empty() ? LookOf(kInputs[i], medium).unit : o.unit, refusal);
                if (source.refusal.empty())
                    source.refusal = std::move(refusal);
            }
            return;
        }
    };

    for (std::size_t m = 0; m < kMediumCount; ++m) {
        const MediumKind medium = MediumKind(m);
        for (std::size_t i = 0; i < kInputCount; ++i)
            choose(header.sources[m][i], medium, i, FlowPoint::Max);
        for (FlowPoint point : { FlowPoint::Normal, FlowPoint::Min }) {
            choose(header.pointFlows[std::size_t(point) - 1][m], medium, kQ, point);
            header.checksOpenings
                = header.checksOpenings || header.pointFlows[std::size_t(point) - 1][m].rule;
        }
        // For a liquid only the difference counts: both pressures as the
        // list marks them, or both unmarked, so that the difference holds.
        InputSource &p1 = header.sources[m][0], &p2 = header.sources[m][1];
        if (medium == MediumKind::Liquid && p1.rule && p2.rule
            && p2.rule->derivation == Derivation::Read && p1.refusal.empty()
            && p2.refusal.empty()) {
            const auto marked = [](const InputSource &s) {
                const auto unit = ParsePressure(UnitKey(s.operands[0].unit));
                return unit && unit->mark != Mark::None;
            };
            if (marked(p1) != marked(p2))
                p2.refusal = "P1 和 P2（第 " + std::to_string(p1.operands[0].column + 1) + "、"
                    + std::to_string(p2.operands[0].column + 1)
                    + " 列）的单位一个注明了表压或绝压，一个没有";
        }
    }
    header.checksOpenings = header.checksOpenings || header.ratedColumn >= 0
        || header.characteristicColumn >= 0 || header.rangeabilityColumn >= 0;
    // A column that names an input no rule took from it.
    const auto takes = [](const auto &sources, int c) {
        return std::any_of(sources.begin(), sources.end(), [&](const auto &ofMedium) {
            return std::any_of(ofMedium.begin(), ofMedium.end(), [&](const InputSource &s) {
                return std::any_of(s.operands.begin(), s.operands.end(),
                    [&](const OperandSource &o) { return o.column == c; });
            });
        });
    };
    for (std::size_t c = 0; c < width; ++c)
        if (columns[c].meaning.NamesAnInput() && !takes(header.sources, int(c))
            && !takes(header.pointFlows, int(c)))
            header.ignored.push_back(
                ColumnText(int(c)) + "（" + OneLine(columns[c].written) + "，未用）");
    return header;
}

const InputSource &FlowSource(const ListHeader &header, MediumKind medium, FlowPoint point)
{
    return point == FlowPoint::Max ? header.sources[Index(medium)][kQ]
                                   : header.pointFlows[std::size_t(point) - 1][Index(medium)];
}

std::optional<Characteristic> CharacteristicNamed(std::string_view cell)
{
    static const FoldedNames linear(std::array<std::string_view, 3> { "线性", "直线", "Linear" });
    static const FoldedNames equal(
        std::array<std::string_view, 5> { "等百分比", "对数", "Equal Percentage", "EQ%", "=%" });
    std::string folded = Folded(cell);
    if (folded.ends_with("特性") && folded.size() > std::string_view("特性").size())
        folded.resize(folded.size() - std::string_view("特性").size());
    if (linear.Names(folded))
        return Characteristic::Linear;
    if (equal.Names(folded))
        return Characteristic::EqualPercentage;
    return std::nullopt;
}

std::vector<std::string> Reading(
    const ListHeader &header, const std::array<bool, kMediumCount> &present)
{
    std::vector<std::string> read;
    if (header.tagColumn >= 0)
        read.push_back("位号：" + ColumnText(header.tagColumn));
    if (header.substanceColumn >= 0)
        read.push_back("介质：" + ColumnText(header.substanceColumn));
    if (header.phaseColumn >= 0)
        read.push_back("相态：" + ColumnText(header.phaseColumn));
    for (std::size_t i = 0; i < kInputCount; ++i)
        for (FlowPoint point : kFlowPointList) {
            if (point != FlowPoint::Max && i != kQ)
                break;
            if (std::string line = Described(header, i, point, present); !line.empty())
                read.push_back(std::move(line));
        }
    if (!header.checksOpenings)
        return read;
    const std::string rated = "额定 " + std::string(RatedSymbol(header.ratedKind));
    if (header.ratedColumn < 0)
        read.push_back(rated + "：表中未给，按 R10 系列建议（须按所选产品的系列核对）");
    else
        read.push_back(rated + "：" + ColumnText(header.ratedColumn)
            + (header.ratedKind == RatedKind::Kv ? "，按 Cv = 1.156 × Kv" : "")
            + "（空格按 R10 系列建议）");
    const std::string defaultCharacteristic(CharacteristicName(Characteristic::EqualPercentage));
    read.push_back("流量特性："
        + (header.characteristicColumn < 0 ? "表中未给，按" + defaultCharacteristic + "（默认）"
                                           : ColumnText(header.characteristicColumn) + "（空格按"
                    + defaultCharacteristic + "）"));
    const std::string defaultR = NumberToText(kDefaultRangeability);
    read.push_back("可调比 R："
        + (header.rangeabilityColumn < 0
                ? "表中未给，按 R = " + defaultR + "（默认）"
                : ColumnText(header.rangeabilityColumn) + "（空格按 R = " + defaultR + "）"));
    return read;
}

} // namespace quorvel
