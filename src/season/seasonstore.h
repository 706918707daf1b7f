// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

inline constexpr int kTeams = 14;
inline constexpr int kRounds = 52;
inline constexpr int kSlots = 7;

// Where a team's matches are counted: 1 home, 2 away, 3 both.
namespace venue {
inline constexpr int Home = 1;
inline constexpr int Away = 2;
inline constexpr int Total = 3;
} // namespace venue

// One match slot of a round: team numbers 1..14 and the result string (empty when not played).
struct Match {
    int home = 0;
    int away = 0;
    QString result;
    bool operator==(const Match&) const = default;
};

// Points the league took away (negative) or awarded, outside the results.
struct PointsAdjustment {
    int team = 0;
    int points = 0;
    QString reason;
    bool operator==(const PointsAdjustment&) const = default;
};

// One season of one league: teams, 52 dated rounds of seven matches, table dividing lines.
// Rounds, slots and teams are numbered from 1; an index out of range throws std::out_of_range.
class SeasonStore final {
public:
    // League name followed by two blanks and the season, as the competition file builds it.
    QString caption;
    // The season text alone, e.g. "2007/2008".
    QString season;
    int HR1 = 0;
    int HR2 = 0;
    int HR3 = 0;
    // From the league's adjustments file, in its order; counted in every total table's points.
    QList<PointsAdjustment> adjustments;
    // Why the league's adjustments file was not read, in Czech; empty when it was, or when there is none.
    QString adjustmentsIgnored;
    // Holds the hypothetical results of "Co kdyby": every view says so, and it is never written.
    bool hypothetical = false;
    int adjustmentOf(int team) const;

    QDate DATUM_KOLA(int round) const;
    void setDate(int round, const QDate& date);

    const Match& match(int slot, int round) const;
    Match& match(int slot, int round);
    // The pairing as the schedule file writes it: home number, "-", away number.
    QString ZAPAS(int slot, int round) const;
    const QString& VYSLEDEK(int slot, int round) const { return match(slot, round).result; }

    QString TymPodleCisla(int cislo) const;
    void setTeamName(int cislo, const QString& name);
    // The 14 names in team-number order, as every team list shows them.
    QStringList teamNames() const { return {m_teamNames.begin(), m_teamNames.end()}; }
    // The number of the team with exactly this name, the highest on equal names, 0 when none.
    int CisloPodleTymu(const QString& name) const;

    bool operator==(const SeasonStore&) const = default;

private:
    std::array<QDate, kRounds> m_dates;
    std::array<std::array<Match, kSlots>, kRounds> m_matches;
    std::array<QString, kTeams> m_teamNames;
};

// Text of an item of a round list: "12. kolo  -  14.9.2007", never from the system locale.
QString roundEntryText(int round, const QDate& date);
// Day.month.year without leading zeros.
QString shortDate(const QDate& date);
// The round the main window shows on opening: the first dated today or later, else 52.
int roundShownOnOpening(const SeasonStore& store, const QDate& today);
