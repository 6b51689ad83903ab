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
//   Ctrl+P                              -> calculate as "计算" does, then the
//                                          calculation sheet (ui/sheet.h)
//                                          through the system's print dialog
//   copy the list's rows, Ctrl+Shift+P  -> every row calculated, then the
//                                          list's calculation book
//                                          (ui/book.h) through the system's
//                                          print dialog
//
// The box menus' commands and their keys are a table (ui/commands.h) that
// every front end builds its menus and matches its keys from; the form runs
// them (Run). A front end builds the controls from the table in
// ui/controls.h, implements Form1Controls, and turns its toolkit's clicks,
// Enter keys and commands into calls of Form1's handlers. Texts cross the
// boundary as UTF-8.
#pragma once

#include "calc/sizing.h"
#include "ui/commands.h"
#include "ui/controls.h"
#include "ui/sheet.h"

#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

struct MediumSpec;
struct ListAnswer;

enum class MessageIcon { Information, Warning, Error };

// Why a print did not happen, as far as the system said.
enum class PrintFailure {
    // The system's print dialog could not be loaded.
    NoDialog,
    // The print dialog could not open, or ended in an error.
    DialogFailed,
    // The printer did not take the document.
    Refused,
    // The printer stopped before the document's end.
    Unfinished,
    // This system cannot print at all (a browser without printing).
    Unsupported,
};

struct PrintResult {
    enum class Status { Printed, Cancelled, Failed };
    Status status = Status::Printed;
    PrintFailure failure = PrintFailure::Refused; // when it failed
    std::string code; // the system's error code, "" when it gave none
};

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
    // The clipboard's text, for a command that reads it ("" when it holds
    // none). A front end whose system brings the text only later, as a
    // browser does, gives none here and runs the command with the text
    // itself once it comes (Form1::Run with the text).
    virtual std::optional<std::string> ClipboardText() { return std::nullopt; }
    // The system's print dialog for the sheets, each on pages of its own,
    // and the print; what came of it.
    virtual PrintResult Print(std::span<const Sheet> sheets) = 0;

protected:
    ~Form1Controls() = default;
};

// What a front end that cannot close its window (a browser's tab that no
// script opened) shows in its place when the program ends.
inline constexpr std::string_view kEndedText
    = "Quorvel 已退出。关闭此页面即可；刷新页面可重新开始。";

// The computer's local date, for the calculation sheet.
std::chrono::year_month_day Today();

class Form1 {
public:
    // The controls are in their initial state, as the table describes them.
    explicit Form1(Form1Controls &controls)
        : controls_(controls)
    {
    }

    // What the boxes say of themselves at start, by control: each input box
    // its unit as its description (for the start option's medium), each
    // result box the commands' keys as its hint; "" for none.
    struct StartWords {
        std::array<std::string_view, kControlCount> hint, description;
    };
    static StartWords WordsAtStart();
    // Gives the boxes their words at start (WordsAtStart). A front end
    // calls it once its controls exist; it may wait until the window has
    // been shown, or hold the words from the first.
    void Describe();

    // Each handler is called after its button has been clicked.
    void Command1_Click();
    void Command2_Click();

    // The click handler of `id`, if it has one: an option button (selected
    // by then, or already cleared again) relabels the inputs for its medium.
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

    // The commands of a box's menu, in the table's order.
    static std::vector<const Command *> MenuOf(ControlId box);
    // Runs a command (ui/commands.h), one that reads the clipboard with the
    // text the front end gives (Form1Controls::ClipboardText).
    void Run(CommandId command);
    // Runs a command with the clipboard's text that a front end brought
    // for it ("" when it holds none); a command that reads none ignores it.
    void Run(CommandId command, std::string_view clipboard);
    // The system would not let the program read or write the clipboard for
    // a command (a browser may refuse a page): says so, and what to try.
    void ClipboardRefused(CommandId command, bool reading);

    // Calculates as "计算" does; when both coefficients are produced, the
    // calculation sheet of it, dated `date`. After a run-time error, which
    // has been reported, nothing. Ctrl+P prints it; the page's own printing
    // shows it too.
    std::optional<Sheet> SheetToPrint(std::chrono::year_month_day date);

private:
    struct Calculation;
    void OptionClick(const MediumSpec &medium);
    void DescribeUnits();
    const MediumSpec &Selected() const;
    // Reads the boxes, calculates and shows the outcome, as "计算" does;
    // false after a run-time error, which has been reported; true when both
    // coefficients were produced. `recorder`, when given, is told every
    // step, for the sheet.
    bool Calculate(Calculation &done, StepRecorder *recorder = nullptr);
    void ShowResult(const SizingResult &result);
    void ShowError(std::string_view report);

    // Ctrl+Shift+C: calculates as "计算" does; when both coefficients are
    // produced, puts one tab-separated row on the clipboard: the medium's
    // name, P1, P2, G, Q and t as the calculation used them (empty for the
    // box the medium hides), Cv and C.
    void CopyRow();
    // Ctrl+Shift+V: calculates each line of the clipboard's text as a valve
    // (CalculateValveList), puts the answer on the clipboard and says what
    // was calculated. Nothing is copied when no line is a valve or when
    // there are more than kMaxListLines lines. No box, caption or medium
    // changes.
    void CalculateList(std::string_view clipboard);
    // Ctrl+P: the sheet of the boxes' calculation, through the system's
    // print dialog.
    void PrintSheet();
    // Ctrl+Shift+P: the calculation book of the clipboard's list
    // (ui/book.h), read and calculated as CalculateList does, through the
    // system's print dialog. Nothing is printed when no line is a valve or
    // when there are more than kMaxBookValves valves or kMaxListLines
    // lines. No box, caption or medium changes.
    void PrintBook(std::string_view clipboard);
    // The warning for a list of no valve or of too many lines, or false.
    bool WarnedOf(const ListAnswer &answer, CommandId command);
    // Prints `sheets` and says why, when they could not be printed.
    void PrintAndReport(std::span<const Sheet> sheets, CommandId command);

    Form1Controls &controls_;
};

} // namespace quorvel
