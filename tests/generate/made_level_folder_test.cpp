// The folder a run fills: levels numbered in the order made, listed in order
// of their figure, each with its proof; an earlier run is cleared before a
// new one, and a folder holding anything else is refused and left alone.
#include "generate/made_level_folder.h"

#include "support/headless.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

MadeLevel madeLevel(const std::string& title, double figure) {
  MadeLevel made;
  made.source.title = title;
  made.source.level.cells[cellIndex(3, 29)] = PlayerStart;
  made.proof = {{16, HoldRight}};
  made.rating.figure = figure;
  return made;
}

std::vector<std::string> listedNames(const ScopedWorkDir& dir, const std::string& list) {
  std::vector<std::string> names;
  std::istringstream lines(dir.readFile(list));
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line[0] != '#') {
      names.push_back(line);
    }
  }
  return names;
}

TEST(MadeLevelFolder, ListsTheLevelsByFigureEachWithItsProof) {
  const ScopedWorkDir dir;
  MadeLevelFolder folder(dir.path() + "/run", " --seed 9");
  std::string error;
  ASSERT_TRUE(folder.prepare(error)) << error;
  for (const MadeLevel& made : {madeLevel("Misty Mine", 5.0), madeLevel("Amber  Galleries 2!", 2.0),
                                madeLevel("Iron Shafts", 8.0)}) {
    ASSERT_TRUE(folder.add(made, error)) << error;
  }
  EXPECT_EQ(listedNames(dir, "run/levels.txt"),
            (std::vector<std::string>{"002-amber-galleries-2.txt", "001-misty-mine.txt", "003-iron-shafts.txt"}));
  EXPECT_EQ(dir.readFile("run/levels.txt").rfind(MadeListMark + " --seed 9\n", 0), 0u);
  for (const std::string& name : listedNames(dir, "run/levels.txt")) {
    const std::string stem = name.substr(0, name.size() - 4);
    EXPECT_NE(dir.readFile("run/replays/" + stem + ".replay").find("level: ../" + name), std::string::npos) << name;
  }
}

TEST(MadeLevelFolder, ClearsAnEarlierRunAndRefusesAnyOtherFolder) {
  const ScopedWorkDir dir;
  std::string error;
  {
    MadeLevelFolder earlier(dir.path() + "/run", "");
    ASSERT_TRUE(earlier.prepare(error) && earlier.add(madeLevel("Misty Mine", 5.0), error)) << error;
  }
  MadeLevelFolder again(dir.path() + "/run", "");
  ASSERT_TRUE(again.prepare(error)) << error;
  EXPECT_TRUE(listedNames(dir, "run/levels.txt").empty());
  EXPECT_FALSE(dir.exists("run/001-misty-mine.txt"));
  EXPECT_TRUE(fs::is_empty(dir.path() + "/run/replays"));

  dir.writeFile("run/notes.md", "mine");
  EXPECT_FALSE(again.prepare(error));
  EXPECT_NE(error.find("notes.md"), std::string::npos) << error;
  fs::create_directory(dir.path() + "/other");
  dir.writeFile("other/levels.txt", "# my own list\n");
  dir.writeFile("other/001-a.txt", "kept");
  MadeLevelFolder other(dir.path() + "/other", "");
  EXPECT_FALSE(other.prepare(error));
  EXPECT_EQ(dir.readFile("other/001-a.txt"), "kept");
  EXPECT_EQ(dir.readFile("run/notes.md"), "mine");
}

}  // namespace
