// Form1, the one window of the calculator.
//
//   choose a medium (Option1..Option4) -> the input rows are relabelled for it
//   type P1, P2, G, Q, t                -> Text1, Text2, Text3, Text4, Text7
//   click "计算" (Command1) or Enter     -> Val of the five boxes, the medium
//                                          from the option buttons,
//                                          ComputeFlowCoefficients, Cv into
//                                          Text5 and C into Text6
//   a run-time error                    -> a message box; the window and every
//                                          input stay, and a result box holds
//                                          only what this calculation produced
//   click "退出" (Command2) or close     -> the program ends
//
// The controls are built from the table in ui/controls.h; each widget's
// objectName is its control's name. For a screen reader, an input box is
// named by its label and described by the unit beside it; a result box is
// described by the formula that produced it.
#pragma once

#include "calc/sizing.h"
#include "ui/controls.h"

#include <QFont>
#include <QWidget>

#include <array>

class QAbstractButton;
class QLabel;
class QLineEdit;

namespace quorvel {

struct MediumSpec;

// The window's default font: 宋体 9 pt, or the nearest font this machine has.
QFont DefaultFont();

class Form1 : public QWidget {
    Q_OBJECT

public:
    explicit Form1(QWidget *parent = nullptr);

    QWidget *control(ControlId id) const { return controls_[static_cast<std::size_t>(id)]; }

private:
    void BuildControls();
    void Command1_Click();
    void Command2_Click();
    void OptionClick(const MediumSpec &medium);

    QLabel *label(ControlId id) const;
    QLineEdit *textBox(ControlId id) const;
    QAbstractButton *button(ControlId id) const;
    MediumKind SelectedMedium() const;
    void SetCaption(ControlId labelId, const QString &caption);
    void DescribeUnits();
    void ShowResult(const SizingResult &result);

    std::array<QWidget *, kControlCount> controls_ {};
    // Written by the water-steam formulas before each use.
    float SuperheatFactor = 0.0f;
};

} // namespace quorvel
