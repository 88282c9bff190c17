// The one way the shell asks the user something or tells of an error: every
// modal question, error box and file dialog goes through a Prompt. The
// windows install one that shows Qt dialogs; tests install one that answers
// from a script, so commands run end to end without a person.
#pragma once

#include <QString>

class Prompt {
public:
  enum class Answer { Yes, No };

  virtual ~Prompt() = default;

  // A modal error box: the error icon and the single button "OK".
  virtual void Error(const QString& text) = 0;

  // A modal question with the buttons "Да" and "Нет".
  virtual Answer Question(const QString& caption, const QString& text) = 0;
};
