// The parameter block ("Parameters.dat") as the method and the editor read
// it: the decoder refuses it with an exception of the family or gives fields
// that encode back to the very same bytes; the method's checks then take
// whatever the decoder gives without failing themselves.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "method/parameter_block.h"
#include "method/parameter_check.h"
#include "platform/exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view block(reinterpret_cast<const char*>(data), size);
  RunParameters parameters;
  try {
    parameters = DecodeRunParameters(block);
  } catch (const EReadError&) {
    return 0;
  }
  if (EncodeRunParameters(parameters) != block) std::abort();
  for (const ParameterProblem& problem : CheckRunParameters(parameters)) {
    if (problem.Field.empty() || problem.Message.empty()) std::abort();
  }
  return 0;
}
