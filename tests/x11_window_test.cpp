// The real program in a real X server: start Xvfb, launch Quorvel, take a
// screenshot of its window, look at the pixels, then press "退出".
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

class X11WindowTest : public QObject {
    Q_OBJECT

    QProcess xvfb, app;
    QString display, windowId;

    static QString tool(const QString &name)
    {
        const QString path = QStandardPaths::findExecutable(name);
        if (path.isEmpty())
            qFatal("%s is not installed (scripts/test installs it)", qPrintable(name));
        return path;
    }

    QString run(const QString &program, const QStringList &args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", display);
        p.setProcessEnvironment(env);
        p.start(tool(program), args);
        p.waitForFinished(10000);
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }

private slots:
    void initTestCase()
    {
        // -displayfd picks a free display and writes its number to stdout.
        xvfb.start(
            tool("Xvfb"), { "-displayfd", "1", "-screen", "0", "800x600x24", "-nolisten", "tcp" });
        QVERIFY(xvfb.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(xvfb.canReadLine(), 20000);
        display = ":" + QString::fromLatin1(xvfb.readLine()).trimmed();

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", display);
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.remove("QT_SCALE_FACTOR");
        app.setProcessEnvironment(env);
        app.start(QStringLiteral(QUORVEL_APP), {});
        QVERIFY(app.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(
            !(windowId = run("xdotool", { "search", "--onlyvisible", "--name", "^Quorvel$" }))
                 .isEmpty(),
            20000);
        windowId = windowId.section('\n', 0, 0);
    }

    void cleanupTestCase()
    {
        app.kill();
        app.waitForFinished();
        xvfb.terminate();
        xvfb.waitForFinished();
    }

    void screenshotLooksRight()
    {
        const QString file = QStringLiteral(QUORVEL_SHOT_DIR "/window.png");
        QImage shot;
        // Poll until the window has painted its background.
        QTRY_VERIFY_WITH_TIMEOUT((run("import", { "-window", windowId, file }), shot.load(file),
                                     shot.pixelColor(10, 290) == QColor(192, 255, 255)),
            10000);
        QCOMPARE(shot.size(), QSize(525, 306));

        // The red title "调节阀流通能力计算" is drawn, not left blank.
        int red = 0;
        for (int y = 0; y < 33; ++y)
            for (int x = 144; x < 385; ++x) {
                const QColor c = shot.pixelColor(x, y);
                red += c.red() > 200 && c.green() < 90 && c.blue() < 90;
            }
        QVERIFY2(red > 200, qPrintable(QString::number(red)));

        // "阀前压力:" and "阀后压力:" share their first glyph and differ in the
        // second; missing glyphs would be drawn as identical boxes.
        const auto glyph
            = [&](int top, int index) { return shot.copy(40 + 14 * index, top, 14, 17); };
        QCOMPARE(glyph(112, 0), glyph(152, 0));
        QVERIFY(glyph(112, 1) != glyph(152, 1));
        QVERIFY(glyph(112, 1) != glyph(112, 0));
    }

    void exitButtonEndsTheProgramWithStatusZero()
    {
        run("xdotool", { "mousemove", "--window", windowId, "232", "248", "click", "1" });
        QVERIFY(app.waitForFinished(10000));
        QCOMPARE(app.exitStatus(), QProcess::NormalExit);
        QCOMPARE(app.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(X11WindowTest)
#include "x11_window_test.moc"
