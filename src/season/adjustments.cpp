// SPDX-License-Identifier: MIT
#include "adjustments.h"

#include "datafiles.h"
#include "matchdates.h"
#include "seasonfile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

Result<void> checkAdjustment(const SeasonStore& league, const PointsAdjustment& a)
{
    if (a.team < 1 || a.team > league.teams() || league.TymPodleCisla(a.team).isEmpty())
        return Result<void>::failure(u"tým č. %1 v lize není (čísla týmů 1 až %2)."_s.arg(a.team).arg(league.teams()));
    if (a.points < -kMaxAdjustment || a.points > kMaxAdjustment)
        return Result<void>::failure(u"úprava %1 bodů není celé číslo od −99 do 99."_s.arg(a.points));
    if (a.reason.trimmed().isEmpty())
        return Result<void>::failure(u"chybí důvod úpravy."_s);
    if (a.reason.size() > kMaxReasonLength)
        return Result<void>::failure(u"důvod je delší než %1 znaků."_s.arg(kMaxReasonLength));
    if (std::any_of(a.reason.begin(), a.reason.end(), [](QChar c) { return c.category() == QChar::Other_Control; }))
        return Result<void>::failure(u"důvod obsahuje řídicí znak, který soubor neuloží."_s);
    return {};
}

QStringList adjustmentsLines(const QList<PointsAdjustment>& adjustments)
{
    QStringList lines{u"; úpravy bodů: tým;body;důvod"_s};
    for (const PointsAdjustment& a : adjustments)
        lines << u"%1;%2;%3"_s.arg(a.team).arg(a.points).arg(a.reason);
    return lines;
}

namespace {

// Empty lines and ";" comments are skipped; the league names the teams.
Result<QList<PointsAdjustment>> readAdjustments(const QByteArray& bytes, const QString& fileName,
                                                const SeasonStore& league)
{
    static const QRegularExpression form(u"^(\\d{1,2});([+-]?\\d{1,2});(.*)$"_s);
    QList<PointsAdjustment> out;
    // Read only in part, the next save would drop what lies beyond.
    if (bytes.count('\n') >= kMaxDataLines)
        return Result<QList<PointsAdjustment>>::failure(
            u"Soubor „%1“ má přes %2 řádků, nejde o data programu."_s.arg(fileName).arg(kMaxDataLines));
    const QStringList lines = decodeLines(bytes);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].isEmpty() || lines[i].startsWith(u';'))
            continue;
        const QRegularExpressionMatch m = form.match(lines[i]);
        const PointsAdjustment a{m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).trimmed()};
        const QString error = m.hasMatch() ? checkAdjustment(league, a).error() : u"řádek není TÝM;BODY;DŮVOD."_s;
        if (!error.isEmpty())
            return Result<QList<PointsAdjustment>>::failure(
                u"Soubor „%1“, řádek %2: %3"_s.arg(fileName).arg(i + 1).arg(error));
        out.append(a);
    }
    return out;
}

// None when the file does not exist.
Result<QList<PointsAdjustment>> loadAdjustments(const QString& competitionPath, const SeasonStore& league)
{
    const QString path = adjustmentsFileFor(competitionPath);
    if (!QFileInfo::exists(path))
        return QList<PointsAdjustment>();
    const Result<QByteArray> file = readDataFile(path);
    if (!file.ok())
        return Result<QList<PointsAdjustment>>::failureOf(file);
    return readAdjustments(file.value(), QFileInfo(path).fileName(), league);
}

} // namespace

Result<ReadLeague> readLeague(const QString& competitionPath)
{
    Result<SeasonStore> loaded = loadSeason(competitionPath, scheduleFileFor(competitionPath));
    if (!loaded.ok())
        return Result<ReadLeague>::failureOf(loaded);
    ReadLeague league{std::move(loaded).value(), {}, {}};
    const Result<QList<PointsAdjustment>> adjustments = loadAdjustments(competitionPath, league.store);
    if (adjustments.ok())
        league.store.adjustments = adjustments.value();
    else
        league.warning = league.store.adjustmentsIgnored = adjustments.error();
    // The matches' own dates: a broken file leaves every match on its round's date, and is said.
    if (const QString path = matchDatesFileFor(competitionPath); QFileInfo::exists(path)) {
        const Result<QByteArray> bytes = readDataFile(path);
        const auto dates = bytes.ok() ? readMatchDates(bytes.value(), QFileInfo(path).fileName(), league.store)
                                      : Result<QMap<std::pair<int, int>, MatchDate>>::failureOf(bytes);
        if (dates.ok())
            league.store.matchDates = dates.value();
        else
            league.store.matchDatesIgnored = dates.error();
    }
    league.excluded = excludedResults(league.store);
    return league;
}

QString excludedResults(const SeasonStore& season)
{
    QStringList named;
    int count = 0;
    for (int r = 1; r <= season.rounds(); ++r)
        for (int m = 1; m <= season.slots(); ++m) {
            const Match& match = season.match(m, r);
            if (match.result.isEmpty() || rulesRefusal(match.result, season.rules).isEmpty())
                continue;
            if (++count <= 5)
                named << u"%1. kolo, %2 – %3 %4"_s.arg(r).arg(season.TymPodleCisla(match.home),
                                                              season.TymPodleCisla(match.away), match.result);
        }
    if (count == 0)
        return {};
    return u"Pravidla soutěže (%1) nepovolují %2 uložených výsledků: %3%4. Zůstávají, jak jsou; opravte je."_s
        .arg(rulesName(season.rules))
        .arg(count)
        .arg(named.join(u"; "_s), count > 5 ? u" a další"_s : QString());
}

QString signedPoints(int points)
{
    return points > 0 ? u'+' + QString::number(points) : QString::number(points);
}

QString openedWithoutAdjustments(const QString& warning)
{
    return warning + u"\r\nLiga se otevírá bez úprav bodů."_s;
}

QString adjustmentText(const SeasonStore& league, const PointsAdjustment& a)
{
    return league.TymPodleCisla(a.team) + u' ' + signedPoints(a.points) + u": " + a.reason;
}
