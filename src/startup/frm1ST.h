// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// The first-run notice, shown while the marker file "1.st" lies in the program folder.
class frm1ST final : public QWidget {
    Q_OBJECT
public:
    // Shows the notice, or goes straight on to the splash screen when it was acknowledged before.
    static void start();

    frm1ST();

private:
    QPushButton* Command1 = nullptr;

    void onContinue();
};
