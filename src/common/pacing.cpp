// SPDX-License-Identifier: MIT
#include "pacing.h"

#include <QString>
#include <QtGlobal>
#include <algorithm>
#include <cmath>

double pacing::factorFrom(const QString& text)
{
    bool ok = false;
    const double f = text.toDouble(&ok);
    return ok && f > 0 ? f : 1.0;
}

int pacing::ms(int designed)
{
    static const double factor = factorFrom(qEnvironmentVariable("RINKOMAT_PACE"));
    return std::max(1, static_cast<int>(std::lround(designed * factor)));
}
