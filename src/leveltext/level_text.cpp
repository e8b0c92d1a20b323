#include "leveltext/level_text.h"

#include "level/cell_kinds.h"

#include <algorithm>
#include <istream>
#include <ostream>
#include <stdexcept>

namespace {

const std::string NoteKey = "note:";

// Files written on other systems may end their lines with "\r\n".
bool readLine(std::istream& in, std::string& line) {
  if (!std::getline(in, line)) {
    return false;
  }
  if (!line.empty() && line.back() == '\r') {
    line.pop_back();
  }
  return true;
}

bool startsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

std::string valueAfter(const std::string& line, const std::string& key) {
  const size_t start = line.find_first_not_of(' ', key.size());
  return start == std::string::npos ? std::string() : line.substr(start);
}

std::string describeChar(char c) {
  if (c >= 32 && c < 127) {
    return std::string("'") + c + "'";
  }
  return "byte " + std::to_string(static_cast<unsigned char>(c));
}

// Checks one row of cells and stores it as row y. Returns an empty string,
// or the fault with the 1-based column where it lies.
std::string readRow(const std::string& row, int y, Level& level, int& column) {
  for (int x = 0; x < GridSize && x < static_cast<int>(row.size()); ++x) {
    const int code = cellCodeOf(row[x]);
    if (code < 0) {
      column = x + 1;
      return "unknown cell character " + describeChar(row[x]);
    }
    level.cells[cellIndex(x, y)] = static_cast<int8_t>(code);
  }
  if (static_cast<int>(row.size()) != GridSize) {
    column = std::min(static_cast<int>(row.size()), GridSize) + 1;
    return "row " + std::to_string(y) + " has " + std::to_string(row.size()) +
           " cells, expected " + std::to_string(GridSize);
  }
  return std::string();
}

bool holdsPlayerStart(const Level& level) {
  for (int8_t code : level.cells) {
    if (code == PlayerStart) {
      return true;
    }
  }
  return false;
}

class SourceReader {
public:
  SourceReader(std::istream& in, const std::string& fileName) : in_(in), fileName_(fileName) {}

  bool read(LevelSource& out, std::string& error) {
    out = LevelSource();
    if (!next() || !startsWith(line_, LevelTitleKey)) {
      return fail(1, "expected a first line 'title: ...'", error);
    }
    out.title = valueAfter(line_, LevelTitleKey);
    bool haveRow = next();
    if (haveRow && startsWith(line_, NoteKey)) {
      out.note = valueAfter(line_, NoteKey);
      haveRow = next();
    }
    const int firstRowLine = lineNumber_;
    for (int y = 0; y < GridSize; ++y, haveRow = next()) {
      if (!haveRow) {
        return fail(1, "expected " + std::to_string(GridSize) + " rows, found " + std::to_string(y),
                    error);
      }
      int column = 0;
      const std::string fault = readRow(line_, y, out.level, column);
      if (!fault.empty()) {
        return fail(column, fault, error);
      }
    }
    for (; haveRow; haveRow = next()) {
      if (!line_.empty()) {
        return fail(1, "more than " + std::to_string(GridSize) + " rows", error);
      }
    }
    if (!holdsPlayerStart(out.level)) {
      lineNumber_ = firstRowLine;
      return fail(1, "no player start 'P' in the level", error);
    }
    return true;
  }

private:
  bool next() {
    ++lineNumber_;
    return readLine(in_, line_);
  }

  bool fail(int column, const std::string& message, std::string& error) const {
    error = fileName_ + ":" + std::to_string(lineNumber_) + ":" + std::to_string(column) + ": " +
            message;
    return false;
  }

  std::istream& in_;
  const std::string& fileName_;
  std::string line_;
  int lineNumber_ = 0;
};

}  // namespace

char cellChar(int code) {
  if (code < 0 || code >= CodeCount) {
    return '?';
  }
  return CellKinds[code].text;
}

int cellCodeOf(char c) {
  for (int code = 0; code < CodeCount; ++code) {
    if (CellKinds[code].text == c) {
      return code;
    }
  }
  return -1;
}

bool parseLevelSource(std::istream& in, const std::string& fileName, LevelSource& out,
                      std::string& error) {
  return SourceReader(in, fileName).read(out, error);
}

void writeLevelSource(std::ostream& out, const LevelSource& source) {
  out << LevelTitleKey << ' ' << source.title << '\n';
  if (!source.note.empty()) {
    out << NoteKey << ' ' << source.note << '\n';
  }
  for (int y = 0; y < GridSize; ++y) {
    std::string row(GridSize, '.');
    for (int x = 0; x < GridSize; ++x) {
      row[x] = cellChar(source.level.cells[cellIndex(x, y)]);
    }
    out << row << '\n';
  }
}

Level levelFromRows(const std::vector<std::string>& rows) {
  if (rows.size() != static_cast<size_t>(GridSize)) {
    throw std::invalid_argument("levelFromRows: " + std::to_string(rows.size()) +
                                " rows given, expected " + std::to_string(GridSize));
  }
  Level level{};
  for (int y = 0; y < GridSize; ++y) {
    int column = 0;
    const std::string fault = readRow(rows[y], y, level, column);
    if (!fault.empty()) {
      throw std::invalid_argument("levelFromRows: row " + std::to_string(y) + ", column " +
                                  std::to_string(column) + ": " + fault);
    }
  }
  return level;
}
