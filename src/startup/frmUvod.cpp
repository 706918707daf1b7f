// SPDX-License-Identifier: MIT
#include "frmUvod.h"

#include "common/fit.h"
#include "common/pacing.h"
#include "entry/frmMain.h"
#include "online/update.h"
#include "platform/desktop.h"
#include "platform/partnerlink.h"
#include "season/catalogue.h"
#include "season/seasonfile.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
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
    L2 = new QLabel(this);
    L1 = new QLabel(u"www.sazkovy-radce.example"_s, this);
    for (QLabel* l : {L2, L1}) {
        l->setAlignment(Qt::AlignCenter);
        linkToPartnerSite(l);
        layout->addWidget(l);
    }
    L2->setObjectName(u"L2"_s);
    L1->setObjectName(u"L1"_s);
    // Wide enough for the longest tag line from the start, so the window never grows by itself.
    int widest = 0;
    for (const QString& line : tagLines)
        widest = std::max(widest, L2->fontMetrics().horizontalAdvance(line));
    L2->setMinimumWidth(widest + 8);

    const QString folder = QDir(Desktop::instance().programFolder()).filePath(u"souteze"_s);
    finishInterruptedUpdate(folder);
    for (const CatalogueEntry& e : orderCatalogue(readCatalogue(folder))) {
        LSTsouteze->addItem(e.text);
        m_files << e.file;
    }
    if (LSTsouteze->count() > 0)
        LSTsouteze->setCurrentRow(0);

    connect(LSTsouteze, &QListWidget::itemDoubleClicked, this, &frmUvod::openSelected);
    connect(LSTsouteze, &QListWidget::itemActivated, this, &frmUvod::openSelected);
    connect(Command1, &QPushButton::clicked, this, &frmUvod::openSelected);
    L2->setText(tagLines[0]);
    Timer1 = new QTimer(this);
    Timer1->setInterval(pacing::ms(1500));
    connect(Timer1, &QTimer::timeout, this, [this] {
        m_tagLine = (m_tagLine + 1) % static_cast<int>(tagLines.size());
        L2->setText(tagLines[m_tagLine]);
    });
    Timer1->start();
    if (const QString problem = Desktop::instance().dataFolderProblem(); !problem.isEmpty())
        QTimer::singleShot(0, this,
                           [this, problem] { Desktop::instance().tell(this, problem, Desktop::Icon::Warning); });
}

void frmUvod::openSelected()
{
    const int row = LSTsouteze->currentRow();
    if (!isVisible())
        return; // a double-click also activates the item: open the league once
    if (row < 0 || !LSTsouteze->currentItem()->isSelected() || m_files[row].isEmpty())
        return; // nothing chosen, or the separator
    const BusyCursor busy;
    const QDir folder(QDir(Desktop::instance().programFolder()).filePath(u"souteze"_s));
    otvirany_sezona = folder.filePath(m_files[row]);
    otvirany_los = scheduleFileFor(otvirany_sezona);
    if (!QFileInfo::exists(otvirany_sezona) || !QFileInfo::exists(otvirany_los)) {
        Desktop::instance().tell(this, u"Nenalezeno!"_s, Desktop::Icon::Critical);
        return;
    }
    auto* main = new frmMain(otvirany_sezona, otvirany_los);
    if (const Result<void> loaded = main->Form_Load(); !loaded.ok()) {
        delete main;
        Desktop::instance().tell(this, u"Ligu nelze otevřít.\r\n"_s + loaded.error(), Desktop::Icon::Critical);
        return;
    }
    // "Jiná liga" brings the picker back.
    connect(main, &frmMain::otherLeagueRequested, main, [] { showActive(new frmUvod); });
    showActive(main);
    close();
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
