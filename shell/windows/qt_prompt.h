// The prompt of the running program: Qt message boxes with the system's
// Russian button texts.
#pragma once

#include <QPointer>
#include <QWidget>

#include "shell/model/prompt.h"

class QtPrompt : public Prompt {
 public:
  // Boxes are modal over `parent`, or over the active window when it is null.
  explicit QtPrompt(QWidget* parent = nullptr);

  void Error(const QString& text) override;
  Answer Question(const QString& caption, const QString& text) override;

 private:
  QWidget* Owner() const;

  QPointer<QWidget> parent_;
};
