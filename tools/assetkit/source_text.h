// Reading the hand-written asset sources: lines, words, and errors that name
// the file and line, so a slip in a drawing is easy to find.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct SourceLine {
  std::string file;
  int number = 0;  // 1-based
  std::string text;
  std::vector<std::string> words;  // text split at blanks
};

class SourceError : public std::runtime_error {
public:
  SourceError(const SourceLine& line, const std::string& message);
  SourceError(const std::string& file, const std::string& message);
};

// The file's lines without comments: a line whose first non-blank characters
// are "//" is dropped, and so is anything after " //" on a line. Blank lines
// are kept (with no words) because they end drawing blocks.
std::vector<SourceLine> readSourceLines(const std::string& path);

// "#rrggbb" to 0xRRGGBB.
uint32_t parseColour(const SourceLine& line, const std::string& word);
double parseNumber(const SourceLine& line, const std::string& word);
int parseInteger(const SourceLine& line, const std::string& word);
