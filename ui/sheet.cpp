#include "ui/sheet.h"

#include "runtime/text.h"
#include "ui/media.h"
#include "ui/opening.h"
#include "ui/steps.h"

#include <algorithm>

namespace quorvel {

namespace {

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

std::vector<std::string> StepLines(const Step &step)
{
    return Equation(StepParts(step));
}

// The opening check: each flow with its coefficients, φ and opening, the
// steps from C to the opening, the limits and the verdict.
SheetSection OpeningSection(const OpeningCheck &check, MediumKind medium)
{
    SheetSection section { "开度验算", {}, {} };
    const std::string unit(LookOf(kInputs[InputIndex(&SizingInputs::Q)], medium).unit);
    section.table.heads = { "流量", "Q（" + unit + "）", "Cv", "C", "φ", "开度 l（%）" };
    section.table.small = true; // six columns of full numbers
    for (FlowPoint point : kFlowPointList) {
        const PointCheck &at = check.points[std::size_t(point)];
        if (!at.given)
            continue;
        std::vector<std::string> row { std::string(FlowPointName(point)) };
        if (!at.Calculated()) {
            row.push_back("出错：" + at.failure); // spans the columns it lacks
        } else {
            row.insert(row.end(),
                { StepNumber(at.Q), StepNumber(at.result.Cv), StepNumber(at.result.C),
                    at.phi ? StepNumber(*at.phi) : "", at.opening ? StepNumber(*at.opening) : "" });
        }
        section.table.rows.push_back(std::move(row));
    }
    std::vector<std::string> &lines = section.lines;
    if (check.rated)
        lines.push_back("额定 " + RatedText(check)
            + (check.proposed ? "：R10 系列中最大流量开度不大于 90% 的最小值，须按所选产品核对"
                              : "：表中所列"));
    for (const auto &step : check.ratedSteps)
        Add(lines, Equation(step));
    const bool linear = check.characteristic == Characteristic::Linear;
    lines.push_back("流量特性：" + std::string(CharacteristicName(check.characteristic))
        + (check.characteristicDefault ? "（表中未给，按默认）" : "")
        + "，可调比 R = " + StepNumber(check.rangeability)
        + (check.rangeabilityDefault ? "（表中未给，按默认）" : ""));
    lines.push_back(std::string(check.kind == RatedKind::C ? "φ = C / C额定" : "φ = Cv / Cv额定")
        + (linear ? "，l = (R·φ − 1) / (R − 1) × 100（q = (1 + (R − 1)·l) / R）"
                  : "，l = (1 + ln φ / ln R) × 100（q = R^(l − 1)）"));
    // Each point's steps with their numbers, the formulas being above.
    for (FlowPoint point : kFlowPointList) {
        const PointCheck &at = check.points[std::size_t(point)];
        for (const auto &step : at.derivation)
            Add(lines, Equation(step));
        std::string lead = std::string(FlowPointName(point)) + "：";
        for (const auto &step : at.steps) {
            Add(lines, Equation({ lead + step.front(), step[2], step[3] }));
            lead = "　　　";
        }
    }
    lines.push_back(
        "结论：" + check.Verdict() + "（最大流量开度 ≤ 90%，最小流量开度 ≥ 10%，φ ≥ 1/R）");
    return section;
}

} // namespace

std::string RatedText(const OpeningCheck &check)
{
    if (!check.rated)
        return {};
    return std::string(RatedSymbol(check.kind)) + " " + StepNumber(*check.rated)
        + (check.proposed ? "（建议）" : "");
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

namespace {

SheetSection StateSection(MediumKind medium, const RecordedSteps &recorded,
    const SizingResult &result, const SheetOrigin *origin)
{
    SheetSection state { "介质与流动状态", {}, {} };
    if (origin)
        state.lines.push_back("整表计算：表中第 " + std::to_string(origin->line) + " 行"
            + (origin->tag.empty() ? "" : "，位号 " + origin->tag));
    state.lines.push_back("介质：" + std::string(MediumOf(medium).name));
    if (result.Case && result.Case->Regime) {
        for (const Step &step : recorded.regimeTest)
            Add(state.lines, StepLines(step));
        state.lines.push_back(*result.Case->Regime == FlowRegime::Subcritical
                ? "ΔP < P1/2，为亚临界流"
                : "ΔP ≥ P1/2，为临界流");
    }
    return state;
}

// Each input the medium shows: its caption, symbol, the value used and its
// unit, and for a valve of a list, as the list wrote it where it converted.
SheetSection InputsSection(
    MediumKind medium, const std::array<double, 5> &values, const SheetOrigin *origin)
{
    SheetSection inputs { "计算参数", {}, {} };
    const bool written = origin
        && std::any_of(origin->written.begin(), origin->written.end(),
            [](const std::string &w) { return !w.empty(); });
    const auto row = [&](std::string_view caption, std::string_view symbol, std::string_view listed,
                         std::string value, std::string_view unit) {
        std::vector<std::string> cells { std::string(caption), std::string(symbol) };
        if (written)
            cells.emplace_back(listed);
        cells.insert(cells.end(), { std::move(value), std::string(unit) });
        return cells;
    };
    inputs.table.heads = row(kSheetTableHeadings[0], kSheetTableHeadings[1], kSheetWrittenHeading,
        std::string(kSheetTableHeadings[2]), kSheetTableHeadings[3]);
    for (std::size_t i = 0; i < kInputCount; ++i) {
        const InputLook &look = LookOf(kInputs[i], medium);
        if (look.shown)
            inputs.table.rows.push_back(row(look.caption, kInputs[i].symbol,
                written ? std::string_view(origin->written[i]) : std::string_view(),
                StepNumber(values[i]), look.unit));
    }
    return inputs;
}

SheetSection FormulasSection(const RecordedSteps &recorded)
{
    SheetSection formulas { "计算公式", {}, {} };
    for (const Step &step : recorded.working)
        if (step.formula != step.symbol)
            Add(formulas.lines, Equation(StepSymbols(step)));
    return formulas;
}

// How the list's cells became the values, the constants held in single
// precision, and every step with its numbers.
SheetSection ProcessSection(
    MediumKind medium, const RecordedSteps &recorded, const SheetOrigin *origin)
{
    SheetSection process { "计算过程", {}, {} };
    if (origin)
        for (const std::vector<std::string> &conversion : origin->conversions)
            Add(process.lines, Equation(conversion));
    for (const SingleConstant &c : kSingleConstants)
        if (std::any_of(recorded.working.begin(), recorded.working.end(), [&](const Step &s) {
                return std::find(s.operands.begin(), s.operands.begin() + s.operandCount, c.used)
                    != s.operands.begin() + s.operandCount;
            }))
            Add(process.lines,
                Equation({ "注：常数 " + std::string(c.written) + " 以单精度存储，计算中取 "
                    + StepNumber(c.used) }));
    if (medium == MediumKind::WaterSteam)
        process.lines.push_back("注：过热系数 K 以单精度存储");
    for (const Step &step : recorded.working)
        Add(process.lines, StepLines(step));
    return process;
}

SheetSection ResultSection(const SizingResult &result)
{
    return { "计算结果", {}, { "Cv = " + StepNumber(result.Cv), "C = " + StepNumber(result.C) } };
}

// The sections' numbers, in order.
constexpr std::string_view kSectionNumbers[] = { "一", "二", "三", "四", "五", "六", "七", "八" };

} // namespace

Sheet MakeSheet(MediumKind medium, const std::array<double, 5> &values, std::string_view date,
    std::string_view version, const SheetOrigin *origin)
{
    RecordedSteps recorded;
    SizingResult result;
    ComputeFlowCoefficients(medium, InputsFrom(values), result, recorded);
    return MakeSheet(medium, values, recorded, result, date, version, origin);
}

Sheet MakeSheet(MediumKind medium, const std::array<double, 5> &values,
    const RecordedSteps &recorded, const SizingResult &result, std::string_view date,
    std::string_view version, const SheetOrigin *origin)
{
    Sheet sheet;
    sheet.title = "调节阀流通能力计算书";
    sheet.date = date;
    sheet.sections = { StateSection(medium, recorded, result, origin),
        InputsSection(medium, values, origin), FormulasSection(recorded),
        ProcessSection(medium, recorded, origin), ResultSection(result) };
    if (origin && origin->opening)
        sheet.sections.push_back(OpeningSection(*origin->opening, medium));
    for (std::size_t i = 0; i < sheet.sections.size(); ++i)
        sheet.sections[i].heading
            = std::string(kSectionNumbers[i]) + "、" + sheet.sections[i].heading;
    sheet.signatures = { { "位号", origin ? origin->tag : "" }, { "计算", "" }, { "校核", "" },
        { "审核", "" }, { "日期", "" } };
    sheet.footer = "Quorvel " + std::string(version);
    return sheet;
}

} // namespace quorvel
