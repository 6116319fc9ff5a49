// NSLog of a finished line.
#pragma once

#include <string>

namespace gw::native::foundation {

// NSLog(@"%s", line): the line as it is, never read as a format.
void logLine(const std::string& line);

}  // namespace gw::native::foundation
