// The window driven as a person drives it: mouse clicks, typed keys, Tab and
// arrow keys; then what a person would see (texts, visibility, focus).
#include "ui/qt/form1_widget.h"
#include "ui/qt/qt_texts.h"
#include "ui/qt/sheet_printer.h"

#include "tests/command_keys.h"
#include "tests/deadline.h"
#include "tests/twelve_valves.h"
#include "ui/book.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QShortcut>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <array>
#include <memory>

using quorvel::Form1Widget;
using quorvel::test::DeadlineMs;
using Inputs = std::array<double, 5>;

namespace {

struct MessageSeen {
    bool shown = false;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    int pages = 0; // of a print preview
};

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Form1Widget> form;

    template <typename T = QWidget> T *w(const char *name) const
    {
        T *found = form->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    QString text(const char *box) const { return w<QLineEdit>(box)->text(); }
    QString caption(const char *l) const { return w<QLabel>(l)->text(); }
    bool shows(const char *name) const { return w(name)->isVisible(); }

    void click(const char *name) { QTest::mouseClick(w(name), Qt::LeftButton); }

    // ASCII as key presses; anything else as a Chinese input method commits it.
    void type(const char *box, const QString &keys)
    {
        w<QLineEdit>(box)->clear();
        bool ascii = true;
        for (QChar c : keys)
            ascii = ascii && c.unicode() < 0x80;
        if (ascii) {
            QTest::keyClicks(w(box), keys);
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(keys);
            QApplication::sendEvent(w(box), &commit);
        }
    }

    // Does `act` and closes the message box it raises, if any, or the print
    // preview, with Escape (the preview has its title only).
    template <typename Act> MessageSeen messageWhile(Act act)
    {
        MessageSeen seen;
        QTimer closer;
        closer.setInterval(0);
        connect(&closer, &QTimer::timeout, this, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                seen = { true, box->windowTitle(), box->text(), box->icon(), {} };
                for (QAbstractButton *b : box->buttons())
                    seen.buttons << b->text();
                box->accept();
            } else if (qobject_cast<QPrintPreviewDialog *>(modal)) {
                const auto *pages = modal->findChild<QPrintPreviewWidget *>();
                seen = { true, modal->windowTitle(), {}, QMessageBox::NoIcon, {},
                    pages ? pages->pageCount() : 0 };
                QTest::keyClick(modal, Qt::Key_Escape);
            }
        });
        closer.start();
        act();
        closer.stop();
        return seen;
    }
    // Presses "计算".
    MessageSeen calculate()
    {
        return messageWhile([&] { click("Command1"); });
    }

    // P1, P2, G, Q, t into the boxes shown for them.
    void typeInputs(const QStringList &values)
    {
        const char *boxes[] = { "Text1", "Text2", "Text3", "Text4", "Text7" };
        for (int i = 0; i < values.size(); ++i)
            if (shows(boxes[i]))
                type(boxes[i], values[i]);
    }

    // A label whose caption does not fit its width is clipped on screen.
    void checkNoCaptionClipped()
    {
        for (QLabel *l : form->findChildren<QLabel *>()) {
            if (!l->isVisible())
                continue;
            const QFontMetrics fm(l->font());
            // A wrapped label may lose the lower half of its last line's descent,
            // which holds no ink for these characters.
            if (l->wordWrap())
                QVERIFY2(l->heightForWidth(l->width()) <= l->height() + fm.descent() / 2,
                    qPrintable(QStringLiteral("%1 needs %2")
                                   .arg(l->objectName())
                                   .arg(l->heightForWidth(l->width()))));
            else
                QVERIFY2(fm.horizontalAdvance(l->text()) <= l->width(),
                    qPrintable(l->objectName() + " " + l->text()));
        }
    }

private slots:
    void initTestCase() { QVERIFY(quorvel::UseChineseQtTexts(*qApp)); }

    void init()
    {
        form = std::make_unique<Form1Widget>();
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get(), DeadlineMs()));
    }
    void cleanup() { form.reset(); }

    void initialState()
    {
        QCOMPARE(form->windowTitle(), QStringLiteral("Quorvel"));
        QCOMPARE(form->size(), QSize(525, 306));
        QCOMPARE(form->palette().color(QPalette::Window), QColor(192, 255, 255));
        QVERIFY(w<QAbstractButton>("Option1")->isChecked());
        for (const char *hidden : { "Label11", "Label13", "Label14", "Text7" })
            QVERIFY2(!shows(hidden), hidden);
        for (const char *shown : { "Label5", "Text3", "Label9", "Label10", "Label12", "Frame1" })
            QVERIFY2(shows(shown), shown);
        for (QLineEdit *box : form->findChildren<QLineEdit *>()) {
            QVERIFY(box->text().isEmpty());
            box->insert(QString(40000, u'7')); // a paste longer than Qt's default limit
            QCOMPARE(box->text().size(), 40000);
            box->clear();
        }
        QCOMPARE(caption("Label9"), QStringLiteral("kgf/cm2"));
        QCOMPARE(caption("Label5"), QStringLiteral("介质比重:"));
        QCOMPARE(w<QGroupBox>("Frame1")->title(), QStringLiteral("介质性质"));
        QCOMPARE(w<QLineEdit>("Text5")->palette().color(QPalette::Text), QColor(255, 0, 0));
        QCOMPARE(w<QLabel>("Label1")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QVERIFY(w<QLabel>("Label1")->font().italic());
        QCOMPARE(QApplication::focusWidget(), w("Text2"));
        checkNoCaptionClipped();
    }

    void geometry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("pixels"); // twips / 15
        QTest::newRow("title") << "Label1" << QRect(144, 0, 241, 33);
        QTest::newRow("frame") << "Frame1" << QRect(224, 40, 241, 49);
        QTest::newRow("other steam") << "Option4" << QRect(384, 56, 73, 25);
        QTest::newRow("P1 box") << "Text1" << QRect(112, 104, 65, 25);
        QTest::newRow("temperature unit") << "Label11" << QRect(184, 192, 81, 25);
        QTest::newRow("C box") << "Text6" << QRect(360, 232, 65, 25);
        QTest::newRow("exit") << "Command2" << QRect(192, 232, 81, 33);
    }
    void geometry()
    {
        QFETCH(QString, name);
        QFETCH(QRect, pixels);
        QCOMPARE(w(qPrintable(name))->geometry(), pixels);
    }

    void boxesAreDrawnAboveLabels()
    {
        // Label8 reaches 17 pixels into Text6: the box must receive the click.
        const QPoint inside = w("Text6")->geometry().topLeft() + QPoint(5, 12);
        QCOMPARE(form->childAt(inside), w("Text6"));
        const QPoint option = w("Option2")->geometry().center();
        QCOMPARE(form->childAt(option), w("Option2"));
    }

    void tabChainFollowsTabIndex()
    {
        const QStringList expected { "Text3", "Command1", "Text4", "Text5", "Command2", "Option1",
            "Text6", "Text1", "Text2" };
        QStringList visited;
        for (int i = 0; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, expected);
    }

    void accessibleNamesFollowLabels()
    {
        QCOMPARE(w("Text1")->accessibleName(), QStringLiteral("阀前压力"));
        QCOMPARE(w("Text5")->accessibleName(), QStringLiteral("计算Cv"));
        QCOMPARE(w("Text6")->accessibleName(), QStringLiteral("计算C"));
        click("Option4");
        QCOMPARE(w("Text3")->accessibleName(), QStringLiteral("出口比容"));
        QCOMPARE(w("Text7")->accessibleName(), QStringLiteral("入口比容"));
    }

    // What the form computes (tests/form_test.cpp) reaches the widgets: the
    // leading digits in view, the tooltip, and the whole number on Ctrl+C.
    void resultBoxesShowTheirNumber()
    {
        click("Option2");
        typeInputs({ "１０", "8", "1", "1000", "27" }); // P1 through an input method
        QVERIFY(!calculate().shown);
        const QString cv = QStringLiteral("10.0583670590527");
        QCOMPARE(text("Text5"), cv);
        QCOMPARE(w<QLineEdit>("Text5")->cursorPosition(), 0);
        QCOMPARE(w("Text5")->toolTip(),
            cv + QStringLiteral("（气体，亚临界流（ΔP < P1/2））\n")
                + quorvel::ToQString(quorvel::ShortcutsHint()));
        QCOMPARE(
            w("Text6")->accessibleDescription(), QStringLiteral("气体，亚临界流（ΔP < P1/2）"));
        click("Text5");
        QTest::keyClick(w("Text5"), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(w("Text5"), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), cv);
    }

    void qtsOwnTextsAreChinese()
    {
        const std::unique_ptr<QMenu> menu(w<QLineEdit>("Text1")->createStandardContextMenu());
        QStringList actions;
        for (QAction *a : menu->actions())
            if (!a->isSeparator())
                actions << a->text().section(u'(', 0, 0).section(u'\t', 0, 0);
        QCOMPARE(actions, QStringList({ "撤消", "重做", "剪切", "复制", "粘贴", "删除", "全选" }));
    }

    // Splitting, routing and lists are the form's (tests/form_test.cpp), the
    // keys are the real-window test's; here, both menus reach the form.
    void pasteAndRowThroughTheMenus()
    {
        const auto menuOf = [&](const char *box) {
            QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5), QPoint(5, 5));
            QApplication::sendEvent(w(box), &event);
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!menu)
                qFatal("no menu on %s", box);
            QStringList texts;
            for (QAction *a : menu->actions())
                texts << a->text();
            return std::pair { menu, texts };
        };
        QGuiApplication::clipboard()->setText(QStringLiteral("5\t4\t3\t2\r\n"));
        auto [inputMenu, inputItems] = menuOf("Text1");
        QVERIFY(!inputItems.join(u' ').contains(QStringLiteral("复制整行")));
        QCOMPARE(inputItems.mid(inputItems.size() - 3),
            QStringList({ "整表计算(&L)\tCtrl+Shift+V", "打印整表计算书(&B)\tCtrl+Shift+P",
                "打印计算书(&P)\tCtrl+P" }));
        const auto paste = inputItems.indexOf(QStringLiteral("粘贴(&P)\tCtrl+V"));
        QVERIFY(paste >= 0);
        inputMenu->actions()[paste]->trigger();
        inputMenu->close();
        QCOMPARE(QStringList({ text("Text1"), text("Text2"), text("Text3"), text("Text4") }),
            QStringList({ "5", "4", "3", "2" }));
        auto [resultMenu, resultItems] = menuOf("Text6");
        QCOMPARE(resultItems.mid(resultItems.size() - 4),
            QStringList({ "复制整行(&R)\tCtrl+Shift+C", "整表计算(&L)\tCtrl+Shift+V",
                "打印整表计算书(&B)\tCtrl+Shift+P", "打印计算书(&P)\tCtrl+P" }));
        resultMenu->actions()[resultItems.size() - 4]->trigger();
        resultMenu->close();
        QCOMPARE(QGuiApplication::clipboard()->text(),
            QStringLiteral("液体\t5\t4\t3\t2\t\t4.05299874104806\t3.46410161513775\n"));
        QMenu *listMenu = menuOf("Text2").first;
        const MessageSeen seen = messageWhile([&] { listMenu->actions().end()[-3]->trigger(); });
        listMenu->close();
        QCOMPARE(seen.icon, QMessageBox::Information);
        QCOMPARE(QGuiApplication::clipboard()->text(),
            QStringLiteral("4.05299874104806\t3.46410161513775\n"));
    }

    // Ctrl+P calculates and opens the print preview, which Escape closes;
    // after a failed calculation only the error report appears. Ctrl+Shift+P
    // previews the clipboard's list's book, and leaves the boxes as they were.
    void ctrlPPreviewsTheSheetAndCtrlShiftPTheBook()
    {
        QVERIFY(messageWhile([&] { // empty boxes: the report, and no preview
            QTest::keyClick(w("Text1"), Qt::Key_P, Qt::ControlModifier);
        })
                    .text.startsWith(QStringLiteral("计算出错")));
        typeInputs({ "5", "4", "1", "10" });
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get(), DeadlineMs()));
        const MessageSeen sheet
            = messageWhile([&] { QTest::keyClick(w("Text4"), Qt::Key_P, Qt::ControlModifier); });
        QCOMPARE(sheet.title, QStringLiteral("调节阀流通能力计算书"));
        QCOMPARE(sheet.pages, 1);
        QCOMPARE(text("Text5"), QStringLiteral("11.6999995708466"));
        QGuiApplication::clipboard()->setText(quorvel::ToQString(quorvel::test::kTwelveValves));
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get(), DeadlineMs()));
        const MessageSeen book = messageWhile([&] {
            QTest::keyClick(w("Text4"), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        });
        QCOMPARE(book.title, QStringLiteral("调节阀流通能力计算汇总表"));
        QCOMPARE(book.pages, 12);
        QCOMPARE(text("Text4"), QStringLiteral("10"));
        QVERIFY(form->isVisible());
    }

    // Sheets printed to a PDF file read back, line for line, as they hold
    // them, each on its own page with the page's number: a sheet in each
    // medium's cases and with numbers at the range's ends, and the book of
    // twelve valves, each valve's tag on its own page.
    void sheetsPrintedToPdfReadBackExactly_data()
    {
        QTest::addColumn<int>("medium"); // -1: the twelve valves' book
        QTest::addColumn<Inputs>("values");
        using quorvel::MediumKind;
        QTest::newRow("liquid") << int(MediumKind::Liquid) << Inputs { 5, 4, 1, 10, 0 };
        QTest::newRow("gas_critical") << int(MediumKind::Gas) << Inputs { 10, 4, 1, 1000, 27 };
        QTest::newRow("water_steam")
            << int(MediumKind::WaterSteam) << Inputs { 10, 8, 0, 1000, 100 };
        QTest::newRow("other_steam")
            << int(MediumKind::OtherSteam) << Inputs { 10, 8, 200, 1000, 100 };
        QTest::newRow("range_ends")
            << int(MediumKind::Gas) << Inputs { 1e300, 1e-300, 1e300, 1e-300, 27 };
        QTest::newRow("book_of_twelve") << -1 << Inputs {};
    }
    void sheetsPrintedToPdfReadBackExactly()
    {
        QFETCH(int, medium);
        QFETCH(Inputs, values);
        std::vector<quorvel::Sheet> sheets;
        std::vector<quorvel::ValveRow> valves;
        if (medium >= 0) {
            sheets.push_back(
                quorvel::MakeSheet(quorvel::MediumKind(medium), values, "2026年12月10日", "0.1.0"));
        } else {
            quorvel::CalculateValveList(quorvel::test::kTwelveValves, quorvel::MediumKind::Liquid,
                [&](const quorvel::ValveRow &v) { valves.push_back(v); });
            sheets = quorvel::MakeBook(valves, "2026年12月10日", "0.1.0");
        }
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("sheets.pdf")));
        quorvel::SetUpForPrint(printer, sheets.front().title);
        QVERIFY(quorvel::PrintSheets(printer, sheets));
        QProcess pdftotext; // in the order drawn: a table's row is one line
        pdftotext.start(QStringLiteral("pdftotext"),
            { QStringLiteral("-raw"), printer.outputFileName(), QStringLiteral("-") });
        QVERIFY(pdftotext.waitForFinished(DeadlineMs()));
        QStringList pages = QString::fromUtf8(pdftotext.readAllStandardOutput()).split(u'\f');
        pages.removeLast(); // after the last page's end
        QCOMPARE(pages.size(), qsizetype(sheets.size())); // each sheet on one page
        const auto q = [](const std::string &s) { return QString::fromStdString(s); };
        for (qsizetype p = 0; p < pages.size(); ++p) {
            const QString &text = pages[p];
            QVERIFY2(
                text.contains(QStringLiteral("第 %1 页 共 %2 页").arg(p + 1).arg(pages.size())),
                qPrintable(text));
            const quorvel::Sheet &sheet = sheets[std::size_t(p)];
            QStringList expected { q(sheet.title), q(sheet.date) };
            for (const quorvel::SheetSection &section : sheet.sections) {
                expected << q(section.heading);
                if (!section.table.small) { // a small table's cells may wrap
                    QStringList heads;
                    for (const std::string &head : section.table.heads)
                        heads << q(head);
                    if (!heads.isEmpty())
                        expected << heads.join(u' ');
                    for (const auto &row : section.table.rows) {
                        QStringList cells;
                        for (const std::string &cell : row)
                            cells << q(cell);
                        expected << cells.join(u' ').simplified();
                    }
                }
                for (const std::string &line : section.lines)
                    expected << q(line).trimmed();
            }
            const QStringList lines = text.split(u'\n');
            for (const QString &line : expected)
                QVERIFY2(
                    lines.contains(line), qPrintable(line + QStringLiteral(" not in:\n") + text));
            for (const quorvel::SheetSignature &signature : sheet.signatures)
                QVERIFY(text.contains(q(signature.label) + u'：'));
        }
        // Each valve's tag on its page, and every one in the summary.
        std::size_t page = 1;
        for (const quorvel::ValveRow &valve : valves) {
            QVERIFY(pages[0].contains(q(valve.tag)));
            if (valve.failure.empty())
                QVERIFY2(
                    pages[qsizetype(page++)].contains(q("位号 " + valve.tag)), valve.tag.c_str());
        }
        QCOMPARE(page, sheets.size());
    }

    // Each command's shortcut is Qt's for exactly its keys in the table.
    void keysRunTheirCommands()
    {
        const QList<QShortcut *> shortcuts = form->findChildren<QShortcut *>();
        QCOMPARE(shortcuts.size(), qsizetype(std::size(quorvel::kCommands)));
        for (const quorvel::test::KeyCase &key : quorvel::test::CommandKeyCases()) {
            Qt::KeyboardModifiers held;
            held.setFlag(Qt::ControlModifier, key.ctrl);
            held.setFlag(Qt::ShiftModifier, key.shift);
            held.setFlag(Qt::AltModifier, key.alt);
            const QKeySequence pressed(QKeyCombination(held, Qt::Key(key.letter)));
            QStringList run;
            for (const QShortcut *shortcut : shortcuts)
                if (shortcut->key().matches(pressed) == QKeySequence::ExactMatch)
                    run << shortcut->objectName();
            QCOMPARE(run,
                key.command ? QStringList { quorvel::ToQString(key.command->item) }
                            : QStringList());
        }
    }

    void enterInAnInputBoxCalculates()
    {
        typeInputs({ "5", "4", "1", "10" });
        QTest::keyClick(w("Text4"), Qt::Key_Return);
        QCOMPARE(text("Text5"), QStringLiteral("11.6999995708466"));
    }

    void errorIsReportedInAMessageBox()
    {
        const MessageSeen seen = calculate(); // empty boxes: a zero pressure drop
        QVERIFY(seen.shown);
        QCOMPARE(seen.title, QStringLiteral("Quorvel"));
        QCOMPARE(seen.icon, QMessageBox::Critical);
        QCOMPARE(seen.buttons, QStringList { "确定" });
        QVERIFY2(seen.text.contains(QStringLiteral("除数为零")), qPrintable(seen.text));
        QVERIFY(form->isVisible());
    }

    // What each medium shows is the form's (tests/form_test.cpp); here, the
    // keys select, and every caption shown fits its label.
    void arrowKeysAndSpaceSelectAndRelabel()
    {
        w("Option1")->setFocus();
        QTest::keyClick(w("Option1"), Qt::Key_Right);
        QVERIFY(w<QAbstractButton>("Option2")->isChecked());
        QVERIFY(shows("Text7"));
        checkNoCaptionClipped();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QVERIFY(w<QAbstractButton>("Option3")->isChecked());
        QCOMPARE(caption("Label12"), QStringLiteral("kg/h"));
        QVERIFY(!shows("Text3"));
        checkNoCaptionClipped();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
        QVERIFY(w<QAbstractButton>("Option2")->isChecked());
        QVERIFY(shows("Text3"));
        w("Option4")->setFocus();
        QTest::keyClick(w("Option4"), Qt::Key_Space);
        QVERIFY(w<QAbstractButton>("Option4")->isChecked());
        QCOMPARE(caption("Label5"), QStringLiteral("出口比容:"));
        checkNoCaptionClipped();
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
