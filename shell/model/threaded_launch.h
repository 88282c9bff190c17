// The launch thread of one run. It binds the calculation library on the GUI
// thread, runs the library's entry in the run host, a child process started
// in the run folder, and hands the run host's window messages and error boxes
// to the GUI thread. The library's entry takes no stop request; a child
// process can be stopped without leaving anything of the run behind.
#pragma once

#include <QString>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "platform/library.h"
#include "shell/model/run_host_process.h"
#include "shell/model/run_temporaries.h"

class TThreadedLaunch : public QThread {
 public:
  // On the GUI thread, with the run folder current, for a run given that
  // parameter block. Throws Exception with 3901 when the library cannot be
  // loaded and 3902 when it lacks its entry.
  TThreadedLaunch(const QString& calcProgramDll, const QByteArray& parameters);
  ~TThreadedLaunch() override;

  // The termination event: on the GUI thread once the run host has ended,
  // whatever its library left running has been killed and the library has
  // been released, after the error box of a failed run. Not
  // fired for an aborted run. The object frees itself afterwards.
  std::function<void(TThreadedLaunch* sender)> OnTerminate;

  void Start();

  // On the GUI thread: ends the run host with whatever its library started
  // and waits until the worker has released the library. The worker never
  // waits for the GUI thread, nor for anything but the run host, so this
  // returns at once even while a window message of the run is in flight.
  void Abort();

  const QString& RunFolder() const { return runFolder_; }

 protected:
  void run() override;

 private:
  void Execute();
  void Terminated();

  platform::Library FLibrary;
  std::string libraryPath_;
  QString runFolder_;
  RunHostProcess host_;
  RunTemporaries temporaries_;  // touched by the worker only
  // Shared with requests already handed to the GUI thread, which may outlive this object.
  std::shared_ptr<std::atomic<bool>> aborted_;
  // Written by the worker, read on the GUI thread once the worker has ended.
  bool entryReturned_ = false;
};
