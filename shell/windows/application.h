// The application object: a QApplication that shows every exception reaching
// the event loop in an error box, after which the program goes on. It speaks
// Russian in the toolkit's own texts too, carries the program's icon and
// keeps dialogs from being minimised out of reach.
#pragma once

#include <QApplication>
#include <exception>
#include <functional>

class Application : public QApplication {
 public:
  using ExceptionHandler = std::function<void(const std::exception&)>;

  // Loads the toolkit's Russian translation and sets the program's icon,
  // which every window shows.
  Application(int& argc, char** argv);

  // Replaces the display of unhandled exceptions; until a handler is
  // installed (and after an empty one) they go to a plain error box.
  static void SetExceptionHandler(ExceptionHandler handler);

  // Shows an exception that a command let pass. Also for code that catches
  // at its own entry point so that no exception unwinds through Qt's frames.
  static void HandleException(const std::exception& error);

  bool notify(QObject* receiver, QEvent* event) override;
};

// Runs `work`, handing any exception it lets pass to the application.
void RunGuarded(const std::function<void()>& work);
