// SPDX-License-Identifier: MIT
#pragma once

#include "online/update.h"
#include "platform/http.h"

#include <QDialog>
#include <QUrl>

class QLabel;
class QProgressBar;
class QPushButton;

// The data update: the version check, the list and the downloads, shown step by step.
class frmUpdate final : public QDialog, private UpdateSurroundings {
    Q_OBJECT
public:
    frmUpdate(QWidget* parent, UpdatedLeague& league, const QUrl& site, const HttpLimits& limits = {});

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fetch(const QString& path, int deadlineMs, std::function<void(const FetchResult&)> done) override;
    void status(const QString& text) override;
    void progress(int done, int total) override;
    void pause(int milliseconds, std::function<void()> done) override;
    bool askYesNo(const QString& text, bool questionIcon, const QString& title) override;
    void tellError(const QString& text, const QString& title) override;
    bool takeServerResults(const QStringList& conflicts) override;
    void openHomePage() override;
    void beep() override;
    QDateTime now() const override;
    bool cancelled() const override { return m_cancelled; }

    void run();
    void cancel();

    UpdatedLeague& m_league;
    QUrl m_site;
    HttpLimits m_limits;
    QLabel* m_status = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_cancel = nullptr;
    std::function<void()> m_pausing; // what comes after the pause; "Přerušit" calls it at once
    int m_pause = 0;                 // the pause now running
    bool m_running = false;
    bool m_cancelled = false;
};
