#include "generate/made_level_folder.h"

#include "leveltext/level_set.h"

#include "base/os_files.h"
#include "base/small_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const char* const ReplaysFolder = "replays";

bool leftByAKilledSave(const std::string& name) { return name.find(TemporarySuffix) != std::string::npos; }

bool hasExtension(const fs::path& path, const char* extension) { return path.extension() == extension; }

// Whether every entry of the folder is a file an earlier run writes.
bool onlyEarlierRun(const fs::path& folder, std::string& stranger) {
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name == ReplaysFolder && entry.is_directory()) {
      for (const fs::directory_entry& proof : fs::directory_iterator(entry.path(), error)) {
        const bool ours = proof.is_regular_file() && (hasExtension(proof.path(), ".replay") ||
                                                      leftByAKilledSave(proof.path().filename().string()));
        if (!ours) {
          stranger = proof.path().string();
          return false;
        }
      }
    } else if (!entry.is_regular_file() || !(hasExtension(entry.path(), ".txt") || leftByAKilledSave(name))) {
      stranger = entry.path().string();
      return false;
    }
  }
  return !error;
}

// Through the one safe reader: a FIFO or a device named levels.txt in the
// folder must not hold the maker up.
bool startsWithMark(const fs::path& list) {
  std::string bytes;
  return readSmallFile(list.string(), LevelListMostBytes, bytes).kind == SmallFileProblem::None &&
         bytes.compare(0, MadeListMark.size(), MadeListMark) == 0;
}

std::string failure(const fs::path& path, const std::string& what) {
  return path.string() + ": " + what + (errno != 0 ? std::string(": ") + std::strerror(errno) : "");
}

bool replaceFile(const fs::path& path, const std::string& bytes, std::string& error) {
  errno = 0;
  const RenameOutcome outcome = replaceByRename(path.string(), bytes, modeForNewFile());
  if (outcome.step != RenameOutcome::Done) {
    errno = outcome.error;
    error = failure(path, "cannot be written");
    return false;
  }
  return true;
}

}  // namespace

std::string titleSlug(const std::string& title) {
  std::string slug;
  for (char c : title) {
    if (std::isalnum(static_cast<unsigned char>(c))) {
      slug += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    } else if (!slug.empty() && slug.back() != '-') {
      slug += '-';
    }
  }
  while (!slug.empty() && slug.back() == '-') {
    slug.pop_back();
  }
  return slug;
}

MadeLevelFolder::MadeLevelFolder(fs::path folder, std::string header)
    : folder_(std::move(folder)), header_(std::move(header)) {}

bool MadeLevelFolder::prepare(std::string& error) {
  std::error_code problem;
  errno = 0;
  if (fs::exists(folder_, problem) && !fs::is_directory(folder_, problem)) {
    error = folder_.string() + ": not a folder";
    return false;
  }
  std::string stranger;
  const bool empty = !fs::exists(folder_, problem) || fs::is_empty(folder_, problem);
  if (!empty && !(fs::exists(listPath(), problem) && startsWithMark(listPath()) && onlyEarlierRun(folder_, stranger))) {
    error = folder_.string() + ": holds files that are not an earlier run of mellow-quarrier-level-make" +
            (stranger.empty() ? "" : " (" + stranger + ")") + "; give an empty or new folder";
    return false;
  }
  fs::create_directories(folder_ / ReplaysFolder, problem);
  if (problem) {
    error = folder_.string() + ": cannot be made: " + problem.message();
    return false;
  }
  // The list goes first, so that no moment names a level already taken away.
  if (!empty && !writeList(error)) {
    return false;
  }
  for (const fs::path& sub : {folder_, folder_ / ReplaysFolder}) {
    for (const fs::directory_entry& entry : fs::directory_iterator(sub, problem)) {
      if (entry.is_regular_file() && entry.path() != listPath()) {
        fs::remove(entry.path(), problem);
      }
    }
  }
  if (problem) {
    error = folder_.string() + ": an earlier run cannot be cleared: " + problem.message();
    return false;
  }
  return true;
}

bool MadeLevelFolder::add(const MadeLevel& made, std::string& error) {
  char number[16];
  std::snprintf(number, sizeof number, "%03zu-", listed_.size() + 1);
  const std::string name = number + titleSlug(made.source.title);
  Replay proof;
  proof.levelFile = "../" + name + ".txt";
  proof.seed = ProofSeed;
  proof.enemies = true;
  proof.hasExpectation = true;
  proof.expected = ReplayEnd::Cleared;
  proof.keys = made.proof;
  std::ostringstream replayText;
  replayText << "# found by level-make\n";
  writeReplay(replayText, proof);
  std::ostringstream levelText;
  writeLevelSource(levelText, made.source);
  if (!replaceFile(folder_ / ReplaysFolder / (name + ".replay"), replayText.str(), error) ||
      !replaceFile(folder_ / (name + ".txt"), levelText.str(), error)) {
    return false;
  }
  listed_.push_back({name + ".txt", made.rating.figure});
  if (!writeList(error)) {
    listed_.pop_back();
    return false;
  }
  return true;
}

bool MadeLevelFolder::writeList(std::string& error) {
  std::vector<Listed> byFigure = listed_;
  std::stable_sort(byFigure.begin(), byFigure.end(),
                   [](const Listed& one, const Listed& other) { return one.figure < other.figure; });
  std::string text = MadeListMark + header_ + "\n# In order of difficulty (level-rate's figure); the proofs are in replays/.\n";
  for (const Listed& level : byFigure) {
    text += level.fileName + "\n";
  }
  return replaceFile(listPath(), text, error);
}
