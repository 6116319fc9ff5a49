// What a read of a dictionary file (a preferences file) found, for the writers that change one
// entry and write the whole file back: a file that is there but could not be read (malformed,
// nested too deeply, too large, not a regular file, not readable by this user) must be left
// alone, since writing back just the changed entry would wipe every other one. A file that is
// simply not there is no such case: the write creates it.
#pragma once

#include <optional>
#include <utility>

#include "Foundation/Value.h"

struct DictionaryFileRead {
  enum class Outcome { Read, Absent, Unreadable };

  Outcome outcome = Outcome::Absent;
  // The file's entries when it was read; empty otherwise.
  Foundation::Dictionary dictionary;

  // The entries a rewrite starts from: the file's, none when it is absent, and nothing (do not
  // write) when it is unreadable.
  std::optional<Foundation::Dictionary> baseForRewrite() const {
    switch (outcome) {
      case Outcome::Read:
        return dictionary;
      case Outcome::Absent:
        return Foundation::Dictionary();
      case Outcome::Unreadable:
        break;
    }
    return std::nullopt;
  }
};
