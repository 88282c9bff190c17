#include "method/statistics_file.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <locale>
#include <utility>

#include "method/run_parameters.h"
#include "platform/cp1251.h"
#include "platform/exceptions.h"
#include "platform/temporary_files.h"

namespace {

// A short name of its own in the file's folder, unique to this process and
// call: the final name with a suffix would be too long for a final name near
// the folder's limit of 255 bytes.
std::string TemporaryBeside(const std::string& name) {
  static std::atomic<unsigned> counter{0};
  return name.substr(0, name.rfind('/') + 1) + ".stat" + std::to_string(getpid()) + "-" +
         std::to_string(counter++) + ".tmp";
}

// A temporary file's name, noted before the file is made and forgotten once
// it has been renamed or removed: a run ended meanwhile, with the temporary
// file in a folder of the user's, leaves nothing of it there.
class NotedTemporary {
 public:
  explicit NotedTemporary(std::string path) : path_(std::move(path)) { platform::NoteTemporaryFile(path_); }
  ~NotedTemporary() { platform::ForgetTemporaryFile(path_); }
  NotedTemporary(const NotedTemporary&) = delete;
  NotedTemporary& operator=(const NotedTemporary&) = delete;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace

std::string StatisticName(int test_kind) {
  switch (test_kind) {
    case kTestKindX2:
      return "stX2";
    case kTestKindT2:
      return "stT2";
    case kTestKindPairT:
      return "stPair_t";
    case kTestKindPairZ0:
      return "stPair_z0";
    case kTestKindIndividT:
      return "stIndivid_t";
    case kTestKindIndividZ0:
      return "stIndivid_z0";
    case kTestKindF:
      return "stF";
    default:
      return "";
  }
}

void WriteStatisticValues(std::ostream& out, const std::string& name, const std::vector<double>& values) {
  out.imbue(std::locale::classic());
  out << name << '\n' << "0 " << values.size() << '\n';
  for (const double value : values) {
    out.precision(6);
    out.width(10);
    out << value << '\n';
  }
}

void SaveStatistics(const RunState& run, std::int32_t k, const std::vector<double>& values) {
  const std::string name = StatisticsFileName(platform::Cp1251ToUtf8(run.StatisticsPath), k + 1);
  const NotedTemporary temporary(TemporaryBeside(name));
  std::ofstream file(temporary.Path(), std::ios::out | std::ios::trunc);
  if (!file) throw EFCreateError("Невозможно создать файл статистик «" + name + "»");
  WriteStatisticValues(file, StatisticName(run.TestKind), values);
  file.close();
  if (!file || std::rename(temporary.Path().c_str(), name.c_str()) != 0) {
    std::remove(temporary.Path().c_str());
    throw EFCreateError("Невозможно записать файл статистик «" + name + "»");
  }
}
