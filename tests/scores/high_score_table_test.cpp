#include "scores/high_score_table.h"

#include "support/headless.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

namespace {

const std::string DefaultName = "Mellow Quarrier";

std::string record(const std::string& nameField, uint64_t score) {
  std::string bytes = nameField;
  bytes.resize(HighScoreNameField, '\0');
  for (int byte = 0; byte < 8; ++byte) {
    bytes += static_cast<char>((score >> (8 * byte)) & 0xFF);
  }
  return bytes;
}

// The records of the rows, best first, as given.
std::string fileOf(std::vector<HighScoreEntry> bestFirst) {
  std::string bytes;
  for (const HighScoreEntry& row : bestFirst) {
    bytes += record(row.name, row.score);
  }
  return bytes;
}

std::vector<uint64_t> scoresOf(const HighScoreTable& table) {
  std::vector<uint64_t> scores;
  for (const HighScoreEntry& row : table.entries) {
    scores.push_back(row.score);
  }
  return scores;
}

const std::vector<uint64_t> DefaultScores = {250, 500, 750, 1000, 1250, 1500, 1750, 2000, 2250, 2500};

// Every table writes user.bin when it goes, so each test runs in a folder of
// its own.
class HighScoreTableTest : public testing::Test {
protected:
  void SetUp() override { startHeadlessAllegro(); }
  // Whether a save left a file of its own beside user.bin.
  bool leftoverBesideTable() const {
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      const std::string name = entry.path().filename().string();
      if (name != "user.bin" && name.rfind("user.bin", 0) == 0) {
        return true;
      }
    }
    return false;
  }
  ScopedWorkDir dir;
};

TEST_F(HighScoreTableTest, NoFileGivesTheDefaultsAndSavesThemOnExit) {
  {
    HighScoreTable table;
    EXPECT_EQ(scoresOf(table), DefaultScores);
    for (const HighScoreEntry& row : table.entries) {
      EXPECT_EQ(row.name, DefaultName);
    }
  }
  const std::string saved = dir.readFile("user.bin");
  ASSERT_EQ(saved.size(), 250u);
  EXPECT_EQ(saved.substr(0, 25), std::string("Mellow Quarrier\0\0\xc4\x09\0\0\0\0\0\0", 25));
  EXPECT_EQ(saved.substr(225), record(DefaultName, 250));
  EXPECT_FALSE(leftoverBesideTable());
}

TEST_F(HighScoreTableTest, RankCountsRowsStrictlyAbove) {
  HighScoreTable table;
  EXPECT_EQ(table.rankOf({249, ""}), -1);
  EXPECT_EQ(table.rankOf({0, ""}), -1);
  EXPECT_EQ(table.rankOf({250, ""}), 10);
  EXPECT_EQ(table.rankOf({251, ""}), 10);
  EXPECT_EQ(table.rankOf({1500, ""}), 5);
  EXPECT_EQ(table.rankOf({2499, ""}), 2);
  EXPECT_EQ(table.rankOf({2500, ""}), 1);
  EXPECT_EQ(table.rankOf({UINT64_MAX, ""}), 1);
}

TEST_F(HighScoreTableTest, NewRowLandsAtItsRankAboveEqualRows) {
  for (uint64_t score : {250u, 260u, 1500u, 2250u, 2500u, 9000u}) {
    HighScoreTable table;
    const int place = table.rankOf({score, "new"});
    table.insertEntry({score, "new"});
    ASSERT_EQ(table.entries.size(), 10u);
    EXPECT_EQ(table.entryAt(HighScoreRows - place).name, "new") << score;
    EXPECT_EQ(table.entryAt(HighScoreRows - place).score, score);
  }
}

TEST_F(HighScoreTableTest, EqualLowestPushesTheOlderRowOut) {
  HighScoreTable table;
  table.insertEntry({250, "late"});
  EXPECT_EQ(table.entryAt(0).name, "late");
  EXPECT_EQ(table.entryAt(1).score, 500u);
  EXPECT_EQ(table.entryAt(9).score, 2500u);
}

TEST_F(HighScoreTableTest, EqualBestGoesOnTop) {
  HighScoreTable table;
  table.insertEntry({2500, "champ"});
  EXPECT_EQ(table.entryAt(9).name, "champ");
  EXPECT_EQ(table.entryAt(8).name, DefaultName);
  EXPECT_EQ(table.entryAt(8).score, 2500u);
  EXPECT_EQ(table.entryAt(0).score, 500u);
}

TEST_F(HighScoreTableTest, OfEqualLowestRowsTheOldestGoes) {
  HighScoreTable table;
  table.entries[0] = {100, "oldest"};
  table.entries[1] = {100, "younger"};
  table.insertEntry({3000, "top"});
  EXPECT_EQ(table.entryAt(0).name, "younger");
  EXPECT_EQ(table.entryAt(9).name, "top");
}

TEST_F(HighScoreTableTest, LowScoreLeavesTheTableAlone) {
  HighScoreTable table;
  table.insertEntry({10, "nobody"});
  EXPECT_EQ(scoresOf(table), DefaultScores);
}

TEST_F(HighScoreTableTest, FileRowsAreReversedIntoAscendingOrderUnsorted) {
  dir.writeFile("user.bin", fileOf({{900, "a"}, {700, "b"}, {800, "c"}, {600, "d"}, {500, "e"},
                                    {400, "f"}, {300, "g"}, {200, "h"}, {100, "i"}, {50, "j"}}) +
                                "extra bytes after the tenth record");
  HighScoreTable table;
  EXPECT_EQ(scoresOf(table), (std::vector<uint64_t>{50, 100, 200, 300, 400, 500, 600, 800, 700, 900}));
  EXPECT_EQ(table.entryAt(0).name, "j");
  EXPECT_EQ(table.entryAt(9).name, "a");
}

TEST_F(HighScoreTableTest, ScoresCompareInFullSixtyFourBits) {
  const uint64_t big = (uint64_t{1} << 32) + 5;
  const uint64_t huge = (uint64_t{1} << 63) + 1;
  dir.writeFile("user.bin", fileOf({{huge, "huge"}, {big, "big"}, {20, ""}, {19, ""}, {18, ""},
                                    {17, ""}, {16, ""}, {15, ""}, {14, ""}, {13, ""}}));
  HighScoreTable table;
  EXPECT_EQ(table.entryAt(9).score, huge);
  EXPECT_EQ(table.entryAt(8).score, big);
  EXPECT_EQ(table.rankOf({5, ""}), -1);
  EXPECT_EQ(table.rankOf({big - 1, ""}), 3);
  EXPECT_EQ(table.rankOf({big, ""}), 2);
  EXPECT_EQ(table.rankOf({huge - 1, ""}), 2);
  EXPECT_EQ(table.rankOf({huge, ""}), 1);
  table.insertEntry({uint64_t{1} << 63, "between"});
  EXPECT_EQ(table.entryAt(8).name, "between");
}

TEST_F(HighScoreTableTest, ShortFileKeepsWholeRecordsAndFillsDefaults) {
  const std::string full = fileOf({{9000, "one"}, {8000, "two"}, {7000, "three"}, {6000, "four"}});
  dir.writeFile("user.bin", full.substr(0, 3 * HighScoreRecordBytes + 20));
  HighScoreTable table;
  EXPECT_EQ(scoresOf(table), (std::vector<uint64_t>{250, 500, 750, 1000, 1250, 1500, 1750, 7000, 8000, 9000}));
  EXPECT_EQ(table.entryAt(7).name, "three");
  EXPECT_EQ(table.entryAt(6).name, DefaultName);
}

TEST_F(HighScoreTableTest, ShortFileRowsRankAmongTheDefaults) {
  dir.writeFile("user.bin", fileOf({{100, "low"}}).substr(0, HighScoreRecordBytes));
  HighScoreTable table;
  EXPECT_EQ(scoresOf(table), (std::vector<uint64_t>{100, 250, 500, 750, 1000, 1250, 1500, 1750, 2000, 2250}));
  EXPECT_EQ(table.rankOf({300, ""}), 9);
}

TEST_F(HighScoreTableTest, EmptyFileGivesTheDefaults) {
  dir.writeFile("user.bin", "");
  HighScoreTable table;
  EXPECT_EQ(scoresOf(table), DefaultScores);
}

TEST_F(HighScoreTableTest, NameWithoutZeroByteStaysInsideItsField) {
  std::string first = std::string(HighScoreNameField, 'A');
  for (int byte = 0; byte < 8; ++byte) {
    first += static_cast<char>(byte == 0 ? 77 : 0);
  }
  dir.writeFile("user.bin", first + fileOf({{60, "x"}, {50, "x"}, {40, "x"}, {30, "x"}, {20, "x"},
                                            {10, "x"}, {9, "x"}, {8, "x"}, {7, "x"}}));
  HighScoreTable table;
  EXPECT_EQ(table.entryAt(9).name, std::string(HighScoreNameLimit, 'A'));
  EXPECT_EQ(table.entryAt(9).score, 77u);
  EXPECT_EQ(table.entryAt(8).score, 60u);
}

TEST_F(HighScoreTableTest, StreamRoundTripIsExactForNamesUpToSixteen) {
  for (int shortest : {0, 7}) {
    HighScoreTable table;
    table.entries.clear();
    for (int row = 0; row < HighScoreRows; ++row) {
      const uint64_t score = (uint64_t{1} << (54 + row)) + static_cast<uint64_t>(row);
      table.entries.push_back({score, std::string(static_cast<std::size_t>(shortest + row), static_cast<char>('a' + row))});
    }
    std::ostringstream first;
    ASSERT_TRUE(table.writeTo(first));
    ASSERT_EQ(first.str().size(), 250u);

    HighScoreTable reread;
    std::istringstream in(first.str());
    reread.readFrom(in);
    for (int row = 0; row < HighScoreRows; ++row) {
      EXPECT_EQ(reread.entryAt(row).name, table.entryAt(row).name);
      EXPECT_EQ(reread.entryAt(row).score, table.entryAt(row).score);
    }
    std::ostringstream second;
    reread.writeTo(second);
    EXPECT_EQ(second.str(), first.str());
  }
}

TEST_F(HighScoreTableTest, NamesAreWrittenWithZeroFillerAndBounded) {
  HighScoreTable table;
  table.entries[9].name = "";
  table.entries[8].name = std::string(20, 'L');
  std::ostringstream out;
  table.writeTo(out);
  EXPECT_EQ(out.str().substr(0, 17), std::string(17, '\0'));
  EXPECT_EQ(out.str().substr(25, 17), std::string(16, 'L') + '\0');
}

// Takes the given number of bytes, then fails every write.
class FailingBuffer : public std::streambuf {
public:
  explicit FailingBuffer(int room) : room_(room) {}

protected:
  int_type overflow(int_type c) override { return room_-- > 0 ? c : traits_type::eof(); }

private:
  int room_;
};

TEST_F(HighScoreTableTest, WriteToReportsAFailingStream) {
  HighScoreTable table;
  FailingBuffer buffer(100);
  std::ostream out(&buffer);
  EXPECT_FALSE(table.writeTo(out));
}

TEST_F(HighScoreTableTest, SaveWritesTheRowsBestFirst) {
  dir.writeFile("user.bin", "old");
  {
    HighScoreTable table;
    table.insertEntry({3000, "Zed"});
  }
  std::string expected = record("Zed", 3000);
  for (uint64_t score = 2500; score >= 500; score -= 250) {
    expected += record(DefaultName, score);
  }
  EXPECT_EQ(dir.readFile("user.bin"), expected);
  EXPECT_FALSE(leftoverBesideTable());
}

TEST_F(HighScoreTableTest, FailedSaveLeavesTheOldFileAndSaysSo) {
  dir.writeFile("user.bin", fileOf({{5, "keep"}}));
  std::filesystem::permissions(dir.path() + "/user.bin", std::filesystem::perms::owner_read);
  testing::internal::CaptureStdout();
  {
    HighScoreTable table;
    table.insertEntry({3000, "lost"});
  }
  EXPECT_NE(testing::internal::GetCapturedStdout().find("Error saving high scores"), std::string::npos);
  EXPECT_EQ(dir.readFile("user.bin"), fileOf({{5, "keep"}}));
  EXPECT_EQ(std::filesystem::status(dir.path() + "/user.bin").permissions(), std::filesystem::perms::owner_read);
}

TEST_F(HighScoreTableTest, SaveOverADirectoryFailsAndLeavesItAlone) {
  std::filesystem::create_directory(dir.path() + "/user.bin");
  dir.writeFile("user.bin/inside", "untouched");
  testing::internal::CaptureStdout();
  {
    HighScoreTable table;
    EXPECT_EQ(scoresOf(table), DefaultScores);
  }
  EXPECT_NE(testing::internal::GetCapturedStdout().find("Error saving high scores"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() + "/user.bin"));
  EXPECT_EQ(dir.readFile("user.bin/inside"), "untouched");
  EXPECT_FALSE(leftoverBesideTable());
}

}  // namespace
