// SPDX-License-Identifier: MIT
#include "importdialogs.h"

#include "import/frmSloupce.h"
#include "platform/desktop.h"

using namespace Qt::StringLiterals;

namespace {

// One of several seasons or divisions, asked; an empty text when cancelled.
QString pick(const QStringList& values, const QString& what, QWidget* parent)
{
    const QStringList offered = values.mid(std::max<qsizetype>(0, values.size() - 6)); // the latest six
    const int chosen = Desktop::instance().choose(
        parent, u"Soubor obsahuje zápasy několika %1: %2.\r\nKterou importovat?"_s.arg(what, values.join(u", ")),
        Desktop::Icon::Question, QStringList(offered) << u"Zrušit"_s, u"Import zápasů"_s);
    return chosen >= 0 && chosen < offered.size() ? offered[chosen] : QString();
}

} // namespace

std::optional<QList<ColumnRole>> askColumns(const QByteArray& bytes, const QList<ColumnRole>& guessed, QWidget* parent)
{
    const QList<QStringList> preview = csvPreview(bytes, 10);
    if (preview.isEmpty())
        return std::nullopt;
    frmSloupce dialog(preview, guessed, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.roles();
}

std::optional<ImportSource> readSourceAsking(const QByteArray& bytes, const QString& name, ImportOptions& options,
                                             const QString& leagueSeason, QWidget* parent)
{
    Result<ImportSource> read = readImportSource(bytes, name, options);
    if (!read.ok() && read.code() == kColumnsUnknown && !csvPreview(bytes, 1).isEmpty()) {
        const std::optional<QList<ColumnRole>> columns = askColumns(bytes, options.columns, parent);
        if (!columns)
            return std::nullopt;
        options.columns = *columns;
        read = readImportSource(bytes, name, options);
    }
    for (int ask = 0; ask < 2 && read.ok() && !choiceNeeded(read.value(), options).isEmpty(); ++ask) {
        const ImportSource& s = read.value();
        const bool seasons = s.seasons.size() > 1 && options.season.isEmpty();
        const auto own = std::find_if(s.seasons.begin(), s.seasons.end(),
                                      [&](const QString& v) { return sameSeason(v, leagueSeason); });
        QString& chosen = seasons ? options.season : options.division;
        chosen = seasons && own != s.seasons.end() && !leagueSeason.isEmpty()
                     ? *own
                     : pick(seasons ? s.seasons : s.divisions, seasons ? u"sezón"_s : u"soutěží"_s, parent);
        if (chosen.isEmpty())
            return std::nullopt;
        read = readImportSource(bytes, name, options);
    }
    if (!read.ok()) {
        Desktop::instance().tell(parent, u"Zápasy nelze importovat.\r\n"_s + read.error(), Desktop::Icon::Warning);
        return std::nullopt;
    }
    return read.value();
}
