// SPDX-License-Identifier: MIT
#include "fit.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionComboBox>

int widthToShowAll(const QComboBox* box)
{
    QStyleOptionComboBox option;
    option.initFrom(box);
    const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box);
    int widest = 0;
    for (int i = 0; i < box->count(); ++i)
        widest = std::max(widest, box->fontMetrics().horizontalAdvance(box->itemText(i)));
    return widest + box->width() - field.width() + 2;
}

int widthToShow(const QWidget* label, const QStringList& texts)
{
    int widest = 0;
    for (const QString& text : texts)
        widest = std::max(widest, label->fontMetrics().horizontalAdvance(text));
    return widest + 2;
}

void makeRoom(QWidget* window, int fromX, int dx)
{
    if (dx <= 0)
        return;
    for (QObject* child : window->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && !w->isWindow() && w->x() >= fromX)
            w->move(w->x() + dx, w->y());
    }
    window->setFixedWidth(window->width() + dx);
}

QSize roomOnScreen(const QWidget* window)
{
    const QScreen* shownOn = window->parentWidget() ? window->parentWidget()->screen() : window->screen();
    return shownOn->availableGeometry().size() - QSize(40, 80);
}

void fitToScreen(QWidget* window)
{
    const QSize available = roomOnScreen(window);
    if (window->width() <= available.width() && window->height() <= available.height())
        return;
    auto* page = new QWidget;
    page->setFixedSize(window->size());
    for (QWidget* w : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const bool hidden = w->isHidden();
        w->setParent(page);
        w->setHidden(hidden);
    }
    auto* scroll = new QScrollArea(window);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(page);
    // The scroll bar of one direction takes no room from the other, where the screen has it.
    const int bar = scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll);
    QSize fitted = window->size().boundedTo(available);
    if (window->height() > available.height())
        fitted.rwidth() = std::min(window->width() + bar, available.width() + 40);
    if (window->width() > available.width())
        fitted.rheight() = std::min(window->height() + bar, available.height() + 80);
    window->setFixedSize(fitted);
    scroll->setGeometry(window->rect());
}

void showActive(QWidget* window)
{
    window->show();
    window->activateWindow();
}

QDialogButtonBox* acceptAndCancel(QWidget* dialog, const QString& acceptText, const QString& name, QPushButton*& accept)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, dialog);
    accept = buttons->addButton(acceptText, QDialogButtonBox::AcceptRole);
    accept->setObjectName(name);
    accept->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Zrušit"));
    return buttons;
}
