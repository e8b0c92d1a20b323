#include "editor/level_make_run.h"

#include "editor/level_files.h"

#include "leveltext/level_set.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

std::string lastLineOf(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  std::string last;
  while (std::getline(in, line)) {
    last = line.empty() ? last : line;
  }
  return last;
}

// Runs the maker with its standard error in the folder; answers its exit
// status, or -1 when it could not be started or a signal ended it.
int runMaker(std::vector<std::string> arguments, const fs::path& errorFile) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&files, 2, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t child = -1;
  const int started = posix_spawn(&child, argv[0], &files, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&files);
  int status = 0;
  if (started != 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
    return -1;
  }
  return WEXITSTATUS(status);
}

}  // namespace

MadeForSet makeOneLevel(const std::string& makerPath, const std::string& assetsPath, const std::string& workFolder,
                        int difficulty, uint64_t seed) {
  MadeForSet made;
  const fs::path out = fs::path(workFolder) / "levels";
  const fs::path errors = fs::path(workFolder) / "level-make.err";
  std::error_code problem;
  fs::create_directories(workFolder, problem);
  if (makerPath.empty()) {
    made.error = "level-make was not found beside the editor";
    return made;
  }
  const int status = runMaker({makerPath, "--seed", std::to_string(seed), "--count", "1", "--difficulty",
                               std::to_string(difficulty), "--out", out.string(), "--assets", assetsPath},
                              errors);
  std::vector<std::string> names;
  if (status != 0 || !readLevelListNames(out / "levels.txt", names) || names.size() != 1) {
    made.error = status < 0 ? "level-make could not be run" : lastLineOf(errors);
    return made;
  }
  const OpenedLevel opened = openLevelFile((out / names.front()).string(), names.front());
  const fs::path proofPath = out / "replays" / (fs::path(names.front()).stem().string() + ".replay");
  if (!opened.error.empty() || !loadReplay(proofPath.string(), made.proof, made.error)) {
    made.error = opened.error.empty() ? made.error : opened.error;
    return made;
  }
  made.source = opened.source;
  // "001-amber-galleries.txt": the number only says its place in the run.
  const size_t dash = names.front().find('-');
  made.fileName = dash == std::string::npos ? names.front() : names.front().substr(dash + 1);
  return made;
}
