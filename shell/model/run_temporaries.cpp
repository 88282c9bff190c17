#include "shell/model/run_temporaries.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <utility>

#include "method/parameter_block.h"
#include "platform/cp1251.h"

namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return "";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Whether the folder at `path` is the one `folder` describes.
bool IsFolder(const struct stat& folder, const std::string& path) {
  struct stat other {};
  return !path.empty() && stat(path.c_str(), &other) == 0 && other.st_dev == folder.st_dev &&
         other.st_ino == folder.st_ino;
}

}  // namespace

RunTemporaries::RunTemporaries(std::string runFolder, const QByteArray& parameters)
    : runFolder_(std::move(runFolder)) {
  // Any other method's block is no business of ours: its run's temporaries
  // lie in the run folder or nowhere.
  try {
    const RunParameters block =
        DecodeRunParameters(std::string_view(parameters.constData(), parameters.size()));
    if (block.SaveValues == 0) return;
    statisticsPath_ = platform::Cp1251ToUtf8(block.StatisticsPath);
    repetitions_ = block.K;
  } catch (const std::exception&) {
  }
}

void RunTemporaries::Note(const platform::RunFrame& frame) {
  if (frame.kind == platform::RunFrameKind::TemporaryMade) left_.insert(frame.payload);
  if (frame.kind == platform::RunFrameKind::TemporaryGone) left_.erase(frame.payload);
}

void RunTemporaries::RemoveLeft() const {
  for (const std::string& path : left_) Remove(path);
}

// The run host resolves a relative statistics path in the run folder, and the
// number of a repetition's file stands where the path's first dot was, which
// may be in a folder's name: then each repetition has a folder of its own,
// and the number is read from the folder in question.
std::string RunTemporaries::StatisticsFolder(const std::string& folder) const {
  if (repetitions_ <= 0) return "";
  const auto absolute = [this](const std::string& path) {
    return path.starts_with('/') ? path : runFolder_ + "/" + path;
  };
  const auto folderOf = [&](std::int32_t number) {
    return FolderOf(absolute(StatisticsFileName(statisticsPath_, number)));
  };
  std::int32_t number = 1;
  if (folderOf(1) != folderOf(2)) {
    const std::size_t dot = statisticsPath_.find('.');
    const std::string before = absolute(dot == std::string::npos ? "" : statisticsPath_.substr(0, dot));
    if (folder.compare(0, before.size(), before) != 0) return "";
    const char* digits = folder.data() + before.size();
    const auto [end, error] = std::from_chars(digits, folder.data() + folder.size(), number);
    if (error != std::errc() || number < 1 || number > repetitions_) return "";
  }
  return folderOf(number);
}

// The folder is opened and checked once, and the file removed through it:
// the path's folders may change meanwhile, but not which folder it removes from.
void RunTemporaries::Remove(const std::string& path) const {
  const std::string folderPath = FolderOf(path);
  const std::string name = path.substr(path.rfind('/') + 1);
  if (folderPath.empty() || name.empty() || name == "." || name == "..") return;
  const int folder = open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return;
  struct stat identity {};
  if (fstat(folder, &identity) == 0 &&
      (IsFolder(identity, runFolder_) || IsFolder(identity, StatisticsFolder(folderPath)))) {
    unlinkat(folder, name.c_str(), 0);
  }
  close(folder);
}
