// SPDX-License-Identifier: MIT
#include "seasonstore.h"

#include <stdexcept>

namespace {

std::size_t checked(int value, int last, const char* what)
{
    if (value < 1 || value > last)
        throw std::out_of_range(std::string(what) + " out of range: " + std::to_string(value));
    return static_cast<std::size_t>(value - 1);
}

} // namespace

int SeasonStore::adjustmentOf(int team) const
{
    int sum = 0;
    for (const PointsAdjustment& a : adjustments)
        sum += a.team == team ? a.points : 0;
    return sum;
}

QDate SeasonStore::DATUM_KOLA(int round) const
{
    return m_dates[checked(round, kRounds, "round")];
}

void SeasonStore::setDate(int round, const QDate& date)
{
    m_dates[checked(round, kRounds, "round")] = date;
}

const Match& SeasonStore::match(int slot, int round) const
{
    return m_matches[checked(round, kRounds, "round")][checked(slot, kSlots, "slot")];
}

Match& SeasonStore::match(int slot, int round)
{
    return m_matches[checked(round, kRounds, "round")][checked(slot, kSlots, "slot")];
}

QString SeasonStore::ZAPAS(int slot, int round) const
{
    const Match& m = match(slot, round);
    return QString::number(m.home) + u'-' + QString::number(m.away);
}

QString SeasonStore::TymPodleCisla(int cislo) const
{
    return m_teamNames[checked(cislo, kTeams, "team")];
}

void SeasonStore::setTeamName(int cislo, const QString& name)
{
    m_teamNames[checked(cislo, kTeams, "team")] = name;
}

int SeasonStore::CisloPodleTymu(const QString& name) const
{
    int found = 0;
    for (int t = 1; t <= kTeams; ++t) {
        if (m_teamNames[static_cast<std::size_t>(t - 1)] == name)
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
    while (round < kRounds && store.DATUM_KOLA(round) < today)
        ++round;
    return round;
}
