#include "ui/qt/form1_widget.h"

#include "ui/qt/sheet_printer.h"

#include <QButtonGroup>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>

#include <limits>

namespace quorvel {

namespace {

QColor ToQColor(Rgb c)
{
    return QColor(c.r, c.g, c.b);
}

// Only the families this machine has: for each one it lacks, Qt would ask
// the system for a list of substitutes, once per size and style, which is
// much of the time the window takes to show. The same font is chosen.
QStringList Families(FontFace face)
{
    static const QStringList installed = QFontDatabase::families();
    QStringList wanted, present;
    for (std::string_view family : FaceCandidates(face))
        wanted << ToQString(family);
    for (const QString &family : wanted)
        if (installed.contains(family, Qt::CaseInsensitive))
            present << family;
    return present.isEmpty() ? wanted : present;
}

// What a screen reader announces for a box: its label without the colon.
QString AccessibleNameFrom(QString caption)
{
    while (caption.endsWith(u':') || caption.endsWith(u'='))
        caption.chop(1);
    return caption;
}

} // namespace

// 宋体, 隶书 and 楷体 have a regular face only, and their bold and italic are
// drawn from it. Asking for the regular face here does the same with the
// fallback fonts, and spares loading a second multi-megabyte CJK font file
// for the bold captions.
QFont FontFor(FontFace face, double points, bool bold, bool italic)
{
    QFont font;
    font.setFamilies(Families(face));
    font.setStyleName(QStringLiteral("Regular"));
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QKeySequence KeySequenceOf(const Shortcut &keys)
{
    return QKeySequence(
        QKeyCombination(keys.shift ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier,
            Qt::Key(keys.letter)));
}

QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont DefaultFont()
{
    return FontFor(FontFace::Default, kDefaultPoints, false, false);
}

std::array<QWidget *, kControlCount> BuildWindow(QWidget &window)
{
    window.setObjectName(QStringLiteral("Form1"));
    window.setWindowTitle(ToQString(kWindowCaption));
    window.setFixedSize(TwipsToPixels(kClientWidthTwips), TwipsToPixels(kClientHeightTwips));
    window.setFont(DefaultFont());
    QPalette background = window.palette();
    background.setColor(QPalette::Window, ToQColor(kBackground));
    window.setPalette(background);
    window.setAutoFillBackground(true);

    std::array<QWidget *, kControlCount> controls {};
    const auto control = [&](ControlId id) { return controls[Index(id)]; };
    // The four option buttons form one exclusive group.
    auto *media = new QButtonGroup(&window);
    for (const ControlSpec &spec : kControls) {
        const QString caption = ToQString(spec.caption);
        QWidget *w = nullptr;
        switch (spec.kind) {
        case ControlKind::Label: {
            auto *l = new QLabel(caption, &window);
            l->setWordWrap(spec.id == ControlId::Label2);
            l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            w = l;
            break;
        }
        case ControlKind::TextBox: {
            auto *box = new QLineEdit(caption, &window);
            box->setMaxLength(kBoxLengthLimit ? kBoxLengthLimit : std::numeric_limits<int>::max());
            w = box;
            break;
        }
        case ControlKind::OptionButton: {
            auto *b = new QRadioButton(caption, &window);
            media->addButton(b);
            w = b;
            break;
        }
        case ControlKind::CommandButton: {
            auto *b = new QPushButton(caption, &window);
            b->setDefault(spec.id == kDefaultButton);
            w = b;
            break;
        }
        case ControlKind::Frame:
            w = new QGroupBox(caption, &window);
            break;
        }
        w->setObjectName(ToQString(spec.name));
        w->setGeometry(TwipsToPixels(spec.left), TwipsToPixels(spec.top), TwipsToPixels(spec.width),
            TwipsToPixels(spec.height));
        if (spec.face != FontFace::Default)
            w->setFont(FontFor(spec.face, spec.points, spec.bold, spec.italic));
        if (spec.colour) {
            QPalette pal = w->palette();
            pal.setColor(spec.kind == ControlKind::TextBox ? QPalette::Text : QPalette::WindowText,
                ToQColor(*spec.colour));
            w->setPalette(pal);
        }
        w->setVisible(spec.visible);
        controls[Index(spec.id)] = w;
    }

    // Boxes above labels that reach into them, option buttons above the frame.
    for (const ControlSpec &spec : kControls)
        if (DrawnAbove(spec.kind))
            controls[Index(spec.id)]->raise();

    for (const ControlSpec &spec : kControls)
        if (spec.buddy) {
            static_cast<QLabel *>(control(spec.id))->setBuddy(control(*spec.buddy));
            control(*spec.buddy)->setAccessibleName(AccessibleNameFrom(ToQString(spec.caption)));
        }

    static_cast<QAbstractButton *>(control(kStartOption))->setChecked(true);

    // Tab moves through the focusable controls in ascending tab index.
    for (std::size_t i = 1; i < kTabOrder.size(); ++i)
        QWidget::setTabOrder(control(kTabOrder[i - 1]), control(kTabOrder[i]));
    control(kTabOrder.front())->setFocus();
    return controls;
}

Form1Widget::Form1Widget(QWidget *parent)
    : QWidget(parent)
    , form_(*this)
{
    controls_ = BuildWindow(*this);
    form_.Describe();

    for (const ControlSpec &spec : kControls) {
        const ControlId id = spec.id;
        if (spec.kind == ControlKind::OptionButton)
            connect(button(id), &QAbstractButton::toggled, this, [this, id] { form_.Click(id); });
        else if (spec.kind == ControlKind::CommandButton)
            connect(button(id), &QAbstractButton::clicked, this, [this, id] { form_.Click(id); });
        else if (spec.kind == ControlKind::TextBox) {
            connect(textBox(id), &QLineEdit::returnPressed, this,
                [this, id] { form_.EnterPressed(id); });
            textBox(id)->installEventFilter(this);
        }
    }
    for (const Command &command : kCommands) {
        auto *shortcut = new QShortcut(KeySequenceOf(command.keys), this);
        shortcut->setObjectName(ToQString(command.item));
        connect(shortcut, &QShortcut::activated, this, [this, &command] { Run(command); });
    }
}

void Form1Widget::Run(const Command &command)
{
    form_.Run(command.id);
}

std::optional<std::string> Form1Widget::ClipboardText()
{
    return QGuiApplication::clipboard()->text().toStdString();
}

// Qt's print preview, in Chinese, with Qt's print dialog behind its print
// button; the pages are drawn again each time the preview or a printer
// asks for them.
PrintResult Form1Widget::Print(std::span<const Sheet> sheets)
{
    QPrinter printer(QPrinter::HighResolution);
    SetUpForPrint(printer, sheets.front().title);
    QPrintPreviewDialog preview(&printer, this);
    preview.setWindowTitle(ToQString(sheets.front().title));
    // Room for the whole page, where the screen has it.
    if (const QScreen *shown = screen())
        preview.resize(QSize(720, 900).boundedTo(shown->availableSize()));
    bool failed = false;
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
        [&](QPrinter *to) { failed = !PrintSheets(*to, sheets) || failed; });
    const bool printed = preview.exec() == QDialog::Accepted;
    if (failed)
        return { PrintResult::Status::Failed, PrintFailure::Refused, {} };
    return { printed ? PrintResult::Status::Printed : PrintResult::Status::Cancelled,
        PrintFailure::Refused, {} };
}

bool Form1Widget::eventFilter(QObject *watched, QEvent *event)
{
    const auto found = std::ranges::find(controls_, watched);
    if (found == controls_.end())
        return false;
    const ControlId box = kControls[std::size_t(found - controls_.begin())].id;
    if (event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste)) {
        PasteInto(box);
        return true;
    }
    if (event->type() == QEvent::ContextMenu) {
        ShowContextMenu(box, static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }
    return false;
}

void Form1Widget::PasteInto(ControlId box)
{
    if (!form_.Paste(box, QGuiApplication::clipboard()->text().toStdString()))
        textBox(box)->paste();
}

// The box's own menu, whose "粘贴" pastes as the keys do, then the list
// command; a result box's has the row command before it.
void Form1Widget::ShowContextMenu(ControlId box, const QPoint &at)
{
    QMenu *menu = textBox(box)->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // Qt names the item as QLineEdit translates it, with the keys after a tab.
    for (QAction *paste : menu->actions())
        if (paste->text().section(u'\t', 0, 0) == QLineEdit::tr("&Paste")) {
            disconnect(paste, &QAction::triggered, nullptr, nullptr);
            connect(paste, &QAction::triggered, this, [this, box] { PasteInto(box); });
        }
    menu->addSeparator();
    for (const Command *command : Form1::MenuOf(box)) {
        // The text after the tab stands in the menu's shortcut column.
        QAction *item = menu->addAction(ToQString(MenuItemText(*command)));
        connect(item, &QAction::triggered, this, [this, command] { Run(*command); });
    }
    menu->popup(at);
}

QLabel *Form1Widget::label(ControlId id) const
{
    return static_cast<QLabel *>(control(id));
}

QLineEdit *Form1Widget::textBox(ControlId id) const
{
    return static_cast<QLineEdit *>(control(id));
}

QAbstractButton *Form1Widget::button(ControlId id) const
{
    return static_cast<QAbstractButton *>(control(id));
}

std::string Form1Widget::Text(ControlId box) const
{
    return textBox(box)->text().toStdString();
}

void Form1Widget::SetText(ControlId box, std::string_view text)
{
    textBox(box)->setText(ToQString(text));
    textBox(box)->setCursorPosition(0);
}

void Form1Widget::SetCaption(ControlId labelId, std::string_view caption)
{
    QLabel *l = label(labelId);
    l->setText(ToQString(caption));
    if (QWidget *box = l->buddy())
        box->setAccessibleName(AccessibleNameFrom(l->text()));
}

void Form1Widget::SetVisible(ControlId id, bool visible)
{
    control(id)->setVisible(visible);
}

bool Form1Widget::IsSelected(ControlId option) const
{
    return button(option)->isChecked();
}

void Form1Widget::ShowMessage(MessageIcon icon, std::string_view text)
{
    const QMessageBox::Icon shown = icon == MessageIcon::Error ? QMessageBox::Critical
        : icon == MessageIcon::Warning                         ? QMessageBox::Warning
                                                               : QMessageBox::Information;
    QMessageBox box(shown, ToQString(kWindowCaption), ToQString(text), QMessageBox::Ok, this);
    box.exec();
}

void Form1Widget::SetHint(ControlId box, std::string_view hint)
{
    control(box)->setToolTip(ToQString(hint));
}

void Form1Widget::SetDescription(ControlId box, std::string_view description)
{
    control(box)->setAccessibleDescription(ToQString(description));
}

void Form1Widget::End()
{
    QCoreApplication::exit(0);
}

bool Form1Widget::CopyToClipboard(std::string_view lines)
{
    QGuiApplication::clipboard()->setText(ToQString(lines));
    return true;
}

} // namespace quorvel
