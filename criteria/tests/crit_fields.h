// Marks every field of a CritVA so a test can tell which ones a call wrote.
#pragma once

#include "criteria/quessel.h"

inline constexpr double kUntouched = -123.0;

// 1e-10 held in single precision and widened: the criteria's lower bound.
inline constexpr double kEps = 1.000000013351432e-10;

inline CritVA FreshCrit() {
  CritVA crit;
  double* fields = &crit.KolmStat;
  for (int i = 0; i < 12; ++i) fields[i] = kUntouched;
  return crit;
}

inline int UntouchedFields(const CritVA& crit) {
  const double* fields = &crit.KolmStat;
  int untouched = 0;
  for (int i = 0; i < 12; ++i) untouched += fields[i] == kUntouched;
  return untouched;
}
