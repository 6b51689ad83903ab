#include "ui/form1.h"

#include "runtime/error.h"
#include "runtime/text.h"
#include "ui/book.h"
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
    const std::string name(MediumOf(c.Medium).name);
    return c.Regime ? name + "，" + regime() : name;
}

// "…再按 Ctrl+Shift+C。", naming the keys of the command to try again.
std::string TryAgain(CommandId command)
{
    return "再按 " + ShortcutText(CommandOf(command).keys) + "。";
}

std::string CopyFailed(CommandId command)
{
    return "复制失败：剪贴板现在不能写入（可能正被其他程序使用）。\n请稍后" + TryAgain(command);
}

std::string_view PrintFailureText(PrintFailure failure)
{
    switch (failure) {
    case PrintFailure::NoDialog:
        return "系统的打印对话框不能载入";
    case PrintFailure::DialogFailed:
        return "打印对话框出错";
    case PrintFailure::Refused:
        return "打印机没有接受这份计算书";
    case PrintFailure::Unfinished:
        return "计算书没有打印完";
    case PrintFailure::Unsupported:
        return "这个浏览器不能打印网页";
    }
    return {};
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

// The calculation's two results and the boxes that show them.
constexpr ControlId kCvBox = kResultBoxes[0], kCBox = kResultBoxes[1];

} // namespace

std::chrono::year_month_day Today()
{
    const std::time_t now = std::time(nullptr);
    if (const std::tm *local = std::localtime(&now))
        return std::chrono::year(local->tm_year + 1900) / (local->tm_mon + 1) / local->tm_mday;
    return std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
}

Form1::StartWords Form1::WordsAtStart()
{
    StartWords words;
    const auto start = std::find_if(std::begin(kMedia), std::end(kMedia),
        [](const MediumSpec &m) { return m.option == kStartOption; });
    for (const InputSpec &input : kInputs) {
        const Shown unit = ShownUnder(start->medium, input.unitLabel);
        words.description[Index(input.box)] = unit.visible ? unit.caption : std::string_view();
    }
    for (ControlId box : kResultBoxes)
        words.hint[Index(box)] = ShortcutsHint();
    return words;
}

void Form1::Describe()
{
    // The units of the medium selected, which is the start option's unless
    // a click came first.
    DescribeUnits();
    const StartWords words = WordsAtStart();
    for (ControlId box : kResultBoxes)
        controls_.SetHint(box, words.hint[Index(box)]);
}

void Form1::DescribeUnits()
{
    const MediumKind medium = Selected().medium;
    for (const InputSpec &input : kInputs) {
        const Shown unit = ShownUnder(medium, input.unitLabel);
        controls_.SetDescription(input.box, unit.visible ? unit.caption : std::string_view());
    }
}

void Form1::OptionClick(const MediumSpec &medium)
{
    // Clearing a button may notify it too; only the selected one acts.
    if (!controls_.IsSelected(medium.option))
        return;
    for (const MediumStep &step : medium.steps) {
        const Shown shown = ShownUnder(medium.medium, step.control);
        switch (step.action) {
        case StepAction::ShowOrHide:
            controls_.SetVisible(step.control, shown.visible);
            break;
        case StepAction::SetCaption:
            controls_.SetCaption(step.control, shown.caption);
            break;
        }
    }
    DescribeUnits();
}

const MediumSpec &Form1::Selected() const
{
    for (const MediumSpec &m : kMedia)
        if (controls_.IsSelected(m.option))
            return m;
    return kMedia[0]; // the group is exclusive, and one is selected from the start
}

struct Form1::Calculation {
    const MediumSpec *medium = nullptr;
    std::array<double, kInputCount> values {};
    SizingResult result;
};

bool Form1::Calculate(Calculation &done, StepRecorder *recorder)
{
    try {
        // All five boxes are read, hidden ones included.
        for (std::size_t i = 0; i < kInputCount; ++i)
            done.values[i] = Val(controls_.Text(kInputs[i].box));
        done.medium = &Selected();
        if (recorder)
            ComputeFlowCoefficients(
                done.medium->medium, InputsFrom(done.values), done.result, *recorder);
        else
            ComputeFlowCoefficients(done.medium->medium, InputsFrom(done.values), done.result);
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
        controls_.SetHint(box, whole + std::string(ShortcutsHint()));
        controls_.SetDescription(box, formula);
    };
    show(kCvBox, result.CvProduced, result.Cv);
    show(kCBox, result.CProduced, result.C);
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
    const MediumKind medium = Selected().medium;
    const std::vector<std::string> fields = Fields(text);
    auto field = fields.begin();
    for (auto at = first; at != kInputBoxes.end() && field != fields.end(); ++at)
        if (at == first || ShownUnder(medium, *at).visible)
            controls_.SetText(*at, *field++);
    return true;
}

std::vector<const Command *> Form1::MenuOf(ControlId box)
{
    std::vector<const Command *> menu;
    for (const Command &command : kCommands)
        if (!command.resultBoxesOnly || IsResultBox(box))
            menu.push_back(&command);
    return menu;
}

void Form1::Run(CommandId command)
{
    if (!CommandOf(command).readsClipboard)
        return Run(command, {});
    if (const std::optional<std::string> text = controls_.ClipboardText())
        Run(command, *text);
}

void Form1::Run(CommandId command, std::string_view clipboard)
{
    switch (command) {
    case CommandId::CopyRow:
        return CopyRow();
    case CommandId::CalculateList:
        return CalculateList(clipboard);
    case CommandId::PrintBook:
        return PrintBook(clipboard);
    case CommandId::PrintSheet:
        return PrintSheet();
    }
}

void Form1::ClipboardRefused(CommandId command, bool reading)
{
    controls_.ShowMessage(MessageIcon::Warning,
        std::string("浏览器不允许本页") + (reading ? "读取" : "写入")
            + "剪贴板。\n请在浏览器的网站设置中允许本页使用剪贴板，或点进任一输入框后"
            + TryAgain(command));
}

void Form1::CopyRow()
{
    Calculation done;
    if (!Calculate(done))
        return;
    std::string row(done.medium->name);
    for (std::size_t i = 0; i < kInputCount; ++i) {
        row += '\t';
        if (LookOf(kInputs[i], done.medium->medium).shown)
            row += NumberToText(done.values[i]);
    }
    for (double coefficient : { done.result.Cv, done.result.C })
        row += '\t' + NumberToText(coefficient);
    // An old row left on the clipboard would be pasted as this one.
    if (!controls_.CopyToClipboard(row + '\n'))
        ShowError(CopyFailed(CommandId::CopyRow));
}

bool Form1::WarnedOf(const ListAnswer &answer, CommandId command)
{
    const std::string limit = std::to_string(kMaxListLines);
    if (answer.lines > kMaxListLines) {
        controls_.ShowMessage(MessageIcon::Warning,
            "剪贴板中有 " + std::to_string(answer.lines) + " 行，一次最多计算 " + limit
                + " 行，没有计算。\n请分批复制，每批不超过 " + limit + " 行。");
        return true;
    }
    if (answer.valves == 0) {
        controls_.ShowMessage(MessageIcon::Warning,
            "剪贴板中没有可计算的行。\n请先在表格中复制各阀门的 "
            "P1、P2、G、Q、t（每个阀门一行），"
                + TryAgain(command));
        return true;
    }
    return false;
}

void Form1::CalculateList(std::string_view clipboard)
{
    const ListAnswer answer = CalculateValveList(clipboard, Selected().medium);
    if (WarnedOf(answer, CommandId::CalculateList))
        return;
    // An old answer left on the clipboard would be pasted as this one.
    if (!controls_.CopyToClipboard(answer.text))
        return ShowError(CopyFailed(CommandId::CalculateList));
    std::string summary = "已计算 " + std::to_string(answer.valves) + " 行："
        + std::to_string(answer.valves - answer.failed.size()) + " 行得出 Cv 和 C";
    if (!answer.failed.empty()) {
        summary += "，" + std::to_string(answer.failed.size()) + " 行出错（第 ";
        constexpr std::size_t kNamed = 10;
        for (std::size_t i = 0; i < std::min(answer.failed.size(), kNamed); ++i)
            summary += (i ? "、" : "") + std::to_string(answer.failed[i]);
        summary += answer.failed.size() > kNamed ? " 行等）" : " 行）";
    }
    summary += "。\n";
    // What each header said, so that the reading can be checked.
    const std::string window(Selected().name);
    for (const ListBlock &block : answer.blocks) {
        summary += "\n第 " + std::to_string(block.from) + "–" + std::to_string(block.to)
            + " 行按表头读取：\n";
        for (const std::string &line : block.read)
            summary += "  " + line + "\n";
        if (!block.ignored.empty()) {
            summary += "  不用的列：";
            for (const std::string &column : block.ignored)
                summary += (&column == &block.ignored.front() ? "" : "、") + column;
            summary += "\n";
        }
        if (!block.mediumColumn)
            summary += "  表头中没有介质列：各行按窗口所选的" + window + "计算\n";
        else if (block.windowMedium)
            summary += "  " + std::to_string(block.windowMedium)
                + " 行的介质未写明或不是 "
                  "Quorvel 的四种介质，按窗口所选的"
                + window + "计算\n";
        if (block.saturated)
            summary += "  " + std::to_string(block.saturated)
                + " 行水蒸汽的温度低于饱和温度不到 1 ℃，按饱和蒸汽计算（过热度为 0）\n";
        if (block.checksOpenings) {
            summary += "  开度验算：" + std::to_string(block.passed) + " 行合格";
            if (block.flagged) {
                summary += "，" + std::to_string(block.flagged) + " 行不合格或未验算（";
                for (const std::string &row : block.flaggedRows)
                    summary += (&row == &block.flaggedRows.front() ? "" : "、") + row;
                summary += block.flagged > block.flaggedRows.size() ? " 等）" : "）";
            }
            summary += "\n";
        }
    }
    if (!answer.reasons.empty()) {
        summary += "\n出错的行：\n";
        for (const std::string &reason : answer.reasons)
            summary += "  " + reason + "\n";
        if (answer.failed.size() > answer.reasons.size())
            summary += "  另有 " + std::to_string(answer.failed.size() - answer.reasons.size())
                + " 行出错\n";
    }
    const bool checks = std::any_of(answer.blocks.begin(), answer.blocks.end(),
        [](const ListBlock &block) { return block.checksOpenings; });
    summary += checks ? "\n结果（Cv、C 两列，验算开度的表另有额定值、开度和验算结论各列）已复制，"
                        "请粘贴到表中第一行的右侧。"
                      : "\n结果（Cv、C 两列）已复制，请粘贴到表中第一行的右侧。";
    controls_.ShowMessage(MessageIcon::Information, summary);
}

std::optional<Sheet> Form1::SheetToPrint(std::chrono::year_month_day date)
{
    // Calculated once, its steps recorded for the sheet as it goes.
    RecordedSteps steps;
    Calculation done;
    if (!Calculate(done, &steps))
        return std::nullopt;
    return MakeSheet(
        done.medium->medium, done.values, steps, done.result, SheetDate(date), QUORVEL_VERSION);
}

void Form1::PrintSheet()
{
    if (const std::optional<Sheet> sheet = SheetToPrint(Today()))
        PrintAndReport(std::span(&*sheet, 1), CommandId::PrintSheet);
}

void Form1::PrintBook(std::string_view clipboard)
{
    std::vector<ValveRow> valves;
    const ListAnswer answer
        = CalculateValveList(clipboard, Selected().medium, [&](const ValveRow &v) {
              if (valves.size() <= kMaxBookValves)
                  valves.push_back(v);
          });
    if (WarnedOf(answer, CommandId::PrintBook))
        return;
    if (answer.valves > kMaxBookValves) {
        const std::string limit = std::to_string(kMaxBookValves);
        controls_.ShowMessage(MessageIcon::Warning,
            "剪贴板中的表有 " + std::to_string(answer.valves) + " 个阀门，一次最多打印 " + limit
                + " 个阀门的计算书，没有打印。\n请分批复制，每批不超过 " + limit + " 个阀门。");
        return;
    }
    const std::vector<Sheet> book = MakeBook(valves, SheetDate(Today()), QUORVEL_VERSION);
    PrintAndReport(book, CommandId::PrintBook);
}

void Form1::PrintAndReport(std::span<const Sheet> sheets, CommandId command)
{
    const PrintResult printed = controls_.Print(sheets);
    if (printed.status != PrintResult::Status::Failed)
        return; // a cancelled dialog is no failure
    std::string reason(PrintFailureText(printed.failure));
    if (!printed.code.empty())
        reason += "（" + printed.code + "）";
    ShowError("打印失败：" + reason + "。\n计算书没有打印。请检查打印机后" + TryAgain(command));
}

void Form1::ShowError(std::string_view report)
{
    controls_.ShowMessage(MessageIcon::Error, report);
}

} // namespace quorvel
