// The yardstick for the Linux window's start-up: the same window without the
// form. Its 28 widgets come from the same table through the same code, in
// the same fonts and palettes, with Qt's Chinese texts and the icon, but
// nothing is connected: no form, no handlers, no hints or descriptions, no
// shortcuts, no menus.
#include "ui/qt/form1_widget.h"
#include "ui/qt/qt_texts.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    quorvel::UseChineseQtTexts(app);
    QApplication::setFont(quorvel::DefaultFont());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quorvel.png")));
    QWidget window;
    quorvel::BuildWindow(window);
    window.show();
    return QApplication::exec();
}
