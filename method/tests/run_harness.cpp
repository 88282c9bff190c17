#include "method/tests/run_harness.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <mutex>
#include <regex>
#include <sstream>
#include <thread>

#include "method/parameter_block.h"
#include "platform/message_box.h"
#include "platform/system_time.h"
#include "platform/window_messages.h"

namespace brennic_test {

namespace fs = std::filesystem;

RunFolder::RunFolder() : previous_(fs::current_path()) { fs::current_path(folder_.Path()); }

// The folder goes after this, once it is no longer current.
RunFolder::~RunFolder() {
  std::error_code ignored;
  fs::current_path(previous_, ignored);
}

void RunFolder::WriteParameters(const RunParameters& parameters) const {
  WriteFile("Parameters.dat", EncodeRunParameters(parameters));
}

void RunFolder::WriteFile(const std::string& name, const std::string& bytes) const {
  std::ofstream file(Path() / name, std::ios::binary);
  file << bytes;
}

std::string RunFolder::ReadFile(const std::string& name) const {
  std::ifstream file(Path() / name, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

bool RunFolder::Exists(const std::string& name) const { return fs::exists(Path() / name); }

RunOutcome RunBrennic(const RunOptions& options) {
  RunOutcome outcome;
  std::mutex mutex;
  const std::string library = std::string(WB_STAGE_DIR) + "/Libraries/libBrennic.so";
  void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    ADD_FAILURE() << dlerror();
    return outcome;
  }
  auto entry = reinterpret_cast<int (*)()>(dlsym(handle, "_RunCalcProgram"));
  if (entry == nullptr) {
    ADD_FAILURE() << "no _RunCalcProgram";
    dlclose(handle);
    return outcome;
  }

  platform::WindowHandle window = nullptr;
  if (options.main_window) {
    window = platform::RegisterWindow(
        "TWMain", [&](std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) -> std::intptr_t {
          std::lock_guard lock(mutex);
          outcome.messages.push_back({message, wparam, lparam});
          return 0;
        });
  }
  const platform::MessageBoxHandler previous_box =
      platform::SetMessageBoxHandler([&](const std::string& text) {
        std::lock_guard lock(mutex);
        outcome.error_boxes.push_back(text);
      });
  platform::FixUtcMillisecond(options.millisecond);

  std::thread worker([&] { outcome.result = entry(); });
  worker.join();

  platform::FixUtcMillisecond(-1);
  platform::SetMessageBoxHandler(previous_box);
  if (window != nullptr) platform::UnregisterWindow(window);
  dlclose(handle);
  return outcome;
}

RunParameters SmallRun(int test_kind, int generator_kind) {
  RunParameters run;
  run.TestKind = static_cast<std::int8_t>(test_kind);
  const bool partial = TestKindHasQ(test_kind);
  const int p = partial ? 4 : 3;
  run.VarI = 1;
  run.VarJ = 2;
  run.R0 = 0.5;
  run.Q = 2;
  run.GeneratorKind = static_cast<std::int8_t>(generator_kind);
  run.GenParam1 = 0;
  run.GenParam2 = 1;
  run.GenParam3 = 0.5f;
  run.Dimension = static_cast<std::int16_t>(p);
  run.Mean.assign(static_cast<std::size_t>(p), 0.0);
  for (int a = 0; a < p; ++a) {
    for (int b = a; b < p; ++b) run.Covariance.push_back(a == b ? 1.0 : 0.5);
  }
  run.N = 10;
  run.M = 20;
  run.K = 2;
  return run;
}

RunParameters WithStatisticsFiles(RunParameters block, const std::string& path) {
  block.SaveValues = 1;
  block.StatisticsPath = path;
  return block;
}

std::string ReportText(const std::string& html) {
  std::string body = html.substr(html.find("<body>"));
  body = std::regex_replace(body, std::regex("</(p|caption|tr)>"), "\n");
  body = std::regex_replace(body, std::regex("</t[hd]><t[hd][^>]*>"), " | ");
  body = std::regex_replace(body, std::regex("<[^>]*>"), "");
  body = std::regex_replace(body, std::regex("\n+"), "\n");
  return body.substr(body.find_first_not_of('\n'));
}

std::vector<WindowMessage> ExpectedProgress(std::int32_t total, std::int32_t step) {
  std::vector<WindowMessage> messages{{0x400, static_cast<std::uintptr_t>(total), step}};
  for (std::int32_t sample = step; sample <= total; sample += step) messages.push_back({0x401, 0, 0});
  messages.push_back({0x402, 0, 0});
  return messages;
}

}  // namespace brennic_test
