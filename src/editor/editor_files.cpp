#include "editor/editor_files.h"

#include <unistd.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

fs::path ownFolder() {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path() : self.parent_path();
}

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

}  // namespace

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
  const fs::path own = ownFolder();
  std::error_code noFolder;
  files.startFolder = fs::current_path(noFolder).string();
  std::error_code noLevels;
  const fs::path installed = fs::weakly_canonical(own / MQ_DATA_FROM_EDITOR / "levels", noLevels);
  files.installedLevels = noLevels || own.empty() ? std::string() : installed.string();
  files.assetsPath = assets.empty()
                         ? firstPresent(R_OK, {own / "assets.dat", own / MQ_DATA_FROM_EDITOR / "assets.dat"})
                         : fs::absolute(assets).string();
  files.solverPath = firstPresent(X_OK, {own / "level-solve", own / MQ_PRIVATE_FROM_EDITOR / "level-solve",
                                   fs::path(MQ_BUILD_LEVEL_SOLVE)});
  files.checkerPath = firstPresent(X_OK, {own / "level-check", own / MQ_PRIVATE_FROM_EDITOR / "level-check",
                                    fs::path(MQ_BUILD_LEVEL_CHECK)});
  return {};
}
