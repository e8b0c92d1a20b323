#include "replay/replay.h"

#include "base/small_file.h"
#include "game/game.h"
#include "game/player.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>

namespace {

constexpr char KeyLetters[] = "UDLRJK";  // in HeldKey bit order
constexpr int KeyLetterCount = 6;

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) {
    return {};
  }
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

bool parseKeyLetters(const std::string& letters, uint8_t& keys) {
  keys = 0;
  if (letters == "-") {
    return true;
  }
  const std::string_view known(KeyLetters, KeyLetterCount);
  for (char letter : letters) {
    const auto bit = known.find(static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
    if (bit == std::string_view::npos) {
      return false;
    }
    keys = static_cast<uint8_t>(keys | (1u << bit));
  }
  return !letters.empty();
}

bool parseNumber(const std::string& text, unsigned long maximum, unsigned long& value) {
  if (text.empty() || text.size() > 10) {
    return false;
  }
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) {
      return false;
    }
  }
  value = std::stoul(text);
  return value <= maximum;
}

// One "COUNT KEYS" line.
std::string parseKeyRun(const std::string& line, Replay& out) {
  std::istringstream words(line);
  std::string count;
  std::string letters;
  std::string extra;
  words >> count >> letters >> extra;
  unsigned long updates = 0;
  if (!parseNumber(count, UINT32_MAX, updates) || updates == 0) {
    return "the update count must be a whole number above 0";
  }
  uint8_t keys = 0;
  if (!extra.empty() || !parseKeyLetters(letters, keys)) {
    return "keys must be '-' or letters of UDLRJK, as in \"40 R\"";
  }
  out.keys.push_back({static_cast<uint32_t>(updates), keys});
  return {};
}

std::string parseOnOff(const std::string& value, bool& flag) {
  if (value != "on" && value != "off") {
    return "expected on or off";
  }
  flag = value == "on";
  return {};
}

std::string parseHeader(const std::string& name, const std::string& value, Replay& out) {
  unsigned long number = 0;
  if (name == "level") {
    out.levelFile = value;
  } else if (name == "maps") {
    out.mapsFile = value;
  } else if (name == "position") {
    if (!parseNumber(value, 254, number)) {
      return "the position must be 0 to 254";
    }
    out.position = static_cast<uint8_t>(number);
  } else if (name == "order") {
    if (value != "linear" && value != "random") {
      return "the order must be linear or random";
    }
    out.orderMode = value == "random" ? 1 : 0;
  } else if (name == "seed") {
    if (!parseNumber(value, UINT32_MAX, number)) {
      return "the seed must be a whole number";
    }
    out.seed = static_cast<unsigned>(number);
  } else if (name == "enemies") {
    return parseOnOff(value, out.enemies);
  } else if (name == "expect") {
    for (ReplayEnd end : {ReplayEnd::Cleared, ReplayEnd::GameOver, ReplayEnd::KeysRanOut}) {
      if (value == replayEndName(end)) {
        out.hasExpectation = true;
        out.expected = end;
        return {};
      }
    }
    return "expect must be cleared, game over or keys ran out";
  } else {
    return "unknown field \"" + name + "\"";
  }
  return {};
}

}  // namespace

const char* replayEndName(ReplayEnd end) {
  switch (end) {
    case ReplayEnd::Cleared: return "cleared";
    case ReplayEnd::GameOver: return "game over";
    case ReplayEnd::KeysRanOut: return "keys ran out";
  }
  return "?";
}

std::string heldKeyLetters(uint8_t keys) {
  std::string letters;
  for (int bit = 0; bit < KeyLetterCount; ++bit) {
    if (keys & (1u << bit)) {
      letters += KeyLetters[bit];
    }
  }
  return letters.empty() ? "-" : letters;
}

bool parseReplay(std::istream& in, const std::string& name, Replay& out, std::string& error) {
  std::string raw;
  int lineNumber = 0;
  while (std::getline(in, raw)) {
    ++lineNumber;
    const std::string line = trimmed(raw);
    if (line.empty() || line[0] == '#') {
      continue;
    }
    std::string problem;
    if (std::isdigit(static_cast<unsigned char>(line[0]))) {
      problem = parseKeyRun(line, out);
    } else {
      const auto colon = line.find(':');
      problem = colon == std::string::npos
                    ? "expected \"name: value\" or \"COUNT KEYS\""
                    : parseHeader(trimmed(line.substr(0, colon)), trimmed(line.substr(colon + 1)), out);
    }
    if (!problem.empty()) {
      error = name + ":" + std::to_string(lineNumber) + ": " + problem;
      return false;
    }
  }
  if (out.levelFile.empty() == out.mapsFile.empty()) {
    error = name + ": give exactly one of \"level:\" and \"maps:\"";
    return false;
  }
  if (!out.levelFile.empty() && (out.position != 0 || out.orderMode != 0)) {
    error = name + ": position and order go with \"maps:\" only";
    return false;
  }
  return true;
}

bool loadReplay(const std::string& path, Replay& out, std::string& error) {
  std::string bytes;
  if (!readSmallFile(path, ReplayFileMostBytes, "a replay", bytes, error)) {
    return false;
  }
  std::istringstream in(bytes);
  if (!parseReplay(in, path, out, error)) {
    return false;
  }
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  out.baseDir = folder.empty() ? "." : folder.string();
  return true;
}

std::uint64_t replayUpdates(const Replay& replay) {
  std::uint64_t updates = 0;
  for (const KeyRun& run : replay.keys) {
    updates += run.updates;
  }
  return updates;
}

bool proofFitsTheClock(const Replay& replay) {
  return replayUpdates(replay) <= std::uint64_t{LevelClockTicks} * StartingLives;
}

void holdKeys(Replay& replay, uint8_t keys, uint32_t updates) {
  if (updates == 0) {
    return;
  }
  if (!replay.keys.empty() && replay.keys.back().keys == keys) {
    replay.keys.back().updates += updates;
  } else {
    replay.keys.push_back({updates, keys});
  }
}

void writeReplay(std::ostream& out, const Replay& replay) {
  if (!replay.levelFile.empty()) {
    out << "level: " << replay.levelFile << "\n";
  } else {
    out << "maps: " << replay.mapsFile << "\n";
    out << "position: " << int{replay.position} << "\n";
    out << "order: " << (replay.orderMode == 1 ? "random" : "linear") << "\n";
  }
  out << "seed: " << replay.seed << "\n";
  out << "enemies: " << (replay.enemies ? "on" : "off") << "\n";
  if (replay.hasExpectation) {
    out << "expect: " << replayEndName(replay.expected) << "\n";
  }
  for (const KeyRun& run : replay.keys) {
    out << run.updates << " " << heldKeyLetters(run.keys) << "\n";
  }
}

bool saveReplay(const std::string& path, const Replay& replay, std::string& error) {
  std::ofstream out(path, std::ios::trunc);
  writeReplay(out, replay);
  out.close();
  if (!out) {
    error = path + ": cannot be written";
    return false;
  }
  return true;
}
