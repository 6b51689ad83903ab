// Form1, the one window of the calculator: what it does, written once for
// every front end, and linked with no toolkit.
//
//   choose a medium (Option1..Option4) -> the input rows are relabelled for it
//   type P1, P2, G, Q, t                -> Text1, Text2, Text3, Text4, Text7
//   click "计算" (Command1) or Enter     -> Val of the five boxes, the medium
//                                          from the option buttons,
//                                          ComputeFlowCoefficients, Cv into
//                                          Text5 and C into Text6
//   a run-time error                    -> the error report; the window and
//                                          every input stay, and a result box
//                                          holds only what this calculation
//                                          produced
//   click "退出" (Command2) or close     -> the program ends
//
// A front end builds the controls from the table in ui/controls.h, implements
// Form1Controls, and turns its toolkit's clicks and Enter keys into calls of
// Form1's handlers. Texts cross the boundary as UTF-8.
#pragma once

#include "calc/sizing.h"
#include "ui/controls.h"

#include <array>
#include <string>
#include <string_view>

namespace quorvel {

struct MediumSpec;

// What the form asks of a front end's controls.
class Form1Controls {
public:
    // The whole text of a text box, hidden or not.
    virtual std::string Text(ControlId box) const = 0;
    // Replaces the whole text of a text box; the start of it stays in view.
    virtual void SetText(ControlId box, std::string_view text) = 0;
    virtual void SetCaption(ControlId label, std::string_view caption) = 0;
    virtual void SetVisible(ControlId control, bool visible) = 0;
    virtual bool IsSelected(ControlId option) const = 0;

    // The error report, titled kWindowCaption, with an error icon. The
    // program goes on when it is closed.
    virtual void ShowError(std::string_view report) = 0;
    // The hint shown when the pointer rests on a box ("" for none).
    virtual void SetHint(ControlId box, std::string_view hint) = 0;
    // What a screen reader says after a box's name ("" for nothing).
    virtual void SetDescription(ControlId box, std::string_view description) = 0;
    // Ends the program with status 0.
    virtual void End() = 0;

protected:
    ~Form1Controls() = default;
};

// The five input boxes, in the order the calculation reads them: P1, P2,
// G, Q, t.
inline constexpr std::array kInputBoxes { ControlId::Text1, ControlId::Text2, ControlId::Text3,
    ControlId::Text4, ControlId::Text7 };

class Form1 {
public:
    // The controls are in their initial state, as the table describes them.
    explicit Form1(Form1Controls &controls)
        : controls_(controls)
    {
    }

    // Describes each input box by its unit. A front end calls it once its
    // controls exist; it may wait until the window has been shown.
    void Describe();

    // Each handler is called after its button has been clicked (an option
    // button is selected by then, or may be cleared again already).
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void Command1_Click();
    void Command2_Click();

    // The click handler of `id`, if it has one.
    void Click(ControlId id);
    // Enter in a text box: an input box calculates, like "计算".
    void EnterPressed(ControlId box);

private:
    void OptionClick(const MediumSpec &medium);
    const MediumSpec &Selected() const;
    void ShowResult(const SizingResult &result);

    Form1Controls &controls_;
    // Written by the water-steam formulas before each use.
    float SuperheatFactor = 0.0f;
};

} // namespace quorvel
