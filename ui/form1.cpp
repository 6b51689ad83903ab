#include "ui/form1.h"

#include "runtime/error.h"
#include "runtime/text.h"
#include "ui/media.h"
#include "ui/spreadsheet_text.h"
#include "ui/valve_list.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <vector>

namespace quorvel {

namespace {

std::string FormulaCaseText(const FormulaCase &c)
{
    const auto regime = [&] {
        return c.Regime == FlowRegime::Subcritical ? "亚临界流（ΔP < P1/2）"
                                                   : "临界流（ΔP ≥ P1/2）";
    };
    switch (c.Medium) {
    case MediumKind::Liquid:
        return "液体";
    case MediumKind::Gas:
        return std::string("气体，") + regime();
    case MediumKind::WaterSteam:
        return std::string("水蒸汽，") + regime();
    case MediumKind::OtherSteam:
        return "其他蒸汽";
    }
    return {};
}

std::string CopyFailed(const BoxCommand &command)
{
    return "复制失败：剪贴板现在不能写入（可能正被其他程序使用）。\n请稍后再按 "
        + std::string(command.shortcut) + "。";
}

std::string ErrorReport(ErrorKind kind)
{
    return "计算出错：" + std::string(ErrorText(kind)) + "。\n请检查输入的数值后再按“计算”。";
}

// A pasted text's fields: those of each row, without the empty ones at
// its end.
std::vector<std::string> Fields(std::string_view text)
{
    std::vector<std::string> fields;
    std::vector<std::string_view> ofRow;
    std::string unquoted;
    ForEachLine(text, [&](std::string_view row) {
        SplitFields(row, ofRow, unquoted);
        fields.insert(fields.end(), ofRow.begin(), ofRow.end());
    });
    while (!fields.empty() && fields.back().empty())
        fields.pop_back();
    return fields;
}

} // namespace

std::chrono::year_month_day Today()
{
    const std::time_t now = std::time(nullptr);
    if (const std::tm *local = std::localtime(&now))
        return std::chrono::year(local->tm_year + 1900) / (local->tm_mon + 1) / local->tm_mday;
    return std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
}

void Form1::Describe()
{
    DescribeUnits();
    for (ControlId box : kResultBoxes)
        controls_.SetHint(box, kShortcutsHint);
}

void Form1::DescribeUnits()
{
    const MediumSpec &medium = Selected();
    for (const UnitLabel &u : kUnitLabels) {
        const Shown unit = ShownUnder(medium, u.unit);
        controls_.SetDescription(u.box, unit.visible ? unit.caption : std::string_view());
    }
}

void Form1::OptionClick(const MediumSpec &medium)
{
    // Clearing a button may notify it too; only the selected one acts.
    if (!controls_.IsSelected(medium.option))
        return;
    for (const MediumStep &step : medium.steps) {
        switch (step.action) {
        case StepAction::Show:
            controls_.SetVisible(step.control, true);
            break;
        case StepAction::Hide:
            controls_.SetVisible(step.control, false);
            break;
        case StepAction::SetCaption:
            controls_.SetCaption(step.control, step.caption);
            break;
        }
    }
    DescribeUnits();
}

void Form1::Option1_Click()
{
    OptionClick(kMedia[0]);
}

void Form1::Option2_Click()
{
    OptionClick(kMedia[1]);
}

void Form1::Option3_Click()
{
    OptionClick(kMedia[2]);
}

void Form1::Option4_Click()
{
    OptionClick(kMedia[3]);
}

const MediumSpec &Form1::Selected() const
{
    for (const MediumSpec &m : kMedia)
        if (controls_.IsSelected(m.option))
            return m;
    return kMedia[0]; // the group is exclusive and starts on Option1
}

struct Form1::Calculation {
    const MediumSpec *medium = nullptr;
    std::array<double, kInputBoxes.size()> values {};
    SizingResult result;
};

bool Form1::Calculate(Calculation &done)
{
    try {
        // All five boxes are read, hidden ones included.
        for (std::size_t i = 0; i < kInputBoxes.size(); ++i)
            done.values[i] = Val(controls_.Text(kInputBoxes[i]));
        const auto &[p1, p2, g, q, t] = done.values;
        done.medium = &Selected();
        ComputeFlowCoefficients(
            done.medium->medium, SizingInputs { p1, p2, g, q, t }, done.result, SuperheatFactor);
    } catch (const RuntimeError &error) {
        ShowResult(done.result);
        ShowError(ErrorReport(error.kind()));
        return false;
    }
    ShowResult(done.result);
    return true;
}

void Form1::Command1_Click()
{
    Calculation done;
    Calculate(done);
}

// A box shows only what this calculation produced, so an old result never
// stands beside new inputs. The narrow box shows the leading digits; its
// hint gives the whole number and the formula that was used.
void Form1::ShowResult(const SizingResult &result)
{
    const bool complete = result.CvProduced && result.CProduced && result.Case;
    const std::string formula = complete ? FormulaCaseText(*result.Case) : std::string();
    const auto show = [&](ControlId box, bool produced, double value) {
        const std::string number = produced ? NumberToText(value) : std::string();
        controls_.SetText(box, number);
        const std::string whole
            = formula.empty() ? std::string() : number + "（" + formula + "）\n";
        controls_.SetHint(box, whole + std::string(kShortcutsHint));
        controls_.SetDescription(box, formula);
    };
    show(ControlId::Text5, result.CvProduced, result.Cv);
    show(ControlId::Text6, result.CProduced, result.C);
}

void Form1::Command2_Click()
{
    controls_.End();
}

void Form1::Click(ControlId id)
{
    for (const MediumSpec &m : kMedia)
        if (m.option == id)
            return OptionClick(m);
    if (id == ControlId::Command1)
        Command1_Click();
    else if (id == ControlId::Command2)
        Command2_Click();
}

void Form1::EnterPressed(ControlId box)
{
    if (IsInputBox(box))
        Command1_Click();
}

bool Form1::Paste(ControlId box, std::string_view text)
{
    const auto first = std::find(kInputBoxes.begin(), kInputBoxes.end(), box);
    if (first == kInputBoxes.end() || text.find_first_of("\t\r\n") == std::string_view::npos)
        return false;
    const MediumSpec &medium = Selected();
    const std::vector<std::string> fields = Fields(text);
    auto field = fields.begin();
    for (auto at = first; at != kInputBoxes.end() && field != fields.end(); ++at)
        if (at == first || ShownUnder(medium, *at).visible)
            controls_.SetText(*at, *field++);
    return true;
}

void Form1::CopyRow()
{
    Calculation done;
    if (!Calculate(done))
        return;
    std::string row(Spec(done.medium->option).caption);
    for (std::size_t i = 0; i < kInputBoxes.size(); ++i) {
        row += '\t';
        if (ShownUnder(*done.medium, kInputBoxes[i]).visible)
            row += NumberToText(done.values[i]);
    }
    for (double coefficient : { done.result.Cv, done.result.C })
        row += '\t' + NumberToText(coefficient);
    // An old row left on the clipboard would be pasted as this one.
    if (!controls_.CopyToClipboard(row + '\n'))
        ShowError(CopyFailed(kCopyRow));
}

void Form1::CalculateList(std::string_view clipboard)
{
    const std::string limit = std::to_string(kMaxListLines);
    if (const std::size_t lines = CountLines(clipboard); lines > kMaxListLines) {
        controls_.ShowMessage(MessageIcon::Warning,
            "剪贴板中有 " + std::to_string(lines) + " 行，一次最多计算 " + limit
                + " 行，没有计算。\n请分批复制，每批不超过 " + limit + " 行。");
        return;
    }
    const ListAnswer answer = CalculateValveList(clipboard, Selected().medium);
    if (answer.valves == 0) {
        controls_.ShowMessage(MessageIcon::Warning,
            "剪贴板中没有可计算的行。\n请先在表格中复制各阀门的 "
            "P1、P2、G、Q、t（每个阀门一行），再按 "
                + std::string(kCalculateList.shortcut) + "。");
        return;
    }
    // An old answer left on the clipboard would be pasted as this one.
    if (!controls_.CopyToClipboard(answer.text))
        return ShowError(CopyFailed(kCalculateList));
    std::string summary = "已计算 " + std::to_string(answer.valves) + " 行："
        + std::to_string(answer.valves - answer.failed.size()) + " 行得出 Cv 和 C";
    if (!answer.failed.empty()) {
        summary += "，" + std::to_string(answer.failed.size()) + " 行出错（第 ";
        constexpr std::size_t kNamed = 10;
        for (std::size_t i = 0; i < std::min(answer.failed.size(), kNamed); ++i)
            summary += (i ? "、" : "") + std::to_string(answer.failed[i]);
        summary += answer.failed.size() > kNamed ? " 行等）" : " 行）";
    }
    summary += "。\n结果（Cv、C 两列）已复制，请粘贴到表中第一行的右侧。";
    controls_.ShowMessage(MessageIcon::Information, summary);
}

std::optional<Sheet> Form1::SheetToPrint(std::chrono::year_month_day date)
{
    Calculation done;
    if (!Calculate(done))
        return std::nullopt;
    const std::string dated = std::to_string(int(date.year())) + "年"
        + std::to_string(unsigned(date.month())) + "月" + std::to_string(unsigned(date.day()))
        + "日";
    return MakeSheet(done.medium->medium, done.values, dated, QUORVEL_VERSION);
}

void Form1::PrintFailed(std::string_view reason)
{
    std::string report = "打印失败";
    if (!reason.empty())
        report += "：" + std::string(reason);
    ShowError(report + "。\n计算书没有打印。请检查打印机后再按 " + std::string(kPrintSheet.shortcut)
        + "。");
}

void Form1::ShowError(std::string_view report)
{
    controls_.ShowMessage(MessageIcon::Error, report);
}

} // namespace quorvel
