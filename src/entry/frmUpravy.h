// SPDX-License-Identifier: MIT
#pragma once

#include "league/openleague.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

// The league's points adjustments: a list to add lines to and remove them from. "Uložit" writes the file
// (with a copy of the old one) and only then closes; a failed write keeps the window and every line.
class frmUpravy final : public QDialog {
    Q_OBJECT
public:
    frmUpravy(const SeasonStore& league, OpenLeague& open, QWidget* parent);

Q_SIGNALS:
    void saved(const QList<PointsAdjustment>& adjustments);

protected:
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableWidget* tblUpravy = nullptr;
    QComboBox* cboTym = nullptr;
    QSpinBox* spnBody = nullptr;
    QLineEdit* txtDuvod = nullptr;
    QPushButton* cmdPridat = nullptr;
    QPushButton* cmdOdebrat = nullptr;
    QPushButton* cmdUlozit = nullptr;
    QPushButton* cmdZrusit = nullptr;

    void layOut();
    void add();
    void removeSelected();
    void save();
    void showList();

    SeasonStore m_league; // its adjustments are the ones being edited
    QList<PointsAdjustment> m_stored;
    OpenLeague& m_open;
};
