// SPDX-License-Identifier: MIT
#include "output.h"

#include "export/formats.h"

#include <QJsonDocument>
#include <cstdio>

using namespace Qt::StringLiterals;

QJsonArray toJsonArray(const QStringList& texts)
{
    QJsonArray a;
    for (const QString& t : texts)
        a.append(t);
    return a;
}

bool printOutput(const CommandOutput& out, OutputFormat format)
{
    QByteArray bytes;
    if (!out.raw.isEmpty()) {
        bytes = out.raw;
    } else if (format == OutputFormat::Csv || format == OutputFormat::Html) {
        bytes = format == OutputFormat::Csv ? toCsv(*out.view) : toHtml(*out.view);
    } else if (format == OutputFormat::Json) {
        bytes = QJsonDocument(out.json).toJson(QJsonDocument::Compact) + '\n';
    } else {
        for (const QStringList& row : out.rows) {
            QStringList fields = row;
            // A cell's line break would split the row; its lines are shown with the separator the screens
            // suggest, empty ones left out.
            for (QString& f : fields) {
                QStringList lines;
                for (const QString& line : QString(f).replace(u"\r\n"_s, u"\n"_s).split(u'\n'))
                    if (!line.trimmed().isEmpty())
                        lines << line.trimmed();
                f = lines.join(u" / "_s);
                // A TAB would shift the columns and an escape would reach the terminal.
                for (QChar& c : f) {
                    if (c.category() == QChar::Other_Control)
                        c = u' ';
                }
            }
            bytes += fields.join(u'\t').toUtf8() + '\n';
        }
    }
    const auto size = static_cast<std::size_t>(bytes.size());
    return std::fwrite(bytes.constData(), 1, size, stdout) == size && std::fflush(stdout) == 0;
}

void printError(const QString& text)
{
    const QByteArray bytes = QString(text).replace(u"\r\n"_s, u"\n"_s).toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
}
