// SPDX-License-Identifier: MIT
#pragma once

#include "playoff/playoff.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// "Nový play-off…": the stages as a small table the fan edits — name, participants, wins that take a series,
// the games the better seed hosts — started from a usual format of the league's size. "Vytvořit" is refused,
// with the row and the reason, while the reader would refuse the file.
class frmNovyPlayoff final : public QDialog {
    Q_OBJECT
public:
    // `create` writes the play-off; where it fails the dialog stays open with the reason and the stages typed.
    using Create = std::function<Result<void>(const QList<StageRow>&)>;
    frmNovyPlayoff(int teams, Create create, QWidget* parent);

    QList<StageRow> stages() const;

private:
    void addStageTable();
    void startFrom();
    void setRows(const QList<StageRow>& rows);
    void addStage();
    void removeStage();
    void check();
    void cmdOK_Click();

    int m_teams;
    Create m_create;
    QComboBox* cboNahore = nullptr;
    QComboBox* cboDole = nullptr;
    QTableWidget* grdFaze = nullptr;
    QLabel* lblChyba = nullptr;
    QPushButton* cmdOK = nullptr;
};
