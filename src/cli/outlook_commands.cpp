// SPDX-License-Identifier: MIT
// rinkomat-cli's commands of the season's outlook.
#include "support.h"

#include "export/viewtable.h"
#include "outlook/forecast.h"
#include "playoff/playoff.h"
#include "standings/bounds.h"
#include "standings/ranking.h"

#include <QJsonArray>
#include <QJsonObject>
#include <cmath>

using namespace Qt::StringLiterals;

namespace cli {

namespace {

// To a ten-thousandth of a per cent: a share of at most a million seasons is exact, and a place that
// came up once is never printed as 0, which means never.
double percent(double share)
{
    return std::round(share * 1'000'000) / 10'000;
}

// Each team's row of the outlook, its shares in per cent.
QJsonArray outlookJson(const SeasonStore& season, const QList<OutlookRow>& rows)
{
    QJsonArray teams;
    for (const OutlookRow& r : rows) {
        QJsonArray places, lineShares;
        for (double share : r.places)
            places.append(percent(share));
        for (const OutlookLine& k : r.lines)
            lineShares.append(QJsonObject{{u"line"_s, k.line},
                                          {u"share"_s, percent(k.share)},
                                          {u"clinched"_s, k.clinched},
                                          {u"out"_s, k.out},
                                          {u"needed"_s, k.needed < 0 ? QJsonValue() : k.needed}});
        teams.append(QJsonObject{{u"team"_s, season.TymPodleCisla(r.team)},
                                 {u"points"_s, r.points},
                                 {u"expected_points"_s, std::round(r.expectedPoints * 10) / 10},
                                 {u"best"_s, r.best},
                                 {u"worst"_s, r.worst},
                                 {u"places"_s, places},
                                 {u"lines"_s, lineShares}});
    }
    return teams;
}

Output forecast(const Context& c)
{
    const int seasons = c.option(u"sims"_s, 10'000);
    bool ok = true;
    const QString seedText = c.parser->value(u"seed"_s);
    const qint64 seed = c.parser->isSet(u"seed"_s) ? seedText.toLongLong(&ok) : static_cast<qint64>(kDefaultSeed);
    if (!ok || seed < 0)
        return refused(u"--seed: „%1“ není celé nezáporné číslo"_s.arg(seedText.left(80)));
    const int team = c.option(u"team"_s, 0);
    if (c.parser->isSet(u"line"_s) && team == 0)
        return refused(u"--line patří ke --team: klíčové zápasy jsou vždy jednoho týmu"_s);
    const Result<SeasonStore> read = loadLeague(c);
    if (!read.ok())
        return Output::failureOf(read);
    const SeasonStore& l = read.value();
    const std::array<int, 3> lines = dividingLines(l);
    const auto firstLine = std::find_if(lines.begin(), lines.end(), [](int line) { return line > 0; });
    const int line = c.option(u"line"_s, static_cast<int>(firstLine - lines.begin()) + 1);
    if (team > 0 && (line > 3 || lines[static_cast<std::size_t>(line - 1)] <= 0))
        return refused(u"--line: soutěž %1. dělicí čáru nemá"_s.arg(line));
    const Result<std::optional<Playoff>> playoff = readLeaguePlayoff(c.args[0], l);
    if (!playoff.ok())
        printError(u"Výhled bez play-off: "_s + playoff.error());
    const std::optional<Playoff> stages = playoff.valueOr(std::nullopt);
    const Outlook outlook =
        computeOutlook(l, seasons, static_cast<std::uint64_t>(seed), usableCores(), nullptr,
                       team > 0 ? KeyMatchTallies::Counted : KeyMatchTallies::Skipped, stages ? &*stages : nullptr);
    const Forecast& f = outlook.forecast;
    const QList<OutlookRow> rows = outlookRows(l, outlook);
    CommandOutput out = fromView(outlookView(l, rows, stageNames(f)));
    QJsonArray teams = outlookJson(l, rows);
    for (qsizetype i = 0; stages && i < rows.size(); ++i) {
        QJsonObject perStage;
        for (std::size_t s = 0; s < f.playoff.size(); ++s)
            perStage[f.playoff[s].name] = QJsonObject{{u"plays"_s, percent(f.playsShare(s, rows[i].team))},
                                                      {u"wins"_s, percent(f.winsShare(s, rows[i].team))}};
        QJsonObject row = teams[i].toObject();
        row[u"playoff"_s] = perStage;
        teams[i] = row;
    }
    out.json = {{u"seasons"_s, seasons},
                {u"seed"_s, static_cast<qint64>(seed)},
                {u"model"_s, QLatin1StringView(kOutlookModel)},
                {u"teams"_s, teams}};
    if (team > 0) {
        const auto k = static_cast<std::size_t>(line - 1);
        QJsonArray key;
        for (const KeyMatch& m : keyMatches(f, team, k))
            key.append(QJsonObject{{u"round"_s, m.round},
                                   {u"slot"_s, m.slot},
                                   {u"home"_s, l.TymPodleCisla(m.home)},
                                   {u"away"_s, l.TymPodleCisla(m.away)},
                                   {u"if_home_wins"_s, percent(m.ifHomeWins)},
                                   {u"if_away_wins"_s, percent(m.ifAwayWins)}});
        out.json[u"key_matches"_s] = key;
        const ViewTable keyView = keyMatchesView(l, f, team, k);
        out.rows << QStringList() << QStringList{keyView.caption} << keyView.header << keyView.rows;
    }
    return out;
}

} // namespace

void addOutlookCommands(std::map<QString, Command>& commands)
{
    commands.insert({
        {u"forecast"_s,
         {.usage = u"forecast SOUBOR [--sims N] [--seed S] [--team TÝM [--line K]]"_s,
          .summary = u"výhled sezóny: podíly míst, jistá a nemožná umístění, potřebné body, klíčové zápasy"_s,
          .details = u"  --sims  simulovaných sezón 1 až 1000000 (výchozí 10000)\n"
                     "  --seed  celé nezáporné číslo, stejné číslo dá stejná čísla (výchozí 2007)\n"
                     "  --team  tým 1 až počet týmů ligy, jehož klíčové zápasy se vypíší\n"
                     "  --line  dělicí čára 1 až 3, kterou soutěž má (výchozí první)\n\n"
                     "Příklad: rinkomat-cli forecast souteze/sezona_extraliga0708.txt --team 3 --line 1"_s,
          .formats = JsonFormat | TableFormats,
          .options = {u"sims"_s, u"seed"_s, u"team"_s, u"line"_s, kAssume},
          .run = forecast}},
    });
}

} // namespace cli
