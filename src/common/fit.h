// SPDX-License-Identifier: MIT
#pragma once

#include <QSize>
#include <QStringList>

class QComboBox;
class QDialogButtonBox;
class QPushButton;
class QWidget;

// The designed geometry stays where the texts fit; these widen only what needs it, for any font.

// The width the box needs to show its longest entry whole.
int widthToShowAll(const QComboBox* box);
// The width a label in `font` needs for the widest of the texts.
int widthToShow(const QWidget* label, const QStringList& texts);
// Moves the window's children that start at or right of `fromX` by `dx` and widens the window as much.
void makeRoom(QWidget* window, int fromX, int dx);
// A window of fixed geometry larger than its screen (200 % on a small one) gets its controls in a scroll area.
void fitToScreen(QWidget* window);
// What a window can take of its screen, leaving room for the frame and the taskbar.
QSize roomOnScreen(const QWidget* window);
// Shows the next window of the start-up chain with the keyboard in it: where no window manager hands
// it over, the window that just closed would keep it.
void showActive(QWidget* window);

// A dialog's buttons: its own accept button, the default, named `name`, and "Zrušit".
QDialogButtonBox* acceptAndCancel(QWidget* dialog, const QString& acceptText, const QString& name,
                                  QPushButton*& accept);
