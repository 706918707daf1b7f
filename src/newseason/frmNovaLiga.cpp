// SPDX-License-Identifier: MIT
#include "frmNovaLiga.h"

#include "common/fit.h"
#include "season/seasonfile.h"

#include "platform/desktop.h"
#include "season/newleague.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>

using namespace Qt::StringLiterals;

void addDividingLines(QFormLayout* form, std::array<QSpinBox*, 3>& boxes)
{
    auto* lines = new QHBoxLayout;
    for (std::size_t k = 0; k < boxes.size(); ++k) {
        boxes[k] = new QSpinBox(form->parentWidget());
        boxes[k]->setObjectName(u"spnCara"_s + QString::number(k + 1));
        boxes[k]->setRange(0, kMaxTeams);
        lines->addWidget(boxes[k]);
    }
    form->addRow(u"Dělicí čáry (pod místem, 0 žádná):"_s, lines);
}

QString writeLeagueOrTell(const QString& folder, QLineEdit* code, const SeasonStore& season)
{
    const Result<QString> written = writeNewLeague(folder, code->text().trimmed(), season);
    if (written.ok())
        return written.value();
    const bool renamable = written.code() == kNameRefused;
    Desktop::instance().tell(code->window(), u"Ligu nelze vytvořit.\r\n"_s + written.error(),
                             renamable ? Desktop::Icon::Warning : Desktop::Icon::Critical);
    if (renamable)
        code->setFocus(); // another name is the fan's to choose
    return {};
}

frmNovaLiga::frmNovaLiga(const QString& folder, std::optional<SeasonStore> like, QWidget* parent)
    : QDialog(parent), m_folder(folder), m_like(std::move(like))
{
    setObjectName(u"frmNovaLiga"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"Nová liga"_s);
    auto* form = new QFormLayout(this);
    const QDate today = Desktop::instance().today();
    const int firstYear = today.month() >= 7 ? today.year() : today.year() - 1; // a season starts in autumn
    txtNazev = new QLineEdit(this);
    txtNazev->setObjectName(u"txtNazev"_s);
    form->addRow(u"&Název soutěže:"_s, txtNazev);
    txtSezona = new QLineEdit(u"%1/%2"_s.arg(firstYear).arg(firstYear + 1), this);
    txtSezona->setObjectName(u"txtSezona"_s);
    form->addRow(u"&Sezóna:"_s, txtSezona);
    txtTymy = new QPlainTextEdit(this);
    txtTymy->setObjectName(u"txtTymy"_s);
    txtTymy->setPlaceholderText(u"jeden tým na řádek, 2 až 20 týmů"_s);
    txtTymy->setTabChangesFocus(true);
    form->addRow(u"&Týmy:"_s, txtTymy);
    cmdJako = new QPushButton(u"Týmy a čáry &jako tato liga"_s, this);
    cmdJako->setObjectName(u"cmdJako"_s);
    cmdJako->setEnabled(m_like.has_value());
    form->addRow(QString(), cmdJako);
    addDividingLines(form, spnCary);
    spnZapasy = new QSpinBox(this);
    spnZapasy->setObjectName(u"spnZapasy"_s);
    spnZapasy->setRange(1, kMaxMeetings);
    spnZapasy->setValue(4);
    form->addRow(u"Vzájemných &zápasů každé dvojice:"_s, spnZapasy);
    addScoring(form);
    if (m_like)
        showScoring(m_like->rules); // a new season scores as the last did, unless the fan says otherwise
    // A line, not a field of sections: typed over, "16.9.2026" is 16.9.2026, not a day spliced into the old one.
    datStart = new QLineEdit(shortDate(QDate(firstYear, 9, 1)), this);
    datStart->setObjectName(u"datStart"_s);
    datStart->setPlaceholderText(u"D.M.RRRR"_s);
    form->addRow(u"&První hrací den:"_s, datStart);
    connect(datStart, &QLineEdit::textChanged, this, &frmNovaLiga::showStartProblem);
    addPlayingDays(form);
    txtKod = new QLineEdit(this);
    txtKod->setObjectName(u"txtKod"_s);
    form->addRow(u"Soubory sezona_…txt:"_s, txtKod);
    auto* buttons = acceptAndCancel(this, u"&Vytvořit ligu"_s, u"cmdVytvorit"_s, cmdVytvorit);
    form->addRow(buttons);
    setMinimumWidth(fontMetrics().horizontalAdvance(u'x') * 70);

    connect(txtNazev, &QLineEdit::textChanged, this, &frmNovaLiga::suggestCode);
    connect(txtSezona, &QLineEdit::textChanged, this, &frmNovaLiga::suggestCode);
    connect(txtKod, &QLineEdit::textEdited, this, [this] { m_codeEdited = true; });
    connect(cmdJako, &QPushButton::clicked, this, &frmNovaLiga::takeLike);
    connect(buttons, &QDialogButtonBox::accepted, this, &frmNovaLiga::create);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void frmNovaLiga::takeLike()
{
    txtTymy->setPlainText(m_like->teamNames().join(u'\n'));
    const int hr[] = {m_like->HR1, m_like->HR2, m_like->HR3};
    for (std::size_t k = 0; k < spnCary.size(); ++k)
        spnCary[k]->setValue(hr[k]);
    showScoring(m_like->rules);
}

void frmNovaLiga::addScoring(QFormLayout* form)
{
    cboBodovani = new QComboBox(this);
    cboBodovani->setObjectName(u"cboBodovani"_s);
    cboBodovani->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (const NamedRules& named : usualRules())
        cboBodovani->addItem(named.name);
    cboBodovani->setToolTip(u"Body za výhru, výhru po prodloužení nebo nájezdech, remízu, prohru po prodloužení "
                            "nebo nájezdech a prohru; bez remíz rozhodne nerozhodný zápas prodloužení."_s);
    form->addRow(u"&Bodování:"_s, cboBodovani);
}

void frmNovaLiga::showScoring(const LeagueRules& rules)
{
    const QList<NamedRules> usual = usualRules();
    const auto known = std::find_if(usual.begin(), usual.end(), [&](const NamedRules& n) { return n.rules == rules; });
    if (known == usual.end()) { // a league's own system, kept as the last choice
        while (cboBodovani->count() > usual.size())
            cboBodovani->removeItem(cboBodovani->count() - 1);
        cboBodovani->addItem(rulesName(rules));
        m_ownRules = rules;
    }
    cboBodovani->setCurrentIndex(known == usual.end() ? cboBodovani->count() - 1
                                                      : static_cast<int>(known - usual.begin()));
}

LeagueRules frmNovaLiga::chosenRules() const
{
    const QList<NamedRules> usual = usualRules();
    const int k = cboBodovani->currentIndex();
    return k >= 0 && k < usual.size() ? usual[k].rules : m_ownRules;
}

void frmNovaLiga::addPlayingDays(QFormLayout* form)
{
    auto* days = new QHBoxLayout;
    const QStringList dayNames{u"po"_s, u"út"_s, u"st"_s, u"čt"_s, u"pá"_s, u"so"_s, u"ne"_s};
    for (std::size_t d = 0; d < chkDny.size(); ++d) {
        chkDny[d] = new QCheckBox(dayNames[static_cast<qsizetype>(d)], this);
        chkDny[d]->setObjectName(u"chkDen"_s + QString::number(d + 1));
        chkDny[d]->setChecked(d == 1 || d == 4 || d == 6); // út, pá, ne
        days->addWidget(chkDny[d]);
    }
    form->addRow(u"Hrací dny:"_s, days);
    txtZacatky = new QLineEdit(this);
    txtZacatky->setObjectName(u"txtZacatky"_s);
    txtZacatky->setPlaceholderText(u"nepovinné, např. st=18:00, so=17:00"_s);
    form->addRow(u"Začátky &zápasů:"_s, txtZacatky);
    txtPrestavky = new QPlainTextEdit(this);
    txtPrestavky->setObjectName(u"txtPrestavky"_s);
    txtPrestavky->setPlaceholderText(u"přestávky bez zápasů, jedna na řádek: 9.11.2026-15.11.2026"_s);
    txtPrestavky->setTabChangesFocus(true);
    txtPrestavky->setMaximumHeight(txtPrestavky->fontMetrics().lineSpacing() * 4 + 12);
    form->addRow(u"Př&estávky:"_s, txtPrestavky);
}

void frmNovaLiga::suggestCode()
{
    if (!m_codeEdited)
        txtKod->setText(leagueCode(txtNazev->text(), txtSezona->text()));
}

QString frmNovaLiga::startProblem() const
{
    const QDate start = parseShortDate(datStart->text().trimmed());
    if (!start.isValid())
        return u"První hrací den „%1“ není datum ve tvaru D.M.RRRR."_s.arg(datStart->text().trimmed().left(20));
    return isSeasonDate(start) ? QString() : u"První hrací den: "_s + seasonDateProblem(start);
}

void frmNovaLiga::showStartProblem()
{
    const QString problem = startProblem();
    QPalette p = datStart->palette();
    p.setColor(QPalette::Text, problem.isEmpty() ? palette().color(QPalette::Text) : QColor(0xC00000));
    datStart->setPalette(p);
    datStart->setToolTip(problem);
}

void frmNovaLiga::create()
{
    if (const QString problem = startProblem(); !problem.isEmpty()) {
        Desktop::instance().tell(this, problem, Desktop::Icon::Warning);
        datStart->setFocus();
        return;
    }
    NewLeague request{txtNazev->text(),
                      txtSezona->text(),
                      {},
                      {},
                      spnZapasy->value(),
                      parseShortDate(datStart->text().trimmed()),
                      {},
                      {},
                      {},
                      {}};
    request.rules = chosenRules();
    for (const QString& line : txtTymy->toPlainText().split(u'\n'))
        if (!line.trimmed().isEmpty())
            request.teams << line.trimmed();
    for (std::size_t k = 0; k < spnCary.size(); ++k)
        request.lines[k] = spnCary[k]->value();
    for (std::size_t d = 0; d < chkDny.size(); ++d)
        if (chkDny[d]->isChecked())
            request.weekdays << static_cast<int>(d) + 1;
    const Result<QMap<int, QTime>> kickOffs = parseKickOffs(txtZacatky->text());
    if (!kickOffs.ok()) {
        Desktop::instance().tell(this, u"Začátky zápasů: "_s + kickOffs.error(), Desktop::Icon::Warning);
        txtZacatky->setFocus();
        return;
    }
    request.kickOffs = kickOffs.value();
    for (const QString& line : txtPrestavky->toPlainText().split(u'\n')) {
        if (line.trimmed().isEmpty())
            continue;
        const Result<std::pair<QDate, QDate>> range = parseDateRange(line);
        if (!range.ok()) {
            Desktop::instance().tell(this, range.error(), Desktop::Icon::Warning);
            return;
        }
        request.breaks << range.value();
    }
    const Result<SeasonStore> made = makeLeague(request);
    if (!made.ok()) {
        Desktop::instance().tell(this, made.error(), Desktop::Icon::Warning);
        return;
    }
    const QString written = writeLeagueOrTell(m_folder, txtKod, made.value());
    if (written.isEmpty())
        return;
    Q_EMIT created(written);
    accept();
}
