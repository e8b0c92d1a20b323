// The editor's command line and where it finds what it needs:
//
//   mellow-quarrier-editor [--assets FILE] [--scale 1|2|3] [LEVEL_FILE | LEVEL_LIST]
//
// assets.dat: the --assets file, else the one beside the editor's own
// program file, else the installed game's. The level tools (the solver
// mellow-quarrier-level-solve, the dead-end check mellow-quarrier-level-check,
// the rater and the maker): beside the editor, where both the build and the
// install put them.
//
// Without a level file (a start from the desktop menu) the new level's first
// Save as starts in the player's folder, levels/ beside the high scores.
#pragma once

#include <string>

struct EditorFiles {
  std::string levelPath;     // absolute, so that the working folder may change
  std::string displayName;   // the level file as given, for messages
  std::string assetsPath;
  std::string solverPath;
  std::string checkerPath;
  std::string raterPath;
  std::string makerPath;
  std::string startFolder;       // the working folder the editor was started in
  std::string installedLevels;   // the level sources installed with the game: read-only
  int scale = 0;                 // 0: the largest that fits the desktop
};

// Answers an empty text, or what is wrong with the command line.
std::string readEditorCommandLine(int argc, char** argv, EditorFiles& files);

// Sets folder to the player's folder for levels, making it; answers an empty
// text, or why there is none.
std::string playersLevelFolder(std::string& folder);

// The path as messages show it: whole, with the home folder written "~/".
std::string shownPath(const std::string& path);

constexpr const char* EditorUsage =
    "usage: mellow-quarrier-editor [--assets FILE] [--scale 1|2|3] [LEVEL_FILE | LEVEL_LIST]";
