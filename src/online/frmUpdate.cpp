// SPDX-License-Identifier: MIT
#include "frmUpdate.h"

#include "common/pacing.h"
#include "common/programinfo.h"
#include "platform/desktop.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmUpdate::frmUpdate(QWidget* parent, UpdatedLeague& league, const QUrl& site, const HttpLimits& limits)
    : QDialog(parent), m_league(league), m_site(site), m_limits(limits)
{
    setObjectName(u"frmUpdate"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"Aktualizace dat"_s);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(u"probíhající akce:"_s, this));
    m_status = new QLabel(this);
    m_status->setObjectName(u"lblUpdate"_s);
    QFont bold = m_status->font();
    bold.setBold(true);
    m_status->setFont(bold);
    // Room for the longest status: the server's name, or a league file's.
    m_status->setMinimumWidth(std::max(
        {360, QFontMetrics(bold).horizontalAdvance(u"navazuji spojení se serverem "_s + site.host() + u"...") + 8,
         QFontMetrics(bold).horizontalAdvance(u"stahuji data...  (sezona_prvniliga0708.txt)"_s) + 8}));

    layout->addWidget(m_status);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(u"progressBar"_s);
    m_progress->setFormat(u"%v / %m"_s);
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    layout->addWidget(m_progress);
    m_cancel = new QPushButton(u"Přerušit"_s, this);
    m_cancel->setObjectName(u"cmdPrerusit"_s);
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &frmUpdate::cancel);
    layout->addWidget(m_cancel, 0, Qt::AlignRight);
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
    auto* job =
        new UpdateJob(*this, &m_league, Desktop::instance().programFolder(), m_site.host(), kUpdateDeadlineMs, this);
    connect(job, &UpdateJob::finished, this, [this] {
        m_running = false;
        close();
    });
    job->start();
}

void frmUpdate::cancel()
{
    m_cancelled = true;
    m_cancel->setEnabled(false);
    m_status->setText(u"přerušuji..."_s);
    if (m_pausing)
        std::exchange(m_pausing, nullptr)();
}

void frmUpdate::closeEvent(QCloseEvent* event)
{
    // The update runs in this window's loops: it is asked to stop and closes the window itself.
    if (m_running) {
        event->ignore();
        cancel();
    } else {
        QDialog::closeEvent(event);
    }
}

void frmUpdate::keyPressEvent(QKeyEvent* event)
{
    if (m_running && event->key() == Qt::Key_Escape)
        cancel();
    else if (!m_running)
        QDialog::keyPressEvent(event);
}

QDateTime frmUpdate::now() const
{
    return Desktop::instance().now();
}

void frmUpdate::fetch(const QString& path, int deadlineMs, std::function<void(const FetchResult&)> done)
{
    HttpLimits limits = m_limits;
    limits.deadlineMs = std::min(limits.deadlineMs, deadlineMs);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    // A window gone (the program ends) stops its transfer too.
    httpGet(
        updateAddress(m_site, path), limits, [self = QPointer<frmUpdate>(this)] { return !self || self->m_cancelled; },
        [done = std::move(done)](const FetchResult& r) {
            QApplication::restoreOverrideCursor();
            done(r);
        });
}

void frmUpdate::status(const QString& text)
{
    if (!m_cancelled)
        m_status->setText(text);
}

void frmUpdate::progress(int done, int total)
{
    m_progress->setRange(0, std::max(total, 1));
    m_progress->setValue(done);
}

void frmUpdate::pause(int milliseconds, std::function<void()> done)
{
    QApplication::setOverrideCursor(Qt::BusyCursor);
    m_pausing = [done = std::move(done)] {
        QApplication::restoreOverrideCursor();
        done();
    };
    QTimer::singleShot(m_cancelled ? 0 : pacing::ms(milliseconds), this, [this, pause = ++m_pause] {
        if (pause == m_pause && m_pausing)
            std::exchange(m_pausing, nullptr)();
    });
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

bool frmUpdate::takeServerResults(const QStringList& conflicts)
{
    constexpr qsizetype shown = 25;
    QString text = u"Server má pro tyto zápasy jiné výsledky než vy:\r\n\r\n"_s + conflicts.mid(0, shown).join(u"\r\n");
    if (conflicts.size() > shown)
        text += u"\r\n… a dalších %1"_s.arg(conflicts.size() - shown);
    text += u"\r\n\r\nKteré výsledky se mají uložit?"_s;
    return Desktop::instance().choose(this, text, Desktop::Icon::Question,
                                      {u"Převzít výsledky serveru"_s, u"Ponechat moje výsledky"_s},
                                      u"Aktualizace dat"_s) == 0;
}

void frmUpdate::openHomePage()
{
    Desktop::instance().browse(this, QUrl(program::homePage));
}

void frmUpdate::beep()
{
    Desktop::instance().beep();
}
