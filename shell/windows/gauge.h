// The progress gauge laid over the status bar while a run reports progress.
#pragma once

#include <QProgressBar>

class TCGauge : public QProgressBar {
 public:
  explicit TCGauge(QWidget* parent);

  // Adds `amount` to the progress, kept within the minimum and the maximum.
  void AddProgress(int amount);
};
