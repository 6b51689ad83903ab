#include "ui/sheet.h"

#include "runtime/text.h"
#include "ui/media.h"

#include <algorithm>

namespace quorvel {

namespace {

class Recorded : public StepRecorder {
public:
    void Record(const Step &step) override { steps.push_back(step); }
    std::vector<Step> steps;
};

// A number as the result boxes show it; a negative one in parentheses
// where it stands in a formula.
std::string Number(double value, bool inFormula = false)
{
    const std::string text = NumberToText(value);
    return inFormula && text.starts_with('-') ? "(" + text + ")" : text;
}

std::string Substituted(const Step &step)
{
    std::string out;
    std::size_t operand = 0;
    for (std::size_t i = 0; i < step.substituted.size(); ++i) {
        if (step.substituted.compare(i, 2, "{}") == 0 && operand < step.operandCount) {
            out += Number(step.operands[operand++], true);
            ++i;
        } else {
            out += step.substituted[i];
        }
    }
    return out;
}

// The UTF-8 text cut at a column, never inside a character.
std::size_t CutAt(std::string_view text, std::size_t columns)
{
    std::size_t width = 0, at = 0;
    while (at < text.size()) {
        std::size_t length = 1;
        while (at + length < text.size() && (text[at + length] & 0xC0) == 0x80)
            ++length;
        width += SheetWidth(text.substr(at, length));
        if (width > columns)
            break;
        at += length;
    }
    return std::max<std::size_t>(at, 1);
}

} // namespace

std::vector<std::string> Equation(const std::vector<std::string> &parts)
{
    constexpr std::string_view kGoOn = "    = ";
    std::vector<std::string> lines { parts.front() };
    for (std::size_t i = 1; i < parts.size(); ++i) {
        if (SheetWidth(lines.back()) + 3 + SheetWidth(parts[i]) <= kSheetColumns)
            lines.back() += " = " + parts[i];
        else
            lines.push_back(std::string(kGoOn) + parts[i]);
    }
    std::vector<std::string> fitted;
    for (std::string_view line : lines) {
        while (SheetWidth(line) > kSheetColumns) {
            const std::size_t cut = CutAt(line, kSheetColumns);
            fitted.emplace_back(line.substr(0, cut));
            line.remove_prefix(cut);
        }
        fitted.emplace_back(line);
    }
    return fitted;
}

namespace {

void Add(std::vector<std::string> &to, const std::vector<std::string> &lines)
{
    to.insert(to.end(), lines.begin(), lines.end());
}

// "symbol = formula", or the formula alone where it is its own symbol.
std::vector<std::string> Symbols(const Step &step)
{
    std::vector<std::string> parts { std::string(step.symbol) };
    if (step.formula != step.symbol)
        parts.emplace_back(step.formula);
    return parts;
}

std::vector<std::string> StepLines(const Step &step)
{
    return Equation(StepParts(step));
}

} // namespace

std::vector<std::string> StepParts(const Step &step)
{
    std::vector<std::string> parts = Symbols(step);
    parts.push_back(Substituted(step));
    parts.push_back(Number(step.value));
    return parts;
}

std::size_t SheetWidth(std::string_view text)
{
    // Every character beyond ASCII counts as wide: in a Song face even ×, −
    // and ℃ are drawn a full em wide.
    std::size_t width = 0;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        width += byte < 0x80 ? 1 : (byte & 0xC0) == 0xC0 ? 2 : 0;
    }
    return width;
}

std::string SheetDate(std::chrono::year_month_day date)
{
    return std::to_string(int(date.year())) + "年" + std::to_string(unsigned(date.month())) + "月"
        + std::to_string(unsigned(date.day())) + "日";
}

Sheet MakeSheet(MediumKind medium, const std::array<double, 5> &values, std::string_view date,
    std::string_view version, const SheetOrigin *origin)
{
    Recorded recorded;
    SizingResult result;
    ComputeFlowCoefficients(medium, InputsFrom(values), result, recorded);

    // The same value formed again (a root that Cv and C share) is shown once.
    std::vector<Step> steps;
    for (const Step &step : recorded.steps)
        if (std::none_of(steps.begin(), steps.end(), [&](const Step &shown) {
                return shown.symbol == step.symbol && shown.value == step.value;
            }))
            steps.push_back(step);

    Sheet sheet;
    sheet.title = "调节阀流通能力计算书";
    sheet.date = date;

    SheetSection state { "一、介质与流动状态", {}, {} };
    if (origin)
        state.lines.push_back("整表计算：表中第 " + std::to_string(origin->line) + " 行"
            + (origin->tag.empty() ? "" : "，位号 " + origin->tag));
    state.lines.push_back("介质：" + std::string(MediumOf(medium).name));
    const auto working = std::partition_point(
        steps.begin(), steps.end(), [](const Step &s) { return s.role == StepRole::RegimeTest; });
    if (result.Case && result.Case->Regime) {
        for (auto s = steps.begin(); s != working; ++s)
            Add(state.lines, StepLines(*s));
        state.lines.push_back(*result.Case->Regime == FlowRegime::Subcritical
                ? "ΔP < P1/2，为亚临界流"
                : "ΔP ≥ P1/2，为临界流");
    }
    sheet.sections.push_back(std::move(state));

    SheetSection inputs { "二、计算参数", {}, {} };
    inputs.table.heads.assign(kSheetTableHeadings.begin(), kSheetTableHeadings.end());
    const bool written = origin
        && std::any_of(origin->written.begin(), origin->written.end(),
            [](const std::string &w) { return !w.empty(); });
    if (written)
        inputs.table.heads.insert(
            inputs.table.heads.begin() + 2, std::string(kSheetWrittenHeading));
    for (std::size_t i = 0; i < kInputCount; ++i) {
        const InputLook &look = LookOf(kInputs[i], medium);
        if (!look.shown)
            continue;
        std::vector<std::string> row { std::string(look.caption), std::string(kInputs[i].symbol),
            Number(values[i]), std::string(look.unit) };
        if (written)
            row.insert(row.begin() + 2, origin->written[i]);
        inputs.table.rows.push_back(std::move(row));
    }
    sheet.sections.push_back(std::move(inputs));

    SheetSection formulas { "三、计算公式", {}, {} };
    for (auto s = working; s != steps.end(); ++s)
        if (s->formula != s->symbol)
            Add(formulas.lines, Equation(Symbols(*s)));
    sheet.sections.push_back(std::move(formulas));

    SheetSection process { "四、计算过程", {}, {} };
    if (origin)
        for (const std::vector<std::string> &conversion : origin->conversions)
            Add(process.lines, Equation(conversion));
    for (const SingleConstant &c : kSingleConstants)
        if (std::any_of(steps.begin(), steps.end(), [&](const Step &s) {
                return std::find(s.operands.begin(), s.operands.begin() + s.operandCount, c.used)
                    != s.operands.begin() + s.operandCount;
            }))
            Add(process.lines,
                Equation({ "注：常数 " + std::string(c.written) + " 以单精度存储，计算中取 "
                    + Number(c.used) }));
    if (medium == MediumKind::WaterSteam)
        process.lines.push_back("注：过热系数 K 以单精度存储");
    for (auto s = working; s != steps.end(); ++s)
        Add(process.lines, StepLines(*s));
    sheet.sections.push_back(std::move(process));

    sheet.sections.push_back(
        { "五、计算结果", {}, { "Cv = " + Number(result.Cv), "C = " + Number(result.C) } });
    sheet.signatures = { { "位号", origin ? origin->tag : "" }, { "计算", "" }, { "校核", "" },
        { "审核", "" }, { "日期", "" } };
    sheet.footer = "Quorvel " + std::string(version);
    return sheet;
}

} // namespace quorvel
