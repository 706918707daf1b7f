// SPDX-License-Identifier: MIT
// rinkomat: the desktop program.
#include "app/frm1ST.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Rinkomat"_qs);
    QApplication::setApplicationVersion(QStringLiteral(RINKOMAT_VERSION));
    QApplication::setWindowIcon(QIcon(QDir(QApplication::applicationDirPath()).filePath(u"rinkomat.png"_qs)));
    frm1ST::start();
    return QApplication::exec();
}
