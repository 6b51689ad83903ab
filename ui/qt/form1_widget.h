// The Qt front end of Form1 (ui/form1.h): the controls built from the table
// in ui/controls.h as widgets, each widget's objectName its control's name.
// Fonts, palettes, the option buttons' group, tooltips and what a screen
// reader hears are Qt's business here; what the window does is the form's.
// An input box is named for a screen reader by its label. Every paste into
// a text box (Ctrl+V, Shift+Insert, its menu's "粘贴") goes to the form
// first. The commands of ui/commands.h run from their keys anywhere in the
// window (a QShortcut each) and from the boxes' menus; printing is Qt's
// print preview (ui/qt/sheet_printer.h).
#pragma once

#include "ui/controls.h"
#include "ui/form1.h"

#include <QFont>
#include <QKeySequence>
#include <QWidget>

#include <array>
#include <string_view>

class QLabel;
class QLineEdit;
class QAbstractButton;
class QPoint;

namespace quorvel {

// The form's UTF-8 text as Qt's.
QString ToQString(std::string_view text);

// The window's default font: 宋体 9 pt, or the nearest font this machine has.
QFont DefaultFont();
// A face of the control table in a size and style, or the nearest one.
QFont FontFor(FontFace face, double points, bool bold, bool italic);

// The keys of a command as Qt matches them.
QKeySequence KeySequenceOf(const Shortcut &keys);

// Makes `window` the calculator's window as the table describes it: its
// title, size and background, and every control as a widget in its font and
// colour, in the tab order, the focus on the first; nothing is connected.
// Returns the widgets by ControlId.
std::array<QWidget *, kControlCount> BuildWindow(QWidget &window);

class Form1Widget : public QWidget, private Form1Controls {
    Q_OBJECT

public:
    explicit Form1Widget(QWidget *parent = nullptr);

    QWidget *control(ControlId id) const { return controls_[Index(id)]; }

private:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // The clipboard's text into `box`, through the form or as Qt pastes.
    void PasteInto(ControlId box);
    void ShowContextMenu(ControlId box, const QPoint &at);
    void Run(const Command &command);
    QLabel *label(ControlId id) const;
    QLineEdit *textBox(ControlId id) const;
    QAbstractButton *button(ControlId id) const;

    std::string Text(ControlId box) const override;
    void SetText(ControlId box, std::string_view text) override;
    void SetCaption(ControlId label, std::string_view caption) override;
    void SetVisible(ControlId control, bool visible) override;
    bool IsSelected(ControlId option) const override;
    void ShowMessage(MessageIcon icon, std::string_view text) override;
    void SetHint(ControlId box, std::string_view hint) override;
    void SetDescription(ControlId box, std::string_view description) override;
    void End() override;
    bool CopyToClipboard(std::string_view lines) override;
    std::optional<std::string> ClipboardText() override;
    PrintResult Print(std::span<const Sheet> sheets) override;

    std::array<QWidget *, kControlCount> controls_ {};
    Form1 form_;
};

} // namespace quorvel
