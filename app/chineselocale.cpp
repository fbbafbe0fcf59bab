#include "app/chineselocale.h"

#include <QByteArray>
#include <QLocale>

void useChineseLocale()
{
#ifndef Q_OS_WIN
    // Qt takes the system locale, which formats dates, from the environment here; a server's
    // or a developer's machine often says C or English. (On Windows it is the user's setting,
    // Chinese on a store's PC.) Qt needs no installed C library locale for this, and reads
    // and writes files as UTF-8 either way.
    qputenv("LC_ALL", "zh_CN.UTF-8");
#endif
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
}
