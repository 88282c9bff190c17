#include "platform/exceptions.h"

#include <utility>

// The destructors are defined here, out of line, so that the type information
// and virtual tables are emitted once, in this library.

Exception::Exception(std::string message) : message_(std::move(message)) {}
Exception::~Exception() = default;
const char* Exception::what() const noexcept { return message_.c_str(); }

EHeapException::~EHeapException() = default;
EOutOfMemory::~EOutOfMemory() = default;
EFOpenError::~EFOpenError() = default;
EFCreateError::~EFCreateError() = default;
EReadError::~EReadError() = default;
EConvertError::~EConvertError() = default;
