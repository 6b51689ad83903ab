// The real program in a real X server: start Xvfb, launch Quorvel ($QUORVEL_APP;
// a .exe runs under Wine through tests/wine_run.sh, in a copy of the test
// run's prefix as a Chinese Windows at $QUORVEL_WINE_DPI dots per inch),
// type the liquid case from the keyboard, read the results back through the
// clipboard, take a screenshot of the window, look at the pixels, then press
// "退出". Positions are pixels at 96 DPI, scaled.
#include "tests/deadline.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <functional>

class X11WindowTest : public QObject {
    Q_OBJECT

    QProcess xvfb, app;
    QString display, windowId;
    QProcessEnvironment appEnv;
    bool underWine = false;
    int dpi = 96;

    const int deadline = quorvel::test::DeadlineMs();

    int px(int at96) const { return (at96 * dpi + 48) / 96; }

    static QString tool(const QString &name)
    {
        const QString path = QStandardPaths::findExecutable(name);
        if (path.isEmpty())
            qFatal("%s is not installed (scripts/test installs it)", qPrintable(name));
        return path;
    }

    // What `program` printed, given `input`; a program still running after
    // `timeout` ms (the deadline when not given) is ended, and its output so
    // far returned.
    QString run(const QString &program, const QStringList &args, int timeout = 0,
        const QByteArray &input = {})
    {
        timeout = timeout ? timeout : deadline;
        QProcess p;
        p.setProcessEnvironment(appEnv);
        p.start(tool(program), args);
        p.write(input);
        p.closeWriteChannel();
        if (!p.waitForFinished(timeout)) {
            qWarning("%s %s did not end within %d ms", qPrintable(program),
                qPrintable(args.join(' ')), timeout);
            p.kill();
            p.waitForFinished();
        }
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }

    void click(int x, int y)
    {
        run("xdotool",
            { "mousemove", "--window", windowId, QString::number(px(x)), QString::number(px(y)),
                "click", "1" });
    }
    void keys(const QStringList &keys)
    {
        run("xdotool", QStringList { "key", "--window", windowId } + keys);
    }
    void type(const QString &text) { run("xdotool", { "type", "--window", windowId, text }); }

    // `window` is drawn, not only mapped: it shows dark text on a light
    // ground. Wine makes a window it shows the foreground only after mapping
    // it, and draws it after that; a key pressed in between goes to the
    // window behind it. The runs at each scale, each on an X server of its
    // own, give their windows the same ids: the shot's name has the
    // process's id too.
    bool drawn(const QString &window)
    {
        const QString file = QStringLiteral(QUORVEL_SHOT_DIR "/drawn-%1-%2.png")
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(window);
        QImage shot;
        if (run("import", { "-window", window, file }), !shot.load(file))
            return false;
        bool dark = false, light = false;
        for (int y = 0; y < shot.height(); y += 2)
            for (int x = 0; x < shot.width(); x += 2) {
                const int lightness = shot.pixelColor(x, y).lightness();
                dark = dark || lightness < 64;
                light = light || lightness > 160;
            }
        QFile::remove(file);
        return dark && light;
    }
    // A key in a message box once it takes keys.
    void keyInDialog(const QString &dialog, const QString &key)
    {
        QTRY_VERIFY_WITH_TIMEOUT(drawn(dialog), deadline);
        run("xdotool", { "windowfocus", "--sync", dialog });
        run("xdotool", { "key", "--window", dialog, key });
    }

    // Ctrl+A, Ctrl+C in the box at x, y: its whole text goes to the clipboard.
    void copyFrom(int x, int y)
    {
        click(x, y);
        keys({ "ctrl+a", "ctrl+c" });
    }
    // xclip waits for ever when the clipboard's owner loses its request, as
    // Wine's sometimes does while it takes the clipboard over. Line breaks
    // are read as LF, whichever the system wrote.
    QString clipboard()
    {
        return run("xclip", { "-o", "-selection", "clipboard" }, 2000).remove(u'\r');
    }

    // Does `copy` and reads the clipboard until it holds `expected`; when a
    // read gives something else for 3 s, the copy is done again, until the
    // deadline. Reading again cannot bring back a copy that Wine lost, nor a
    // request it left unanswered. A copy that fails every try fails the test
    // with what was read last.
    void expectCopied(const std::function<void()> &copy, const QString &expected)
    {
        QString read;
        QElapsedTimer total;
        total.start();
        for (int attempt = 1; total.elapsed() < deadline; ++attempt) {
            copy();
            if (QTest::currentTestFailed())
                return;
            QElapsedTimer waited;
            waited.start();
            do {
                if ((read = clipboard()) == expected)
                    return;
                QTest::qWait(100);
            } while (waited.elapsed() < 3000);
            qWarning("copy %d of \"%s\" read \"%s\"; copying again", attempt, qPrintable(expected),
                qPrintable(read));
        }
        QCOMPARE(read, expected);
    }
    // Ctrl+A, Ctrl+C in the box at x, y, until the clipboard holds `expected`.
    void expectCopiedFrom(int x, int y, const QString &expected)
    {
        expectCopied([&] { copyFrom(x, y); }, expected);
    }
    // xclip stays to serve the text until another client owns the clipboard.
    void setClipboard(const QString &text)
    {
        run("xclip", { "-i", "-selection", "clipboard" }, 0, text.toUtf8());
    }

private slots:
    void initTestCase()
    {
        // A missing tool stops the test here, before it has started anything
        // that its clean-up would have to end.
        for (const char *name : { "Xvfb", "xdotool", "xclip", "import" })
            tool(name);
        underWine = qEnvironmentVariable("QUORVEL_APP").endsWith(".exe");
        if (underWine)
            for (const char *name : { "wine", "wineserver" })
                tool(name);
        // -displayfd picks a free display and writes its number to stdout.
        // -noreset: after each xdotool call, the last client leaving would
        // reset the server, and a program connecting meanwhile is refused.
        xvfb.start(tool("Xvfb"),
            { "-displayfd", "1", "-screen", "0", "1600x1200x24", "-nolisten", "tcp", "-noreset" });
        QVERIFY(xvfb.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(xvfb.canReadLine(), deadline);
        display = ":" + QString::fromLatin1(xvfb.readLine()).trimmed();

        appEnv = QProcessEnvironment::systemEnvironment();
        appEnv.insert("DISPLAY", display);
        appEnv.insert("QT_QPA_PLATFORM", "xcb");
        appEnv.remove("QT_SCALE_FACTOR");
        const QString program = qEnvironmentVariable("QUORVEL_APP");
        QVERIFY2(!program.isEmpty(), "QUORVEL_APP names the program to test");
        if (underWine) {
            dpi = qEnvironmentVariableIntValue("QUORVEL_WINE_DPI");
            dpi = dpi ? dpi : 96;
            appEnv.insert("QUORVEL_WINE_DISPLAY", display); // not an X server of its own
        }
        // What the program and Wine say goes to the test's own output.
        app.setProcessChannelMode(QProcess::ForwardedChannels);
        app.setProcessEnvironment(appEnv);
        if (underWine)
            app.start(QStringLiteral(QUORVEL_WINE_RUN), { program });
        else
            app.start(program, {});
        QVERIFY(app.waitForStarted());
        // Wine's start in a fresh copy of its prefix is the longest wait.
        QTRY_VERIFY_WITH_TIMEOUT(app.state() != QProcess::Running
                || !(
                    windowId = run("xdotool", { "search", "--onlyvisible", "--name", "^Quorvel$" }))
                        .isEmpty(),
            2 * deadline);
        QVERIFY2(app.state() == QProcess::Running,
            qPrintable(QStringLiteral("the program ended before its window showed, with status %1 "
                                      "(what it said is above)")
                           .arg(app.exitCode())));
        windowId = windowId.section('\n', 0, 0);
    }

    void cleanupTestCase()
    {
        // wine_run.sh ends Wine and removes its prefix when terminated.
        if (app.state() != QProcess::NotRunning) {
            app.terminate();
            if (!app.waitForFinished(deadline))
                app.kill();
        }
        xvfb.terminate();
        xvfb.waitForFinished();
    }

    // The focus starts in Text2; Tab follows the tab indices (Text2, Text3,
    // Command1, Text4), Shift+Tab goes back; Enter in an input box calculates.
    void liquidCaseFromTheKeyboard()
    {
        const int width = (7875 * dpi + 720) / 1440, height = (4590 * dpi + 720) / 1440;
        QCOMPARE(run("xdotool", { "getwindowgeometry", windowId }).section('\n', 2, 2).trimmed(),
            QStringLiteral("Geometry: %1x%2").arg(width).arg(height));
        run("xdotool", { "windowfocus", "--sync", windowId }); // no window manager gives it
        type("4");
        keys({ "Tab" });
        type("1");
        keys({ "Tab", "Tab" });
        type("10");
        keys({ "shift+Tab", "shift+Tab", "shift+Tab" }); // back to Text2
        type("9"); // replaces the selected "4"
        keys({ "BackSpace" });
        type("4");
        click(144, 116); // Text1
        type("5");
        keys({ "Return" });
        expectCopiedFrom(392, 204, QStringLiteral("11.6999995708466")); // Text5, Cv
        expectCopiedFrom(392, 244, QStringLiteral("10")); // Text6, C
    }

    void screenshotLooksRight()
    {
        const QString file = QStringLiteral(QUORVEL_SHOT_DIR "/")
            + (underWine ? QStringLiteral("window-wine-%1.png").arg(dpi)
                         : QStringLiteral("window.png"));
        QImage shot;
        // Poll until the window has painted its background.
        QTRY_VERIFY_WITH_TIMEOUT((run("import", { "-window", windowId, file }), shot.load(file),
                                     shot.pixelColor(px(10), px(290)) == QColor(192, 255, 255)),
            deadline);
        QCOMPARE(shot.size(), QSize((7875 * dpi + 720) / 1440, (4590 * dpi + 720) / 1440));

        // The red title "调节阀流通能力计算" is drawn, not left blank.
        int red = 0;
        for (int y = 0; y < px(33); ++y)
            for (int x = px(144); x < px(385); ++x) {
                const QColor c = shot.pixelColor(x, y);
                red += c.red() > 200 && c.green() < 90 && c.blue() < 90;
            }
        QVERIFY2(red > 200 * dpi * dpi / (96 * 96), qPrintable(QString::number(red)));

        // "阀前压力:" and "阀后压力:" share their first glyph and differ in the
        // second; missing glyphs would be drawn as identical boxes.
        const auto glyph = [&](int top, int index) {
            return shot.copy(px(40 + 14 * index), px(top), px(14), px(17));
        };
        QCOMPARE(glyph(112, 0), glyph(152, 0));
        QVERIFY(glyph(112, 1) != glyph(152, 1));
        QVERIFY(glyph(112, 1) != glyph(112, 0));
    }

    // A spreadsheet column pasted with Ctrl+V fills the gas case's five
    // boxes, a row pasted with Shift+Insert the last two; Ctrl+Shift+C
    // calculates and copies the row. A paste reads what xclip offers only
    // once Wine has taken the X clipboard over, and a paste that comes first
    // finds the Windows clipboard empty: each is done again until the last
    // box it fills (Text7) shows its field.
    void columnAndRowPastedAndRowCopied()
    {
        click(304, 68); // Option2, gas
        const auto paste = [&](const QString &text, int x, int y, const QString &key) {
            return [=, this] {
                setClipboard(text);
                click(x, y);
                keys({ key });
                copyFrom(144, 196); // Text7
            };
        };
        expectCopied(paste("10\r\n8\r\n1\r\n1000\r\n27\r\n", 144, 116, "ctrl+v"), "27");
        expectCopied(paste("2000\t30\r\n", 392, 156, "shift+Insert"), "30"); // into Text4
        const struct {
            QPoint at;
            QString text;
        } boxes[] { { { 144, 116 }, "10" }, { { 144, 156 }, "8" }, { { 392, 116 }, "1" },
            { { 392, 156 }, "2000" } }; // Text1 to Text4
        for (const auto &box : boxes)
            expectCopiedFrom(box.at.x(), box.at.y(), box.text);
        expectCopied([&] { keys({ "ctrl+shift+c" }); },
            QStringLiteral("气体\t10\t8\t1\t2000\t30\t20.2170675790119\t17.27954449961"));
    }

    // A copied list: Ctrl+Shift+V answers each line, says so in a message
    // box that Enter closes, and leaves the window as it was. Under Wine the
    // box goes 2 s after Enter: Wine waits that long for a window manager to
    // confirm each window it hides, and the test's X server has none.
    void listCalculatedThroughTheClipboard()
    {
        const auto calculateList = [&] {
            setClipboard(QStringLiteral("介质\tP1\tP2\tG\tQ\tt\r\n液体\t5\t4\t1\t10\r\n\r\n"
                                        "\t10\t8\t1\t1000\t27\n液体\t4\t5\t1\t10\n"
                                        "气体\t１０\t4\t1\t1000\t27\r\n"));
            click(392, 156); // Text4
            keys({ "ctrl+shift+v" });
            QString message;
            QTRY_VERIFY_WITH_TIMEOUT(
                !(message = run("xdotool", { "search", "--onlyvisible", "--name", "^Quorvel$" })
                                .remove(windowId)
                                .trimmed())
                     .isEmpty(),
                deadline);
            keyInDialog(message.section('\n', 0, 0), "Return");
            QTRY_COMPARE_WITH_TIMEOUT(
                run("xdotool", { "search", "--onlyvisible", "--name", "^Quorvel$" }), windowId,
                deadline);
        };
        expectCopied(calculateList,
            QStringLiteral(
                "Cv\tC\n11.6999995708466\t10\n\n10.0583670590527\t8.59689470350021\n"
                "出错：无效的参数（负数不能开平方）\t\n6.95602733963405\t5.94532273058087"));
        expectCopiedFrom(392, 156, QStringLiteral("2000"));
    }

    // Ctrl+P calculates and opens the system's dialog: Qt's print preview,
    // or under Wine its print dialog or its message that no printer is
    // installed; so does Ctrl+Shift+P, for the clipboard's list's book.
    // Escape closes it, nothing else opens after it, and the results of the
    // boxes' calculation stand in the result boxes.
    void ctrlPAndCtrlShiftPOpenThePrintDialog_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("title"); // Qt's preview's
        QTest::newRow("sheet") << "ctrl+p" << QStringLiteral("调节阀流通能力计算书");
        QTest::newRow("book") << "ctrl+shift+p" << QStringLiteral("调节阀流通能力计算汇总表");
    }
    void ctrlPAndCtrlShiftPOpenThePrintDialog()
    {
        QFETCH(QString, keys);
        QFETCH(QString, title);
        const auto others = [&] {
            return run("xdotool", { "search", "--onlyvisible", "--name", "." })
                .remove(windowId)
                .trimmed();
        };
        setClipboard(QStringLiteral("位号\t介质\tP1\tP2\tG\tQ\r\nFV-1\t液体\t5\t4\t1\t10\r\n"));
        run("xdotool", { "windowfocus", "--sync", windowId });
        this->keys({ keys });
        QTRY_VERIFY_WITH_TIMEOUT(!others().isEmpty(), deadline);
        // Wine's message comes over its dialog's frame, both titled "打印";
        // the frame goes once the message is closed.
        QElapsedTimer waited;
        waited.start();
        for (QString open; !(open = others()).isEmpty() && waited.elapsed() < deadline;) {
            for (const QString &dialog : open.split('\n')) {
                const QString shown = run("xdotool", { "getwindowname", dialog });
                if (shown.isEmpty())
                    continue; // gone with the one before it
                QVERIFY2(shown == (underWine ? QStringLiteral("打印") : title), qPrintable(shown));
                run("xdotool", { "windowfocus", "--sync", dialog });
                run("xdotool", { "key", "--window", dialog, "Escape" });
            }
            QTest::qWait(1000);
        }
        QTest::qWait(1500);
        QCOMPARE(others(), QString());
        expectCopiedFrom(392, 204, QStringLiteral("20.2170675790119")); // Text5, the gas case's Cv
    }

    void exitButtonEndsTheProgramWithStatusZero()
    {
        click(232, 248);
        QVERIFY(app.waitForFinished(deadline));
        QCOMPARE(app.exitStatus(), QProcess::NormalExit);
        QCOMPARE(app.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(X11WindowTest)
#include "x11_window_test.moc"
