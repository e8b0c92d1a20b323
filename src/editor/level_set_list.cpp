#include "editor/level_set_list.h"

#include "leveltext/level_set.h"
#include "leveltext/level_text.h"

#include "base/small_file.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::string nameInList(const fs::path& listFolder, const fs::path& levelPath) {
  const fs::path relative = levelPath.lexically_relative(listFolder);
  const bool inside = !relative.empty() && *relative.begin() != "..";
  return inside ? relative.string() : levelPath.string();
}

}  // namespace

std::string LevelSetList::open(const std::string& path, LevelSetList& out) {
  std::string bytes;
  std::string error;
  if (!readSmallFile(path, LevelListMostBytes, "a level list", bytes, error)) {
    return error;
  }
  LevelList list;
  parseLevelList(bytes, list);
  out = LevelSetList();
  out.path_ = path;
  out.stamp_ = stampOfRead(path, &bytes);
  out.headComments_ = list.headComments;
  const fs::path folder = fs::path(path).parent_path();
  for (const LevelListEntry& entry : list.entries) {
    out.entries_.push_back({entry.name, (folder / entry.name).lexically_normal().string()});
  }
  return {};
}

void LevelSetList::setPath(const std::string& path) {
  const fs::path folder = fs::path(path).parent_path();
  for (SetEntry& entry : entries_) {
    entry.name = nameInList(folder, entry.path);
  }
  path_ = path;
  modified_ = true;
}

int LevelSetList::move(int index, int step) {
  const int to = std::clamp(index + step, 0, static_cast<int>(entries_.size()) - 1);
  if (to != index) {
    std::swap(entries_[index], entries_[to]);
    modified_ = true;
  }
  return to;
}

void LevelSetList::insert(int index, const std::string& levelPath) {
  const fs::path normal = fs::path(levelPath).lexically_normal();
  const int at = std::clamp(index, 0, static_cast<int>(entries_.size()));
  entries_.insert(entries_.begin() + at, {nameInList(fs::path(path_).parent_path(), normal), normal.string()});
  modified_ = true;
}

void LevelSetList::remove(int index) {
  if (index >= 0 && index < static_cast<int>(entries_.size())) {
    entries_.erase(entries_.begin() + index);
    modified_ = true;
  }
}

std::string LevelSetList::text() const {
  return text([](const SetEntry&) { return true; });
}

std::string LevelSetList::text(const std::function<bool(const SetEntry&)>& written) const {
  std::string text;
  for (const std::string& line : headComments_) {
    text += line + "\n";
  }
  for (const SetEntry& entry : entries_) {
    if (written(entry)) {
      text += entry.name + "\n";
    }
  }
  return text;
}

bool looksLikeLevelFile(const std::string& path) {
  // Bounded as a list is, so that a huge file is read no further; whatever
  // cannot be read is left for the level reader to refuse by name.
  std::string bytes;
  if (readSmallFile(path, LevelListMostBytes, bytes).kind != SmallFileProblem::None) {
    return true;
  }
  // An empty file is an empty set.
  const std::size_t first = bytes.find_first_not_of(" \t\r\n");
  return first != std::string::npos && bytes.compare(first, LevelTitleKey.size(), LevelTitleKey) == 0;
}
