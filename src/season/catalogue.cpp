// SPDX-License-Identifier: MIT
#include "catalogue.h"

#include "season/datafiles.h"
#include "season/seasonfile.h"

#include <QDir>
#include <QRegularExpression>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The year a season ends in, however the text writes it ("2026/2027", "2026/27", "1999/00", "2026"); 0 for a
// text that ends in no season.
int seasonEnd(const QString& text)
{
    static const QRegularExpression season(u"(\\d{4})(?:\\s*[/–-]\\s*(\\d{4}|\\d{2}))?\\s*$"_s);
    const QRegularExpressionMatch m = season.match(text);
    if (!m.hasMatch())
        return 0;
    const int start = m.captured(1).toInt();
    if (m.captured(2).isEmpty())
        return start;
    const int end = m.captured(2).toInt();
    if (m.captured(2).size() == 4)
        return end;
    const int century = start / 100 * 100;
    return century + end < start ? century + 100 + end : century + end; // "1999/00" ends in 2000
}

} // namespace

QList<CatalogueEntry> readCatalogue(const QString& folder)
{
    QList<CatalogueEntry> entries;
    const QDir dir(folder);
    QStringList files = dir.entryList({u"*sezona*.*"_s}, QDir::Files, QDir::Name);
    // A lock, a journal or a save's temporary file is no league, whatever its name holds.
    files.removeIf([](const QString& name) {
        return name.endsWith(u".lock") || name.endsWith(u".obnova") || name.contains(u".rinkomat-novy");
    });
    for (const QString& name : files) {
        const Result<QByteArray> file = readDataFile(dir.filePath(name));
        if (!file.ok())
            continue;
        QString text;
        for (const QString& line : decodeLines(file.value())) {
            if (line.startsWith(u"nazev="))
                text = line.mid(6);
            else if (line.startsWith(u"sezona="))
                text += u' ' + line.mid(7);
        }
        entries.append({text, name});
    }
    return entries;
}

QList<CatalogueEntry> orderCatalogue(QList<CatalogueEntry> entries)
{
    std::stable_sort(entries.begin(), entries.end(), [](const CatalogueEntry& a, const CatalogueEntry& b) {
        return seasonEnd(a.text) > seasonEnd(b.text); // texts without a season, as 0, last
    });
    if (!entries.isEmpty()) {
        const int newest = seasonEnd(entries.front().text);
        const auto older = std::find_if(entries.begin(), entries.end(),
                                        [&](const CatalogueEntry& e) { return seasonEnd(e.text) != newest; });
        if (older != entries.end())
            entries.insert(older, {kCatalogueSeparator, QString()});
    }
    return entries;
}
