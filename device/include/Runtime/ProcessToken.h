// The process some code was set up in. On a device there is only the one process, which is
// running whenever code runs: a token made by current() always runs the work.
#pragma once

#include <functional>

namespace gw {

class ProcessToken {
 public:
  ProcessToken() = default;  // no process: runInside() never runs anything
  static ProcessToken current() { return ProcessToken(true); }

  // Runs `work` as code of the process; returns whether it ran.
  bool runInside(const std::function<void()>& work) const {
    if (!set_) return false;
    if (work) work();
    return true;
  }

 private:
  explicit ProcessToken(bool set) : set_(set) {}
  bool set_ = false;
};

}  // namespace gw
