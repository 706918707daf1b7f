// SPDX-License-Identifier: MIT
#include "frmUvod.h"

#include "common/fit.h"
#include "common/pacing.h"
#include "entry/frmMain.h"
#include "import/frmImportLiga.h"
#include "newseason/frmNovaLiga.h"
#include "online/update.h"
#include "platform/desktop.h"
#include "platform/partnerlink.h"
#include "season/adjustments.h"
#include "season/catalogue.h"
#include "season/seasonfile.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

QString frmUvod::otvirany_sezona;
QString frmUvod::otvirany_los;

namespace {

const QStringList tagLines = {
    u"Tipy na každé kolo od těch, kdo hokej opravdu sledují."_s,
    u"Statistiky, formy týmů a kurzy přehledně na jednom místě."_s,
    u"Než vsadíte, poraďte se se Sázkovým rádcem."_s,
};

} // namespace

frmUvod::frmUvod()
{
    setObjectName(u"frmUvod"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"Rinkomat - vyberte si ligu"_s);
    auto* layout = new QVBoxLayout(this);
    LSTsouteze = new QListWidget(this);
    LSTsouteze->setObjectName(u"LSTsouteze"_s);
    LSTsouteze->setMinimumSize(320, 200);
    layout->addWidget(LSTsouteze);
    Command1 = new QPushButton(u"Otevřít ligu"_s, this);
    Command1->setObjectName(u"Command1"_s);
    Command1->setDefault(true);
    layout->addWidget(Command1);
    cmdNova = new QPushButton(u"&Nová liga…"_s, this);
    cmdNova->setObjectName(u"cmdNova"_s);
    layout->addWidget(cmdNova);
    cmdImport = new QPushButton(u"&Import…"_s, this);
    cmdImport->setObjectName(u"cmdImport"_s);
    layout->addWidget(cmdImport);
    L2 = new QLabel(this);
    L1 = new QLabel(u"www.sazkovy-radce.example"_s, this);
    for (QLabel* l : {L2, L1}) {
        l->setAlignment(Qt::AlignCenter);
        linkToPartnerSite(l);
        layout->addWidget(l);
    }
    L2->setObjectName(u"L2"_s);
    L1->setObjectName(u"L1"_s);

    const QString folder = QDir(Desktop::instance().programFolder()).filePath(u"souteze"_s);
    finishInterruptedUpdate(folder);
    for (const CatalogueEntry& e : orderCatalogue(readCatalogue(folder))) {
        LSTsouteze->addItem(e.text);
        m_files << e.file;
    }
    // The league used last, where it is still there; else the newest (never the separator, which has no file).
    const QString lastFile = lastLeagueFile();
    const auto last = lastFile.isEmpty() ? -1 : static_cast<int>(m_files.indexOf(lastFile));
    if (LSTsouteze->count() > 0)
        LSTsouteze->setCurrentRow(std::max(last, 0));

    connect(LSTsouteze, &QListWidget::itemDoubleClicked, this, &frmUvod::openSelected);
    connect(LSTsouteze, &QListWidget::itemActivated, this, &frmUvod::openSelected);
    connect(Command1, &QPushButton::clicked, this, &frmUvod::openSelected);
    connect(cmdNova, &QPushButton::clicked, this, [this, folder] { newLeague(folder); });
    connect(cmdImport, &QPushButton::clicked, this, [this, folder] {
        if (frmImportLiga* dialog = frmImportLiga::choose(folder, this))
            connect(dialog, &frmImportLiga::created, this, [this](const QString& path) {
                if (openLeague(path, this))
                    close();
            });
    });
    startTagLines();
    if (const QString problem = Desktop::instance().dataFolderProblem(); !problem.isEmpty())
        QTimer::singleShot(0, this,
                           [this, problem] { Desktop::instance().tell(this, problem, Desktop::Icon::Warning); });
}

void frmUvod::startTagLines()
{
    // Wide enough for the longest tag line from the start, so the window never grows by itself.
    int widest = 0;
    for (const QString& line : tagLines)
        widest = std::max(widest, L2->fontMetrics().horizontalAdvance(line));
    L2->setMinimumWidth(widest + 8);
    L2->setText(tagLines[0]);
    Timer1 = new QTimer(this);
    Timer1->setInterval(pacing::ms(1500));
    connect(Timer1, &QTimer::timeout, this, [this] {
        m_tagLine = (m_tagLine + 1) % static_cast<int>(tagLines.size());
        L2->setText(tagLines[m_tagLine]);
    });
    Timer1->start();
}

void frmUvod::newLeague(const QString& folder)
{
    // "Jako tato liga" takes the league chosen in the list, where it can be read.
    std::optional<SeasonStore> chosen;
    const int row = LSTsouteze->currentRow();
    if (row >= 0 && !m_files[row].isEmpty())
        if (Result<ReadLeague> read = readLeague(QDir(folder).filePath(m_files[row])); read.ok())
            chosen = std::move(read).value().store;
    auto* dialog = new frmNovaLiga(folder, std::move(chosen), this);
    connect(dialog, &frmNovaLiga::created, this, [this](const QString& path) {
        if (openLeague(path, this))
            close();
    });
    dialog->open();
}

void frmUvod::openSelected()
{
    const int row = LSTsouteze->currentRow();
    if (!isVisible())
        return; // a double-click also activates the item: open the league once
    if (row < 0 || !LSTsouteze->currentItem()->isSelected() || m_files[row].isEmpty())
        return; // nothing chosen, or the separator
    const QDir folder(QDir(Desktop::instance().programFolder()).filePath(u"souteze"_s));
    if (openLeague(folder.filePath(m_files[row]), this))
        close();
}

bool frmUvod::openLeague(const QString& competitionPath, QWidget* messagesParent)
{
    const BusyCursor busy;
    otvirany_sezona = competitionPath;
    otvirany_los = scheduleFileFor(otvirany_sezona);
    if (!QFileInfo::exists(otvirany_sezona) || !QFileInfo::exists(otvirany_los)) {
        Desktop::instance().tell(messagesParent, u"Nenalezeno!"_s, Desktop::Icon::Critical);
        return false;
    }
    auto* main = new frmMain(otvirany_sezona, otvirany_los);
    if (const Result<void> loaded = main->Form_Load(); !loaded.ok()) {
        delete main;
        Desktop::instance().tell(messagesParent, u"Ligu nelze otevřít.\r\n"_s + loaded.error(),
                                 Desktop::Icon::Critical);
        return false;
    }
    // "Jiná liga" brings the picker back; a league made from the menu opens at once.
    connect(main, &frmMain::otherLeagueRequested, main, [] { showActive(new frmUvod); });
    connect(main, &frmMain::leagueChosen, main, [](const QString& path) {
        if (!openLeague(path, nullptr))
            showActive(new frmUvod);
    });
    showActive(main);
    rememberLeague(QFileInfo(otvirany_sezona).fileName());
    return true;
}

namespace {

// Beside the program, as its data are: the league opened last, for the picker to offer first.
QString settingsFile()
{
    return QDir(Desktop::instance().programFolder()).filePath(u"rinkomat.ini"_s);
}

} // namespace

QString frmUvod::lastLeagueFile()
{
    return QSettings(settingsFile(), QSettings::IniFormat).value(u"posledni_liga"_s).toString();
}

void frmUvod::rememberLeague(const QString& fileName)
{
    // A settings file that cannot be written costs only this convenience.
    QSettings(settingsFile(), QSettings::IniFormat).setValue(u"posledni_liga"_s, fileName);
}

void frmUvod::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        QCoreApplication::quit();
        return;
    }
    QWidget::keyPressEvent(event);
}
