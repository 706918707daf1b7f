// SPDX-License-Identifier: MIT
#include "pacing.h"

#include <QString>
#include <QtGlobal>
#include <algorithm>
#include <cmath>

namespace {

double& factor()
{
    static double value = [] {
        bool ok = false;
        const double f = qEnvironmentVariable("RINKOMAT_PACE").toDouble(&ok);
        return ok && f > 0 ? f : 1.0;
    }();
    return value;
}

} // namespace

int pacing::ms(int designed)
{
    return std::max(1, static_cast<int>(std::lround(designed * factor())));
}

void pacing::setFactor(double f)
{
    factor() = f;
}
