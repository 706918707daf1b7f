// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTime>

#include "season/rules.h"

// The largest league the files may describe; fixed-capacity buffers of the hot loops are sized by them.
inline constexpr int kMaxTeams = 20;
inline constexpr int kMaxRounds = 200;
inline constexpr int kMaxSlots = kMaxTeams / 2;

// Where a team's matches are counted: 1 home, 2 away, 3 both.
namespace venue {
inline constexpr int Home = 1;
inline constexpr int Away = 2;
inline constexpr int Total = 3;
} // namespace venue

// One match slot of a round: team numbers 1..N and the result string (empty when not played).
struct Match {
    int home = 0;
    int away = 0;
    QString result;
    bool operator==(const Match&) const = default;
};

// A result for a slot of a round, its pairing as it stands.
struct SlotResult {
    int round = 0;
    int slot = 0;
    QString result;
};

// Points the league took away (negative) or awarded, outside the results.
struct PointsAdjustment {
    int team = 0;
    int points = 0;
    QString reason;
    bool operator==(const PointsAdjustment&) const = default;
};

// A match's own date where it is not its round's: a postponed game played weeks later, a round spread over a
// weekend; a kick-off time; or postponed with no date yet.
struct MatchDate {
    QDate date;
    QTime time;
    bool postponed = false;
    bool operator==(const MatchDate&) const = default;
};

// One season of one league: N teams, R dated rounds of N/2 matches (an odd N leaves one team resting
// each round), table dividing lines. Rounds, slots and teams are numbered from 1; an index out of range
// throws std::out_of_range.
class SeasonStore final {
public:
    SeasonStore() = default;
    SeasonStore(int teams, int rounds) { setShape(teams, rounds); }
    int teams() const { return static_cast<int>(m_teamNames.size()); }
    int rounds() const { return static_cast<int>(m_dates.size()); }
    // Matches a round: every team plays, but one when N is odd.
    int slots() const { return teams() / 2; }
    // Keeps what fits the new shape; new rounds are undated and unpaired, new teams unnamed.
    void setShape(int teams, int rounds);
    // The team a round leaves out: 0 for an even N, or when the round pairs a team twice.
    int restingTeam(int round) const;

    // League name followed by two blanks and the season, as the competition file builds it.
    QString caption;
    // The season text alone, e.g. "2007/2008".
    QString season;
    int HR1 = 0;
    int HR2 = 0;
    int HR3 = 0;
    LeagueRules rules; // how the league scores
    // From the league's adjustments file, in its order; counted in every total table's points.
    QList<PointsAdjustment> adjustments;
    // Why the league's adjustments file was not read, in Czech; empty when it was, or when there is none.
    QString adjustmentsIgnored;
    // From the league's dates file: the matches whose date or time is their own, by (round, slot).
    QMap<std::pair<int, int>, MatchDate> matchDates;
    // Why the league's dates file was not read, in Czech; empty when it was, or when there is none.
    QString matchDatesIgnored;
    // The day a match is played: its own date, else its round's; invalid for a game postponed without a date.
    QDate matchDay(int slot, int round) const;
    // The kick-off, when known.
    QTime matchTime(int slot, int round) const;
    bool postponed(int slot, int round) const;
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
    // The N names in team-number order, as every team list shows them.
    const QStringList& teamNames() const { return m_teamNames; }
    // The number of the team with exactly this name, the highest on equal names, 0 when none.
    int CisloPodleTymu(const QString& name) const;

    bool operator==(const SeasonStore&) const = default;

private:
    QList<QDate> m_dates;
    QList<Match> m_matches; // round by round, slots() to a round
    QStringList m_teamNames;
};

// The season as it stood on the evening of `day`: the results of matches played later by their own dates (or
// postponed without one) left out — what the papers print the next morning.
SeasonStore playedBy(const SeasonStore& season, const QDate& day);

// Text of an item of a round list: "12. kolo  -  14.9.2007", never from the system locale.
QString roundEntryText(int round, const QDate& date);
// Day.month.year without leading zeros.
QString shortDate(const QDate& date);
// The round the main window shows on opening: the first dated today or later, else the last.
int roundShownOnOpening(const SeasonStore& store, const QDate& today);
