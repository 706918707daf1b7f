// SPDX-License-Identifier: MIT
#pragma once

#include "playoff/playoff.h"

#include <QDialog>
#include <QSet>

class OpenLeague;
class QBoxLayout;
class QLabel;
class QLineEdit;
class QScrollArea;
class QVBoxLayout;

// "Play-off": the bracket, stage by stage, each series a box with its teams, places, score, games and winner;
// the next game of a series is typed in its box with the day it was played (a draw or a game after the series
// is refused), or its planned day and time, shown in the box until it is played. Before the regular season ends it
// shows the bracket of today's table, in grey.
class frmPlayoff final : public QDialog {
    Q_OBJECT
public:
    frmPlayoff(OpenLeague& league, QWidget* parent);

private:
    void rebuild();
    void addPrintCommand();
    static QString stageTitle(const Stage& stage);
    // The stage's series boxes, one under another; `focus` is set to the field of the series typed into last.
    QWidget* stageColumn(const Bracket& bracket, int s, QWidget* parent, QLineEdit*& focus);
    QWidget* seriesBox(const Bracket& bracket, int stage, int index, QWidget* parent);
    // The series' next game: its teams, the rink swap, the field its result is typed in and, under it, its day.
    QBoxLayout* nextGameRow(const Series& series, const Stage& stage, int s, int i, QWidget* box);
    // Under the next game: its planned day, if any, and the field of the day it is played; returns that field.
    QLineEdit* addDayRow(QVBoxLayout* rows, const Series& series, const QString& id, QWidget* box);
    // Whether the better seed hosts the series' next game: as planned, else by the stage's pattern; swapped
    // where the fan moved it.
    bool betterHostsNext(const Series& series, const Stage& stage, int s, int i) const;
    // The series' next game, its result and the day it was played as typed; without a result, its planned day.
    void enter(int stage, int index, const QString& text, const QString& day);
    // Takes the series' last game back, after asking.
    void removeLast(int stage, int index);

    OpenLeague& m_league;
    QLabel* lblNote = nullptr;
    QScrollArea* headings = nullptr; // the stages' names
    QScrollArea* scroll = nullptr;
    QSet<std::pair<int, int>> m_swapped; // series whose next game the fan moved to the other team's rink
    std::pair<int, int> m_focus{-1, -1}; // the series typed into last, whose field keeps the focus
};
