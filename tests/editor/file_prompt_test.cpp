// The file prompt against a real folder: Tab completes as far as the
// entries agree, arrows pick, Enter enters a folder or answers a file.
#include "editor/file_prompt.h"

#include "support/headless.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class FilePromptTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::filesystem::create_directories(dir.path() + "/sets/one");
    dir.writeFile("level-a.txt", "");
    dir.writeFile("level-b.txt", "");
    dir.writeFile(".hidden", "");
    dir.writeFile("sets/levels.txt", "");
  }
  ScopedWorkDir dir;
};

TEST_F(FilePromptTest, TabCompletesAsFarAsTheChoicesAgree) {
  FilePrompt prompt("le", dir.path());
  prompt.complete();
  EXPECT_EQ(prompt.text(), "level-");
  prompt.type('b');
  prompt.complete();
  EXPECT_EQ(prompt.text(), "level-b.txt") << "a single choice is taken whole";

  FilePrompt folder("se", dir.path());
  folder.complete();
  EXPECT_EQ(folder.text(), "sets/");
  EXPECT_EQ(folder.choices(), (std::vector<std::string>{"one/", "levels.txt"})) << "folders first";
}

TEST_F(FilePromptTest, HiddenEntriesShowOnlyOnceADotIsTyped) {
  EXPECT_EQ(FilePrompt("", dir.path()).choices(), (std::vector<std::string>{"sets/", "level-a.txt", "level-b.txt"}));
  EXPECT_EQ(FilePrompt(".h", dir.path()).choices(), std::vector<std::string>{".hidden"});
  EXPECT_TRUE(FilePrompt("gone/", dir.path()).choices().empty()) << "a missing folder has no choices";
}

TEST_F(FilePromptTest, ArrowsPickAndEnterEntersFoldersOrAnswersFiles) {
  FilePrompt prompt("", dir.path());
  prompt.pick(1);
  EXPECT_EQ(prompt.text(), "sets/");
  EXPECT_EQ(prompt.accept(), std::nullopt) << "a folder is entered";
  EXPECT_EQ(prompt.text(), "sets/");
  prompt.pick(1);
  prompt.pick(1);
  prompt.pick(1);
  EXPECT_EQ(prompt.text(), "sets/levels.txt") << "the pick stops at the last choice";
  prompt.pick(-1);
  EXPECT_EQ(prompt.text(), "sets/one/");
  prompt.pick(1);
  EXPECT_EQ(prompt.accept(), dir.path() + "/sets/levels.txt");

  FilePrompt fresh("sets/../new.txt", dir.path());
  EXPECT_EQ(fresh.accept(), dir.path() + "/new.txt") << "a file that does not exist yet is an answer too";
  EXPECT_EQ(FilePrompt("", dir.path()).accept(), std::nullopt);
}

}  // namespace
