// SPDX-License-Identifier: MIT
#include "frmTable.h"

#include "common/fit.h"
#include "common/twips.h"
#include "export/saveview.h"
#include "standings/ranking.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Left edge and width of the ten columns, in twips.
constexpr int columnLeft[] = {300, 750, 2600, 2950, 3300, 3650, 4000, 4350, 4700, 5450};
constexpr int columnWidth[] = {400, 1800, 350, 350, 350, 350, 350, 350, 700, 450};

// The form's letters coloured: wins green, losses red, draws as the text.
QString formHtml(const QString& form)
{
    QString html;
    for (QChar c : form) {
        const QString letter(c);
        html += c.toUpper() == u'V'   ? u"<span style=\"color:#1a7f1a\">"_s + letter + u"</span>"
                : c.toUpper() == u'P' ? u"<span style=\"color:#c00000\">"_s + letter + u"</span>"
                                      : letter;
    }
    return html;
}

constexpr int kRowHeight = 315;
constexpr int kDesignedRows = 14;

int rowTop(int row)
{
    return 1050 + kRowHeight * row;
}

} // namespace

frmTable::frmTable(const SeasonStore& season, int firstRound, int lastRound, const QString& caption, QWidget* parent)
    : QDialog(parent), m_season(season), m_first(firstRound), m_last(lastRound),
      m_stats(DataProTabulku(season, firstRound, lastRound))
{
    setObjectName(u"frmTable"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(caption);
    setFixedSize(tw(6150), tw(below(6480)));

    auto* Label4 = new QLabel(u"typ tabulky:"_s, this);
    Label4->setGeometry(twipsRect(300, 60, 1800, 240));
    cbo1 = new QComboBox(this);
    cbo1->setObjectName(u"cbo1"_s);
    cbo1->setGeometry(twipsRect(300, 300, 1800, 330));
    auto* Label5 = new QLabel(u"řadit podle:"_s, this);
    Label5->setGeometry(twipsRect(2600, 60, 3250, 240));
    cbo2 = new QComboBox(this);
    cbo2->setObjectName(u"cbo2"_s);
    cbo2->setGeometry(twipsRect(2600, 300, 3250, 330));
    cbo2->setMaxVisibleItems(13);
    foclost = new QPushButton(u"foclost"_s, this);
    foclost->setObjectName(u"foclost"_s);
    foclost->setGeometry(twipsRect(0, -2000, 300, 300));

    addCells();
    addFormColumns();
    addHeaders();
    placeZoneBands({season.HR1, season.HR2, season.HR3});
    auto* Label1 = new QLabel(u"pořadí, tým, počet zápasů, výher, výher v prodloužení, remíz,\n"
                              "proher v prodloužení, proher, skóre, body"_s,
                              this);
    Label1->setGeometry(tw(300), tw(below(5550)), width() - 2 * tw(300), tw(480));
    Label1->setAlignment(Qt::AlignCenter);
    constexpr int designedTop[] = {5865, 6000, 6240};
    const int hr[] = {season.HR1, season.HR2, season.HR3};
    for (int i = 0; i < 3; ++i) {
        lines[i] = new QFrame(this);
        lines[i]->setObjectName(u"line"_s + QString::number(i));
        lines[i]->setFrameShape(QFrame::HLine);
        lines[i]->setStyleSheet(u"color: #c00000"_s);
        placeLine(i, hr[i], below(designedTop[i]));
    }

    addRulesAndLegend();
    addAdjustmentsNote();

    cbo1->addItems(venueCaptions());
    cbo2->addItems(criterionCaptions());
    cbo2->setCurrentIndex(static_cast<int>(Criterion::Points));
    cbo1->setCurrentIndex(venue::Total - 1);
    cbo1_Click();
    // A box keeps the keyboard after a choice, so that the arrows browse its entries.
    for (QComboBox* box : {cbo1, cbo2, cboRules})
        connect(box, &QComboBox::currentIndexChanged, this, &frmTable::cbo1_Click);
    addSaveCommand(this, [this] {
        return standingsView(
            m_season, m_first, m_last, cbo1->currentIndex() + 1, static_cast<Criterion>(cbo2->currentIndex()),
            cboRules->currentIndex() == 1 ? RankingRules::Final : RankingRules::Running, windowTitle());
    });
    fitToScreen(this);
}

int frmTable::below(int designedTop) const
{
    return designedTop + kRowHeight * (m_season.teams() - kDesignedRows);
}

void frmTable::addCells()
{
    QFont bold = font();
    bold.setBold(true);
    cells.resize(m_season.teams());
    for (int r = 0; r < m_season.teams(); ++r) {
        for (int c = 0; c < 10; ++c) {
            auto* l = new QLabel(this);
            l->setGeometry(twipsRect(columnLeft[c], rowTop(r), columnWidth[c], 255));
            l->setAlignment((c == 1 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
            if (c == 1 || c == 9)
                l->setFont(bold);
            l->setObjectName(u"cell%1_%2"_s.arg(r).arg(c));
            cells[r][c] = l;
        }
    }
    // Names and three-digit scores need more than the designed columns in most fonts.
    const int widen[] = {1, 8};
    const QStringList samples[] = {m_season.teamNames(), {u"888:888"_s, u"(=100%)"_s, u"(=8888)"_s}};
    for (int k = 0; k < 2; ++k) {
        const int c = widen[k];
        // The score column keeps a blank's gap to the losses before it, a percentage "(=100%)" too.
        const int gap = c == 8 ? cells[0][c]->fontMetrics().horizontalAdvance(u' ') * 2 : 0;
        const int dx = widthToShow(cells[0][c], samples[k]) + gap - cells[0][c]->width();
        if (dx <= 0)
            continue;
        makeRoom(this, cells[0][c + 1]->x(), dx);
        for (int r = 0; r < cells.size(); ++r)
            cells[r][c]->resize(cells[r][c]->width() + dx, cells[r][c]->height());
    }
}

void frmTable::addHeaders()
{
    QFont bold = font();
    bold.setBold(true);
    // Column headers as Czech league tables have them, over the designed columns.
    const QStringList headers{{}, {}, u"Z"_s, u"V"_s, u"VP"_s, u"R"_s, u"PP"_s, u"P"_s, u"Skóre"_s, u"B"_s};
    for (int c = 2; c < 10; ++c) {
        auto* h = new QLabel(headers[c], this);
        h->setObjectName(u"header%1"_s.arg(c));
        h->setGeometry(cells[0][c]->x(), tw(rowTop(0) - 300), cells[0][c]->width(), tw(255));
        h->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        h->setFont(bold);
    }
}

void frmTable::addRulesAndLegend()
{
    // Beyond the designed window: the order on equal points and what the colours of the positions say.
    const int extra = 900;
    setFixedHeight(height() + tw(extra));
    auto* rulesLabel = new QLabel(u"při rovnosti bodů:"_s, this);
    rulesLabel->setGeometry(tw(300), tw(below(6330)), tw(1800), tw(330));
    cboRules = new QComboBox(this);
    cboRules->setObjectName(u"cboRules"_s);
    cboRules->addItems({u"průběžné pořadí"_s, u"konečné pořadí (vzájemné zápasy)"_s});
    // The whole season over: the final order, the one the play-off seeds by; the running one a choice away.
    if (m_first == 1 && m_last == m_season.rounds())
        cboRules->setCurrentIndex(shownRankingRules(m_season) == RankingRules::Final ? 1 : 0);
    cboRules->setGeometry(tw(2100), tw(below(6330)), std::max(tw(3000), widthToShowAll(cboRules)), tw(330));
    auto* marksLegend = new QLabel(u"<span style=\"color:#008000\">zelené pořadí</span> = jistě nad čarou<br>"
                                   "<span style=\"color:#909090\">šedé</span> = už nemůže skončit nad čarou"_s,
                                   this);
    marksLegend->setGeometry(tw(300), tw(below(6720)), width() - 2 * tw(300), tw(600));
    marksLegend->setAlignment(Qt::AlignCenter);
    if (cboRules->geometry().right() + tw(300) > width())
        setFixedWidth(cboRules->geometry().right() + tw(300));
}

void frmTable::addFormColumns()
{
    QFont bold = font();
    bold.setBold(true);
    const int gap = cells[0][9]->fontMetrics().horizontalAdvance(u' ');
    const int markWidth = widthToShow(cells[0][9], {u"*"_s});
    const int movedWidth = widthToShow(cells[0][9], {u"▲19"_s, u"▼19"_s});
    QLabel probe;
    probe.setFont(bold);
    const int formWidth = widthToShow(&probe, {u"VVVVV"_s, u"PPPPP"_s, u"Forma"_s});
    const int left = cells[0][9]->geometry().right() + 1;
    makeRoom(this, left, markWidth + movedWidth + formWidth + 3 * gap);
    mark.resize(cells.size()), moved.resize(cells.size()), form.resize(cells.size());
    for (int r = 0; r < cells.size(); ++r) {
        const int top = cells[r][9]->y(), height = cells[r][9]->height();
        mark[r] = new QLabel(this);
        mark[r]->setGeometry(left, top, markWidth, height);
        moved[r] = new QLabel(this);
        moved[r]->setGeometry(left + markWidth + gap, top, movedWidth, height);
        moved[r]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        form[r] = new QLabel(this);
        form[r]->setGeometry(moved[r]->geometry().right() + 1 + 2 * gap, top, formWidth, height);
        form[r]->setFont(bold);
        form[r]->setTextFormat(Qt::RichText);
        mark[r]->setObjectName(u"mark"_s + QString::number(r));
        moved[r]->setObjectName(u"moved"_s + QString::number(r));
        form[r]->setObjectName(u"form"_s + QString::number(r));
    }
    auto* h = new QLabel(u"Forma"_s, this);
    h->setObjectName(u"headerForma"_s);
    h->setGeometry(form[0]->x(), tw(rowTop(0) - 300), formWidth, tw(255));
    h->setFont(bold);
    const QString legend = u"posledních pět zápasů, nejstarší vlevo: V výhra, v výhra v prodloužení či nájezdech, "
                           "R remíza, p prohra v prodloužení či nájezdech, P prohra"_s;
    h->setToolTip(legend);
    for (QLabel* letters : form)
        letters->setToolTip(legend);
}

void frmTable::addAdjustmentsNote()
{
    if (m_season.adjustments.isEmpty() && m_season.adjustmentsIgnored.isEmpty())
        return;
    // A file that was not read is named with its line and reason, which may wrap once.
    const int noteLines = m_season.adjustmentsIgnored.isEmpty() ? static_cast<int>(m_season.adjustments.size()) : 3;
    lblPoznamka = new QLabel(this);
    lblPoznamka->setObjectName(u"lblPoznamka"_s);
    lblPoznamka->setWordWrap(true);
    const int top = height();
    const int lineHeight = lblPoznamka->fontMetrics().lineSpacing();
    lblPoznamka->setGeometry(tw(300), top, width() - 2 * tw(300), noteLines * lineHeight + 4);
    setFixedHeight(top + lblPoznamka->height() + tw(120));
}

int frmTable::tableRight() const
{
    return !form.isEmpty() ? form[0]->geometry().right() : cells[0][9]->geometry().right();
}

void frmTable::placeZoneBands(const std::array<int, 3>& positions)
{
    // A light band per zone between the dividing lines, behind the rows; a position of 0 divides nothing.
    std::vector<int> ends;
    for (int p : positions)
        if (p >= 1 && p < m_season.teams())
            ends.push_back(p);
    std::sort(ends.begin(), ends.end());
    ends.push_back(m_season.teams());
    constexpr const char* colours[] = {"#e2f3e2", "#e2ebf8", "#f4f4f4", "#f8e2e2"};
    const int left = cells[0][0]->x(), right = tableRight();
    int first = 1;
    for (std::size_t k = 0; k < ends.size(); ++k) {
        if (ends[k] < first)
            continue; // two lines under one position
        auto* band = new QFrame(this);
        band->setObjectName(u"zone"_s + QString::number(k));
        band->setStyleSheet(u"background: %1"_s.arg(QLatin1StringView(colours[std::min<std::size_t>(k, 3)])));
        const int top = tw(rowTop(first - 1) - 20);
        band->setGeometry(left, top, right - left + 1, tw(rowTop(ends[k] - 1) + 275) - top);
        band->lower();
        bands.push_back(band);
        first = ends[k] + 1;
    }
}

void frmTable::placeLine(int index, int position, int designedTop)
{
    // A position of 0 leaves the line at its designed place, under the legend.
    const int top = position > 0 ? rowTop(position - 1) + 275 : designedTop;
    const int left = cells[0][0]->x(), right = tableRight();
    lines[index]->setGeometry(left, tw(top - 15), right - left + 1, tw(30));
}

void frmTable::cbo1_Click()
{
    const RankingRules rules = cboRules->currentIndex() == 1 ? RankingRules::Final : RankingRules::Running;
    const Standings st = SpocitatPoradi(m_season, m_stats, cbo1->currentIndex() + 1,
                                        static_cast<Criterion>(cbo2->currentIndex()), rules, m_first, m_last);
    for (int r = 0; r < cells.size(); ++r) {
        const StandingsRow& row = st.rows[r];
        const QString texts[] = {row.pos, row.name, row.gp, row.w, row.w_ot, row.t, row.l_ot, row.l, row.sco, row.pts};
        for (int c = 0; c < 10; ++c)
            cells[r][c]->setText(texts[c]);
        cells[r][8]->setToolTip(row.scoTooltip);
        QStringList about;
        if (!row.decidedBy.isEmpty())
            about << u"o pořadí s týmem nad ním rozhodlo: "_s + row.decidedBy;
        for (int k : row.clinched)
            about << u"jistě nad čarou %1"_s.arg(k);
        for (int k : row.out)
            about << u"už nemůže skončit nad čarou %1"_s.arg(k);
        for (int c : {0, 1})
            cells[r][c]->setToolTip(about.join(u'\n'));
        mark[r]->setText(row.reasons.isEmpty() ? QString() : u"*"_s);
        mark[r]->setToolTip(row.reasons.join(u'\n'));
        moved[r]->setText(movedText(row.moved));
        form[r]->setText(formHtml(row.form));
        cells[r][0]->setStyleSheet(!row.clinched.isEmpty() ? u"color: #008000"_s
                                   : !row.out.isEmpty()    ? u"color: #909090"_s
                                                           : QString());
    }
    // The column shows the sort's own value where it is not the score.
    const auto criterion = static_cast<Criterion>(cbo2->currentIndex());
    auto* scoreHeader = findChild<QLabel*>(u"header8"_s);
    scoreHeader->setText(criterion == Criterion::ExtraTimeSuccess   ? u"Úsp."_s
                         : criterion == Criterion::ExtraTimeMatches ? u"Prodl."_s
                                                                    : u"Skóre"_s);
    scoreHeader->setToolTip(
        criterion == Criterion::ExtraTimeSuccess
            ? u"úspěšnost v prodloužení: podíl výher v zápasech rozhodnutých v prodloužení či nájezdech"_s
        : criterion == Criterion::ExtraTimeMatches ? u"zápasy rozhodnuté v prodloužení či nájezdech"_s
                                                   : QString());
    if (lblPoznamka)
        lblPoznamka->setText(adjustmentNotes(m_season, cbo1->currentIndex() + 1, m_first, m_last).join(u'\n'));
    for (QFrame* line : lines)
        line->setVisible(st.linesShown);
    for (QFrame* band : bands)
        band->setVisible(st.linesShown);
}
