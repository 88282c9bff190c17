// Runs of the open calculation: the run folder, the Run button that turns
// into the Abort button, and the end of a run, whose report is shown and
// recorded in the project.
#include <fcntl.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/exceptions.h"
#include "platform/folder_removal.h"
#include "platform/program_folder.h"
#include "platform/quoted.h"
#include "shell/model/calculation.h"
#include "shell/model/project.h"
#include "shell/model/strings.h"
#include "shell/windows/action_link.h"
#include "shell/windows/image_list.h"
#include "shell/windows/main_window.h"
#include "shell/windows/report_window.h"
#include "shell/windows/run_names.h"

namespace {

QString ProgramFolder() { return QString::fromStdString(platform::ProgramFolder()); }

// Makes the program folder current again when it goes, however the scope ends.
class ProgramFolderRestorer {
 public:
  ProgramFolderRestorer() = default;
  ~ProgramFolderRestorer() { QDir::setCurrent(ProgramFolder()); }
  ProgramFolderRestorer(const ProgramFolderRestorer&) = delete;
  ProgramFolderRestorer& operator=(const ProgramFolderRestorer&) = delete;
};

// A run folder that the run left empty (it failed to start or failed before
// writing anything) goes: it would only pile up under "Reports/". One that
// holds anything stays; rmdir removes no other.
void RemoveIfEmpty(const QString& folder) { QDir().rmdir(folder); }

}  // namespace

// The project's folder, or the program's "Projects/" for a project never
// saved, then "Reports/" and the time stamp.
QString TWMain::RunFolder() const {
  QString base = FProject->GetFolder();
  if (base.isEmpty()) base = ProgramFolder() + LoadStr(StringId::ProjectsFolder);
  return base + LoadStr(StringId::ReportsFolder) + RunFolderStamp(QDateTime::currentDateTime());
}

// A run that does not start leaves the Run button and the program folder as
// they were before.
void TWMain::CalcRunExecute() {
  const QString folder = RunFolder();
  // A run whose folder cannot be made would leave its files wherever the
  // current directory happens to be, so it is refused; so is one whose folder
  // is there already, which an abort would remove with another run's files.
  if (!QDir().mkpath(QFileInfo(folder).path()) || !QDir().mkdir(folder) || !QDir::setCurrent(folder)) {
    QDir::setCurrent(ProgramFolder());
    throw Exception("Невозможно создать папку отчета " + platform::Quoted(folder.toStdString()) + " !");
  }
  ShowRunState(true);
  FCalculation->OnCalculationEnd = [this](TThreadedLaunch* sender) { CalcFinished(sender); };
  try {
    FCalculation->Run();
  } catch (...) {
    ShowRunState(false);
    QDir::setCurrent(ProgramFolder());
    RemoveIfEmpty(folder);
    throw;
  }
  if (!FCalculation->IsRunning()) {
    ShowRunState(false);
    QDir::setCurrent(ProgramFolder());
    RemoveIfEmpty(folder);
  }
}

void TWMain::CalcAbortExecute() {
  ShowRunState(false);
  ProgressEnd();
  if (FCalculation != nullptr) AbortRun();
}

// Nothing of an aborted run stays. No report is recorded for it, so one that
// it finished before the abort took effect would lie where the program cannot
// reach it, with whatever else the run wrote there. The folder was made for
// the run alone and is current until the run ends: it is held open before the
// abort hands the current directory back, and removed through that
// descriptor, so that a folder swapped for a link meanwhile leads nowhere.
void TWMain::AbortRun() {
  const bool running = FCalculation->IsRunning();
  const int folder = running ? ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
  const QByteArray path = QFile::encodeName(QDir::currentPath());
  FCalculation->Abort();
  if (folder >= 0) platform::RemoveOpenFolder(folder, path.toStdString());
}

// The run folder is current until the end is handled. A run that failed
// before its end message leaves no gauge behind.
void TWMain::CalcFinished(TThreadedLaunch*) {
  const QString folder = QDir::currentPath();
  const ProgramFolderRestorer restorer;
  ShowRunState(false);
  ProgressEnd();
  const QString report_file = LoadStr(StringId::ReportFile);
  if (!QFile::exists(report_file)) {
    QDir::setCurrent(ProgramFolder());
    RemoveIfEmpty(folder);
    return;
  }
  const QString caption = ReportCaption(QDateTime::currentDateTime());
  auto* report = new TWReport(mdiArea);
  report->setWindowTitle(caption);
  report->Navigate(folder + '/' + report_file);
  FProject->AddReport(caption, folder);
  RefreshProjectTree();
}

// While a calculation runs, the Run button is the Abort button and no other
// method can be chosen.
void TWMain::ShowRunState(bool running) {
  bbRunCalculationLink->SetAction(running ? CalcAbort : CalcRun);
  bbRunCalculation->setIcon(LoadGlyph(running ? "btn_Abort" : "btn_Run"));
  bbRunCalculation->repaint();
  cbMethods->setEnabled(!running);
}
