// A parameter-editor library for the tests. The test scripts its answer
// (StubEditorScript) and reads back what it found (StubEditorSaw).
#include <fstream>
#include <sstream>
#include <string>

namespace {

int answer = 0;
bool write_parameters = false;
std::string parameters_to_write;
std::string parameters_seen;
bool saw_parameters = false;

}  // namespace

extern "C" {

// The editor's next result and, for size >= 0, the "Parameters.dat" it leaves.
__attribute__((visibility("default"))) void StubEditorScript(int result, const char* bytes, long size) {
  answer = result;
  write_parameters = size >= 0;
  parameters_to_write = write_parameters ? std::string(bytes, static_cast<std::size_t>(size)) : std::string();
}

// The "Parameters.dat" present at the last call, or null when there was none.
__attribute__((visibility("default"))) const char* StubEditorSaw(long* size) {
  *size = static_cast<long>(parameters_seen.size());
  return saw_parameters ? parameters_seen.data() : nullptr;
}

__attribute__((visibility("default"))) int _RunParamEditor() {
  std::ifstream in("Parameters.dat", std::ios::binary);
  saw_parameters = static_cast<bool>(in);
  std::ostringstream content;
  if (saw_parameters) content << in.rdbuf();
  parameters_seen = content.str();
  in.close();
  if (write_parameters) std::ofstream("Parameters.dat", std::ios::binary) << parameters_to_write;
  return answer;
}
}
