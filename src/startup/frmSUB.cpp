// SPDX-License-Identifier: MIT
#include "frmSUB.h"

#include "common/fit.h"
#include "common/pacing.h"
#include "common/programinfo.h"
#include "common/twips.h"
#include "platform/desktop.h"
#include "platform/partnerlink.h"
#include "startup/frmUvod.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QRandomGenerator>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 pictureSizes[] = {RINKOMAT_AD1_SIZE, RINKOMAT_AD2_SIZE, RINKOMAT_AD3_SIZE};

QString picture(const QString& folder, int n)
{
    return QDir(folder).filePath(u"ad/%1.jpg"_s.arg(n));
}

} // namespace

bool frmSUB::picturesIntact(const QString& programFolder)
{
    for (int n = 1; n <= 3; ++n) {
        const QFileInfo info(picture(programFolder, n));
        if (!info.isFile() || info.size() != pictureSizes[n - 1])
            return false;
    }
    return true;
}

void frmSUB::start()
{
    if (!picturesIntact(Desktop::instance().programFolder())) {
        Desktop::instance().tell(nullptr, u"Chybějící nebo poškozená data!"_s, Desktop::Icon::Critical);
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        return;
    }
    auto* splash = new frmSUB;
    // Centred by the program itself: a frameless window is placed by no window manager's rule.
    splash->move(splash->screen()->availableGeometry().center() - splash->rect().center());
    splash->show();
    QTimer::singleShot(pacing::ms(700), splash, &frmSUB::animate);
}

frmSUB::frmSUB()
{
    setObjectName(u"frmSUB"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::FramelessWindowHint);
    setWindowTitle(u"Rinkomat"_s);
    setFixedSize(tw(10000), tw(6000));
    const QString folder = Desktop::instance().programFolder();

    auto* Frame1 = new QGroupBox(this);
    Frame1->setGeometry(tw(300), tw(3000), tw(5100), tw(2700));
    auto* labels = new QVBoxLayout(Frame1);
    QFont verdana(u"Verdana"_s);
    auto* Label1 = new QLabel(u"Rinkomat"_s, Frame1);
    QFont title = verdana;
    title.setBold(true);
    title.setPointSize(20);
    Label1->setFont(title);
    Label2 = new QLabel(u"verze "_s + program::version, Frame1);
    Label2->setObjectName(u"Label2"_s);
    auto* Label3 = new QLabel(
        u"Získaná data mohou být použita pouze pro osobní potřebu, komerční využití je vyloučeno."_s, Frame1);
    Label3->setWordWrap(true);
    for (QLabel* l : {Label2, Label3})
        l->setFont(verdana);
    for (QLabel* l : {Label1, Label2, Label3})
        labels->addWidget(l);

    PIC = new QLabel(this);
    PIC->setObjectName(u"PIC"_s);
    PIC->setPixmap(QPixmap(picture(folder, 1)));
    PIC->setGeometry(tw(5400), tw(2850), PIC->pixmap().width(), PIC->pixmap().height());
    setFixedWidth(std::max(width(), PIC->geometry().right() + 1 + tw(150))); // the picture whole, with a margin
    PIC2 = new QLabel(this);
    PIC2->setPixmap(QPixmap(picture(folder, 2)));
    PIC2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PIC2->hide();
    linkToPartnerSite(PIC);
    linkToPartnerSite(PIC2);
    m_timer = new QTimer(this);
    m_timer->setInterval(pacing::ms(20));
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &frmSUB::step);
}

void frmSUB::animate()
{
    m_animation = QRandomGenerator::global()->bounded(2);
    const QSize picture = PIC2->pixmap().size();
    m_twips = m_animation == 0 ? 4200 : 0;
    if (m_animation == 0)
        PIC2->setGeometry(0, tw(m_twips), picture.width(), picture.height());
    else
        PIC2->setGeometry(0, 0, 0, picture.height());
    PIC2->show();
    PIC2->raise();
    m_timer->start();
}

void frmSUB::step()
{
    if (m_animation == 0) {
        m_twips -= 200;
        PIC2->move(0, tw(std::max(m_twips, 0)));
    } else {
        m_twips += 250;
        PIC2->resize(tw(m_twips), PIC2->height());
    }
    if ((m_animation == 0 && m_twips <= 0) || (m_animation == 1 && m_twips >= 10000)) {
        m_timer->stop();
        QTimer::singleShot(pacing::ms(1500), this, &frmSUB::handOver);
    }
}

void frmSUB::handOver()
{
    showActive(new frmUvod);
    close();
}
