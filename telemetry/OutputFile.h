// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Writes a whole document to a path through a temporary file beside it, so
// that a failed write leaves no partial file and an existing one untouched.
class OutputFile {
public:
  enum class Access {
    kShared,  // the permissions an ordinary new file gets (reads the umask)
    kPrivate, // the owner's alone; never touches the process's umask, so
              // threads may write at the same time
  };

  // False, with the reason in `error`, when the document could not be written.
  static bool Write(const std::string& path, const std::string& data, std::string& error,
                    Access access = Access::kShared);
};
