#pragma once

#include <stdexcept>
#include <string>

namespace dravlink {

// Every failure the user can meet travels as one of these: the text the error box shows and,
// where the system gave one, its error code. Thrown where the call failed, caught once where
// events are dispatched.
class Failure : public std::runtime_error {
 public:
  explicit Failure(const std::string& message, unsigned long systemCode = 0)
      : std::runtime_error(message), systemCode_(systemCode) {}
  unsigned long SystemCode() const noexcept { return systemCode_; }

 private:
  unsigned long systemCode_;
};

}  // namespace dravlink
