// The exception family shared by every library of the system. It lives in one
// shared library so that a type thrown in one of our libraries is caught by
// type in another (one copy of the type information for the whole process).
#pragma once

#include <exception>
#include <string>

#include "platform/export.h"

// An error with a message text meant for the user (UTF-8).
class WB_EXPORT Exception : public std::exception {
 public:
  explicit Exception(std::string message);
  ~Exception() override;

  const std::string& Message() const noexcept { return message_; }
  const char* what() const noexcept override;

 private:
  std::string message_;
};

class WB_EXPORT EHeapException : public Exception {
 public:
  using Exception::Exception;
  ~EHeapException() override;
};

class WB_EXPORT EOutOfMemory : public EHeapException {
 public:
  using EHeapException::EHeapException;
  ~EOutOfMemory() override;
};

// A file that cannot be opened for reading.
class WB_EXPORT EFOpenError : public Exception {
 public:
  using Exception::Exception;
  ~EFOpenError() override;
};

// A file that cannot be created or written.
class WB_EXPORT EFCreateError : public Exception {
 public:
  using Exception::Exception;
  ~EFCreateError() override;
};

// A file whose contents cannot be read as they should be: truncated or corrupt.
class WB_EXPORT EReadError : public Exception {
 public:
  using Exception::Exception;
  ~EReadError() override;
};

// A text or number that cannot be converted as asked.
class WB_EXPORT EConvertError : public Exception {
 public:
  using Exception::Exception;
  ~EConvertError() override;
};
