// SPDX-License-Identifier: MIT
#pragma once

#include "import/importplan.h"

#include <QDialog>
#include <optional>

// What the open dialogs of an import offer.
inline const QString kImportFilters = QStringLiteral("Zápasy (*.csv *.ics *.txt *.tsv);;Všechny soubory (*)");

class OpenLeague;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// "Import…" and "Vložit výsledky ze schránky": what a source brings into the open league — its names as the
// league's teams, the results to enter, the conflicts, the lines without a fixture — confirmed before
// anything changes; the names the fan maps are kept for the next import.
class frmImport final : public QDialog {
    Q_OBJECT
public:
    frmImport(OpenLeague& league, ImportSource source, QWidget* parent);

    // The source read and shown, or its fault told; nullptr then.
    static frmImport* open(OpenLeague& league, const QByteArray& bytes, const QString& name, QWidget* parent);

Q_SIGNALS:
    // The results went into the league.
    void imported();

private:
    void replan();
    void confirm();

    OpenLeague& m_league;
    ImportSource m_source;
    QStringList m_names; // the source's names the league does not know by itself
    QList<QComboBox*> cboTym;
    std::optional<ImportPlan> m_plan;
    QLabel* lblShrnuti = nullptr;
    QPlainTextEdit* txtPodrobnosti = nullptr;
    QPushButton* cmdZapsat = nullptr;
};
