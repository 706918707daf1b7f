// SPDX-License-Identifier: MIT
#include "fit.h"

#include <QComboBox>
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
