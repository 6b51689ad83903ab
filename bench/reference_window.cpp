// The yardstick for Quorvel's start-up: the smallest Qt Widgets program that
// paints what a person first reads in Quorvel's window, its title, in the
// same font, size, style and colour, at the same place, on the same
// background, in a window of the same size.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Reference"));
    window.setFixedSize(525, 306);
    QPalette pal = window.palette();
    pal.setColor(QPalette::Window, QColor(192, 255, 255));
    window.setPalette(pal);
    window.setAutoFillBackground(true);

    QLabel label(QStringLiteral("调节阀流通能力计算"), &window);
    QFont font(QStringLiteral("Noto Serif CJK SC"));
    font.setStyleName(QStringLiteral("Regular"));
    font.setPointSizeF(18);
    font.setBold(true);
    font.setItalic(true);
    label.setFont(font);
    QPalette red = label.palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    label.setPalette(red);
    label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label.setGeometry(144, 0, 241, 33);
    window.show();
    return QApplication::exec();
}
