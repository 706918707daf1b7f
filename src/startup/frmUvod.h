// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

class QListWidget;
class QLabel;
class QPushButton;
class QTimer;

// The league picker: the competitions of "souteze", newest season first.
class frmUvod final : public QWidget {
    Q_OBJECT
public:
    frmUvod();

    // Paths of the league opened last; they outlive the picker.
    static QString otvirany_sezona;
    static QString otvirany_los;

    void openSelected();
    // Opens a league in the main window; false, with the reason told, when it cannot be opened.
    static bool openLeague(const QString& competitionPath, QWidget* messagesParent);
    // The competition file's name of the league opened last; empty before the first.
    static QString lastLeagueFile();
    static void rememberLeague(const QString& fileName);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // "Nová liga…": the dialog, which opens the league it writes.
    void newLeague(const QString& folder);
    // The partner's tag lines, one after another under the list.
    void startTagLines();
    QListWidget* LSTsouteze = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* cmdNova = nullptr;
    QPushButton* cmdImport = nullptr;
    QLabel* L1 = nullptr;
    QLabel* L2 = nullptr;
    QTimer* Timer1 = nullptr;

    QStringList m_files; // LSTsoubory: the file of each entry
    int m_tagLine = 0;
};
