#include "ui/qt/form1_widget.h"
#include "ui/qt/qt_texts.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

// While the application starts, a fatal message can only mean that no window
// system could be reached (a terminal without a display): say so in one line
// and end with status 1, instead of Qt's abort and its advice to reinstall.
// Other messages of the start wait until it has succeeded.
QStringList startupMessages;
void StartupMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg) {
        startupMessages << qFormatLogMessage(type, context, message);
        return;
    }
    std::fputs("quorvel: no display to open the window on (is DISPLAY set?)\n", stderr);
    std::_Exit(1);
}

} // namespace

int main(int argc, char *argv[])
{
    const QtMessageHandler qtHandler = qInstallMessageHandler(StartupMessage);
    QApplication app(argc, argv);
    qInstallMessageHandler(qtHandler);
    for (const QString &message : std::as_const(startupMessages))
        std::fprintf(stderr, "%s\n", qPrintable(message));

    quorvel::UseChineseQtTexts(app);
    // Qt's own texts (the message box, the edit menu, tooltips) in the
    // window's font. Qt then also has no second family, the desktop's
    // "Sans Serif", to open beside each of the window's fonts.
    QApplication::setFont(quorvel::DefaultFont());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quorvel.png")));
    quorvel::Form1Widget window;
    window.show();
    return QApplication::exec();
}
