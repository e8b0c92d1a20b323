#include "source_text.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

SourceError::SourceError(const SourceLine& line, const std::string& message)
    : std::runtime_error(line.file + ":" + std::to_string(line.number) + ": " + message) {}

SourceError::SourceError(const std::string& file, const std::string& message)
    : std::runtime_error(file + ": " + message) {}

std::vector<SourceLine> readSourceLines(const std::string& path) {
  std::ifstream in(path);
  if (!in) {
    throw SourceError(path, "cannot open");
  }
  std::vector<SourceLine> lines;
  std::string text;
  int number = 0;
  while (std::getline(in, text)) {
    ++number;
    const size_t firstWord = text.find_first_not_of(" \t\r");
    if (firstWord != std::string::npos && text.compare(firstWord, 2, "//") == 0) {
      continue;
    }
    const size_t trailing = text.find(" //");
    if (trailing != std::string::npos) {
      text.erase(trailing);
    }
    SourceLine line{path, number, text, {}};
    std::istringstream words(text);
    std::string word;
    while (words >> word) {
      line.words.push_back(word);
    }
    lines.push_back(line);
  }
  return lines;
}

uint32_t parseColour(const SourceLine& line, const std::string& word) {
  char* end = nullptr;
  const unsigned long value = word.size() == 7 && word[0] == '#'
                                  ? std::strtoul(word.c_str() + 1, &end, 16)
                                  : 0;
  if (end == nullptr || *end != '\0') {
    throw SourceError(line, "expected a colour like #a0b1c2, found '" + word + "'");
  }
  return static_cast<uint32_t>(value);
}

double parseNumber(const SourceLine& line, const std::string& word) {
  char* end = nullptr;
  const double value = std::strtod(word.c_str(), &end);
  if (word.empty() || *end != '\0') {
    throw SourceError(line, "expected a number, found '" + word + "'");
  }
  return value;
}

int parseInteger(const SourceLine& line, const std::string& word) {
  char* end = nullptr;
  const long value = std::strtol(word.c_str(), &end, 10);
  if (word.empty() || *end != '\0') {
    throw SourceError(line, "expected a whole number, found '" + word + "'");
  }
  return static_cast<int>(value);
}
