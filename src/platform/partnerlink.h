// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

// A click on the widget opens the advertising partner's site; the widget shows the hand pointer.
void linkToPartnerSite(QWidget* widget);
