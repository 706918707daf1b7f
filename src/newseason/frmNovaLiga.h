// SPDX-License-Identifier: MIT
#pragma once

#include "season/seasonstore.h"

#include <QDialog>
#include <array>
#include <optional>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

// The row of a new league's three dividing lines, spnCara1..3, 0 for none.
void addDividingLines(QFormLayout* form, std::array<QSpinBox*, 3>& boxes);

// Writes the new league's files under the code the field holds: their competition file's path, or empty
// after telling the fan why not (a name taken or unusable puts him back in the field).
QString writeLeagueOrTell(const QString& folder, QLineEdit* code, const SeasonStore& season);

// "Nová liga…": a league from its name, season and teams, its schedule generated on the chosen
// weekdays around the breaks; written beside the others, never over one of them.
class frmNovaLiga final : public QDialog {
    Q_OBJECT
public:
    // `like`: the league whose teams and lines "jako tato liga" takes (the open or the chosen one), if any.
    frmNovaLiga(const QString& folder, std::optional<SeasonStore> like, QWidget* parent);

Q_SIGNALS:
    // The competition file of the league written.
    void created(const QString& competitionPath);

private:
    void create();
    void suggestCode();
    // The weekdays a match may be played on and the breaks without any.
    void addPlayingDays(QFormLayout* form);
    // The usual points systems by name, today's first; a league's own system as a last choice.
    void addScoring(QFormLayout* form);
    // "Týmy a čáry jako tato liga": its teams, lines and scoring.
    void takeLike();
    void showScoring(const LeagueRules& rules);
    LeagueRules chosenRules() const;
    // Why the first match day as typed cannot start a league, in Czech; empty when it can.
    QString startProblem() const;
    void showStartProblem();

    QString m_folder;
    std::optional<SeasonStore> m_like;
    QLineEdit* txtNazev = nullptr;
    QLineEdit* txtSezona = nullptr;
    QPlainTextEdit* txtTymy = nullptr;
    QPushButton* cmdJako = nullptr;
    std::array<QSpinBox*, 3> spnCary{};
    QSpinBox* spnZapasy = nullptr;
    QComboBox* cboBodovani = nullptr;
    LeagueRules m_ownRules;
    QLineEdit* datStart = nullptr;
    std::array<QCheckBox*, 7> chkDny{};
    QLineEdit* txtZacatky = nullptr;
    QPlainTextEdit* txtPrestavky = nullptr;
    QLineEdit* txtKod = nullptr;
    QPushButton* cmdVytvorit = nullptr;
    bool m_codeEdited = false;
};
