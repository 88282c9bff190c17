// The fitting-criteria library Quessel: how well a sorted sample follows a null
// distribution. The records are shared with the callers, field for field.
// Every function may be called from several threads at once.
#pragma once

#include <cstdint>

#include "platform/export.h"

enum DistribKind : std::int8_t { dfChi2 = 1, dfFisher = 2, dfNormal = 3, dfBeta = 4, dfStudent = 5 };

// A null distribution, filled by the caller. Param1 is the degrees of freedom
// (chi-square, Student), the first degrees of freedom (Fisher) or the first
// shape (beta); Param2 the second of those. The normal law is the standard one.
struct DistribFunc {
  std::int8_t Kind;
  double Param1;
  double Param2;

  // F(x) with upper false, 1 - F(x) with upper true. A kind outside 1 to 5
  // gives F = 0, as an undefined law does.
  WB_EXPORT double Probability(double x, bool upper);
};

// Each statistic with the upper-tail probability of its limiting law; small
// probabilities mean a poor fit.
struct CritVA {
  double KolmStat;
  double KolmP;
  double SmirnStat;
  double SmirnP;
  double OmegaStat;
  double OmegaP;
  double BigOmegaStat;
  double BigOmegaP;
  double ChiStat;
  double ChiP;
  double LRStat;
  double LRP;
};

// Kolmogorov, Smirnov, omega-square and Omega-square criteria of the n >= 1
// values x, sorted ascending; fills the first eight fields of crit. A sample
// holding a value that is not finite fits no law: the four statistics are
// infinite and the four probabilities 0.
WB_EXPORT void KolmSmOm(double* x, int n, DistribFunc* dist, CritVA& crit);

// Pearson chi-square and likelihood-ratio criteria over k intervals (3 to 15)
// of the sorted values x; fills the last four fields of crit. Grouping: 0 equal
// width, 1 equal count, 2 boundaries and probabilities from "Table 28.txt" and
// "Table 29.txt" in folder, a text ending with its path separator. A sample
// holding a value that is not finite, or whose range is not, fits no law: both
// statistics are infinite and both probabilities 0.
WB_EXPORT void ChiRTrueStats(double* x, int n, DistribFunc* dist, int type, int k, CritVA& crit,
                             const char* folder);

// Sorts the n values into ascending order in place; NaN values go last.
WB_EXPORT void sort_up(int n, double* values);

// Composite Simpson integral of f over [a, b], halving the step from 10 to at
// most 160 subintervals until two results differ by less than eps. status: 0
// converged, 1 not converged (result holds the last sum), 2 b not greater than
// a (result untouched).
WB_EXPORT void blsimp0(double* result, double a, double b, double eps, double (*f)(double), int* status);
