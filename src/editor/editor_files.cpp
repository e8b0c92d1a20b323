#include "editor/editor_files.h"

#include "base/os_files.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The first of the places that holds the file; the last one otherwise.
std::string firstPresent(int accessMode, std::initializer_list<fs::path> places) {
  fs::path found;
  for (const fs::path& place : places) {
    found = place;
    if (!place.empty() && access(place.c_str(), accessMode) == 0) {
      break;
    }
  }
  return found.string();
}

// The player's folder, where the launcher keeps the high scores: a relative
// XDG_DATA_HOME is ignored, as the launcher ignores it. Empty without a HOME.
fs::path playersFolder() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (dataHome != nullptr && dataHome[0] == '/') {
    return fs::path(dataHome) / "mellow-quarrier";
  }
  const char* home = std::getenv("HOME");
  return home != nullptr && home[0] != '\0' ? fs::path(home) / ".local/share/mellow-quarrier" : fs::path();
}

}  // namespace

std::string playersLevelFolder(std::string& folder) {
  const fs::path player = playersFolder();
  if (player.empty()) {
    return "no level file given, and no HOME to keep a new one in";
  }
  const fs::path levels = player / "levels";
  std::error_code error;
  fs::create_directories(levels, error);
  if (error) {
    return "cannot make the folder " + levels.string() + ": " + error.message();
  }
  folder = levels.string();
  return {};
}

std::string shownPath(const std::string& path) {
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') {
    return path;
  }
  const fs::path relative = fs::path(path).lexically_relative(home);
  const bool inside = !relative.empty() && *relative.begin() != ".." && relative != ".";
  return inside ? "~/" + relative.string() : path;
}

std::string readEditorCommandLine(int argc, char** argv, EditorFiles& files) {
  std::string assets;
  for (int index = 1; index < argc; ++index) {
    const std::string argument = argv[index];
    const bool hasValue = index + 1 < argc;
    if (argument == "--assets" && hasValue) {
      assets = argv[++index];
    } else if (argument == "--scale" && hasValue) {
      const std::string scale = argv[++index];
      if (scale != "1" && scale != "2" && scale != "3") {
        return "--scale takes 1, 2 or 3, not " + scale;
      }
      files.scale = scale[0] - '0';
    } else if (!argument.empty() && argument[0] == '-') {
      return "unknown option " + argument;
    } else if (!files.displayName.empty()) {
      return "one level file at a time";
    } else {
      files.displayName = argument;
    }
  }
  if (!files.displayName.empty()) {
    // Through any symbolic link, so that a save replaces the file it points to.
    std::error_code unresolved;
    const fs::path absolute = fs::absolute(files.displayName);
    const fs::path resolved = fs::weakly_canonical(absolute, unresolved);
    files.levelPath = (unresolved ? absolute.lexically_normal() : resolved).string();
  }
  const fs::path own = ownProgramFolder();
  std::error_code noFolder;
  files.startFolder = fs::current_path(noFolder).string();
  if (files.displayName.empty()) {
    const std::string problem = playersLevelFolder(files.startFolder);
    if (!problem.empty()) {
      return problem;
    }
  }
  std::error_code noLevels;
  const fs::path installed = fs::weakly_canonical(own / MQ_DATA_FROM_EDITOR / "levels", noLevels);
  files.installedLevels = noLevels || own.empty() ? std::string() : installed.string();
  files.assetsPath = assets.empty()
                         ? firstPresent(R_OK, {own / "assets.dat", own / MQ_DATA_FROM_EDITOR / "assets.dat"})
                         : fs::absolute(assets).string();
  files.solverPath = (own / "mellow-quarrier-level-solve").string();
  files.checkerPath = (own / "mellow-quarrier-level-check").string();
  files.makerPath = (own / "mellow-quarrier-level-make").string();
  files.raterPath = (own / "mellow-quarrier-level-rate").string();
  return {};
}
