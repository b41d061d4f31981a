// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// JSON string literals for the documents the telemetry is exported in.
class JsonText {
public:
  // `text` in double quotes, with quotes, backslashes and control characters
  // escaped; other bytes pass as they are (the file names are UTF-8).
  static std::string Quoted(const std::string& text);
};
