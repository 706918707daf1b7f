// SPDX-License-Identifier: MIT
#include "support.h"

#include "common/pacing.h"
#include "export/viewtable.h"
#include "league/openleague.h"
#include "online/update.h"
#include "season/adjustments.h"
#include "season/notation.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <functional>
#include <optional>

using namespace Qt::StringLiterals;

namespace cli {

Output refused(const QString& text)
{
    return Output::failure(text, kUsageExit);
}

Output fileFault(const QString& text)
{
    return Output::failure(text, kFileExit);
}

Result<QByteArray> readInput(const QString& source, qint64 limit, const QString& what)
{
    if (source != u"-") {
        Result<QByteArray> read = readDataFile(source);
        return read.ok() ? read : Result<QByteArray>::failure(read.error(), kFileExit);
    }
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        return Result<QByteArray>::failure(u"Standardní vstup nelze číst."_s, kFileExit);
    // A pipe gives what its writer has written so far: read on to its end.
    QByteArray bytes;
    while (bytes.size() <= limit) {
        const QByteArray chunk = in.read(limit + 1 - bytes.size());
        if (chunk.isEmpty())
            break;
        bytes += chunk;
    }
    if (in.error() != QFileDevice::NoError)
        return Result<QByteArray>::failure(u"Standardní vstup nelze číst."_s, kFileExit);
    if (bytes.size() > limit)
        return Result<QByteArray>::failure(u"%1 je větší než %2 MiB."_s.arg(what).arg(limit >> 20), kFileExit);
    return bytes;
}

Result<std::array<int, 3>> linesOption(const Context& c)
{
    std::array<int, 3> lines{};
    if (!c.parser->isSet(u"lines"_s))
        return lines;
    const QString text = c.parser->value(u"lines"_s);
    const QStringList parts = text.split(u',');
    bool ok = parts.size() <= 3;
    for (qsizetype k = 0; ok && k < parts.size(); ++k)
        lines[static_cast<std::size_t>(k)] = parts[k].toInt(&ok);
    if (!ok)
        return Result<std::array<int, 3>>::failure(
            u"--lines: „%1“ nejsou nejvýš tři čísla oddělená čárkou"_s.arg(text.left(40)), kUsageExit);
    return lines;
}

Result<SeasonStore> loadLeague(const QString& competitionPath)
{
    finishInterruptedUpdate(QFileInfo(competitionPath).dir());
    Result<ReadLeague> loaded = readLeague(competitionPath);
    if (!loaded.ok())
        return Result<SeasonStore>::failure(loaded.error(), kFileExit);
    if (!loaded.value().warning.isEmpty())
        printError(openedWithoutAdjustments(loaded.value().warning));
    if (!loaded.value().store.matchDatesIgnored.isEmpty())
        printError(loaded.value().store.matchDatesIgnored + u"\r\nLiga se otevírá bez vlastních termínů zápasů."_s);
    if (!loaded.value().excluded.isEmpty())
        printError(loaded.value().excluded);
    return std::move(loaded).value().store;
}

namespace {

struct Assumption {
    int round;
    int slot;
    QString result;
};

// --assume ROUND:SLOT=RESULT, each read as the result field reads a typed text; checked before any file is read.
Result<QList<Assumption>> assumptions(const Context& c)
{
    static const QRegularExpression form(u"^(\\d{1,3}):(\\d{1,2})=(.*)$"_s);
    QList<Assumption> list;
    for (const QString& text : c.parser->values(u"assume"_s)) {
        const QRegularExpressionMatch m = form.match(text);
        const int round = m.hasMatch() ? m.captured(1).toInt() : 0, slot = m.hasMatch() ? m.captured(2).toInt() : 0;
        const QString stored = m.hasMatch() ? normaliseResult(convertKeypadInput(m.captured(3))) : QString();
        if (round < 1 || round > kMaxRounds || slot < 1 || slot > kMaxSlots ||
            (stored.isEmpty() && !m.captured(3).trimmed().isEmpty()))
            return Result<QList<Assumption>>::failure(
                u"--assume: „%1“ není KOLO:ZÁPAS=VÝSLEDEK (kolo a zápas, který liga má, platný výsledek)"_s.arg(
                    text.left(80)),
                kUsageExit);
        list.append({round, slot, stored});
    }
    return list;
}

} // namespace

// A league for a view: as read, with the assumed results in place of the stored ones; never written.
Result<SeasonStore> loadLeague(const Context& c)
{
    const Result<QList<Assumption>> assumed = assumptions(c);
    if (!assumed.ok())
        return Result<SeasonStore>::failureOf(assumed);
    Result<SeasonStore> read = loadLeague(c.args[0]);
    if (!read.ok())
        return read;
    SeasonStore league = std::move(read).value();
    if (const Result<void> fits = checkAgainstLeague(c, league); !fits.ok())
        return Result<SeasonStore>::failureOf(fits);
    for (const Assumption& a : assumed.value()) {
        if (a.round > league.rounds() || a.slot > league.slots())
            return Result<SeasonStore>::failure(
                u"--assume: liga má kola 1 až %1 a zápasy 1 až %2 v kole, zadáno %3:%4"_s.arg(league.rounds())
                    .arg(league.slots())
                    .arg(a.round)
                    .arg(a.slot),
                kUsageExit);
        league.match(a.slot, a.round).result = a.result;
    }
    return league;
}

// The league locked and read for a change; another script's write takes milliseconds, so it is waited for.
Result<ReadLeague> openForChange(OpenLeague& open)
{
    finishInterruptedUpdate(QFileInfo(open.competitionPath()).dir());
    if (const Result<void> locked = open.lock(pacing::ms(3000)); !locked.ok())
        return Result<ReadLeague>::failure(locked.error(), kFileExit);
    Result<ReadLeague> read = open.read();
    return read.ok() ? read : Result<ReadLeague>::failure(read.error(), kFileExit);
}

// Reads the league, lets `change` alter it and writes it back, all under the league's lock, with a
// copy of the file as it was.
Result<SeasonStore> changeLeague(const Context& c, const std::function<Result<void>(OpenLeague&)>& change,
                                 const QString& competitionPath)
{
    OpenLeague open(competitionPath.isEmpty() ? c.args[0] : competitionPath,
                    OpenLeague::Journalling::Off); // saved at once: nothing to recover
    Result<ReadLeague> read = openForChange(open);
    if (!read.ok())
        return Result<SeasonStore>::failureOf(read);
    ReadLeague league = std::move(read).value();
    if (const Result<void> fits = checkAgainstLeague(c, league.store); !fits.ok())
        return Result<SeasonStore>::failureOf(fits);
    if (!league.warning.isEmpty())
        printError(openedWithoutAdjustments(league.warning));
    if (const Result<void> changed = change(open); !changed.ok()) // a change the league refuses, or a file it writes
        return Result<SeasonStore>::failure(changed.error(), changed.code() == kFileExit ? kFileExit : kUsageExit);
    if (const Result<void> saved = open.save(QDateTime::currentDateTime(), OpenLeague::Changes::Overwrite); !saved.ok())
        return Result<SeasonStore>::failure(saved.error(), kFileExit);
    return open.season();
}

QString className(const std::optional<OutcomeClass>& c)
{
    return c ? QString(letterOf(*c)) : QString();
}

CommandOutput plain(const QJsonObject& json, const QList<QStringList>& rows)
{
    CommandOutput out;
    out.json = json;
    out.rows = rows;
    return out;
}

// The view's rows as the text output, after the lines that stand above them.
CommandOutput fromView(const ViewTable& view, const QList<QStringList>& above)
{
    CommandOutput out;
    out.rows = above + view.rows;
    out.view = view;
    return out;
}

QJsonArray jsonRows(const QList<QStringList>& rows, const QStringList& keys)
{
    QJsonArray out;
    for (const QStringList& row : rows) {
        QJsonObject o;
        for (qsizetype i = 0; i < keys.size(); ++i)
            o[keys[i]] = row.value(i);
        out.append(o);
    }
    return out;
}

// A view of one column: {"lines":[…]}.
CommandOutput lines(const ViewTable& view)
{
    CommandOutput out = fromView(view);
    QStringList texts;
    for (const QStringList& row : view.rows)
        texts << row.value(0);
    out.json[u"lines"_s] = toJsonArray(texts);
    return out;
}

} // namespace cli
