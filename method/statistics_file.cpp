#include "method/statistics_file.h"

#include <locale>
#include <streambuf>
#include <string_view>

#include "method/run_parameters.h"
#include "platform/cp1251.h"
#include "platform/quoted.h"
#include "platform/whole_file.h"

namespace {

// Hands what a stream writes on to a save, a buffer at a time, so that a
// repetition of millions of values is never held as text in memory.
class SaveBuffer : public std::streambuf {
 public:
  explicit SaveBuffer(platform::WholeFileSave& save) : save_(save), buffer_(1 << 16) { Empty(); }

 protected:
  int_type overflow(int_type c) override {
    if (sync() != 0) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
  }

  int sync() override {
    const bool written = save_.Write(std::string_view(pbase(), static_cast<std::size_t>(pptr() - pbase())));
    Empty();
    return written ? 0 : -1;
  }

 private:
  void Empty() { setp(buffer_.data(), buffer_.data() + buffer_.size()); }

  platform::WholeFileSave& save_;
  std::vector<char> buffer_;
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
  platform::WholeFileSave save(name, "Невозможно создать файл статистик " + platform::Quoted(name));
  SaveBuffer buffer(save);
  std::ostream out(&buffer);
  WriteStatisticValues(out, StatisticName(run.TestKind), values);
  out.flush();
  save.Finish();
}
