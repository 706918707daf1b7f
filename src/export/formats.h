// SPDX-License-Identifier: MIT
#pragma once

#include "export/viewtable.h"

#include <QByteArray>
#include <QDateTime>

// CSV as Czech spreadsheets read it: UTF-8 with a byte order mark, ";" between fields, RFC 4180
// quoting, CR LF; the header line first.
QByteArray toCsv(const ViewTable& view);
// One standalone UTF-8 page: the caption as title and heading, one table, a small style sheet.
QByteArray toHtml(const ViewTable& view);

// iCalendar (RFC 5545) of the league's matches, or of one team's (team 1..N; 0 for all): one all-day
// event per match. `leagueFile` makes the UIDs, which stay the same for a match across exports.
// Events beyond the rounds' matches, e.g. the play-off's games; `uid` is unique within the league file.
struct CalendarGame {
    QDate day;
    QString uid, summary, description, category;
    QTime time; // the kick-off, where known
};
QByteArray toICalendar(const SeasonStore& season, const QString& leagueFile, int team, const QDateTime& stamp,
                       const QList<CalendarGame>& more = {});
