// SPDX-License-Identifier: MIT
#include "seasonstore.h"

#include <stdexcept>

namespace {

qsizetype checked(int value, int last, const char* what)
{
    if (value < 1 || value > last)
        throw std::out_of_range(std::string(what) + " out of range: " + std::to_string(value));
    return value - 1;
}

} // namespace

int SeasonStore::adjustmentOf(int team) const
{
    int sum = 0;
    for (const PointsAdjustment& a : adjustments)
        sum += a.team == team ? a.points : 0;
    return sum;
}

void SeasonStore::setShape(int teams, int rounds)
{
    const int oldSlots = slots();
    QList<Match> matches(qsizetype(rounds) * (teams / 2));
    for (int r = 0; r < std::min(rounds, this->rounds()); ++r) {
        for (int m = 0; m < std::min(oldSlots, teams / 2); ++m)
            matches[r * (teams / 2) + m] = m_matches[r * oldSlots + m];
    }
    m_matches = std::move(matches);
    m_dates.resize(rounds);
    m_teamNames.resize(teams);
}

int SeasonStore::restingTeam(int round) const
{
    if (teams() % 2 == 0)
        return 0;
    int seen = 0; // team numbers fit an int's bits
    for (int m = 1; m <= slots(); ++m)
        seen |= 1 << match(m, round).home | 1 << match(m, round).away;
    int resting = 0;
    for (int t = 1; t <= teams(); ++t) {
        if (!(seen >> t & 1)) {
            if (resting)
                return 0;
            resting = t;
        }
    }
    return resting;
}

QDate SeasonStore::DATUM_KOLA(int round) const
{
    return m_dates[checked(round, rounds(), "round")];
}

void SeasonStore::setDate(int round, const QDate& date)
{
    m_dates[checked(round, rounds(), "round")] = date;
}

const Match& SeasonStore::match(int slot, int round) const
{
    return m_matches[checked(round, rounds(), "round") * slots() + checked(slot, slots(), "slot")];
}

Match& SeasonStore::match(int slot, int round)
{
    return m_matches[checked(round, rounds(), "round") * slots() + checked(slot, slots(), "slot")];
}

QString SeasonStore::ZAPAS(int slot, int round) const
{
    const Match& m = match(slot, round);
    return QString::number(m.home) + u'-' + QString::number(m.away);
}

QString SeasonStore::TymPodleCisla(int cislo) const
{
    return m_teamNames[checked(cislo, teams(), "team")];
}

void SeasonStore::setTeamName(int cislo, const QString& name)
{
    m_teamNames[checked(cislo, teams(), "team")] = name;
}

int SeasonStore::CisloPodleTymu(const QString& name) const
{
    int found = 0;
    for (int t = 1; t <= teams(); ++t) {
        if (m_teamNames[t - 1] == name)
            found = t;
    }
    return found;
}

QString shortDate(const QDate& date)
{
    return QString::number(date.day()) + u'.' + QString::number(date.month()) + u'.' + QString::number(date.year());
}

QString roundEntryText(int round, const QDate& date)
{
    return QString::number(round) + u". kolo  -  " + shortDate(date);
}

int roundShownOnOpening(const SeasonStore& store, const QDate& today)
{
    int round = 1;
    while (round < store.rounds() && store.DATUM_KOLA(round) < today)
        ++round;
    return round;
}

QDate SeasonStore::matchDay(int slot, int round) const
{
    match(slot, round); // a match out of range throws, as everywhere
    const auto own = matchDates.find({round, slot});
    if (own == matchDates.end())
        return DATUM_KOLA(round);
    return own->date.isValid() ? own->date : own->postponed ? QDate() : DATUM_KOLA(round);
}

QTime SeasonStore::matchTime(int slot, int round) const
{
    return matchDates.value({round, slot}).time;
}

bool SeasonStore::postponed(int slot, int round) const
{
    const MatchDate own = matchDates.value({round, slot});
    return own.postponed && !own.date.isValid();
}

SeasonStore playedBy(const SeasonStore& season, const QDate& day)
{
    SeasonStore then = season;
    for (int r = 1; r <= season.rounds(); ++r)
        for (int m = 1; m <= season.slots(); ++m)
            if (const QDate played = season.matchDay(m, r); !played.isValid() || played > day)
                then.match(m, r).result.clear();
    return then;
}
