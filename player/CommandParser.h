// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "player/PlayerCommand.h"

#include <optional>
#include <string>
#include <vector>

// Turns the engine's text commands into PlayerCommand values. Anything that is
// not one of the known commands with well-formed arguments gives no command;
// errorText() then says why.
class CommandParser {
public:
  std::optional<PlayerCommand> parse(const char* text);
  const std::string& errorText() const { return m_error; }

private:
  // Splits at blanks; a double-quoted word may hold blanks. False on an
  // unterminated quote.
  bool tokenize(const std::string& text, std::vector<std::string>& words);
  std::optional<PlayerCommand> fail(const std::string& why, const std::string& text);
  static bool toNumber(const std::string& word, double& value);

  std::optional<PlayerCommand> parseLoad(const std::vector<std::string>& words);
  std::optional<PlayerCommand> parseValue(PlayerCommand::Kind kind, const std::vector<std::string>& words,
                                          const char* absoluteMode);

  std::string m_error;
};
