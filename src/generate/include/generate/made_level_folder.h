// The folder a run of mellow-quarrier-level-make fills, laid out as the shipped levels/ is:
// a level file per level (NNN-title.txt, numbered in the order made), its
// proof in replays/NNN-title.replay, and levels.txt naming them in order of
// difficulty (mellow-quarrier-level-rate's figure), which the editor, mellow-quarrier-level-rate and the
// game's --levels read as they read the shipped set.
//
// Every file is written beside its place and renamed into it, the proof
// before its level and the list last, so a run stopped between two levels
// leaves whole levels, each with its proof, and a list that names exactly
// those. An earlier run's files are taken away first, so a run writes the
// same bytes whatever the folder held before; a folder holding anything
// else is refused, since clearing it could lose a person's files.
#pragma once

#include "generate/level_maker.h"

#include <filesystem>
#include <string>
#include <vector>

// The first line of every list a run writes: how an earlier run is known.
inline const std::string MadeListMark = "# Made by level-make";

class MadeLevelFolder {
public:
  // header: the rest of the list's first line, after the mark.
  MadeLevelFolder(std::filesystem::path folder, std::string header);

  // Makes the folder, or clears an earlier run from it. False with a
  // message when it holds anything else or cannot be written.
  bool prepare(std::string& error);

  // Writes the level and its proof, then the list with the level in its
  // place. False with a message, and the list as it was, on a failed write.
  bool add(const MadeLevel& made, std::string& error);

  const std::filesystem::path& folder() const { return folder_; }
  std::filesystem::path listPath() const { return folder_ / "levels.txt"; }

private:
  struct Listed {
    std::string fileName;
    double figure;
  };
  bool writeList(std::string& error);

  std::filesystem::path folder_;
  std::string header_;
  std::vector<Listed> listed_;
};

// "Amber Galleries" -> "amber-galleries".
std::string titleSlug(const std::string& title);
