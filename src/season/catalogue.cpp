// SPDX-License-Identifier: MIT
#include "catalogue.h"

#include "season/datafiles.h"
#include "season/seasonfile.h"

#include <QDir>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

bool endsInYear(const QString& text)
{
    return text.size() >= 4 && std::all_of(text.end() - 4, text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
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
        if (endsInYear(a.text) != endsInYear(b.text))
            return endsInYear(a.text);
        return endsInYear(a.text) && a.text.right(4) > b.text.right(4);
    });
    if (!entries.isEmpty()) {
        const QString newest = entries.front().text.right(4);
        const auto older = std::find_if(entries.begin(), entries.end(),
                                        [&](const CatalogueEntry& e) { return e.text.right(4) != newest; });
        if (older != entries.end())
            entries.insert(older, {kCatalogueSeparator, QString()});
    }
    return entries;
}
