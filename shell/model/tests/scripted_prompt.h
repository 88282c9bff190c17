// A prompt that answers from a script and records what it was shown, so that
// commands run end to end without a person. The model's and the windows'
// tests share it. A question without a scripted answer gets No, and a dialog
// without a scripted result is cancelled.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QThread>
#include <optional>
#include <vector>

#include "shell/model/prompt.h"

class ScriptedPrompt : public Prompt {
 public:
  struct FileDialogShown {
    bool save;
    FileDialogSetup setup;
  };

  void Error(const QString& text) override {
    errors.append(text);
    errorThreads.push_back(QThread::currentThread());
  }

  void Information(const QString& text) override { informations.append(text); }

  void ShowMessage(const QString& text) override { messages.append(text); }

  Answer Question(const QString& caption, const QString& text) override {
    questions.append(caption + ": " + text);
    return NextAnswer();
  }

  Answer Confirm(const QString& text) override {
    questions.append(text);
    return NextAnswer();
  }

  std::optional<QString> AskName(const QString& caption, const QString& label,
                                 const QString& initial) override {
    namesAsked.append(caption + " | " + label + " | " + initial);
    return Next(names);
  }

  std::optional<QString> OpenFileName(const FileDialogSetup& setup) override {
    fileDialogs.append({false, setup});
    return Next(files);
  }

  std::optional<QString> SaveFileName(const FileDialogSetup& setup) override {
    fileDialogs.append({true, setup});
    return Next(files);
  }

  // The scripts, taken from the front.
  QList<Answer> answers;
  QList<std::optional<QString>> names;
  QList<std::optional<QString>> files;

  // What was shown, in order.
  QStringList errors;
  std::vector<QThread*> errorThreads;
  QStringList informations;
  QStringList messages;
  QStringList questions;
  QStringList namesAsked;
  QList<FileDialogShown> fileDialogs;

 private:
  Answer NextAnswer() { return answers.isEmpty() ? Answer::No : answers.takeFirst(); }

  static std::optional<QString> Next(QList<std::optional<QString>>& script) {
    return script.isEmpty() ? std::nullopt : script.takeFirst();
  }
};
