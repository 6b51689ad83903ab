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
// For a valve list in a spreadsheet:
//   paste a row or a column of cells    -> one field into each visible input
//                                          box, from the one pasted into on
//   Ctrl+Shift+C                        -> calculate as "计算" does, then the
//                                          medium, the five inputs used and
//                                          Cv and C on the clipboard as one
//                                          tab-separated row
//   copy the list's rows, Ctrl+Shift+V  -> every row calculated on its own
//                                          (ui/valve_list.h), their Cv and C
//                                          on the clipboard as two columns,
//                                          a message that counts them; the
//                                          window itself stays as it was
//
// A front end builds the controls from the table in ui/controls.h, implements
// Form1Controls, and turns its toolkit's clicks and Enter keys into calls of
// Form1's handlers. Texts cross the boundary as UTF-8.
#pragma once

#include "calc/sizing.h"
#include "ui/controls.h"
#include "ui/sheet.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

struct MediumSpec;

enum class MessageIcon { Information, Warning, Error };

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

    // A message box titled kWindowCaption, with the icon; the program goes
    // on when it is closed.
    virtual void ShowMessage(MessageIcon icon, std::string_view text) = 0;
    // The hint shown when the pointer rests on a box ("" for none).
    virtual void SetHint(ControlId box, std::string_view hint) = 0;
    // What a screen reader says after a box's name ("" for nothing).
    virtual void SetDescription(ControlId box, std::string_view description) = 0;
    // Ends the program with status 0.
    virtual void End() = 0;
    // Puts `lines`, each ended by "\n", on the system's clipboard, each
    // ended by the system's line break instead; false when the clipboard
    // could not be written.
    virtual bool CopyToClipboard(std::string_view lines) = 0;

protected:
    ~Form1Controls() = default;
};

// The row and list commands as the boxes' menus and the result boxes' hint
// name them.
struct BoxCommand {
    std::string_view item, shortcut;
};
inline constexpr BoxCommand kCopyRow { "复制整行(&R)", "Ctrl+Shift+C" };
inline constexpr BoxCommand kCalculateList { "整表计算(&L)", "Ctrl+Shift+V" };
inline constexpr BoxCommand kPrintSheet { "打印计算书(&P)", "Ctrl+P" };
inline constexpr std::string_view kShortcutsHint = "Ctrl+Shift+C：计算并复制整行\nCtrl+Shift+V："
                                                   "计算剪贴板中的整张表\nCtrl+P：打印计算书";

// The computer's local date, for the calculation sheet.
std::chrono::year_month_day Today();

class Form1 {
public:
    // The controls are in their initial state, as the table describes them.
    explicit Form1(Form1Controls &controls)
        : controls_(controls)
    {
    }

    // Describes each input box by its unit and gives the result boxes
    // their hint. A front end calls it once its controls exist; it may wait
    // until the window has been shown.
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
    // Text pasted into a text box. When it holds several fields (split at
    // tabs and line breaks, trailing empty ones ignored), each replaces the
    // text of one input box: the one pasted into, then the visible ones
    // after it, in the order the calculation reads them; fields beyond the
    // last are dropped. Returns false, changing nothing, for text without a
    // tab or line break and for a result box: the front end then pastes as
    // its system does.
    bool Paste(ControlId box, std::string_view text);
    // Ctrl+Shift+C: calculates as "计算" does; when both coefficients are
    // produced, puts one tab-separated row on the clipboard: the medium's
    // caption, P1, P2, G, Q and t as the calculation used them (empty for
    // the box the medium hides), Cv and C.
    void CopyRow();
    // Ctrl+Shift+V, with the clipboard's text ("" when it holds none):
    // calculates each of its lines as a valve (CalculateValveList), puts
    // the answer on the clipboard and says what was calculated. Nothing is
    // copied when no line is a valve or when there are more than
    // kMaxListLines lines. No box, caption or medium changes.
    void CalculateList(std::string_view clipboard);
    // Ctrl+P: calculates as "计算" does; when both coefficients are
    // produced, the calculation sheet of it, dated `date`, for the front end
    // to print. After a run-time error, which has been reported, nothing.
    std::optional<Sheet> SheetToPrint(std::chrono::year_month_day date);
    // The sheet could not be printed, for `reason` (the system's words, or
    // the front end's): says so. A cancelled print dialog is no failure.
    void PrintFailed(std::string_view reason);

private:
    struct Calculation;
    void OptionClick(const MediumSpec &medium);
    void DescribeUnits();
    const MediumSpec &Selected() const;
    // Reads the boxes, calculates and shows the outcome, as "计算" does;
    // false after a run-time error, which has been reported; true when both
    // coefficients were produced.
    bool Calculate(Calculation &done);
    void ShowResult(const SizingResult &result);
    void ShowError(std::string_view report);

    Form1Controls &controls_;
    // Written by the water-steam formulas before each use.
    float SuperheatFactor = 0.0f;
};

} // namespace quorvel
