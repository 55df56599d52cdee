// Holds the lock that runs take on their target, as another run would, until
// destruction. POSIX record locks bind per process, so there it is held by a
// child process; Windows locks bind per handle, so there a handle of this
// process holds it.
#pragma once

#include <string>

namespace sif::test {

class LockHolder {
  public:
    explicit LockHolder(const std::string& file);
    ~LockHolder();  // frees the lock
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    bool Held() const { return held_; }

  private:
    bool held_ = false;
    long long holder_ = -1;  // the child's pid, or the handle
    int release_ = -1;       // POSIX: closing it ends the child
};

}  // namespace sif::test
