// SPDX-License-Identifier: MIT
#pragma once

#include "season/seasonstore.h"

#include <QList>
#include <QStringList>

// A view as rows of texts, exactly as its window shows them: what the command line prints and what
// "Uložit…" writes as CSV or HTML.
struct ViewTable {
    QString caption;    // the window's caption, with the league
    QStringList header; // Czech column names
    QList<QStringList> rows;
};

// "Extraliga  2007/2008 – průběžná tabulka"
inline QString viewCaption(const SeasonStore& season, const QString& caption)
{
    return season.caption + QStringLiteral(" – ") + caption +
           (season.hypothetical ? QStringLiteral(" – Co kdyby") : QString());
}

// A view of one column of lines.
inline ViewTable oneColumnView(const QString& caption, const QString& column, const QStringList& lines)
{
    ViewTable v{caption, {column}, {}};
    for (const QString& line : lines)
        v.rows.append({line});
    return v;
}
