// How long a Qt test waits for what it needs (a window, a dialog, a
// clipboard's owner, a process): until it has happened, which only a broken
// program never brings about, however busy the machine; twice as long under
// CI, whose machine may be slower still. scripts/patience.py is the same for
// the Python tests.
#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace quorvel::test {

inline int DeadlineMs()
{
    return qgetenv("CI") == "true" ? 120000 : 60000;
}

} // namespace quorvel::test
