#pragma once

// The one result convention of the logic: an operation that can fail returns a Status (or fills
// its outputs and returns one); a failure carries an error number and a description meant for the
// user. No exception leaves a module; code that calls something that may throw (memory
// exhaustion) turns it into a Status at that border.

#include <string>
#include <utility>

namespace hextant {

/// Error numbers of failures that are not a file's fault, as the user sees them reported.
inline constexpr int ErrorOverflow = 6;
inline constexpr int ErrorOutOfMemory = 7;
inline constexpr int ErrorUserInterrupt = 18;
inline constexpr int ErrorFileNotFound = 53;
inline constexpr int ErrorInputPastEnd = 62;
inline constexpr int ErrorFileAccess = 75;
/// Error number of a file that breaks its format.
inline constexpr int ErrorFileFormat = 10001;

class Status {
 public:
  static Status Ok() { return Status(); }
  static Status Error(int number, std::string description) {
    return Status(number, std::move(description));
  }

  bool IsOk() const noexcept { return number_ == 0; }
  explicit operator bool() const noexcept { return IsOk(); }
  int Number() const noexcept { return number_; }
  const std::string& Description() const noexcept { return description_; }

 private:
  Status() = default;
  Status(int number, std::string description)
      : number_(number), description_(std::move(description)) {}

  int number_ = 0;
  std::string description_;
};

}  // namespace hextant
