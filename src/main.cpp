// SPDX-License-Identifier: MIT
// rinkomat: the desktop program.
#include "app/frm1ST.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Rinkomat"_qs);
    QApplication::setApplicationVersion(QStringLiteral(RINKOMAT_VERSION));
    frm1ST::start();
    return QApplication::exec();
}
