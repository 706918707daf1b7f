// SPDX-License-Identifier: MIT
#pragma once

#include "online/update.h"

#include <QDialog>
#include <QUrl>

class QLabel;
class QProgressBar;
class frmMain;

// The data update: the version check, the list and the downloads, shown step by step.
class frmUpdate final : public QDialog, private UpdateSurroundings {
    Q_OBJECT
public:
    frmUpdate(frmMain* main, const QUrl& site, int timeoutMs = 10000);

    QLabel* lblUpdate = nullptr;
    QProgressBar* progressBar = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    FetchResult fetch(const QString& path) override;
    void status(const QString& text) override;
    void progress(int done, int total) override;
    void pause(int milliseconds) override;
    bool askYesNo(const QString& text, bool questionIcon, const QString& title) override;
    void tellError(const QString& text, const QString& title) override;
    void openHomePage() override;
    void beep() override;
    bool saveSeason() override;
    void reloadSeason() override;

    void run();

    frmMain* m_main;
    QUrl m_site;
    int m_timeoutMs;
    bool m_running = false;
};
