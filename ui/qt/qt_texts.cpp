#include "ui/qt/qt_texts.h"

#include <QCoreApplication>
#include <QTranslator>

namespace quorvel {

bool UseChineseQtTexts(QCoreApplication &app)
{
    // Stored uncompressed, so the translator reads it in place.
    auto *translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral(":/i18n/qtbase_zh_CN.qm"))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace quorvel
