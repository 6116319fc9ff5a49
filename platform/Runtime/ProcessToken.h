// The process some code was set up in, held without keeping it alive. An object that registers
// with per-process services (the default notification centre, the main run loop) keeps one so
// that its teardown talks to that process's services, whichever process lets go of it last.
//
// On a device there is only the one process: runInside() just runs the work.
#pragma once

#include <functional>
#include <memory>

namespace gw {

class ProcessToken {
 public:
  ProcessToken() = default;  // no process: runInside() never runs anything
  static ProcessToken current();

  // Runs `work` as code of the process, if it is still running; returns whether it ran.
  bool runInside(const std::function<void()>& work) const;

 private:
  std::weak_ptr<void> process_;
};

}  // namespace gw
