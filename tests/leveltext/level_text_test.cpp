// The text form of a level: the cell characters, where a parse error points,
// and text surviving the trip through maps.bin and back.
#include "level/level_builders.h"
#include "leveltext/level_set.h"
#include "leveltext/level_text.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::vector<std::string> openRows() {
  std::vector<std::string> rows(GridSize, std::string(GridSize, '.'));
  rows[30] = std::string(GridSize, '#');
  rows[29][3] = 'P';
  return rows;
}

std::string sourceText(const std::vector<std::string>& rows, const std::string& header = "title: T\n") {
  std::string text = header;
  for (const std::string& row : rows) {
    text += row + "\n";
  }
  return text;
}

std::string parseError(const std::string& text) {
  std::istringstream in(text);
  LevelSource source;
  std::string error;
  EXPECT_FALSE(parseLevelSource(in, "lv.txt", source, error));
  return error;
}

bool sameCells(const Level& a, const Level& b) { return std::memcmp(a.cells, b.cells, sizeof a.cells) == 0; }

TEST(LevelTextTest, EveryCodeHasItsOwnCharacter) {
  EXPECT_EQ(std::string(".#H-$PE789abcdef"), [] {
    std::string chars;
    for (int code = 0; code < 16; ++code) {
      chars += cellChar(code);
    }
    return chars;
  }());
  for (int code = 0; code < 16; ++code) {
    EXPECT_EQ(code, cellCodeOf(cellChar(code)));
  }
  EXPECT_EQ(-1, cellCodeOf(' '));
  EXPECT_EQ(-1, cellCodeOf('A'));
}

TEST(LevelTextTest, ParseErrorsNameFileLineAndColumn) {
  std::vector<std::string> rows = openRows();
  rows[5] += ".";
  EXPECT_EQ("lv.txt:7:33: row 5 has 33 cells, expected 32", parseError(sourceText(rows)));

  rows = openRows();
  rows[10].pop_back();
  EXPECT_EQ("lv.txt:13:32: row 10 has 31 cells, expected 32", parseError(sourceText(rows, "title: T\nnote: n\n")));

  rows = openRows();
  rows[2][7] = 'x';
  EXPECT_EQ("lv.txt:4:8: unknown cell character 'x'", parseError(sourceText(rows)));
  rows[2][7] = ' ';
  EXPECT_EQ("lv.txt:4:8: unknown cell character ' '", parseError(sourceText(rows)));

  rows = openRows();
  rows.pop_back();
  EXPECT_EQ("lv.txt:33:1: expected 32 rows, found 31", parseError(sourceText(rows)));
  rows = openRows();
  rows.push_back(std::string(GridSize, '.'));
  EXPECT_EQ("lv.txt:34:1: more than 32 rows", parseError(sourceText(rows)));

  rows = openRows();
  rows[29][3] = '.';
  EXPECT_EQ("lv.txt:2:1: no player start 'P' in the level", parseError(sourceText(rows)));

  EXPECT_EQ("lv.txt:1:1: expected a first line 'title: ...'", parseError(sourceText(openRows(), "")));
}

TEST(LevelTextTest, WindowsLineEndsAndTrailingBlankLinesAreAccepted) {
  std::string text = "title: Crlf\r\n";
  for (const std::string& row : openRows()) {
    text += row + "\r\n";
  }
  std::istringstream in(text + "\n\n");
  LevelSource source;
  std::string error;
  ASSERT_TRUE(parseLevelSource(in, "lv.txt", source, error)) << error;
  EXPECT_EQ("Crlf", source.title);
  EXPECT_TRUE(sameCells(levelFromRows(openRows()), source.level));
}

TEST(LevelTextTest, WrittenTextReadsBackTheSame) {
  std::vector<std::string> rows = openRows();
  rows[0] = "789abcdef.#H-$PE789abcdef.#H-$PE";
  const LevelSource written{"All codes", "a note", levelFromRows(rows)};
  std::ostringstream out;
  writeLevelSource(out, written);
  EXPECT_EQ(sourceText(rows, "title: All codes\nnote: a note\n"), out.str());

  std::istringstream in(out.str());
  LevelSource read;
  std::string error;
  ASSERT_TRUE(parseLevelSource(in, "lv.txt", read, error)) << error;
  EXPECT_EQ("All codes", read.title);
  EXPECT_EQ("a note", read.note);
  EXPECT_TRUE(sameCells(written.level, read.level));
}

TEST(LevelTextTest, LevelFromRowsRejectsAnyGridButThirtyTwoByThirtyTwo) {
  std::vector<std::string> rows = openRows();
  rows.pop_back();
  EXPECT_THROW(levelFromRows(rows), std::invalid_argument);
  rows = openRows();
  rows[31] += ".";
  EXPECT_THROW(levelFromRows(rows), std::invalid_argument);
  rows = openRows();
  rows[0][0] = '?';
  EXPECT_THROW(levelFromRows(rows), std::invalid_argument);
  rows[0][0] = '.';
  rows[29][3] = '.';
  EXPECT_NO_THROW(levelFromRows(rows)) << "tests may build levels without a start";
}

TEST(LevelTextTest, MapsBinReadsBackAsTheSameLevels) {
  std::vector<std::string> rows = openRows();
  rows[0] = "789abcdef.#H-$PE789abcdef.#H-$PE";
  const std::vector<Level> levels = {levelFromRows(openRows()), levelFromRows(rows)};
  std::istringstream in(mapsBinBytes(levels) + endRecord());
  const std::vector<LevelSource> sources = levelSourcesOf(in);
  ASSERT_EQ(2u, sources.size());
  EXPECT_EQ("Level 2", sources[1].title);
  EXPECT_TRUE(sameCells(levels[0], sources[0].level));
  EXPECT_TRUE(sameCells(levels[1], sources[1].level));

  std::istringstream invalid(endRecord());
  EXPECT_TRUE(levelSourcesOf(invalid).empty());
}

class LevelListTest : public ::testing::Test {
protected:
  void write(const std::string& name, const std::vector<std::string>& rows) {
    dir_.writeFile(name, sourceText(rows));
  }

  bool compile(std::string& error) { return compileLevelList(dir_.path() + "/levels.txt", bytes_, error); }

  ScopedWorkDir dir_;
  std::string bytes_;
};

TEST_F(LevelListTest, CompilesTheListedLevelsInOrderAndReadsEitherFormBack) {
  std::vector<std::string> second = openRows();
  second[0][0] = '$';
  write("a.txt", openRows());
  write("b.txt", second);
  dir_.writeFile("levels.txt", "# play order\nb.txt\n\n  a.txt  \n");
  std::string error;
  ASSERT_TRUE(compile(error)) << error;
  EXPECT_EQ(mapsBinBytes({levelFromRows(second), levelFromRows(openRows())}) + endRecord(), bytes_);

  dir_.writeFile("maps.bin", bytes_);
  for (const char* name : {"levels.txt", "maps.bin"}) {
    std::vector<Level> levels;
    ASSERT_TRUE(readLevelSet(dir_.path() + "/" + name, levels, error)) << error;
    ASSERT_EQ(2u, levels.size()) << name;
    EXPECT_TRUE(sameCells(levelFromRows(second), levels[0])) << name;
  }
}

TEST_F(LevelListTest, AFaultyLevelIsReportedWhereItLies) {
  std::vector<std::string> rows = openRows();
  rows[3][9] = 'q';
  write("good.txt", openRows());
  write("bad.txt", rows);
  dir_.writeFile("levels.txt", "good.txt\nbad.txt\n");
  std::string error;
  EXPECT_FALSE(compile(error));
  EXPECT_EQ(dir_.path() + "/bad.txt:5:10: unknown cell character 'q'", error);

  dir_.writeFile("levels.txt", "good.txt\n\nmissing.txt\n");
  EXPECT_FALSE(compile(error));
  EXPECT_EQ(0u, error.find(dir_.path() + "/levels.txt:3:1: cannot open level file")) << error;

  write("levels.txt", openRows());
  EXPECT_FALSE(compile(error));
  EXPECT_EQ(dir_.path() + "/levels.txt:1:1: a level, not a level list (a list names level files, one a line)", error);

  dir_.writeFile("levels.txt", "# nothing yet\n");
  EXPECT_FALSE(compile(error));
  EXPECT_NE(std::string::npos, error.find("the list names no level")) << error;
}

TEST_F(LevelListTest, ASetThatLoadsNoLevelIsRefusedByName) {
  std::vector<Level> levels;
  std::string error;
  dir_.writeFile("empty.bin", endRecord());
  EXPECT_FALSE(readLevelSet(dir_.path() + "/empty.bin", levels, error));
  EXPECT_EQ(dir_.path() + "/empty.bin: not a valid level file, the game would load no level", error);
  EXPECT_FALSE(readLevelSet(dir_.path() + "/missing.txt", levels, error));
  EXPECT_EQ(dir_.path() + "/missing.txt: cannot read the file", error);
}

// Given by mistake, these would hold the compiler up for ever or take all
// the memory there is; each is refused at once, by name.
TEST_F(LevelListTest, HugeFilesDevicesAndFifosAreRefusedAtOnce) {
  ASSERT_EQ(0, mkfifo((dir_.path() + "/pipe.txt").c_str(), 0644));
  std::string error;
  dir_.writeFile("levels.txt", "/dev/zero\n");
  EXPECT_FALSE(compile(error));
  EXPECT_EQ(dir_.path() + "/levels.txt:1:1: level file /dev/zero: not a regular file (a FIFO, a device or a folder)",
            error);
  dir_.writeFile("levels.txt", "pipe.txt\n");
  EXPECT_FALSE(compile(error));
  EXPECT_NE(std::string::npos, error.find("pipe.txt: not a regular file")) << error;

  dir_.writeFile("long.txt", sourceText(openRows()) + std::string(LevelFileMostBytes, '#'));
  dir_.writeFile("levels.txt", "long.txt\n");
  EXPECT_FALSE(compile(error));
  EXPECT_EQ(dir_.path() + "/levels.txt:1:1: level file " + dir_.path() +
                "/long.txt: larger than 64 KiB, too large for a level file",
            error);

  std::vector<Level> levels;
  dir_.writeFile("huge.bin", std::string(LevelListMostBytes + 1, '\x11'));
  EXPECT_FALSE(readLevelSet(dir_.path() + "/huge.bin", levels, error));
  EXPECT_EQ(dir_.path() + "/huge.bin: larger than 1024 KiB, too large for a level list or a maps.bin", error);
  EXPECT_FALSE(readLevelSet(dir_.path() + "/pipe.txt", levels, error));
  EXPECT_NE(std::string::npos, error.find("pipe.txt: not a regular file")) << error;
}

TEST_F(LevelListTest, NoMoreThan255LevelsFitTheFile) {
  write("a.txt", openRows());
  std::string list;
  for (int i = 0; i < 255; ++i) {
    list += "a.txt\n";
  }
  dir_.writeFile("levels.txt", list);
  std::string error;
  EXPECT_TRUE(compile(error)) << error;
  dir_.writeFile("levels.txt", list + "a.txt\n");
  EXPECT_FALSE(compile(error));
  EXPECT_NE(std::string::npos, error.find("levels.txt:256:1: more than 255 levels")) << error;
}

}  // namespace
