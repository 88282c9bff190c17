#include "shell/model/threaded_launch.h"

#include <QDir>
#include <exception>
#include <string>

#include "platform/exceptions.h"
#include "platform/message_box.h"
#include "platform/program_folder.h"
#include "platform/window_messages.h"
#include "shell/model/strings.h"

namespace {

// On the GUI thread: carries out one request of the run host and answers it.
void AnswerRequest(const RunHostChannel& channel, const std::atomic<bool>& aborted,
                   const platform::RunFrame& request) {
  if (aborted) return;
  std::int64_t answer = 0;
  try {
    if (request.kind == platform::RunFrameKind::ErrorBox) {
      platform::ShowErrorBox(request.payload);
    } else if (const auto message = platform::DecodeWindowMessage(request)) {
      if (const auto window = platform::FindWindowByClass(message->class_name)) {
        answer = platform::SendWindowMessage(window, message->message, message->wparam, message->lparam);
      }
    }
  } catch (const std::exception& error) {
    // The receiver's own failure is shown like any other, and the run goes on.
    platform::ShowErrorBox(error.what());
  }
  if (!aborted) channel.Answer(answer);
}

}  // namespace

TThreadedLaunch::TThreadedLaunch(const QString& calcProgramDll, const QByteArray& parameters)
    : runFolder_(QDir::currentPath()),
      temporaries_(runFolder_.toStdString(), parameters),
      aborted_(std::make_shared<std::atomic<bool>>(false)) {
  const std::string name = calcProgramDll.toStdString();
  FLibrary = platform::Library::Load(name);
  if (!FLibrary.IsLoaded()) throw Exception(LoadStdStr(StringId::CalcProgramLoadError));
  if (!FLibrary.Entry("_RunCalcProgram")) {
    FLibrary.Free();
    throw Exception(LoadStdStr(StringId::CalcProgramEntryMissing));
  }
  libraryPath_ = platform::LibraryPath(name);
  connect(
      this, &QThread::finished, this, [this] { Terminated(); }, Qt::QueuedConnection);
}

TThreadedLaunch::~TThreadedLaunch() = default;

void TThreadedLaunch::Start() { start(QThread::NormalPriority); }

void TThreadedLaunch::Abort() {
  *aborted_ = true;
  host_.Stop();
  wait();
}

void TThreadedLaunch::run() { Execute(); }

void TThreadedLaunch::Execute() {
  if (host_.Start(platform::ProgramFolder() + "RunHost", libraryPath_, runFolder_.toStdString())) {
    while (auto frame = host_.Next()) {
      if (frame->kind == platform::RunFrameKind::EntryReturned) {
        entryReturned_ = true;
      } else if (frame->kind == platform::RunFrameKind::TemporaryMade ||
                 frame->kind == platform::RunFrameKind::TemporaryGone) {
        temporaries_.Note(*frame);
      } else {
        QMetaObject::invokeMethod(
            this,
            [channel = host_.Channel(), aborted = aborted_, request = std::move(*frame)] {
              AnswerRequest(*channel, *aborted, request);
            },
            Qt::QueuedConnection);
      }
    }
    host_.Wait();
    // Nothing of the run is left to finish them: an aborted or crashed run
    // leaves none of them behind in its folders.
    temporaries_.RemoveLeft();
  }
  // Released before the end of the run is handled.
  FLibrary.Free();
}

void TThreadedLaunch::Terminated() {
  wait();
  try {
    if (!*aborted_ && !entryReturned_) platform::ShowErrorBox(LoadStdStr(StringId::CalcProgramFailed));
    if (!*aborted_ && OnTerminate) OnTerminate(this);
  } catch (const std::exception& error) {
    platform::ShowErrorBox(error.what());
  }
  deleteLater();
}
