// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

class QLabel;
class QTimer;

// The splash screen: the partner's pictures, one of them animated, then the league picker.
class frmSUB final : public QWidget {
    Q_OBJECT
public:
    // Checks the pictures and shows the splash screen, or tells the user and ends the program.
    static void start();
    // All three pictures present with the sizes they were installed with.
    static bool picturesIntact(const QString& programFolder);

    frmSUB();
    // 0 slide-in, 1 wipe-in; -1 until the animation starts.
    int animation() const { return m_animation; }

private:
    QLabel* PIC = nullptr;
    QLabel* PIC2 = nullptr;
    QLabel* Label2 = nullptr;

    void animate();
    void step();
    void handOver();

    QTimer* m_timer = nullptr;
    int m_animation = -1;
    int m_twips = 0; // PIC2's top (slide) or width (wipe)
};
