#include "ui/form1.h"

#include "runtime/error.h"
#include "runtime/text.h"
#include "ui/media.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <limits>
#include <vector>

namespace quorvel {

namespace {

QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QColor ToQColor(Rgb c)
{
    return QColor(c.r, c.g, c.b);
}

// The fonts the layout was drawn with are Windows fonts; where a machine
// lacks them, the nearest CJK font it has takes their place.
QStringList WantedFamilies(FontFace face)
{
    static const QStringList kSerifCjk { QStringLiteral("Noto Serif CJK SC"),
        QStringLiteral("AR PL UMing CN") };
    switch (face) {
    case FontFace::Default:
    case FontFace::Song:
        return QStringList { QStringLiteral("宋体"), QStringLiteral("SimSun"),
            QStringLiteral("NSimSun") }
        + kSerifCjk;
    case FontFace::Li:
        return QStringList { QStringLiteral("隶书"), QStringLiteral("LiSu") } + kSerifCjk;
    case FontFace::Kai:
        return QStringList { QStringLiteral("楷体_GB2312"), QStringLiteral("KaiTi_GB2312"),
            QStringLiteral("KaiTi"), QStringLiteral("AR PL UKai CN") }
        + kSerifCjk;
    }
    return kSerifCjk;
}

// Only the families this machine has: for each one it lacks, Qt would ask
// the system for a list of substitutes, once per size and style, which is
// much of the time the window takes to show. The same font is chosen.
QStringList Families(FontFace face)
{
    static const QStringList installed = QFontDatabase::families();
    const QStringList wanted = WantedFamilies(face);
    QStringList present;
    for (const QString &family : wanted)
        if (installed.contains(family, Qt::CaseInsensitive))
            present << family;
    return present.isEmpty() ? wanted : present;
}

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

// What a screen reader announces for a box: its label without the colon.
QString AccessibleNameFrom(QString caption)
{
    while (caption.endsWith(u':') || caption.endsWith(u'='))
        caption.chop(1);
    return caption;
}

QString FormulaCaseText(const FormulaCase &c)
{
    const auto regime = [&] {
        return c.Regime == FlowRegime::Subcritical ? QStringLiteral("亚临界流（ΔP < P1/2）")
                                                   : QStringLiteral("临界流（ΔP ≥ P1/2）");
    };
    switch (c.Medium) {
    case MediumKind::Liquid:
        return QStringLiteral("液体");
    case MediumKind::Gas:
        return QStringLiteral("气体，") + regime();
    case MediumKind::WaterSteam:
        return QStringLiteral("水蒸汽，") + regime();
    case MediumKind::OtherSteam:
        return QStringLiteral("其他蒸汽");
    }
    return {};
}

QString ErrorReport(ErrorKind kind)
{
    return QStringLiteral("计算出错：%1。\n请检查输入的数值后再按“计算”。")
        .arg(ToQString(ErrorText(kind)));
}

} // namespace

QFont DefaultFont()
{
    return FontFor(FontFace::Default, kDefaultPoints, false, false);
}

Form1::Form1(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quorvel"));
    setFixedSize(TwipsToPixels(kClientWidthTwips), TwipsToPixels(kClientHeightTwips));
    setFont(DefaultFont());
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(kBackground));
    setPalette(pal);
    setAutoFillBackground(true);

    BuildControls();

    for (const MediumSpec &medium : kMedia)
        connect(button(medium.option), &QAbstractButton::toggled, this,
            [this, &medium] { OptionClick(medium); });
    connect(button(ControlId::Command1), &QAbstractButton::clicked, this, &Form1::Command1_Click);
    connect(button(ControlId::Command2), &QAbstractButton::clicked, this, &Form1::Command2_Click);
    // Enter in an input box calculates, as the default button would in a dialog.
    for (ControlId box : { ControlId::Text1, ControlId::Text2, ControlId::Text3, ControlId::Text4,
             ControlId::Text7 })
        connect(textBox(box), &QLineEdit::returnPressed, this, &Form1::Command1_Click);
}

void Form1::BuildControls()
{
    // The four option buttons form one exclusive group.
    auto *media = new QButtonGroup(this);
    for (const ControlSpec &spec : kControls) {
        const QString caption = ToQString(spec.caption);
        QWidget *w = nullptr;
        switch (spec.kind) {
        case ControlKind::Label: {
            auto *l = new QLabel(caption, this);
            l->setWordWrap(spec.id == ControlId::Label2);
            l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            w = l;
            break;
        }
        case ControlKind::TextBox: {
            auto *box = new QLineEdit(caption, this);
            box->setMaxLength(std::numeric_limits<int>::max()); // no length limit
            w = box;
            break;
        }
        case ControlKind::OptionButton: {
            auto *b = new QRadioButton(caption, this);
            media->addButton(b);
            w = b;
            break;
        }
        case ControlKind::CommandButton: {
            auto *b = new QPushButton(caption, this);
            b->setDefault(spec.id == ControlId::Command1);
            w = b;
            break;
        }
        case ControlKind::Frame:
            w = new QGroupBox(caption, this);
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
        controls_[static_cast<std::size_t>(spec.id)] = w;
    }

    // Boxes above labels that reach into them, option buttons above the frame.
    for (QWidget *w : controls_)
        if (qobject_cast<QLineEdit *>(w) || qobject_cast<QRadioButton *>(w))
            w->raise();

    for (const ControlSpec &spec : kControls)
        if (spec.buddy) {
            label(spec.id)->setBuddy(control(*spec.buddy));
            control(*spec.buddy)->setAccessibleName(AccessibleNameFrom(ToQString(spec.caption)));
        }

    button(ControlId::Option1)->setChecked(true);
    DescribeUnits();

    // Tab moves through the focusable controls in ascending tab index.
    std::vector<const ControlSpec *> chain;
    for (const ControlSpec &spec : kControls)
        if (control(spec.id)->focusPolicy() != Qt::NoFocus)
            chain.push_back(&spec);
    std::sort(chain.begin(), chain.end(),
        [](const ControlSpec *a, const ControlSpec *b) { return a->tabIndex < b->tabIndex; });
    for (std::size_t i = 1; i < chain.size(); ++i)
        setTabOrder(control(chain[i - 1]->id), control(chain[i]->id));
    control(chain.front()->id)->setFocus();
}

QLabel *Form1::label(ControlId id) const
{
    return static_cast<QLabel *>(control(id));
}

QLineEdit *Form1::textBox(ControlId id) const
{
    return static_cast<QLineEdit *>(control(id));
}

QAbstractButton *Form1::button(ControlId id) const
{
    return static_cast<QAbstractButton *>(control(id));
}

void Form1::SetCaption(ControlId labelId, const QString &caption)
{
    QLabel *l = label(labelId);
    l->setText(caption);
    if (QWidget *box = l->buddy())
        box->setAccessibleName(AccessibleNameFrom(caption));
}

// The unit a box's description names is the one the window shows beside it.
void Form1::DescribeUnits()
{
    for (const UnitLabel &u : kUnitLabels)
        control(u.box)->setAccessibleDescription(
            control(u.unit)->isHidden() ? QString() : label(u.unit)->text());
}

MediumKind Form1::SelectedMedium() const
{
    for (const MediumSpec &m : kMedia)
        if (button(m.option)->isChecked())
            return m.medium;
    return MediumKind::Liquid; // the group is exclusive and starts on Option1
}

void Form1::OptionClick(const MediumSpec &medium)
{
    // Unselecting a button also notifies it; only the selected one acts.
    if (!button(medium.option)->isChecked())
        return;
    for (const MediumStep &step : medium.steps) {
        switch (step.action) {
        case StepAction::Show:
            control(step.control)->setVisible(true);
            break;
        case StepAction::Hide:
            control(step.control)->setVisible(false);
            break;
        case StepAction::SetCaption:
            SetCaption(step.control, ToQString(step.caption));
            break;
        }
    }
    DescribeUnits();
}

void Form1::Command1_Click()
{
    SizingResult result;
    try {
        // All five boxes are read, hidden ones included.
        const auto read = [this](ControlId id) { return Val(textBox(id)->text().toStdString()); };
        SizingInputs inputs;
        inputs.P1 = read(ControlId::Text1);
        inputs.P2 = read(ControlId::Text2);
        inputs.G = read(ControlId::Text3);
        inputs.Q = read(ControlId::Text4);
        inputs.t = read(ControlId::Text7);
        ComputeFlowCoefficients(SelectedMedium(), inputs, result, SuperheatFactor);
    } catch (const RuntimeError &error) {
        ShowResult(result);
        QMessageBox::critical(this, QStringLiteral("Quorvel"), ErrorReport(error.kind()));
        return;
    }
    ShowResult(result);
}

// A box shows only what this calculation produced, so an old result never
// stands beside new inputs. The narrow box shows the leading digits; its
// tooltip gives the whole number and the formula that was used.
void Form1::ShowResult(const SizingResult &result)
{
    const bool complete = result.CvProduced && result.CProduced && result.Case;
    const QString formula = complete ? FormulaCaseText(*result.Case) : QString();
    const auto show = [&](ControlId id, bool produced, double value) {
        QLineEdit *box = textBox(id);
        const QString number = produced ? ToQString(NumberToText(value)) : QString();
        box->setText(number);
        box->setCursorPosition(0);
        box->setToolTip(formula.isEmpty() ? QString() : number + u'（' + formula + u'）');
        box->setAccessibleDescription(formula);
    };
    show(ControlId::Text5, result.CvProduced, result.Cv);
    show(ControlId::Text6, result.CProduced, result.C);
}

void Form1::Command2_Click()
{
    QCoreApplication::exit(0);
}

} // namespace quorvel
