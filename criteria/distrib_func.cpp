#include "criteria/quessel.h"
#include "wendric/func_probability.h"

double DistribFunc::Probability(double x, bool upper) {
  switch (Kind) {
    case dfChi2:
      return FuncProbability::Chi2Probability(x, Param1, upper);
    case dfFisher:
      return FuncProbability::fProbability(x, Param1, Param2, upper);
    case dfNormal:
      return FuncProbability::NormProbability(x, 0.0, 1.0, upper);
    case dfBeta:
      return FuncProbability::BetaProbability(x, Param1, Param2, upper);
    case dfStudent:
      return FuncProbability::tProbability(x, Param1, upper, false);
    default:
      return upper ? 1.0 : 0.0;
  }
}
