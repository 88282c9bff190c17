// A calculation library for the run tests. Its "Parameters.dat" is one line
// naming what it does:
//   report N  - progress begin, steps and end for N samples, then index.html
//               with what the run saw; returns 1
//   long      - progress without end until it is stopped
//   temporary F - writes F under a temporary name and renames it, then
//               begins F's temporary file again, each noted as temporary,
//               and goes on as long
// A block of the Monte Carlo method that saves statistics files does as
// "temporary" with its last repetition's file.
//   crash     - dereferences null
//   throw     - lets an exception outside the family escape
//   oversize  - saves index.html past a file-size limit of 4 bytes and shows
//               the failure in its error box; returns 0
//   descriptors - index.html lists what the descriptors above the standard
//               streams lead to, one a line; returns 1
#include <dirent.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>

#include "method/parameter_block.h"
#include "platform/exceptions.h"
#include "platform/message_box.h"
#include "platform/temporary_files.h"
#include "platform/whole_file.h"
#include "platform/window_messages.h"

namespace {

std::intptr_t Send(std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) {
  const platform::WindowHandle window = platform::FindWindowByClass("TWMain");
  return window ? platform::SendWindowMessage(window, platform::kWmUser + message, wparam, lparam) : -1;
}

int Report(int samples) {
  const int step = samples / 20 > 0 ? samples / 20 : 1;
  const auto begin = Send(0, static_cast<std::uintptr_t>(samples), step);
  for (int sample = 1; sample <= samples; ++sample) {
    if (sample % step == 0) Send(1, 0, 0);
  }
  char folder[4096] = {};
  if (!getcwd(folder, sizeof folder - 1)) return 0;
  std::ostringstream data_set;
  data_set << std::ifstream("DataSets.dat", std::ios::binary).rdbuf();
  std::ofstream("index.html", std::ios::binary)
      << "begin answered " << begin << "\nfolder " << folder << "\ndata set " << data_set.str();
  Send(2, 0, 0);
  return 1;
}

[[noreturn]] void Long() {
  Send(0, 1000000, 50000);
  for (;;) {
    Send(1, 0, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

[[noreturn]] void Temporary(const std::string& path) {
  const std::string temporary = path + ".tmp";
  platform::NoteTemporaryFile(temporary);
  std::ofstream(temporary) << "whole";
  std::rename(temporary.c_str(), path.c_str());
  platform::ForgetTemporaryFile(temporary);
  platform::NoteTemporaryFile(temporary);
  std::ofstream(temporary) << "cut";
  Long();
}

int Descriptors() {
  std::string targets;
  DIR* folder = opendir("/proc/self/fd");
  if (!folder) return 0;
  while (const dirent* entry = readdir(folder)) {
    const int fd = std::atoi(entry->d_name);
    if (fd <= 2 || fd == dirfd(folder)) continue;
    char target[256] = {};
    if (readlinkat(dirfd(folder), entry->d_name, target, sizeof target - 1) > 0)
      targets += target + std::string("\n");
  }
  closedir(folder);
  std::ofstream("index.html", std::ios::binary) << targets;
  return 1;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int _RunCalcProgram() {
  std::ostringstream bytes;
  bytes << std::ifstream("Parameters.dat", std::ios::binary).rdbuf();
  try {
    const RunParameters block = DecodeRunParameters(bytes.str());
    if (block.SaveValues != 0) Temporary(StatisticsFileName(block.StatisticsPath, block.K));
  } catch (const Exception&) {
  }
  std::ifstream parameters("Parameters.dat");
  std::string command;
  parameters >> command;
  if (command == "report") {
    int samples = 0;
    parameters >> samples;
    return Report(samples);
  }
  if (command == "long") Long();
  if (command == "temporary") {
    std::string path;
    parameters >> path;
    Temporary(path);
  }
  if (command == "crash") {
    volatile int* nowhere = nullptr;
    *nowhere = 1;
  }
  if (command == "descriptors") {
    parameters.close();
    return Descriptors();
  }
  if (command == "throw") throw std::runtime_error("not one of the family");
  if (command == "oversize") {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = 4;
    setrlimit(RLIMIT_FSIZE, &limit);
    try {
      platform::WriteWholeFile("index.html", "longer than the limit", "Невозможно создать файл отчета");
    } catch (const Exception& error) {
      platform::ShowErrorBox(error.Message());
    }
  }
  return 0;
}
