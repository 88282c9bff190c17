// Limiting laws of the Kolmogorov, omega-square and Omega-square statistics,
// with the special functions they need. Internal to Quessel.
#pragma once

namespace quessel::internal {

// Kolmogorov distribution function K(S).
double KolmLimitDistr(double S);

// a1(S), the limiting distribution function of n times omega-square.
double LimitDistrA1(double S);

// a2(S), the limiting distribution function of n times Omega-square.
double LimitDistrA2(double S);

// e^-y (I_-1/4(y) - I_1/4(y)), I the modified Bessel function of the first kind.
double BesselDiffQuarter(double y);

// The integral over t from 0 to infinity of exp(a/(1+t^2) - b(1+t^2)).
double A2Integral(double a, double b);

// The integrand of A2Integral, with the a and b last given to it on the same
// thread. Its parameters pass through per-thread library variables because
// blsimp0 takes a plain function; each thread may evaluate the law at once.
double A2Integrand(double t);

// Gamma(x) for x > 0 by Abramowitz and Stegun 6.1.36 (error below 3e-7 on the
// fractional part). Throws the bare text "\n Function gamma:  arg <= 0.0" for
// x <= 0.
double gamma(double x);

}  // namespace quessel::internal
