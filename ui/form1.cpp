#include "ui/form1.h"

#include "runtime/error.h"
#include "runtime/text.h"
#include "ui/media.h"

#include <algorithm>

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

std::string ErrorReport(ErrorKind kind)
{
    return "计算出错：" + std::string(ErrorText(kind)) + "。\n请检查输入的数值后再按“计算”。";
}

// What a unit label shows under a medium: every list sets the caption of
// each label it leaves visible, and the window starts as liquid leaves it.
std::string_view ShownUnit(const MediumSpec &medium, ControlId unit)
{
    bool visible = Spec(unit).visible;
    std::string_view caption = Spec(unit).caption;
    for (const MediumStep &step : medium.steps) {
        if (step.control != unit)
            continue;
        switch (step.action) {
        case StepAction::Show:
        case StepAction::Hide:
            visible = step.action == StepAction::Show;
            break;
        case StepAction::SetCaption:
            caption = step.caption;
            break;
        }
    }
    return visible ? caption : std::string_view();
}

} // namespace

void Form1::Describe()
{
    const MediumSpec &medium = Selected();
    for (const UnitLabel &u : kUnitLabels)
        controls_.SetDescription(u.box, ShownUnit(medium, u.unit));
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
    Describe();
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

void Form1::Command1_Click()
{
    SizingResult result;
    try {
        // All five boxes are read, hidden ones included.
        std::array<double, kInputBoxes.size()> values {};
        for (std::size_t i = 0; i < kInputBoxes.size(); ++i)
            values[i] = Val(controls_.Text(kInputBoxes[i]));
        const SizingInputs inputs { values[0], values[1], values[2], values[3], values[4] };
        ComputeFlowCoefficients(Selected().medium, inputs, result, SuperheatFactor);
    } catch (const RuntimeError &error) {
        ShowResult(result);
        controls_.ShowError(ErrorReport(error.kind()));
        return;
    }
    ShowResult(result);
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
        controls_.SetHint(box, formula.empty() ? std::string() : number + "（" + formula + "）");
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
    if (std::find(kInputBoxes.begin(), kInputBoxes.end(), box) != kInputBoxes.end())
        Command1_Click();
}

} // namespace quorvel
