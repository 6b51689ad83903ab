// The window driven as a person drives it: mouse clicks, typed keys, Tab and
// arrow keys; then what a person would see (texts, visibility, focus).
#include "ui/form1.h"
#include "ui/qt_texts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <memory>

using quorvel::Form1;

namespace {

struct MessageSeen {
    bool shown = false;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Form1> form;

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

    // Presses "计算" and closes the message box it raises, if any.
    MessageSeen calculate()
    {
        MessageSeen seen;
        QTimer closer;
        closer.setInterval(0);
        connect(&closer, &QTimer::timeout, this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                seen = { true, box->windowTitle(), box->text(), box->icon(), {} };
                for (QAbstractButton *b : box->buttons())
                    seen.buttons << b->text();
                box->accept();
            }
        });
        closer.start();
        click("Command1");
        closer.stop();
        return seen;
    }

    void typeInputs(
        const QString &p1, const QString &p2, const QString &g, const QString &q, const QString &t)
    {
        type("Text1", p1);
        type("Text2", p2);
        if (shows("Text3"))
            type("Text3", g);
        type("Text4", q);
        if (shows("Text7"))
            type("Text7", t);
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
        form = std::make_unique<Form1>();
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
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

    void calculatesEachCase_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QStringList>("inputs"); // P1, P2, G, Q, t
        QTest::addColumn<QString>("cv");
        QTest::addColumn<QString>("c");
        QTest::addColumn<QString>("formula");
        QTest::newRow("liquid") << "Option1" << QStringList { "5", "4", "1", "10", "" }
                                << "11.6999995708466"
                                << "10"
                                << "液体";
        QTest::newRow("gas subcritical")
            << "Option2" << QStringList { "10", "8", "1", "1000", "27" } << "10.0583670590527"
            << "8.59689470350021"
            << "气体，亚临界流（ΔP < P1/2）";
        QTest::newRow("gas critical")
            << "Option2" << QStringList { "10", "4", "1", "1000", "27" } << "6.95602733963405"
            << "5.94532273058087"
            << "气体，临界流（ΔP ≥ P1/2）";
        QTest::newRow("water steam subcritical")
            << "Option3" << QStringList { "10", "8", "", "1000", "100" } << "13.7771274717341"
            << "11.77532305733"
            << "水蒸汽，亚临界流（ΔP < P1/2）";
        QTest::newRow("water steam critical, full-width digits")
            << "Option3" << QStringList { "１０", "2", "", "1000", "0" } << "8.40336134453782"
            << "7.18236012353659"
            << "水蒸汽，临界流（ΔP ≥ P1/2）";
        QTest::newRow("other steam")
            << "Option4" << QStringList { "10", "8", "200", "1000", "100" } << "10.1218584412528"
            << "8.65116135928225"
            << "其他蒸汽";
    }
    void calculatesEachCase()
    {
        QFETCH(QString, option);
        QFETCH(QStringList, inputs);
        QFETCH(QString, cv);
        QFETCH(QString, c);
        QFETCH(QString, formula);
        click(qPrintable(option));
        typeInputs(inputs[0], inputs[1], inputs[2], inputs[3], inputs[4]);
        QVERIFY(!calculate().shown);
        QCOMPARE(text("Text5"), cv);
        QCOMPARE(text("Text6"), c);
        QCOMPARE(w<QLineEdit>("Text5")->cursorPosition(), 0); // leading digits in view
        QCOMPARE(w("Text5")->toolTip(), cv + "（" + formula + "）");
        QCOMPARE(w("Text6")->toolTip(), c + "（" + formula + "）");
        QCOMPARE(w("Text6")->accessibleDescription(), formula);
        // The whole number, though the box shows only its leading digits.
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

    void enterInAnInputBoxCalculates()
    {
        typeInputs("5", "4", "1", "10", "");
        QTest::keyClick(w("Text4"), Qt::Key_Return);
        QCOMPARE(text("Text5"), QStringLiteral("11.6999995708466"));
    }

    void emptyBoxesReportTheErrorAndKeepTheWindow()
    {
        typeInputs("5", "4", "1", "10", "");
        calculate();
        QCOMPARE(text("Text6"), QStringLiteral("10"));
        for (const char *box : { "Text1", "Text2", "Text3", "Text4" })
            w<QLineEdit>(box)->clear();
        const MessageSeen seen = calculate();
        QVERIFY(seen.shown);
        QCOMPARE(seen.title, QStringLiteral("Quorvel"));
        QCOMPARE(seen.icon, QMessageBox::Critical);
        QCOMPARE(seen.buttons, QStringList { "确定" });
        QVERIFY2(seen.text.contains(QStringLiteral("除数为零")), qPrintable(seen.text));
        QVERIFY(form->isVisible());
        // No stale result stands beside the new inputs.
        QCOMPARE(text("Text5"), QString());
        QCOMPARE(text("Text6"), QString());
        QCOMPARE(w("Text5")->toolTip(), QString());
        QCOMPARE(w("Text5")->accessibleDescription(), QString());
    }

    void failureKeepsTheInputs()
    {
        typeInputs("4", "5", "1", "10abc", "");
        const MessageSeen seen = calculate();
        QVERIFY(seen.text.contains(QStringLiteral("负数")));
        QCOMPARE(text("Text1"), QStringLiteral("4"));
        QCOMPARE(text("Text4"), QStringLiteral("10abc"));
    }

    void cvShownWhenOnlyTheDivisorOfCOverflows()
    {
        click("Option2");
        typeInputs("7e305", "0", "1", "1", "27");
        const MessageSeen seen = calculate();
        QVERIFY(seen.text.contains(QStringLiteral("溢出")));
        QCOMPARE(text("Text5"), QStringLiteral("9.93718191376292E-308"));
        QCOMPARE(text("Text6"), QString());
    }

    void hiddenTemperatureIsStillRead()
    {
        click("Option2");
        typeInputs("5", "4", "1", "10", "1e999");
        click("Option1");
        QVERIFY(!shows("Text7"));
        QCOMPARE(text("Text7"), QStringLiteral("1e999"));
        // Read although hidden: its overflow is reported.
        QVERIFY(calculate().text.contains(QStringLiteral("溢出")));
        click("Option2");
        type("Text7", "-40");
        click("Option1");
        // Read again, and ignored by the liquid formula.
        QVERIFY(!calculate().shown);
        QCOMPARE(text("Text5"), QStringLiteral("11.6999995708466"));
        QCOMPARE(text("Text7"), QStringLiteral("-40"));
    }

    // ---- choosing the medium ----

    void mediumRelabels_data()
    {
        QTest::addColumn<QString>("option");
        // Label9, Label10, Label12, then Label5, Label13, Label11, Label14 or "" when hidden.
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<bool>("gravityRow"); // Text3
        QTest::addColumn<bool>("temperatureRow"); // Text7
        QTest::newRow("liquid") << "Option1"
                                << QStringList { "kgf/cm2", "kgf/cm2", "m3/h", "介质比重:", "", "",
                                       "" }
                                << true << false;
        QTest::newRow("gas") << "Option2"
                             << QStringList { "kgf/cm2 abs", "kgf/cm2 abs", "m3/h",
                                    "介质比重:", "介质温度:", "℃", "" }
                             << true << true;
        QTest::newRow("water steam")
            << "Option3"
            << QStringList { "kgf/cm2 abs", "kgf/cm2 abs", "kg/h", "", "过热温度:", "℃", "" }
            << false << true;
        QTest::newRow("other steam") << "Option4"
                                     << QStringList { "kgf/cm2 abs", "kgf/cm2 abs", "kg/h",
                                            "出口比容:", "入口比容:", "cm3/g", "cm3/g" }
                                     << true << true;
    }
    void mediumRelabels()
    {
        QFETCH(QString, option);
        QFETCH(QStringList, captions);
        QFETCH(bool, gravityRow);
        QFETCH(bool, temperatureRow);
        // From every other medium, so nothing depends on the one before.
        for (const char *before : { "Option1", "Option2", "Option3", "Option4" }) {
            click(before);
            click(qPrintable(option));
            QVERIFY(w<QAbstractButton>(qPrintable(option))->isChecked());
            QStringList seen;
            for (const char *l :
                { "Label9", "Label10", "Label12", "Label5", "Label13", "Label11", "Label14" })
                seen << (shows(l) ? caption(l) : QString());
            QCOMPARE(seen, captions);
            QCOMPARE(shows("Text3"), gravityRow);
            QCOMPARE(shows("Text7"), temperatureRow);
            checkNoCaptionClipped();
        }
    }

    // Other steam, water steam (Text3 hidden), gas, liquid (Text7 hidden) and
    // other steam twice: no box is cleared or filled, the results included.
    void mediumChangesKeepEveryBox()
    {
        const auto texts = [this] {
            QStringList all;
            for (const char *box :
                { "Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7" })
                all << text(box);
            return all;
        };
        click("Option4");
        typeInputs("5", "4", "0.5", "10", "100");
        QVERIFY(!calculate().shown);
        const QStringList before = texts();
        QVERIFY(!before[4].isEmpty());
        for (const char *option : { "Option3", "Option2", "Option1", "Option4", "Option4" }) {
            click(option);
            QCOMPARE(texts(), before);
        }
    }

    void arrowKeysAndSpaceSelectAndRelabel()
    {
        w("Option1")->setFocus();
        QTest::keyClick(w("Option1"), Qt::Key_Right);
        QVERIFY(w<QAbstractButton>("Option2")->isChecked());
        QVERIFY(shows("Text7"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QVERIFY(w<QAbstractButton>("Option3")->isChecked());
        QCOMPARE(caption("Label12"), QStringLiteral("kg/h"));
        QVERIFY(!shows("Text3"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
        QVERIFY(w<QAbstractButton>("Option2")->isChecked());
        QVERIFY(shows("Text3"));
        w("Option4")->setFocus();
        QTest::keyClick(w("Option4"), Qt::Key_Space);
        QVERIFY(w<QAbstractButton>("Option4")->isChecked());
        QCOMPARE(caption("Label5"), QStringLiteral("出口比容:"));
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
