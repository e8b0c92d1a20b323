#include "editor/level_files.h"

#include "editor/proof_run.h"
#include "editor/set_level_facts.h"

#include "base/os_files.h"
#include "base/shared_file.h"
#include "base/small_file.h"
#include "leveltext/level_set.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string failure(const std::string& path, const std::string& what, int error) {
  return "Cannot save " + path + ": " + what + ": " + std::strerror(error);
}

}  // namespace

OpenedLevel openLevelFile(const std::string& path, const std::string& displayName) {
  OpenedLevel opened;
  std::error_code unknown;   // a folder on the way that cannot be searched, say
  const bool exists = fs::exists(path, unknown);
  if (unknown) {
    opened.error = displayName + ": cannot be read: " + unknown.message();
    return opened;
  }
  if (!exists) {
    opened.isNew = true;
    opened.source.title = "Untitled";
    opened.source.level = Level{};
    return opened;
  }
  if (fs::is_directory(path, unknown)) {
    opened.error = displayName + ": is a folder, not a level file";
    return opened;
  }
  // A FIFO or a device would hold the editor up for ever before its window,
  // and a huge file opened by mistake would be read whole into memory.
  std::string bytes;
  const SmallFileProblem problem = readSmallFile(path, LevelFileMostBytes, bytes);
  if (problem.kind != SmallFileProblem::None) {
    opened.error = displayName + ": " + smallFileProblemText(problem, LevelFileMostBytes, "a level file");
    return opened;
  }
  opened.stamp = stampOfRead(path, &bytes);
  std::istringstream in(bytes);
  parseLevelSource(in, displayName, opened.source, opened.error);
  return opened;
}

GuardedSave saveFile(const std::string& path, const std::string& text, const FileStamp* readAs) {
  // Through a symbolic link to the file it leads to, which is what changes.
  std::error_code unknown;
  std::string target = fs::is_symlink(path, unknown) ? saveTargetOf(path.c_str()) : path;
  if (target.empty()) {
    target = path;
  }
  const FolderLock lock(target, FolderLock::Exclusive);
  removeKilledSaves(target);
  if (readAs != nullptr && !unchangedSince(target, *readAs, LevelListMostBytes)) {
    return {GuardedSave::Changed, {}, {}};
  }
  struct stat existing {};
  const bool exists = stat(target.c_str(), &existing) == 0;
  // Renaming would replace a file its owner has made read-only.
  if (exists && !mayReplaceFile(target.c_str(), existing)) {
    return {GuardedSave::Failed, failure(path, "the file is read-only", errno), {}};
  }
  // A replaced file keeps its permissions; a new one gets what any new file gets.
  const mode_t mode = exists ? existing.st_mode & 07777 : modeForNewFile();
  const RenameOutcome outcome = replaceByRename(target, text, mode);
  switch (outcome.step) {
    case RenameOutcome::Done: return {GuardedSave::Saved, {}, stampOfRead(target, &text)};
    case RenameOutcome::NoNewFile:
      return {GuardedSave::Failed, failure(path, "no new file can be made beside it", outcome.error), {}};
    case RenameOutcome::Writing: return {GuardedSave::Failed, failure(path, "writing failed", outcome.error), {}};
    case RenameOutcome::Renaming: break;
  }
  return {GuardedSave::Failed, failure(path, "the new file could not replace the old", outcome.error), {}};
}

std::string writeFileAtomically(const std::string& path, const std::string& text) {
  return saveFile(path, text, nullptr).error;
}

std::string replayPathBeside(const std::string& levelPath) {
  const std::string replayPath = fs::path(levelPath).replace_extension(".replay").string();
  return replayPath == levelPath ? levelPath + ".replay" : replayPath;
}

std::string saveProof(const std::string& levelPath, const ProofResult& proof) {
  const std::string replayPath = replayPathFor(levelPath);
  Replay replay = *proof.replay;
  replay.levelFile = fs::path(levelPath).lexically_relative(fs::path(replayPath).parent_path()).string();
  std::ostringstream text;
  text << proof.replayComment << "\n";
  writeReplay(text, replay);
  return writeFileAtomically(replayPath, text.str());
}

std::string fileNameFromTitle(const std::string& title) {
  constexpr size_t MostChars = 40;
  std::string name;
  for (const char character : title) {
    if (std::isalnum(static_cast<unsigned char>(character))) {
      name += static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
    } else if (!name.empty() && name.back() != '-') {
      name += '-';
    }
  }
  name = name.substr(0, MostChars);
  while (!name.empty() && name.back() == '-') {
    name.pop_back();
  }
  return (name.empty() ? "untitled" : name) + ".txt";
}
