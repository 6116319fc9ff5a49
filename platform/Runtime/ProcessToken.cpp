#include "Runtime/ProcessToken.h"

#include "Device/Process.h"

namespace gw {

ProcessToken ProcessToken::current() {
  ProcessToken token;
  token.process_ = Process::current().weak_from_this();
  return token;
}

bool ProcessToken::runInside(const std::function<void()>& work) const {
  const std::shared_ptr<Process> process = std::static_pointer_cast<Process>(process_.lock());
  if (!process) return false;
  ProcessScope scope(*process);
  work();
  return true;
}

}  // namespace gw
