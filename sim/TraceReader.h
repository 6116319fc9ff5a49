// Reads a recorded attitude trace, one sample at a time, so that a trace of hours never has
// to be held in memory.
//
// The format is CSV with one header line, which comment lines starting with '#' may precede
// (a synthetic trace says there what it is). The header names at least the columns "t" (seconds
// from the start), "roll" and "pitch" (radians), in any order; other columns are ignored.
// Every row has as many fields as the header; blank lines are skipped; times strictly
// increase, from 0 to kMaxDeviceTimeSeconds. A UTF-8 byte order mark, CRLF line ends, spaces around
// fields and double quotes around a field are tolerated. The first problem ends the reading with
// one message "FILE:LINE: what is wrong".
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <istream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct TraceSample {
  double time = 0;  // seconds from the start of the trace
  double roll = 0;  // radians
  double pitch = 0;
};

class TraceReader {
 public:
  enum class Status { Sample, End, Error };

  // A line longer than this is refused (a sample row is well under a hundred bytes).
  static constexpr std::size_t kMaxLineBytes = 64 * 1024;

  // Reads from `input`, which must outlive the reader; `fileName` names it in messages.
  TraceReader(std::istream& input, std::string fileName);
  // Opens the file at `path`; a file that cannot be opened reports its error on the first
  // next() as "FILE: cannot read: reason".
  explicit TraceReader(const std::string& path);

  // The next sample (Status::Sample), the end of a good trace (Status::End), or an error
  // (Status::Error, see error()). After End or Error every call returns the same again.
  Status next(TraceSample& sample);

  const std::string& error() const { return error_; }
  std::uint64_t samplesRead() const { return samples_; }

 private:
  bool readLine(std::string_view& line);
  bool readHeader();
  Status fail(const std::string& message);
  Status failAtLine(const std::string& message);
  bool parseField(std::string_view text, std::string_view column, double& value);

  std::unique_ptr<std::ifstream> ownedInput_;
  std::istream& input_;
  std::string fileName_;
  std::string openError_;
  std::vector<char> buffer_;
  std::vector<std::string_view> fields_;
  std::uint64_t line_ = 0;
  std::uint64_t samples_ = 0;
  bool headerRead_ = false;
  Status finalStatus_ = Status::Sample;  // End or Error once reached
  std::string error_;
  std::size_t columnCount_ = 0;
  std::size_t timeColumn_ = 0;
  std::size_t rollColumn_ = 0;
  std::size_t pitchColumn_ = 0;
  double previousTime_ = 0;
};

}  // namespace sim
