#include "generators/univariate.h"

TCValueNorm::TCValueNorm(double mean, double sd) : mean_(mean), sd_(sd) {}
TCValueNorm::~TCValueNorm() = default;
double TCValueNorm::CValue() { return olvend::ThreadValue(*this); }

TCValueLog::TCValueLog(double mean, double s) : mean_(mean), s_(s) {}
TCValueLog::~TCValueLog() = default;
double TCValueLog::CValue() { return olvend::ThreadValue(*this); }

TCValueLaplas::TCValueLaplas(double mean, double s) : mean_(mean), b_(s * olvend::kSqrt2Single) {}
TCValueLaplas::~TCValueLaplas() = default;
double TCValueLaplas::CValue() { return olvend::ThreadValue(*this); }

TCValueKoshi::TCValueKoshi(double location, double scale) : location_(location), scale_(scale) {}
TCValueKoshi::~TCValueKoshi() = default;
double TCValueKoshi::CValue() { return olvend::ThreadValue(*this); }
