// SPDX-License-Identifier: MIT
#include "frmUpdate.h"

#include "app/programinfo.h"
#include "entry/frmMain.h"
#include "platform/desktop.h"
#include "platform/http.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

frmUpdate::frmUpdate(frmMain* main, const QUrl& site, int timeoutMs)
    : QDialog(main), m_main(main), m_site(site), m_timeoutMs(timeoutMs)
{
    setObjectName(u"frmUpdate"_qs);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"update"_qs);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(u"probíhající akce:"_qs, this));
    lblUpdate = new QLabel(this);
    lblUpdate->setMinimumWidth(360);
    QFont bold = lblUpdate->font();
    bold.setBold(true);
    lblUpdate->setFont(bold);
    layout->addWidget(lblUpdate);
    progressBar = new QProgressBar(this);
    progressBar->setFormat(u"%v / %m"_qs);
    progressBar->setRange(0, 1);
    progressBar->setValue(0);
    layout->addWidget(progressBar);
}

void frmUpdate::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_running) {
        m_running = true;
        QTimer::singleShot(0, this, &frmUpdate::run);
    }
}

void frmUpdate::run()
{
    runUpdate(*this, Desktop::instance().programFolder(), m_site.host());
    m_running = false;
    close();
}

void frmUpdate::closeEvent(QCloseEvent* event)
{
    // A transfer is under way in this window's loop: it ends by itself, by success or time-out.
    if (m_running)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void frmUpdate::keyPressEvent(QKeyEvent* event)
{
    if (!m_running)
        QDialog::keyPressEvent(event);
}

FetchResult frmUpdate::fetch(const QString& path)
{
    const BusyCursor busy;
    QUrl url = m_site;
    url.setPath(path);
    return httpGet(url, m_timeoutMs);
}

void frmUpdate::status(const QString& text)
{
    lblUpdate->setText(text);
}

void frmUpdate::progress(int done, int total)
{
    progressBar->setRange(0, std::max(total, 1));
    progressBar->setValue(done);
}

void frmUpdate::pause(int milliseconds)
{
    const BusyCursor busy;
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

bool frmUpdate::askYesNo(const QString& text, bool questionIcon, const QString& title)
{
    return Desktop::instance().message(this, text, questionIcon ? Desktop::Icon::Question : Desktop::Icon::Information,
                                       Desktop::Buttons::YesNo, title) == Desktop::Answer::Yes;
}

void frmUpdate::tellError(const QString& text, const QString& title)
{
    Desktop::instance().message(this, text, Desktop::Icon::Critical, Desktop::Buttons::Ok, title);
}

void frmUpdate::openHomePage()
{
    Desktop::instance().openUrl(QUrl(program::homePage));
}

void frmUpdate::beep()
{
    Desktop::instance().beep();
}

bool frmUpdate::saveSeason()
{
    m_main->storeDisplayedRound();
    return m_main->writeSeason();
}

void frmUpdate::reloadSeason()
{
    m_main->reloadSeason();
}
