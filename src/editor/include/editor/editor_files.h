// The editor's command line and where it finds what it needs:
//
//   mellow-quarrier-editor [--assets FILE] [--scale 1|2|3] [LEVEL_FILE]
//
// Without a level file (a start from the desktop menu) it opens a new level
// in the player's folder, levels/new-level.txt or the first free
// new-level-N.txt there, so that a save has somewhere to go.
//
// assets.dat: the --assets file, else the one beside the editor's own
// program file, else the installed game's. The solver (level-solve): beside
// the editor, else the installed one, else the one this build made (found
// relative to the editor, so that no build path is compiled in).
#pragma once

#include <string>

struct EditorFiles {
  std::string levelPath;     // absolute, so that the working folder may change
  std::string displayName;   // the level file as given, for messages
  std::string assetsPath;
  std::string solverPath;
  int scale = 1;
};

// Answers an empty text, or what is wrong with the command line.
std::string readEditorCommandLine(int argc, char** argv, EditorFiles& files);

// Sets path to a level file that does not exist yet in the player's folder,
// making the folder; answers an empty text, or why there is none.
std::string newLevelInPlayersFolder(std::string& path);

constexpr const char* EditorUsage = "usage: mellow-quarrier-editor [--assets FILE] [--scale 1|2|3] [LEVEL_FILE]";
