// SPDX-License-Identifier: MIT
#pragma once

#include <QPoint>
#include <QRect>

// The screens were designed in twips at 96 dpi: 15 twips make one logical pixel.
inline constexpr int tw(int twips)
{
    return twips / 15;
}
inline QRect twipsRect(int left, int top, int width, int height)
{
    return {tw(left), tw(top), tw(width), tw(height)};
}
inline QPoint twipsPoint(int x, int y)
{
    return {tw(x), tw(y)};
}
