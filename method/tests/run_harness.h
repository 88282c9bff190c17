// Runs the staged method library as the shell does: a fresh run folder made
// current, "Parameters.dat" written there, the library loaded from the
// program's Libraries folder and its entry called on a worker thread, with a
// window of class "TWMain" and the error box both recording what they get.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "method/run_parameters.h"
#include "platform/tests/temporary_folder.h"

namespace brennic_test {

struct WindowMessage {
  std::uint32_t message;
  std::uintptr_t wparam;
  std::intptr_t lparam;

  bool operator==(const WindowMessage&) const = default;
};

struct RunOutcome {
  int result = -1;
  std::vector<WindowMessage> messages;
  std::vector<std::string> error_boxes;
};

// A fresh temporary folder, current while the object lives; the previous
// current directory comes back and the folder goes at the end.
class RunFolder {
 public:
  RunFolder();
  ~RunFolder();
  RunFolder(const RunFolder&) = delete;
  RunFolder& operator=(const RunFolder&) = delete;

  const std::filesystem::path& Path() const { return folder_.Path(); }
  void WriteParameters(const RunParameters& parameters) const;
  void WriteFile(const std::string& name, const std::string& bytes) const;
  std::string ReadFile(const std::string& name) const;
  bool Exists(const std::string& name) const;

 private:
  std::filesystem::path previous_;
  TemporaryFolder folder_;
};

struct RunOptions {
  bool main_window = true;
  int millisecond = 0;  // the seed of the run's random source
};

// Loads libBrennic.so, calls _RunCalcProgram on a worker thread in the
// current directory and unloads the library.
RunOutcome RunBrennic(const RunOptions& options = {});

// A small, valid block: the given kinds with parameters that suit them,
// p = 3 (4 for the partial and multiple hypotheses), N = 10, M = 20, K = 2,
// the normal law, unit variances and correlations 0.5, no files or estimates.
RunParameters SmallRun(int test_kind, int generator_kind);

// The block with one statistics file per repetition, named after `path`.
RunParameters WithStatisticsFiles(RunParameters block, const std::string& path);

// The report's visible text: paragraphs, captions and table rows, one a line,
// cells joined by " | ".
std::string ReportText(const std::string& html);

// The progress messages of a completed run of `total` samples with `step`.
std::vector<WindowMessage> ExpectedProgress(std::int32_t total, std::int32_t step);

}  // namespace brennic_test
