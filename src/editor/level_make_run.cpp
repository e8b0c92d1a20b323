#include "editor/level_make_run.h"

#include "editor/level_files.h"

#include "leveltext/level_set.h"

#include <filesystem>
#include <fstream>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string ErrorsName = "level-make";
const std::string TurnedAway = " turned away: ";

std::string lastLineOf(const fs::path& file) {
  std::ifstream in(file);
  std::string last;
  for (std::string line; std::getline(in, line);) {
    last = line.empty() ? last : line;
  }
  return last;
}

}  // namespace

LevelMakeRun::LevelMakeRun(const std::string& makerPath, const std::string& workFolder, int difficulty, uint64_t seed)
    : folder_(workFolder) {
  std::error_code problem;
  fs::create_directories(workFolder, problem);
  if (makerPath.empty()) {
    made_.error = "level-make was not found beside the editor";
    return;
  }
  maker_ = std::make_unique<LevelToolRun>(
      std::vector<std::string>{makerPath, "--seed", std::to_string(seed), "--count", "1", "--difficulty",
                               std::to_string(difficulty), "--out", (fs::path(workFolder) / "levels").string()},
      workFolder, ErrorsName);
  if (!maker_->startProblem().empty()) {
    made_.error = "level-make could not be run: " + maker_->startProblem();
    maker_.reset();
  }
}

bool LevelMakeRun::poll() {
  if (ended_) {
    return false;
  }
  int exitStatus = 0;
  if (maker_ && !maker_->poll([](const std::string&) {}, exitStatus)) {
    return false;
  }
  ended_ = true;
  if (maker_) {
    readBack(exitStatus);
  }
  return true;
}

std::string LevelMakeRun::progress() const {
  std::ifstream errors(fs::path(folder_) / (ErrorsName + ".err"));
  int turnedAway = 0;
  std::string last;
  for (std::string line; std::getline(errors, line);) {
    const size_t at = line.find(TurnedAway);
    if (at != std::string::npos) {
      ++turnedAway;
      last = line.substr(at + TurnedAway.size());
    }
  }
  if (turnedAway == 0) {
    return "";
  }
  return std::to_string(turnedAway) + (turnedAway == 1 ? " candidate" : " candidates") + " turned away, the last " + last;
}

void LevelMakeRun::readBack(int exitStatus) {
  const fs::path out = fs::path(folder_) / "levels";
  std::vector<std::string> names;
  if (exitStatus != 0 || !readLevelListNames(out / "levels.txt", names) || names.size() != 1) {
    made_.error = exitStatus < 0 ? "level-make was ended by a signal" : lastLineOf(maker_->pathOf(".err"));
    return;
  }
  const OpenedLevel opened = openLevelFile((out / names.front()).string(), names.front());
  const fs::path proofPath = out / "replays" / (fs::path(names.front()).stem().string() + ".replay");
  if (!opened.error.empty() || !loadReplay(proofPath.string(), made_.proof, made_.error)) {
    made_.error = opened.error.empty() ? made_.error : opened.error;
    return;
  }
  made_.source = opened.source;
  // "001-amber-galleries.txt": the number only says its place in the run.
  const size_t dash = names.front().find('-');
  made_.fileName = dash == std::string::npos ? names.front() : names.front().substr(dash + 1);
}
