// SPDX-License-Identifier: MIT
#pragma once

// The designed durations of the program's animations, pauses and waits, in one place that a test can
// shorten: the factor is 1 unless set here or by the environment variable RINKOMAT_PACE (e.g. 0.01).
namespace pacing {

// `designed` milliseconds times the factor, at least 1.
int ms(int designed);
void setFactor(double factor);

} // namespace pacing
