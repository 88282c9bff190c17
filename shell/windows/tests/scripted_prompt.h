// A prompt that answers questions from a script and records what it was
// shown, so that commands run end to end without a person.
#pragma once

#include <QList>
#include <QStringList>

#include "shell/model/prompt.h"

class ScriptedPrompt : public Prompt {
 public:
  void Error(const QString& text) override { errors.append(text); }

  Answer Question(const QString& caption, const QString& text) override {
    questions.append(caption + ": " + text);
    return answers.isEmpty() ? Answer::No : answers.takeFirst();
  }

  QList<Answer> answers;
  QStringList errors;
  QStringList questions;
};
