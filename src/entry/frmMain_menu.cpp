// SPDX-License-Identifier: MIT
// The main menu of frmMain and the small commands behind it.
#include "frmMain.h"

#include "common/programinfo.h"
#include "entry/frmPlayoff.h"
#include "entry/frmUpravy.h"
#include "export/formats.h"
#include "export/saveview.h"
#include "import/frmImport.h"
#include "lookups/frmBilance.h"
#include "lookups/frmKalendar.h"
#include "lookups/frmMissing.h"
#include "lookups/frmVzaj.h"
#include "lookups/frmZapasy.h"
#include "lookups/lookups.h"
#include "newseason/frmNovaLiga.h"
#include "online/frmUpdate.h"
#include "outlook/frmVyhled.h"
#include "platform/desktop.h"
#include "playoff/frmNovyPlayoff.h"
#include "season/datafiles.h"
#include "season/seasonfile.h"
#include "standings/frmGraf.h"
#include "standings/frmHistorie.h"
#include "standings/frmTable.h"
#include "standings/frmTable_Datum.h"
#include "standings/frmTable_Interval.h"
#include "standings/graph.h"
#include "standings/ranking.h"
#include "stats/crosstable.h"
#include "stats/frmKriz.h"
#include "stats/frmSerie.h"

#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QUrl>

using namespace Qt::StringLiterals;

QAction* frmMain::addCommand(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut,
                             std::function<void()> run)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    if (!run) {
        action->setEnabled(false);
        return action;
    }
    // A shortcut does not open the menu, so every command stores the displayed round itself.
    connect(action, &QAction::triggered, this, [this, run = std::move(run)] {
        storeDisplayedRound();
        const QList<QWidget*> before = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        run();
        for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (w->isWindow() && !before.contains(w))
                followView(w);
        }
    });
    return action;
}

void frmMain::buildMenu()
{
    QMenu* mnuMenu = menuBar()->addMenu(u" =>  &MENU  "_s);
    mnuMenu->setObjectName(u"mnuMenu"_s);
    connect(mnuMenu, &QMenu::aboutToShow, this, &frmMain::storeDisplayedRound);
    // F10 opens the menu bar, as in other desktop programs; Alt+M opens MENU, never types into a result.
    auto* f10 = new QShortcut(Qt::Key_F10, this);
    connect(f10, &QShortcut::activated, this, [this, mnuMenu] { menuBar()->setActiveAction(mnuMenu->menuAction()); });

    buildTableMenu(mnuMenu);
    addCommand(mnuMenu, "mnuVyhled", u"&Výhled sezóny"_s, Qt::Key_F12, [this] {
        // Beside the round, not over it: a result typed meanwhile starts the outlook again.
        auto* outlook = new frmVyhled(m_season, 10'000, this, m_league.playoff());
        connect(this, &frmMain::seasonChanged, outlook,
                [this, outlook] { outlook->restart(m_season, m_league.playoff()); });
        outlook->show();
    });
    addCommand(mnuMenu, "mnuPlayoff", u"&Play-off"_s, QKeySequence(Qt::CTRL | Qt::Key_P), [this] { showPlayoff(); });
    addCommand(mnuMenu, "mnuNovyPlayoff", u"Nový play-o&ff…"_s, {}, [this] { createPlayoff(); });
    addCommand(mnuMenu, "mnuCoKdyby", u"&Co kdyby"_s, QKeySequence(Qt::CTRL | Qt::Key_K), [this] { toggleWhatIf(); });
    addCommand(mnuMenu, "mnuGraf", u"&Graf vývoje umístění"_s, {}, [this] {
        const BusyCursor busy;
        auto* graph = new frmGraf(m_season, this);
        addSaveCommand(graph, [view = graphView(m_season)] { return view; });
        graph->open();
    });
    mnuMenu->addSeparator();
    addCommand(mnuMenu, "mnuSerie", u"&Série výsledků"_s, Qt::Key_F4,
               [this] { (new frmSerie(m_season, this))->open(); });
    addCommand(mnuMenu, "mnuBil", u"&Dosavadní bilance"_s, Qt::Key_F5,
               [this] { (new frmBilance(m_season, this, &m_league.playoff()))->open(); });
    addCommand(mnuMenu, "mnuUpravy", u"Úpravy &bodů…"_s, {}, [this] { openAdjustments(); });
    mnuMenu->addSeparator();
    buildSearchMenu(mnuMenu);
    addCommand(mnuMenu, "mnuIcs", u"Kalendář zápasů (.&ics)…"_s, {}, [this] { saveLeagueCalendar(); });
    addCommand(mnuMenu, "mnuImport", u"&Import…"_s, {}, [this] { importMatches(false); });
    addCommand(mnuMenu, "mnuVlozit", u"Vložit výsledky ze schránk&y"_s, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V),
               [this] { importMatches(true); });
    mnuMenu->addSeparator();
    addCommand(mnuMenu, "mnuUpd", u"&Aktualizace dat"_s, Qt::Key_F8,
               [this] { (new frmUpdate(this, *this, QUrl(program::updateSite)))->open(); });
    addCommand(mnuMenu, "mnuTTX", u"Aktuální výsledk&y"_s, Qt::Key_F9,
               [this] { Desktop::instance().browse(this, QUrl(program::liveResults)); });
    mnuMenu->addSeparator();
    m_calendar = addCommand(mnuMenu, "mnuKalendar", u"Kalendář akcí"_s, {}, [this] { showCalendar(); });
    addCommand(mnuMenu, "mnuHelp", u"&Užitečné tipy"_s, {}, [this] { showTips(); });
    addCommand(mnuMenu, "mnuOpr", u"&O programu"_s, {}, [this] { showAbout(); });
    mnuMenu->addSeparator();
    addCommand(mnuMenu, "mnuJinaLiga", u"&Jiná liga"_s, Qt::Key_F11, [this] { switchLeague(); });
    addCommand(mnuMenu, "mnuZnovu", u"Načíst soubor zno&vu"_s, {}, [this] { readAgain(); });
    addCommand(mnuMenu, "mnuPrejmenovat", u"Přejmenovat &tým…"_s, {}, [this] { renameTeam(); });
    addCommand(mnuMenu, "mnuNovaLiga", u"&Nová liga…"_s, {}, [this] { newLeague(); });
    addCommand(mnuMenu, "mnuKonec", u"Ukončit p&rogram"_s, QKeySequence(Qt::CTRL | Qt::Key_X),
               [this] { endProgram(); });
}

// Asks for the play-off's stages, writes them and shows the bracket.
void frmMain::createPlayoff()
{
    const auto create = [this](const QList<StageRow>& stages) {
        return m_league.createPlayoff(stages, Desktop::instance().now());
    };
    auto* dialog = new frmNovyPlayoff(m_league.season().teams(), create, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this] {
        {
            const QSignalBlocker block(cboKolo);
            addPlayoffEntries();
        }
        showPlayoff();
    });
    dialog->open();
}

void frmMain::showPlayoff()
{
    if (!m_playoffWindow) {
        m_playoffWindow = new frmPlayoff(m_league, this);
        // F2, F12, Ctrl+P… work there as here: the actions are the main window's own.
        for (QAction* action : findChildren<QAction*>())
            if (!action->shortcut().isEmpty())
                m_playoffWindow->addAction(action);
    }
    m_playoffWindow->show();
    m_playoffWindow->raise();
    m_playoffWindow->activateWindow();
}

// The league's matches, and its play-off games, as a calendar file the fan saves.
void frmMain::saveLeagueCalendar()
{
    saveICalendar(
        this,
        toICalendar(m_season, m_competitionPath, 0, Desktop::instance().now(),
                    m_league.playoff() ? playoffCalendar(*m_league.playoff(), m_season, 0) : QList<CalendarGame>()),
        fileNameFor(u"zápasy "_s + m_season.caption) + u".ics");
}

void frmMain::newLeague()
{
    auto* dialog = new frmNovaLiga(QFileInfo(m_competitionPath).path(), m_season, this);
    connect(dialog, &frmNovaLiga::created, this, [this](const QString& path) { switchLeague(path); });
    dialog->open();
}

void frmMain::buildTableMenu(QMenu* parent)
{
    QMenu* mnuTabulka = parent->addMenu(u"&Tabulka"_s);
    mnuTabulka->setObjectName(u"mnuTabulka"_s);
    addCommand(mnuTabulka, "mnuPrubezna", u"&Průběžná"_s, Qt::Key_F2, [this] {
        const BusyCursor busy;
        (new frmTable(m_season, 1, m_season.rounds(), seasonTableCaption(m_season), this))->open();
    });
    addCommand(mnuTabulka, "mnuObdobi", u"&Za období"_s, {},
               [this] { (new frmTable_Interval(m_season, this))->open(); });
    addCommand(mnuTabulka, "mnuKDatu", u"K &datu…"_s, {},
               [this] { (new frmTable_Datum(m_season, Desktop::instance().now().date(), this))->open(); });
    addCommand(mnuTabulka, "mnuHistorie", u"&Historická"_s, {}, [this] {
        const BusyCursor busy;
        const QString folder = QDir(Desktop::instance().programFolder()).filePath(u"souteze"_s);
        const LeagueInMemory open{m_competitionPath, m_season};
        (new frmHistorie(allTimeTable(folder, competitionName(m_season), &open), this))->open();
    });
    addCommand(mnuTabulka, "mnuKriz", u"&Křížová"_s, Qt::Key_F3, [this] {
        auto* cross = new frmKriz(m_season, this);
        addSaveCommand(cross, [view = crossView(m_season)] { return view; });
        cross->open();
    });
}

void frmMain::buildSearchMenu(QMenu* parent)
{
    QMenu* mnuNajit = parent->addMenu(u"&Hledat"_s);
    mnuNajit->setObjectName(u"mnuNajit"_s);
    addCommand(mnuNajit, "mnuVzaj", u"&Vzájemné zápasy"_s, Qt::Key_F6,
               [this] { (new frmVzaj(m_season, this))->open(); });
    addCommand(mnuNajit, "mnuChyb", u"&Chybějící výsledky"_s, Qt::Key_F7, [this] { showMissingResults(); });
    addCommand(mnuNajit, "mnuPristi", u"&Příští zápasy"_s, {}, [this] {
        showMatchList(nextMatches(m_season, Desktop::instance().today()), u"příští zápasy"_s,
                      u"V příštích sedmi dnech se nehraje žádný zápas."_s);
    });
    addCommand(mnuNajit, "mnuOdlozene", u"&Odložené zápasy"_s, {}, [this] {
        showMatchList(postponedMatches(m_season), u"odložené zápasy"_s, u"Žádný zápas není odložen."_s);
    });
    addCommand(mnuNajit, "mnuZap", u"Všechny &zápasy týmu"_s, {},
               [this] { (new frmZapasy(m_season, m_competitionPath, this, m_league.playoff()))->open(); });
}

void frmMain::openAdjustments()
{
    if (!m_season.adjustmentsIgnored.isEmpty()) {
        // Saving the list the window shows would overwrite every line of the file that could not be read.
        Desktop::instance().tell(this,
                                 u"Úpravy bodů nelze upravovat, soubor s nimi se nepodařilo přečíst:\r\n"_s +
                                     m_season.adjustmentsIgnored +
                                     u"\r\n\r\nOpravte soubor „%1“ a ligu otevřete znovu."_s.arg(
                                         QDir::toNativeSeparators(adjustmentsFileFor(m_competitionPath))),
                                 Desktop::Icon::Warning);
        return;
    }
    if (whatIf()) {
        Desktop::instance().tell(this,
                                 u"V režimu „Co kdyby“ se nic neukládá, ani úpravy bodů. Ukončete jej (Ctrl+K) a "
                                 "úpravy bodů otevřete znovu."_s,
                                 Desktop::Icon::Information);
        return;
    }
    auto* adjustments = new frmUpravy(m_season, m_league, this);
    adjustments->open();
}

void frmMain::followView(QWidget* view)
{
    if (whatIf()) // what it shows, prints and saves is hypothetical
        view->setWindowTitle(view->windowTitle() + u" – Co kdyby"_s);
    // The field is the context: while the window itself is torn down nothing is focused. A dialog that
    // ended on a message of its own leaves no window active: the main window takes the keyboard back.
    connect(view, &QObject::destroyed, result[0], [field = result[0]] {
        field->window()->activateWindow();
        field->setFocus();
    });
}

void frmMain::openBalance(int team)
{
    storeDisplayedRound(); // a result typed in a field must count
    auto* balance = new frmBilance(m_season, this, &m_league.playoff());
    // Beside the round: results typed meanwhile count at once.
    connect(this, &frmMain::seasonChanged, balance, &frmBilance::refresh);
    followView(balance);
    balance->show();
    balance->showTeam(team);
}

void frmMain::openHeadToHead(int row)
{
    storeDisplayedRound();
    auto* h2h = new frmVzaj(m_season, this);
    followView(h2h);
    h2h->show();
    h2h->search(m_home[row], m_away[row]);
}

void frmMain::showMissingResults()
{
    const MissingResults lines = missingResults(m_season, Desktop::instance().today());
    if (lines.lines.isEmpty()) {
        Desktop::instance().message(this, kNothingMissing, Desktop::Icon::Information, Desktop::Buttons::Ok, u"info"_s);
        return;
    }
    auto* missing = new frmMissing(lines, this);
    connect(missing, &frmMissing::roundChosen, this, [this](int round) {
        cboKolo->setCurrentIndex(round - 1);
        // Straight on to typing the missing result, whichever window the system activates after the list.
        activateWindow();
        result[0]->setFocus();
    });
    addSaveCommand(missing, [view = missingView(m_season, Desktop::instance().today())] { return view; });
    missing->open();
}

// A list of matches, a double-click (or Enter) going to a match's round.
void frmMain::showMatchList(const MissingResults& lines, const QString& title, const QString& none)
{
    if (lines.lines.isEmpty()) {
        Desktop::instance().message(this, none, Desktop::Icon::Information, Desktop::Buttons::Ok, u"info"_s);
        return;
    }
    auto* list = new frmMissing(lines, this);
    list->setWindowTitle(title);
    connect(list, &frmMissing::roundChosen, this, [this](int round) { cboKolo->setCurrentIndex(round - 1); });
    list->open();
}

void frmMain::showCalendar()
{
    const QString path =
        QDir(Desktop::instance().programFolder()).filePath(u"souteze/"_s + calendarFileName(m_season.caption));
    const Result<QByteArray> file = readDataFile(path);
    if (!file.ok()) {
        Desktop::instance().tell(this, kNoCalendar);
        return;
    }
    const auto events = readCalendar(file.value());
    auto* calendar = new frmKalendar(m_calendar->text(), events, this);
    addSaveCommand(calendar, [view = calendarView(m_season, events)] { return view; });
    calendar->open();
}

void frmMain::showTips()
{
    Desktop::instance().tell(
        this,
        u"SNADNÉ ZADÁVÁNÍ VÝSLEDKŮ NA NUMERICKÉ KLÁVESNICI - dvojtečka = klávesa +, prodl. = klávesa -, \r\n"
        "samostatné nájezdy = klávesa /, posun dolů = klávesa Enter\r\n\r\n"
        "PŘESUN MEZI KOLY - pomocí kláves Page Up a Page Down\r\n\r\n"
        "VÝMĚNA POŘADATELSTVÍ - současně držte klávesy Ctrl+Shift a klikněte na pomlčku mezi týmy\r\n\r\n"
        "VZÁJEMNÉ ZÁPASY - dvakrát klikněte na pomlčku mezi týmy\r\n\r\n"
        "DOSAVADNÍ BILANCE - dvakrát klikněte na tým"_s,
        Desktop::Icon::Information);
}

void frmMain::showAbout()
{
    Desktop::instance().tell(this,
                             u"RINKOMAT\r\nverze "_s + program::version +
                                 u"\r\n\r\nProgram pro fanoušky ligového hokeje.\r\n"
                                 "Výsledky, tabulky a statistiky celé sezóny na jednom místě.\r\n"
                                 "Vyvinul tým Rinkomatu, www.rinkomat.example"_s,
                             Desktop::Icon::Information);
}

namespace {

// "Zrušit" and the dialog's own word under its form; the dialog decides what the word does.
QDialogButtonBox* addButtons(QFormLayout* form, const QString& ok)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(ok);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"Zrušit"_s);
    form->addRow(buttons);
    return buttons;
}

// The match's new date and time as typed, or why they are none.
Result<MatchDate> typedMatchDate(const QString& day, const QString& time)
{
    MatchDate date;
    date.date = parseShortDate(day.trimmed());
    if (!date.date.isValid())
        return Result<MatchDate>::failure(u"„%1“ není datum D.M.RRRR."_s.arg(day.trimmed().left(20)));
    if (!time.trimmed().isEmpty() && !(date.time = QTime::fromString(time.trimmed(), u"H:mm"_s)).isValid())
        return Result<MatchDate>::failure(u"„%1“ není čas HH:MM."_s.arg(time.trimmed().left(20)));
    return date;
}

} // namespace

void frmMain::moveMatch(int row)
{
    storeDisplayedRound();
    if (showingPlayoff())
        return; // a series game has no round to move to
    const int round = m_shownRound, slot = row + 1;
    const Match& m = m_season.match(slot, round);
    QDialog dialog(this);
    dialog.setObjectName(u"dlgPresunout"_s);
    dialog.setWindowTitle(u"Přesunout zápas"_s);
    auto* form = new QFormLayout(&dialog);
    form->addRow(new QLabel(m_season.TymPodleCisla(m.home) + u" – "_s + m_season.TymPodleCisla(m.away), &dialog));
    MoveChoices c = addMoveChoices(&dialog, form, round, slot);
    QDialogButtonBox* buttons = addButtons(form, u"Přesunout"_s);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        const Match before = m_season.match(slot, round);
        Result<void> done;
        if (c.swap->isChecked()) {
            done = m_league.moveMatch(round, slot, c.rounds->currentData().toInt());
        } else if (c.day->isChecked()) {
            const Result<MatchDate> typed = typedMatchDate(c.date->text(), c.time->text());
            done = typed.ok() ? m_league.setMatchDate(round, slot, typed.value(), Desktop::instance().now())
                              : Result<void>::failureOf(typed);
        } else {
            const std::optional<MatchDate> postponed =
                c.postponed->isChecked() ? std::optional(MatchDate{{}, {}, true}) : std::nullopt;
            done = m_league.setMatchDate(round, slot, postponed, Desktop::instance().now());
        }
        if (!done.ok() && (!c.swap->isChecked() || m_season.match(slot, round) == before)) {
            Desktop::instance().tell(&dialog, done.error(), Desktop::Icon::Warning); // refused; nothing changed
            return;
        }
        if (c.swap->isChecked())
            reportJournal(done); // moved, only perhaps not journalled
        cboKolo_Click();         // the rows show the round as it is now before focus comes back to them
        dialog.accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    dialog.exec();
}

frmMain::MoveChoices frmMain::addMoveChoices(QDialog* dialog, QFormLayout* form, int round, int slot)
{
    MoveChoices c;
    const MatchDate own = m_season.matchDates.value({round, slot});
    c.day = new QRadioButton(u"&nový termín:"_s, dialog);
    c.day->setObjectName(u"optTermin"_s);
    c.date = new QLineEdit(shortDate(own.date.isValid() ? own.date : m_season.DATUM_KOLA(round)), dialog);
    c.date->setObjectName(u"txtDatum"_s);
    c.time = new QLineEdit(own.time.isValid() ? own.time.toString(u"H:mm"_s) : QString(), dialog);
    c.time->setObjectName(u"txtCas"_s);
    c.time->setPlaceholderText(u"HH:MM (nepovinné)"_s);
    auto* when = new QHBoxLayout;
    when->addWidget(c.date);
    when->addWidget(c.time);
    form->addRow(c.day, when);
    c.postponed = new QRadioButton(u"&odloženo, termín zatím není"_s, dialog);
    c.postponed->setObjectName(u"optOdlozeno"_s);
    form->addRow(c.postponed);
    c.roundDay = new QRadioButton(u"v &termínu kola (%1)"_s.arg(shortDate(m_season.DATUM_KOLA(round))), dialog);
    c.roundDay->setObjectName(u"optKolo"_s);
    form->addRow(c.roundDay);
    c.swap = new QRadioButton(u"&vyměnit s kolem:"_s, dialog);
    c.swap->setObjectName(u"optVymenit"_s);
    c.rounds = new QComboBox(dialog);
    c.rounds->setObjectName(u"cboKam"_s);
    for (int r = 1; r <= m_season.rounds(); ++r)
        c.rounds->addItem(roundEntryText(r, m_season.DATUM_KOLA(r)), r);
    c.rounds->setCurrentIndex(round - 1);
    c.rounds->setMaxVisibleItems(20);
    form->addRow(c.swap, c.rounds);
    auto* swapped = new QLabel(dialog);
    swapped->setObjectName(u"lblVymena"_s);
    swapped->setWordWrap(true);
    form->addRow(swapped);
    c.day->setChecked(true);
    // What a swap would do is said before it is done; choosing a round or typing a date picks its way.
    connect(c.rounds, &QComboBox::currentIndexChanged, dialog, [this, c, swapped, round, slot] {
        c.swap->setChecked(true);
        const int to = c.rounds->currentData().toInt();
        const Result<int> partner = m_league.swapPartner(round, slot, to);
        const Match& other = m_season.match(partner.valueOr(1), to);
        swapped->setText(partner.ok() ? u"Vymění se se zápasem %1 – %2 z %3. kola."_s
                                            .arg(m_season.TymPodleCisla(other.home), m_season.TymPodleCisla(other.away))
                                            .arg(to)
                                      : partner.error());
    });
    for (QLineEdit* field : {c.date, c.time})
        connect(field, &QLineEdit::textEdited, dialog, [c] { c.day->setChecked(true); });
    return c;
}

void frmMain::readAgain()
{
    storeDisplayedRound();
    const qsizetype unsaved = m_league.unsavedChanges().size();
    if (unsaved > 0 &&
        Desktop::instance().tell(this,
                                 u"Výsledky zadané či importované od posledního uložení (%1) se ztratí. Načíst soubor "
                                 "znovu?"_s.arg(unsaved),
                                 Desktop::Icon::Question, Desktop::Buttons::YesNo) != Desktop::Answer::Yes)
        return;
    m_league.clearJournal(); // given up on purpose: nothing to recover
    reloadSeason();
}

void frmMain::importMatches(bool fromClipboard)
{
    storeDisplayedRound(); // what is typed in the round counts before the import looks at it
    QByteArray bytes;
    QString name = u"schránka"_s;
    if (fromClipboard) {
        bytes = QGuiApplication::clipboard()->text().toUtf8();
        if (bytes.trimmed().isEmpty()) {
            Desktop::instance().tell(this,
                                     u"Ve schránce není žádný text. Zkopírujte výsledky, např. z webové stránky."_s,
                                     Desktop::Icon::Information);
            return;
        }
    } else {
        const QString path = Desktop::instance().fileToOpen(this, u"Import zápasů"_s, kImportFilters);
        if (path.isEmpty())
            return;
        const Result<QByteArray> read = readDataFile(path);
        if (!read.ok()) {
            Desktop::instance().tell(this, u"Zápasy nelze importovat.\r\n"_s + read.error(), Desktop::Icon::Warning);
            return;
        }
        bytes = read.value();
        name = QFileInfo(path).fileName();
    }
    if (frmImport* dialog = frmImport::open(m_league, bytes, name, this))
        connect(dialog, &frmImport::imported, this, &frmMain::cboKolo_Click);
}

void frmMain::renameTeam()
{
    QDialog dialog(this);
    dialog.setObjectName(u"dlgPrejmenovat"_s);
    dialog.setWindowTitle(u"Přejmenovat tým"_s);
    auto* form = new QFormLayout(&dialog);
    auto* teams = new QComboBox(&dialog);
    teams->setObjectName(u"cboTym"_s);
    teams->addItems(m_season.teamNames());
    form->addRow(u"&Tým:"_s, teams);
    auto* name = new QLineEdit(&dialog);
    name->setObjectName(u"txtNazev"_s);
    form->addRow(u"&Nový název:"_s, name);
    QDialogButtonBox* buttons = addButtons(form, u"Přejmenovat"_s);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        const Result<void> renamed =
            m_league.renameTeam(teams->currentIndex() + 1, name->text(), Desktop::instance().now());
        if (!renamed.ok()) {
            Desktop::instance().tell(&dialog, u"Tým nelze přejmenovat.\r\n"_s + renamed.error(),
                                     Desktop::Icon::Warning);
            return;
        }
        dialog.accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() == QDialog::Accepted)
        cboKolo_Click();
}

void frmMain::switchLeague(const QString& to)
{
    if (saveForLeaving() == Leaving::Stay)
        return;
    m_switching = true;
    m_league.unlock(); // the picker may open this league again
    if (to.isEmpty())
        Q_EMIT otherLeagueRequested();
    else
        Q_EMIT leagueChosen(to);
    close();
}

void frmMain::endProgram()
{
    if (saveForLeaving() == Leaving::Stay)
        return;
    m_switching = true; // written already
    close();
    QCoreApplication::quit();
}
