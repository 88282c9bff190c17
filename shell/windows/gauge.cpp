#include "shell/windows/gauge.h"

#include <algorithm>

TCGauge::TCGauge(QWidget* parent) : QProgressBar(parent) {
  setObjectName("FGauge");
  setTextVisible(true);
  setAlignment(Qt::AlignCenter);
}

void TCGauge::AddProgress(int amount) {
  // A bar that has not moved yet reports minimum - 1.
  const qint64 sum = qint64{std::max(value(), minimum())} + amount;
  setValue(static_cast<int>(std::clamp<qint64>(sum, minimum(), maximum())));
}
