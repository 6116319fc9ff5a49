// NSLog of a finished line.
#pragma once

#include <string>

namespace gw::native::foundation {

// NSLog(@"%@", line): the line as it is, never read as a format. Bytes that are not UTF-8 are
// read as Latin-1 rather than dropped.
void logLine(const std::string& line);

}  // namespace gw::native::foundation
