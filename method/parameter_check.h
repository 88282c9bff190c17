// What the method requires of a parameter block before a run may start: the
// method library refuses a block with the first problem, and the parameter
// editor shows each problem beside its field.
#pragma once

#include <string>
#include <vector>

#include "method/run_parameters.h"

struct ParameterProblem {
  std::string Field;    // the field's name in RunParameters: "N", "VarI", "Covariance", ...
  std::string Message;  // for the user, in Russian

  bool operator==(const ParameterProblem&) const = default;
};

// Every problem of the parameters, in the order of the fields in the block,
// at most one per field; empty when a run can start. Checked: the kinds in
// their ranges; p >= 1 (>= 2 for the correlation hypotheses); vectors and
// triangles of p's sizes; finite means and generator parameters; N, M, K >= 1,
// M >= 5 and K * M within 32 bits; N large enough for the statistic's degrees
// of freedom and >= 2 when the covariance is estimated; VarI and VarJ within
// 1..p (kinds 3, 4) or 1..Q (kinds 5 to 7) and different; 1 <= Q < p;
// -1 < R0 < 1; a positive definite covariance (and alternative covariance
// when test kind 1 uses it); a scale > 0 for every law and a shape > 0 for
// the exponential-power law; a statistics path of at most 260 bytes, without
// NUL and with code page 1251 bytes only.
std::vector<ParameterProblem> CheckRunParameters(const RunParameters& parameters);
