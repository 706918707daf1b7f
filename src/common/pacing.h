// SPDX-License-Identifier: MIT
#pragma once

class QString;

// The designed durations of the program's animations, pauses and waits, in one place that a test can
// shorten: the factor is 1 unless the environment variable RINKOMAT_PACE sets another (e.g. 0.01).
namespace pacing {

// `designed` milliseconds times the factor, at least 1.
int ms(int designed);
// The factor a value of RINKOMAT_PACE asks for: a positive number, else 1.
double factorFrom(const QString& text);

} // namespace pacing
