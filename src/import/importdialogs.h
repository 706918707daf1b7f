// SPDX-License-Identifier: MIT
// A source read for a window: what the reader cannot settle by itself asked of the fan — what a CSV's columns hold,
// which season or division of a file of several — and a refusal told.
#pragma once

#include "import/importsource.h"

#include <optional>

class QWidget;

// `options` carries the league's date and may be given columns; `leagueSeason` is read from a file of several when
// it is there. Nothing when the fan cancels or the source is refused (then told).
std::optional<ImportSource> readSourceAsking(const QByteArray& bytes, const QString& name, ImportOptions& options,
                                             const QString& leagueSeason, QWidget* parent);
// What the columns hold, asked with the file's first lines; nothing when cancelled.
std::optional<QList<ColumnRole>> askColumns(const QByteArray& bytes, const QList<ColumnRole>& guessed, QWidget* parent);
