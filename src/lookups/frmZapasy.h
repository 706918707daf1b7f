// SPDX-License-Identifier: MIT
#pragma once

#include "playoff/playoff.h"

#include <optional>

#include "season/seasonstore.h"

#include <QDialog>

class QComboBox;
class QListWidget;
class QPushButton;

// Every match of one team, printable on one A4 sheet.
class frmZapasy final : public QDialog {
    Q_OBJECT
public:
    // `leagueFile` names the league in the calendar's event identifiers.
    // The team's play-off games follow its season's, and go into its calendar too.
    frmZapasy(const SeasonStore& season, const QString& leagueFile, QWidget* parent,
              std::optional<Playoff> playoff = {});

private:
    QComboBox* cboTym = nullptr;
    QPushButton* Command1 = nullptr; // find
    QPushButton* Command2 = nullptr; // print
    QListWidget* lstZ = nullptr;

    void search();
    void print();

    const SeasonStore& m_season;
    QString m_leagueFile;
    std::optional<Playoff> m_playoff;
    int m_team = 0; // the team of the listed lines
};
