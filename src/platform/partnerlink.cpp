// SPDX-License-Identifier: MIT
#include "partnerlink.h"

#include "common/programinfo.h"
#include "platform/desktop.h"

#include <QEvent>
#include <QUrl>
#include <QWidget>

namespace {

class PartnerLink final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::MouseButtonPress)
            return QObject::eventFilter(watched, event);
        Desktop::instance().browse(qobject_cast<QWidget*>(watched), QUrl(program::partnerSite));
        return true;
    }
};

} // namespace

void linkToPartnerSite(QWidget* widget)
{
    widget->setCursor(Qt::PointingHandCursor);
    widget->installEventFilter(new PartnerLink(widget));
}
