// SPDX-License-Identifier: MIT
#include "frmMain.h"

#include "common/pacing.h"
#include "common/programinfo.h"
#include "lookups/lookups.h"
#include "platform/desktop.h"
#include "platform/partnerlink.h"
#include "season/adjustments.h"
#include "season/datafiles.h"
#include "season/notation.h"
#include "season/seasonfile.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QTimer>

using namespace Qt::StringLiterals;

frmMain::frmMain(const QString& otvirany_sezona, const QString& otvirany_los)
    : m_competitionPath(otvirany_sezona), m_schedulePath(otvirany_los), m_league(otvirany_sezona)
{
    setObjectName(u"frmMain"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    buildRows();
    buildMenu();
    // The window sees Ctrl and Shift wherever the focus is, for the swap mode.
    qApp->installEventFilter(this);
    connect(&m_league, &OpenLeague::seasonChanged, this, &frmMain::seasonChanged);
    // A game entered elsewhere (the bracket, "Co kdyby" left) shows here, unless a row holds a game being typed.
    connect(&m_league, &OpenLeague::seasonChanged, this, [this] {
        if (!showingPlayoff() || m_playoffEntries.isEmpty())
            return;
        for (int i = 0; i < kMaxSlots; ++i)
            if (m_playoffRow[static_cast<std::size_t>(i)] >= 0 && !result[i]->text().isEmpty())
                return;
        showPlayoffEntry();
    });
    connect(new QShortcut(Qt::Key_PageUp, this), &QShortcut::activated, this, [this] { pageBy(-1); });
    connect(new QShortcut(Qt::Key_PageDown, this), &QShortcut::activated, this, [this] { pageBy(+1); });
}

frmMain::~frmMain() = default;

// One match's row: home, dash, away and the result field.
void frmMain::buildSlot(QGridLayout* grid, QWidget* frame, int i)
{
    auto makeLabel = [&](const char* name, Qt::Alignment align) {
        auto* l = new QLabel(frame);
        l->setObjectName(QString::fromLatin1(name) + QString::number(i));
        l->setAlignment(align | Qt::AlignVCenter);
        l->setMinimumWidth(130);
        l->installEventFilter(this);
        return l;
    };
    Hteam[i] = makeLabel("Hteam", Qt::AlignRight);
    Ateam[i] = makeLabel("Ateam", Qt::AlignLeft);
    dash[i] = makeLabel("dash", Qt::AlignHCenter);
    dash[i]->setText(u"-"_s);
    dash[i]->setMinimumWidth(24);
    result[i] = new QLineEdit(frame);
    result[i]->setObjectName(u"result"_s + QString::number(i));
    result[i]->setMaxLength(12);
    result[i]->setFixedWidth(70);
    result[i]->setAlignment(Qt::AlignHCenter);
    result[i]->installEventFilter(this);
    connect(result[i], &QLineEdit::textChanged, this, [this, i] { onResultEdited(i); });
    // A row's own menu: the teams' labels offer moving the match.
    for (QLabel* label : {Hteam[i], Ateam[i]}) {
        label->setContextMenuPolicy(Qt::ActionsContextMenu);
        auto* move = new QAction(u"Přesunout zápas…"_s, label);
        move->setObjectName(u"mnuPresunout"_s + QString::number(i));
        connect(move, &QAction::triggered, this, [this, i] { moveMatch(i); });
        label->addAction(move);
    }
    grid->addWidget(Hteam[i], i, 0);
    grid->addWidget(dash[i], i, 1);
    grid->addWidget(Ateam[i], i, 2);
    grid->addWidget(result[i], i, 3);
}

void frmMain::buildRows()
{
    auto* central = new QWidget(this);
    auto* outer = new QVBoxLayout(central);
    cboKolo = new QComboBox(central);
    cboKolo->setObjectName(u"cboKolo"_s);
    cboKolo->setMaxVisibleItems(20);
    cboKolo->setStyleSheet(u"QComboBox { combobox-popup: 0; }"_s); // a list of 20 rounds, not a screen tall
    connect(cboKolo, &QComboBox::currentIndexChanged, this, &frmMain::onRoundSelected);
    outer->addWidget(cboKolo, 0, Qt::AlignHCenter);

    auto* Shape1 = new QFrame(central);
    Shape1->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(Shape1);
    grid->setHorizontalSpacing(8);
    for (int i = 0; i < kMaxSlots; ++i)
        buildSlot(grid, Shape1, i);
    lblVolno = new QLabel(Shape1);
    lblVolno->setObjectName(u"lblVolno"_s);
    lblVolno->setAlignment(Qt::AlignCenter);
    lblVolno->hide();
    grid->addWidget(lblVolno, kMaxSlots, 0, 1, 4);
    // A line of its own for the note of a rejected typo: the rows never move when it shows.
    lblTypo = new QLabel(Shape1);
    lblTypo->setObjectName(u"lblTypo"_s);
    lblTypo->setAlignment(Qt::AlignCenter);
    lblTypo->setMinimumHeight(lblTypo->fontMetrics().height());
    lblTypo->setStyleSheet(u"color: #B00000"_s);
    grid->addWidget(lblTypo, kMaxSlots + 1, 0, 1, 4);
    m_typoTimer.setSingleShot(true);
    connect(&m_typoTimer, &QTimer::timeout, lblTypo, &QLabel::clear);
    colourDashes();
    outer->addWidget(Shape1);

    PIC = new QLabel(central);
    PIC->setObjectName(u"PIC"_s);
    PIC->setPixmap(QPixmap(QDir(Desktop::instance().programFolder()).filePath(u"ad/3.jpg"_s)));
    PIC->setToolTip(u"Sázkový rádce – tipy a statistiky pro sázení na hokej"_s);
    linkToPartnerSite(PIC);
    outer->addWidget(PIC, 0, Qt::AlignHCenter);
    setCentralWidget(central);
    layout()->setSizeConstraint(QLayout::SetFixedSize); // the rows never spread apart
}

Result<void> frmMain::Form_Load()
{
    if (!m_league.locked()) {
        if (Result<void> locked = lockLeague(); !locked.ok())
            return locked;
    }
    Result<ReadLeague> loaded = m_league.read();
    if (!loaded.ok())
        return Result<void>::failureOf(loaded);
    if (!loaded.value().warning.isEmpty())
        Desktop::instance().tell(nullptr, openedWithoutAdjustments(loaded.value().warning), Desktop::Icon::Warning);
    if (!loaded.value().excluded.isEmpty())
        Desktop::instance().tell(nullptr, loaded.value().excluded, Desktop::Icon::Warning);
    if (!m_league.playoffProblem().isEmpty())
        Desktop::instance().tell(
            nullptr, u"Liga se otevírá bez play-off, jeho soubor nelze použít.\r\n"_s + m_league.playoffProblem(),
            Desktop::Icon::Warning);
    offerRecovery();
    m_switching = false;
    showWhatIfState();
    m_calendar->setText(calendarCaption(m_season.season));
    const QSignalBlocker block(cboKolo);
    cboKolo->clear();
    for (int i = 0; i < kMaxSlots; ++i) {
        for (QWidget* w : {static_cast<QWidget*>(Hteam[i]), static_cast<QWidget*>(dash[i]),
                           static_cast<QWidget*>(Ateam[i]), static_cast<QWidget*>(result[i])})
            w->setVisible(i < m_season.slots());
    }
    lblVolno->setVisible(m_season.teams() % 2 != 0);
    for (int r = 1; r <= m_season.rounds(); ++r)
        cboKolo->addItem(roundEntryText(r, m_season.DATUM_KOLA(r)));
    addPlayoffEntries();
    cboKolo->setCurrentIndex(roundShownOnOpening(m_season, Desktop::instance().today()) - 1);
    cboKolo_Click();
    result[0]->setFocus(); // typing goes to the first result at once
    return {};
}

Result<void> frmMain::lockLeague()
{
    Result<void> locked = m_league.lock();
    if (!locked.ok() && !m_league.otherComputer().isEmpty() &&
        Desktop::instance().message(
            nullptr,
            locked.error() +
                u"\r\n\r\nPřevzít ligu? Běží-li program na počítači „%1“ přece, jedny z výsledků se ztratí."_s.arg(
                    m_league.otherComputer()),
            Desktop::Icon::Warning, Desktop::Buttons::YesNo, program::title) == Desktop::Answer::Yes)
        locked = m_league.takeOver();
    return locked;
}

namespace {

// "1 zadaná změna … nebyla uložena", "3 zadané změny … nebyly uloženy", "5 zadaných změn … nebylo uloženo".
QString unsavedChangesText(qsizetype n)
{
    if (n == 1)
        return u"1 zadaná změna"_s;
    return n <= 4 ? u"%1 zadané změny"_s.arg(n) : u"%1 zadaných změn"_s.arg(n);
}
QString wasNotSaved(qsizetype n)
{
    return n == 1 ? u"nebyla uložena"_s : n <= 4 ? u"nebyly uloženy"_s : u"nebylo uloženo"_s;
}

QString resultOrNone(const QString& result)
{
    return result.isEmpty() ? u"bez výsledku"_s : result;
}

// One line a change: the match as typed, and what the file holds now.
QString recoveryList(const SeasonStore& season, const QList<JournalEntry>& unsaved)
{
    constexpr qsizetype kShown = 15; // the rest is counted, so that the message fits on the screen
    QStringList lines;
    for (const JournalEntry& e : unsaved.first(std::min(unsaved.size(), kShown))) {
        const Match& now = season.match(e.slot, e.round);
        lines << u"%1. kolo: %2 – %3 %4, v souboru %5%6"_s.arg(e.round).arg(
            season.TymPodleCisla(e.match.home), season.TymPodleCisla(e.match.away), resultOrNone(e.match.result),
            resultOrNone(now.result),
            RecoveryJournal::conflicts(e, season) ? u" (soubor se mezitím změnil)"_s : QString());
    }
    if (unsaved.size() > kShown)
        lines << u"… a %1 dalších"_s.arg(unsaved.size() - kShown);
    return lines.join(u"\r\n"_s);
}

} // namespace

void frmMain::offerRecovery()
{
    const QList<JournalEntry> unsaved = m_league.unsavedChanges();
    if (unsaved.isEmpty()) {
        m_league.clearJournal();
        return;
    }
    QList<JournalEntry> agreeing = unsaved;
    agreeing.removeIf([this](const JournalEntry& e) { return RecoveryJournal::conflicts(e, m_season); });
    const QString text = u"Program minule neskončil řádně: %1 v lize „%2“ %3:\r\n\r\n%4\r\n\r\n"_s.arg(
        unsavedChangesText(unsaved.size()), m_season.caption, wasNotSaved(unsaved.size()),
        recoveryList(m_season, unsaved));
    QList<JournalEntry> restored;
    if (agreeing.size() == unsaved.size()) {
        if (Desktop::instance().message(nullptr, text + u"Obnovit je?"_s, Desktop::Icon::Question,
                                        Desktop::Buttons::YesNo, program::title) == Desktop::Answer::Yes)
            restored = unsaved;
    } else {
        // Another program wrote those slots since: its results are kept unless the user says otherwise.
        const int choice = Desktop::instance().choose(
            nullptr,
            text + u"Některé zápasy mezitím v souboru změnil jiný program. Obnovit vše, nic, nebo jen změny, "
                   "které se se souborem nepřou (výsledky ze souboru zůstanou)?"_s,
            Desktop::Icon::Question, {u"Obnovit vše"_s, u"Neobnovit nic"_s, u"Obnovit jen nesporné"_s}, program::title);
        restored = choice == 0 ? unsaved : choice == 1 ? QList<JournalEntry>() : agreeing;
    }
    if (restored.size() != unsaved.size()) {
        m_league.clearJournal(); // what was given up is never offered again
        for (const JournalEntry& e : restored)
            reportJournal(m_league.journal(e.round, e.slot, e.match));
    }
    m_league.restore(restored); // unsaved still, and kept in the journal until saved
}

void frmMain::reloadSeason()
{
    dropWhatIf();
    const int index = cboKolo->currentIndex();
    if (const Result<void> loaded = Form_Load(); !loaded.ok()) {
        Desktop::instance().tell(this, u"Nová data nelze načíst, zůstávají původní.\r\n"_s + loaded.error(),
                                 Desktop::Icon::Critical);
        return;
    }
    const QSignalBlocker block(cboKolo);
    cboKolo->setCurrentIndex(std::min(index, cboKolo->count() - 1)); // a league of fewer rounds now
    cboKolo_Click();
}

void frmMain::toggleWhatIf()
{
    storeDisplayedRound();
    m_league.setWhatIf(!whatIf());
    showWhatIfState();
    cboKolo_Click();
}

void frmMain::dropWhatIf()
{
    if (whatIf())
        toggleWhatIf();
}

void frmMain::showWhatIfState()
{
    setWindowTitle(whatIf() ? m_season.caption + u" – Co kdyby (nic se neukládá)"_s : m_season.caption);
    for (QLineEdit* field : result) {
        QPalette p = field->palette();
        p.setColor(QPalette::Base, whatIf() ? QColor(0xFFE8C0) : palette().color(QPalette::Base));
        field->setPalette(p);
    }
}

void frmMain::onRoundSelected(int index)
{
    if (index < 0)
        return;
    // The rows still show the round being left: keep what was typed there.
    storeDisplayedRound();
    cboKolo_Click();
}

void frmMain::cboKolo_Click()
{
    m_shownRound = cboKolo->currentIndex() + 1;
    if (showingPlayoff())
        return showPlayoffEntry();
    for (int i = 0; i < kMaxSlots; ++i) {
        for (QWidget* w : {static_cast<QWidget*>(Hteam[i]), static_cast<QWidget*>(dash[i]),
                           static_cast<QWidget*>(Ateam[i]), static_cast<QWidget*>(result[i])})
            w->setVisible(i < m_season.slots());
        result[i]->setReadOnly(false);
    }
    lblVolno->setVisible(m_season.teams() % 2 != 0);
    const int resting = m_season.restingTeam(m_shownRound);
    lblVolno->setText(resting ? u"volno: "_s + m_season.TymPodleCisla(resting) : QString());
    for (int i = 0; i < m_season.slots(); ++i) {
        const Match& m = m_season.match(i + 1, m_shownRound);
        m_home[i] = m.home;
        m_away[i] = m.away;
        Hteam[i]->setText(m_season.TymPodleCisla(m.home));
        Ateam[i]->setText(m_season.TymPodleCisla(m.away));
        result[i]->setText(m.result);
        markTypo(i, false);
        // A match off its round's day says so: its teams in italics, the day and kick-off in their tooltip.
        const QString own = ownDateText(m_season, i + 1, m_shownRound);
        for (QWidget* w :
             {static_cast<QWidget*>(Hteam[i]), static_cast<QWidget*>(Ateam[i]), static_cast<QWidget*>(result[i])}) {
            QFont f = w->font();
            f.setBold(false);
            f.setItalic(!own.isEmpty() && w != result[i]);
            w->setFont(f);
            if (w != result[i] || !own.isEmpty())
                w->setToolTip(own);
        }
    }
}

void frmMain::storeDisplayedRound()
{
    if (m_shownRound < 1)
        return;
    if (showingPlayoff())
        return storePlayoffEntry();
    QList<OpenLeague::MatchChange> changes;
    for (int i = 0; i < m_season.slots(); ++i) {
        const Match& stored = m_season.match(i + 1, m_shownRound);
        const QString text = result[i]->text();
        QString normalised = normaliseResult(text, m_season.rules);
        const QString refusal = rulesRefusal(text, m_season.rules);
        if ((normalised.isEmpty() && !text.trimmed().isEmpty()) || !refusal.isEmpty()) {
            // A typo costs nothing: it stays in the field, marked, the stored result is kept, and the user
            // hears and reads why.
            normalised = stored.result;
            if (!result[i]->toolTip().contains(u'„' + text.left(12) + u'“')) { // once for each typo
                Desktop::instance().beep();
                lblTypo->setText(u"„%1“ %2 — ponechán %3"_s.arg(
                    text.left(12), refusal.isEmpty() ? u"není platný výsledek"_s : u"– "_s + refusal,
                    normalised.isEmpty() ? u"prázdný výsledek"_s : normalised));
                m_typoTimer.start(pacing::ms(4000));
            }
            markTypo(i, true, refusal);
        } else if (normalised != text) {
            result[i]->setText(normalised);
        }
        changes.append({m_shownRound, i + 1, {m_home[i], m_away[i], normalised}});
    }
    reportJournal(m_league.apply(changes));
}

void frmMain::onResultEdited(int row)
{
    QLineEdit* field = result[row];
    const QString converted = convertKeypadInput(field->text());
    if (converted != field->text())
        field->setText(converted);
    field->end(false);
    // What the fan sees typed is what a crash brings back: a result is journalled as soon as it is one.
    const QString normalised = normaliseResult(converted, m_season.rules);
    const bool typo =
        (normalised.isEmpty() && !converted.trimmed().isEmpty()) || !rulesRefusal(converted, m_season.rules).isEmpty();
    if (!typo)
        markTypo(row, false);
    if (!typo && m_shownRound >= 1 && !showingPlayoff())
        reportJournal(m_league.journal(m_shownRound, row + 1, {m_home[row], m_away[row], normalised}));
}

void frmMain::reportJournal(const Result<void>& recorded)
{
    if (recorded.ok() || m_journalWarned)
        return; // once until the next save
    m_journalWarned = true;
    // Not in the middle of the keystroke or the focus change that journalled it.
    QTimer::singleShot(0, this, [this, reason = recorded.error()] {
        Desktop::instance().tell(
            this,
            u"Zadané výsledky se nedaří průběžně zapisovat pro případ pádu programu.\r\n"_s + reason +
                u"\r\n\r\nVýsledky zůstávají v paměti a uloží se při odchodu z ligy. Uvolněte místo na disku, "
                "nebo je uložte hned: Jiná liga (F11) nebo Ukončit program (Ctrl+X)."_s,
            Desktop::Icon::Warning);
    });
}

void frmMain::markTypo(int row, bool typo, const QString& refusal)
{
    QLineEdit* field = result[row];
    QPalette p = field->palette();
    p.setColor(QPalette::Text, typo ? QColor(0xC00000) : palette().color(QPalette::Text));
    field->setPalette(p);
    const QString typed = field->text().left(12);
    field->setToolTip(!typo               ? QString()
                      : refusal.isEmpty() ? u"„%1“ není platný výsledek a neuloží se. Zadejte např. 3:2, 3:2p "
                                            "(prodloužení) nebo 3:2n (nájezdy)."_s.arg(typed)
                                          : u"„%1“ se neuloží: %2."_s.arg(typed, refusal));
}

void frmMain::swapRow(int row)
{
    if (showingPlayoff() && m_playoffRow[static_cast<std::size_t>(row)] < 0)
        return; // a game played is as the file has it
    std::swap(m_home[row], m_away[row]);
    if (!showingPlayoff()) // a play-off game is played where the rows say once it is stored
        reportJournal(m_league.swapPairing(m_shownRound, row + 1));
    const QString tag = Ateam[row]->text();
    Ateam[row]->setText(Hteam[row]->text());
    Hteam[row]->setText(tag);
}

void frmMain::colourDashes()
{
    for (QLabel* d : dash) {
        QPalette p = d->palette();
        p.setColor(QPalette::Window, swapMode() ? QColor(0xE0E0E0) : QColor(0xC0C0C0));
        d->setPalette(p);
        d->setAutoFillBackground(swapMode());
    }
}

void frmMain::pageBy(int delta)
{
    storeDisplayedRound();
    const int index = cboKolo->currentIndex() + delta;
    if (index >= 0 && index < cboKolo->count())
        cboKolo->setCurrentIndex(index);
    result[0]->setFocus();
}

bool frmMain::resultFieldEvent(int i, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::FocusIn) {
        // After the click has placed the cursor: typing replaces the result instead of spoiling it.
        QTimer::singleShot(0, result[i], &QLineEdit::selectAll);
    } else if (type == QEvent::FocusOut) {
        storeDisplayedRound();
    } else if (type == QEvent::KeyPress) {
        const auto* press = static_cast<QKeyEvent*>(event);
        const int key = press->key();
        if (key == Qt::Key_Minus && press->modifiers().testFlag(Qt::KeypadModifier)) {
            result[i]->insert(u"p"_s); // the keypad's minus marks extra time, never parts the score
            return true;
        }
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && showingPlayoff()) {
            // A game of a series is saved at once: Enter commits it, then goes to the next game to type.
            storePlayoffEntry();
            for (int next = i + 1; next < kMaxSlots; ++next)
                if (result[next]->isVisible() && !result[next]->isReadOnly())
                    return result[next]->setFocus(), true;
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Down the round, and from its last row to the first of the next round.
            if (i < m_season.slots() - 1)
                result[i + 1]->setFocus();
            else if (m_shownRound < m_season.rounds())
                pageBy(1);
            return true;
        }
    } else if (type == QEvent::ShortcutOverride &&
               (static_cast<QKeyEvent*>(event)->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_X) ||
                static_cast<QKeyEvent*>(event)->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_K) ||
                static_cast<QKeyEvent*>(event)->modifiers() == Qt::AltModifier)) {
        // Ctrl+X ends the program here, it does not cut; Ctrl+K is "Co kdyby", not deleting to the end;
        // Alt+letter is the menu's, never a letter in the result.
        event->ignore();
        return true;
    }
    return false;
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Shift || key == Qt::Key_Control) {
            (key == Qt::Key_Shift ? m_shiftHeld : m_ctrlHeld) = type == QEvent::KeyPress;
            colourDashes();
        }
    }
    if (watched == this && type == QEvent::WindowDeactivate) {
        // Keys released in another window never reach this one.
        m_shiftHeld = m_ctrlHeld = false;
        colourDashes();
    }
    if (watched == cboKolo && type == QEvent::KeyPress && showingPlayoff() &&
        std::none_of(result.begin(), result.end(),
                     [](const QLineEdit* r) { return r->isVisible() && !r->isReadOnly(); })) {
        // A play-off entry without a game to type: a result typed here must not turn into a jump to a round.
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (!typed.isEmpty() && typed.at(0).isPrint()) {
            Desktop::instance().beep();
            return true;
        }
    }
    for (int i = 0; i < kMaxSlots; ++i) {
        if (watched == result[i])
            return resultFieldEvent(i, event);
        if (watched == dash[i] && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)) {
            const auto mods = static_cast<QMouseEvent*>(event)->modifiers();
            if (swapMode() || mods.testFlags(Qt::ControlModifier | Qt::ShiftModifier))
                swapRow(i); // every click of a fast double-click swaps
            else if (type == QEvent::MouseButtonDblClick)
                openHeadToHead(i);
            return true;
        }
        if ((watched == Hteam[i] || watched == Ateam[i]) && type == QEvent::MouseButtonDblClick) {
            openBalance(watched == Hteam[i] ? m_home[i] : m_away[i]);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

frmMain::SaveAttempt frmMain::trySave()
{
    Result<void> saved = m_league.save(Desktop::instance().now());
    if (saved.code() == OpenLeague::kChangedOnDisk) {
        const int choice = Desktop::instance().choose(
            this,
            saved.error() + u"\r\n\r\nNačíst soubor znovu: výsledky zadané od posledního uložení se ztratí.\r\n"
                            "Přepsat soubor: uloží se vaše výsledky, změny provedené jiným programem se ztratí."_s,
            Desktop::Icon::Warning, {u"Načíst soubor znovu"_s, u"Přepsat soubor"_s, u"Zrušit"_s}, program::title);
        if (choice == 0) {
            m_league.clearJournal(); // the user gives up what he typed
            reloadSeason();
        }
        if (choice != 1)
            return {};
        saved = m_league.save(Desktop::instance().now(), OpenLeague::Changes::Overwrite);
    }
    if (!saved.ok())
        return {false, saved.error()};
    m_league.clearJournal();
    m_journalWarned = false;
    return {true, {}};
}

bool frmMain::writeSeason()
{
    const SaveAttempt attempt = trySave();
    if (!attempt.error.isEmpty()) {
        Desktop::instance().tell(this,
                                 u"Výsledky se nepodařilo uložit.\r\n"_s + attempt.error +
                                     u"\r\n\r\nProgram zůstává otevřený a zadané výsledky jsou zachovány; "
                                     "odstraňte příčinu a zkuste to znovu."_s,
                                 Desktop::Icon::Critical);
    }
    return attempt.saved;
}

bool frmMain::saveBeforeUpdate()
{
    dropWhatIf();
    storeDisplayedRound();
    return writeSeason();
}

frmMain::Leaving frmMain::saveForLeaving()
{
    storeDisplayedRound();
    if (m_league.hypotheticalChanges() &&
        Desktop::instance().message(this,
                                    u"Jste v režimu „Co kdyby“: vymyšlené výsledky se neuloží a odchodem se "
                                    "zahodí. Skutečné výsledky se uloží.\r\n\r\nOpravdu odejít?"_s,
                                    Desktop::Icon::Question, Desktop::Buttons::YesNo,
                                    program::title) != Desktop::Answer::Yes)
        return Leaving::Stay;
    dropWhatIf();
    storeDisplayedRound();
    for (;;) {
        const SaveAttempt attempt = trySave();
        if (attempt.saved)
            return Leaving::Saved;
        if (attempt.error.isEmpty())
            return Leaving::Stay; // the user chose so
        const int choice = Desktop::instance().choose(
            this, u"Výsledky se nepodařilo uložit.\r\n"_s + attempt.error, Desktop::Icon::Critical,
            {u"Zkusit znovu"_s, u"Odejít bez uložení"_s, u"Zůstat v programu"_s}, program::title);
        if (choice == 2)
            return Leaving::Stay;
        if (choice == 1 &&
            Desktop::instance().message(
                this, u"Výsledky zadané od posledního uložení budou ztraceny.\r\n\r\nOpravdu odejít bez uložení?"_s,
                Desktop::Icon::Warning, Desktop::Buttons::YesNo, program::title) == Desktop::Answer::Yes) {
            m_league.clearJournal();
            return Leaving::WithoutSaving;
        }
    }
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (m_switching) {
        event->accept();
        return;
    }
    if (saveForLeaving() == Leaving::Stay) {
        event->ignore();
        return;
    }
    event->accept();
    QCoreApplication::quit();
}
