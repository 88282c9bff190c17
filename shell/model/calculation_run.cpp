// The run of the method's calculation library: its start, its end on the GUI
// thread and its abort.
#include <QDir>
#include <utility>

#include "platform/exceptions.h"
#include "platform/program_folder.h"
#include "platform/system_time.h"
#include "shell/model/calculation.h"
#include "shell/model/strings.h"
#include "shell/model/threaded_launch.h"

namespace {

// The launch's own texts are not shown: a start that fails has one text.
TThreadedLaunch* NewLaunch(const QString& calcProgramDll, const QByteArray& parameters) {
  try {
    return new TThreadedLaunch(calcProgramDll, parameters);
  } catch (const Exception&) {
    throw Exception(LoadStdStr(StringId::CalcProgramFailed));
  }
}

}  // namespace

void TCalculation::Run() {
  RefuseWhileRunning("Расчет уже выполняется !");
  if (HasCalcProgram()) {
    TThreadedLaunch* launch;
    try {
      WriteExchangeFiles();
      launch = NewLaunch(FCalcProgramDll, FParameters);
    } catch (...) {
      DeleteExchangeFiles(QDir::currentPath());
      throw;
    }
    launch->OnTerminate = [this](TThreadedLaunch* sender) { ThreadTerminate(sender); };
    FLaunch = launch;
    launch->Start();
  }
  FRunTime = platform::NowDateTime();
}

void TCalculation::ThreadTerminate(TThreadedLaunch* sender) {
  // The run folder the run was started in, whatever is current now.
  DeleteExchangeFiles(sender->RunFolder());
  FLaunch = nullptr;
  if (OnCalculationEnd) OnCalculationEnd(sender);
}

void TCalculation::Abort() {
  if (!FLaunch) return;
  TThreadedLaunch* launch = std::exchange(FLaunch, nullptr);
  launch->Abort();
  DeleteExchangeFiles(launch->RunFolder());
  QDir::setCurrent(QString::fromStdString(platform::ProgramFolder()));
}
