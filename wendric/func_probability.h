// Distribution functions and upper tails of the standard laws that the fitting
// criteria test against. Every member answers with a double and never throws.
#pragma once

#include "platform/export.h"

// With upper false each member gives F(x); with upper true the upper tail
// 1 - F(x), computed directly so that tiny tails keep their digits.
// An argument below the law's support gives F = 0, above it F = 1; a law
// that is not defined (a parameter that is not a positive finite number, or
// a normal mean that is not finite) and a NaN argument give F = 0, so a
// criterion reports a poor fit rather than a spurious one.
//
// Accuracy, as the tests measure it against high-precision values: a result
// that is a normal double lies within 1e-12 relative of the exact value while
// every parameter is at most 1000 (1e-13 at the points the runs meet, 2e-13 in
// the far tails and at subnormal arguments), and within 2e-11 with a
// parameter of a million. No such result comes out 0.
class WB_EXPORT FuncProbability {
 public:
  static double Chi2Probability(double x, double degrees, bool upper);
  static double fProbability(double x, double degrees1, double degrees2, bool upper);
  static double NormProbability(double x, double mean, double deviation, bool upper);
  static double BetaProbability(double x, double shape1, double shape2, bool upper);
  // The last flag is kept for the callers' signature; no caller sets it and it
  // changes nothing: the result is always the one-sided law.
  static double tProbability(double x, double degrees, bool upper, bool reserved);
};
