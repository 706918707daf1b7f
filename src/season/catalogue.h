// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>

// One competition of the league picker: "nazev" + " " + "sezona" and the competition file's name.
struct CatalogueEntry {
    QString text;
    QString file;
    bool operator==(const CatalogueEntry&) const = default;
};

inline const QString kCatalogueSeparator = QString(31, u'-');

// The competition files ("*sezona*.*") of a folder, in alphabetical order of their names.
QList<CatalogueEntry> readCatalogue(const QString& folder);

// Newest season first by the year it ends in, however the text writes the season ("2026/27", "2026/2027",
// "2026"; equal years keep their order, texts without a season last), with a separator entry before the first
// entry of another year.
QList<CatalogueEntry> orderCatalogue(QList<CatalogueEntry> entries);
