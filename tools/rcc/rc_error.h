// The one kind of failure the resource compiler reports: a line of the
// script (or 0 for the script as a whole) and what is wrong there.
#pragma once

#include <stdexcept>
#include <string>

namespace sif::rcc {

class RcError : public std::runtime_error {
  public:
    RcError(int line, const std::string& message) : std::runtime_error(message), line_(line) {}
    int line() const { return line_; }

  private:
    int line_;
};

}  // namespace sif::rcc
