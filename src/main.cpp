// SPDX-License-Identifier: MIT
// rinkomat: the desktop program.
#include "startup/frm1ST.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <csignal>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[])
{
    // A file-size limit must fail the write that meets it, so that the user is told and keeps his results.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Rinkomat"_s);
    QApplication::setApplicationVersion(QStringLiteral(RINKOMAT_VERSION));
    // Qt's own texts (context menus, file dialogs) in Czech, as the program speaks.
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    QTranslator qtCzech;
    if (qtCzech.load(QLocale(QLocale::Czech), u"qtbase"_s, u"_"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtCzech);
    QApplication::setWindowIcon(
        QIcon::fromTheme(u"rinkomat"_s, QIcon(QDir(QApplication::applicationDirPath()).filePath(u"rinkomat.png"_s))));
    frm1ST::start();
    return QApplication::exec();
}
