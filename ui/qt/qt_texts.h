// Qt's own texts (the buttons of a message box, the text boxes' context menu)
// in Simplified Chinese, like the rest of the window, whatever the system's
// locale. The translation is embedded in the program, so nothing is read
// from the machine it runs on.
#pragma once

class QCoreApplication;

namespace quorvel {

// Installs the translation on `app`; returns false if it cannot be loaded.
bool UseChineseQtTexts(QCoreApplication &app);

} // namespace quorvel
