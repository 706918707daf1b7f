// SPDX-License-Identifier: MIT
#include "matchdates.h"

#include "leaguefiles.h"
#include "newleague.h"
#include "seasonfile.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

const QString kPostponed = u"odloženo"_s;

} // namespace

std::optional<QTime> clockTime(const QString& text)
{
    static const QRegularExpression form(u"^(\\d{1,2}):(\\d{2})$"_s);
    const QRegularExpressionMatch m = form.match(text);
    const QTime time(m.captured(1).toInt(), m.captured(2).toInt());
    if (!m.hasMatch() || !time.isValid())
        return std::nullopt;
    return time;
}

Result<void> checkMatchDate(const SeasonStore& season, int round, int slot, const MatchDate& date)
{
    if (round < 1 || round > season.rounds() || slot < 1 || slot > season.slots())
        return Result<void>::failure(u"Zápas %1 %2. kola v rozpisu není."_s.arg(slot).arg(round));
    if (date.date.isValid() && !isSeasonDate(date.date))
        return Result<void>::failure(seasonDateProblem(date.date));
    if (date.postponed && (date.date.isValid() || date.time.isValid()))
        return Result<void>::failure(u"Odložený zápas nemá datum ani čas."_s);
    return {};
}

Result<QMap<std::pair<int, int>, MatchDate>> readMatchDates(const QByteArray& bytes, const QString& fileName,
                                                            const SeasonStore& season)
{
    using Dates = QMap<std::pair<int, int>, MatchDate>;
    using Read = Result<Dates>;
    Dates dates;
    const QStringList lines = decodeLines(bytes);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        const auto refuse = [&](const QString& why) {
            return Read::failure(u"%1, řádek %2: %3"_s.arg(fileName).arg(i + 1).arg(why));
        };
        const QStringList f = line.split(u';');
        bool roundOk = false, slotOk = false;
        const int round = f.value(0).trimmed().toInt(&roundOk), slot = f.value(1).trimmed().toInt(&slotOk);
        if (f.size() < 3 || f.size() > 4 || !roundOk || !slotOk)
            return refuse(u"řádek není KOLO;ZÁPAS;DATUM;ČAS nebo KOLO;ZÁPAS;odloženo"_s);
        MatchDate date;
        const QString day = f[2].trimmed(), time = f.value(3).trimmed();
        date.postponed = plainLetters(day) == u"odlozeno";
        if (!date.postponed && !day.isEmpty() && !(date.date = parseShortDate(day)).isValid())
            return refuse(u"„%1“ není datum D.M.RRRR"_s.arg(day.left(20)));
        if (!time.isEmpty()) {
            const std::optional<QTime> clock = clockTime(time);
            if (!clock)
                return refuse(u"„%1“ není čas HH:MM"_s.arg(time.left(20)));
            date.time = *clock;
        }
        if (!date.postponed && !date.date.isValid() && !date.time.isValid())
            return refuse(u"chybí datum i čas"_s);
        if (Result<void> fits = checkMatchDate(season, round, slot, date); !fits.ok())
            return refuse(fits.error());
        if (dates.contains({round, slot}))
            return refuse(u"zápas %1 %2. kola je v souboru podruhé"_s.arg(slot).arg(round));
        dates.insert({round, slot}, date);
    }
    return dates;
}

QStringList matchDatesLines(const QMap<std::pair<int, int>, MatchDate>& dates)
{
    QStringList lines{u"; vlastní termíny zápasů: kolo;zápas;datum;čas, nebo kolo;zápas;odloženo"_s};
    for (auto it = dates.begin(); it != dates.end(); ++it) {
        const MatchDate& d = it.value();
        QString line = u"%1;%2;"_s.arg(it.key().first).arg(it.key().second);
        if (d.postponed)
            line += kPostponed;
        else
            line += (d.date.isValid() ? shortDate(d.date) : QString()) + u';' +
                    (d.time.isValid() ? d.time.toString(u"H:mm"_s) : QString());
        lines << line;
    }
    return lines;
}

QString matchDateText(const MatchDate& date)
{
    if (date.postponed)
        return kPostponed;
    QStringList parts;
    if (date.date.isValid())
        parts << shortDate(date.date);
    if (date.time.isValid())
        parts << date.time.toString(u"H:mm"_s);
    return parts.join(u' ');
}
