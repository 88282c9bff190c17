// The gamma-function approximations behind the exponential-power law. Its values
// are those of these approximations, not of the exact functions.
#pragma once

namespace olvend {

// Gamma(x) from the 8-term polynomial for Gamma(1 + f) on [0, 1] (Abramowitz and
// Stegun 6.1.36) and the recurrence; 1.0 outside (0, 20].
double GammaFunction(double x);

// The lower incomplete gamma function gamma(a, x) by its power series, stopped once
// a term falls below tol^2 (at most 999 terms); GammaFunction(a) beyond x = 500.
double IncompleteGamma(double a, double x, double tol);

// -1, 0 or +1.
int SignOf(double v);

}  // namespace olvend
