// SPDX-License-Identifier: MIT
#pragma once

#include "import/importsource.h"

#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QSpinBox;

// "Import…" in the league picker: a new league of the source's teams and matches, named by the fan, written
// beside the others, never over one of them.
class frmImportLiga final : public QDialog {
    Q_OBJECT
public:
    frmImportLiga(const QString& folder, ImportSource source, QWidget* parent);

    // Asks for the file, reads it and shows the dialog, or tells why the file cannot be imported.
    static frmImportLiga* choose(const QString& folder, QWidget* parent);

Q_SIGNALS:
    void created(const QString& competitionPath);

private:
    void create();

    QString m_folder;
    ImportSource m_source;
    QLineEdit* txtNazev = nullptr;
    QLineEdit* txtSezona = nullptr;
    std::array<QSpinBox*, 3> spnCary{};
    QLineEdit* txtKod = nullptr;
    bool m_codeEdited = false;
};
