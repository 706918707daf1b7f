// SPDX-License-Identifier: MIT
#pragma once

#include "import/importplan.h"

#include <QDialog>
#include <optional>

// What the open dialogs of an import offer.
inline const QString kImportFilters = QStringLiteral("Zápasy (*.csv *.ics *.txt *.tsv);;Všechny soubory (*)");

class OpenLeague;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// "Import…" and "Vložit výsledky ze schránky": what a source brings into the open league — its names as the
// league's teams (every guess shown and open to change), each change it makes, the conflicts, the lines without a
// fixture or of another team — confirmed before anything changes; the names the fan maps are kept for the next
// import.
class frmImport final : public QDialog {
    Q_OBJECT
public:
    frmImport(OpenLeague& league, QByteArray bytes, QString name, ImportOptions options, ImportSource source,
              QWidget* parent);

    // The source read (what it cannot settle asked of the fan) and shown, or its fault told; nullptr then.
    static frmImport* open(OpenLeague& league, const QByteArray& bytes, const QString& name, QWidget* parent);

Q_SIGNALS:
    // The results went into the league.
    void imported();

private:
    void showNames();
    QMap<QString, int> mapping() const;
    void replan();
    void chooseColumns();
    void addPlayoffGames();
    void confirm();

    OpenLeague& m_league;
    QByteArray m_bytes;
    QString m_name;
    ImportOptions m_options;
    ImportSource m_source;
    QStringList m_names; // the source's names the league does not know by itself, or knows by a guess
    QList<QComboBox*> cboTym;
    std::optional<ImportPlan> m_plan;
    QFormLayout* m_namesForm = nullptr;
    QCheckBox* chkPreskocit = nullptr;
    QLabel* lblShrnuti = nullptr;
    QPlainTextEdit* txtPodrobnosti = nullptr;
    QPushButton* cmdZapsat = nullptr;
};
