// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/CommandParser.h"

#include "platform/DecimalText.h"

#include <cctype>

namespace {

using Kind = PlayerCommand::Kind;

std::optional<PlayerCommand> simple(Kind kind) {
  PlayerCommand command;
  command.kind = kind;
  return command;
}

} // namespace

std::optional<PlayerCommand> CommandParser::parse(const char* text) {
  m_error.clear();
  if (!text)
    return fail("empty command", "");
  const std::string line(text);
  std::vector<std::string> words;
  if (!tokenize(line, words))
    return fail("unterminated quote", line);
  if (words.empty())
    return fail("empty command", line);

  const std::string& name = words[0];
  const size_t arguments = words.size() - 1;
  if (name == "qira_loadfile")
    return parseLoad(words);
  if (name == "pause" && arguments == 0)
    return simple(Kind::Pause);
  if (name == "pt_step" && arguments == 2 && words[1] == "1" && words[2] == "1")
    return simple(Kind::Stop);
  if (name == "get_time_length" && arguments == 0)
    return simple(Kind::GetTimeLength);
  if (name == "frame_back_step" && arguments == 0)
    return simple(Kind::FrameBackStep);
  if (name == "hardware_decoding" && arguments == 1 && (words[1] == "0" || words[1] == "1"))
    return parseValue(Kind::HardwareDecoding, words, nullptr);
  if (name == "quit" && arguments == 0)
    return simple(Kind::Quit);
  if (name == "seek")
    return parseValue(Kind::Seek, words, "2");
  if (name == "speed_set")
    return parseValue(Kind::SpeedSet, words, "1");
  if (name == "speed_incr" && arguments == 1)
    return parseValue(Kind::SpeedIncrement, words, nullptr);
  if (name == "brightness")
    return parseValue(Kind::Brightness, words, "2");
  if (name == "volume")
    return parseValue(Kind::Volume, words, "2");
  return fail("unknown or malformed command", line);
}

std::optional<PlayerCommand> CommandParser::parseLoad(const std::vector<std::string>& words) {
  if (words.size() != 3 || words[1].empty() || words[2].empty())
    return fail("qira_loadfile needs two paths", words[0]);
  PlayerCommand command;
  command.kind = Kind::LoadFile;
  command.path1 = words[1];
  command.path2 = words[2];
  return command;
}

// "NAME VALUE [MODE]": MODE equal to absoluteMode makes the value absolute,
// "0" or no mode relative. Commands without a mode (absoluteMode null) take
// exactly one value.
std::optional<PlayerCommand> CommandParser::parseValue(Kind kind, const std::vector<std::string>& words,
                                                       const char* absoluteMode) {
  const size_t arguments = words.size() - 1;
  PlayerCommand command;
  command.kind = kind;
  if (arguments < 1 || arguments > (absoluteMode ? 2u : 1u) || !toNumber(words[1], command.value))
    return fail("malformed arguments", words[0]);
  if (arguments == 2) {
    if (words[2] == absoluteMode)
      command.absolute = true;
    else if (words[2] != "0")
      return fail("unknown mode " + words[2], words[0]);
  }
  return command;
}

bool CommandParser::tokenize(const std::string& text, std::vector<std::string>& words) {
  size_t i = 0;
  while (i < text.size()) {
    if (std::isspace(static_cast<unsigned char>(text[i]))) {
      ++i;
      continue;
    }
    std::string word;
    if (text[i] == '"') {
      const size_t close = text.find('"', i + 1);
      if (close == std::string::npos)
        return false;
      word = text.substr(i + 1, close - i - 1);
      i = close + 1;
    } else {
      while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i])))
        word += text[i++];
    }
    words.push_back(std::move(word));
  }
  return true;
}

bool CommandParser::toNumber(const std::string& word, double& value) {
  const std::optional<double> number = platform::parseDecimal(word);
  if (number)
    value = *number;
  return number.has_value();
}

std::optional<PlayerCommand> CommandParser::fail(const std::string& why, const std::string& text) {
  m_error = "player: " + why + (text.empty() ? std::string() : ": " + text);
  return std::nullopt;
}
