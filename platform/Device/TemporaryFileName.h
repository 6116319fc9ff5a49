// The names of the temporary files of atomic writes: ".<target>.<pid>.<six letters or digits>",
// hidden, beside the target, carrying the process id of the writer so that a later write can
// tell the leftovers of a writer that died (its process is gone) from the file a live writer
// is still filling.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

namespace temporary_file_name {

inline constexpr std::size_t kSuffixLength = 6;

// The name for `target`'s temporary file written by process `writer`; `suffix` holds
// kSuffixLength letters or digits.
std::string make(std::string_view target, pid_t writer, std::string_view suffix);

// The writer of `entry` when it is a temporary file of `target` as made above; nothing for any
// other name (the target itself, its lock file, another target's temporary file).
std::optional<pid_t> writerOf(std::string_view entry, std::string_view target);

}  // namespace temporary_file_name
