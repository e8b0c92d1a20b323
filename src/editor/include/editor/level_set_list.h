// A level set as the editor holds it: the level list file (the format of
// levels/levels.txt: one level file a line, relative to the list, blank
// lines and '#' comments skipped) with its levels in play order, reordered,
// added to and taken from, and written back in the same format. The comment
// lines at the top of the list are kept; the others are not.
#pragma once

#include "base/file_stamp.h"

#include <functional>
#include <string>
#include <vector>

struct SetEntry {
  std::string name;   // as written in the list
  std::string path;   // absolute
};

class LevelSetList {
public:
  // A list file that cannot be read answers an error naming it.
  static std::string open(const std::string& path, LevelSetList& out);

  const std::string& path() const { return path_; }
  const std::vector<SetEntry>& entries() const { return entries_; }
  bool modified() const { return modified_; }
  void markSaved() { modified_ = false; }
  // The list file as last read or written, which a save checks it against.
  const FileStamp& stamp() const { return stamp_; }
  void setStamp(const FileStamp& stamp) { stamp_ = stamp; }
  void setPath(const std::string& path);

  // Moves the level at index by step places; answers its new index.
  int move(int index, int step);
  // Inserts a level file at index, named relative to the list's folder when
  // it lies inside it.
  void insert(int index, const std::string& levelPath);
  void remove(int index);
  std::string text() const;
  // The list with only the entries `written` answers true for.
  std::string text(const std::function<bool(const SetEntry&)>& written) const;

private:
  std::string path_;
  std::vector<std::string> headComments_;
  std::vector<SetEntry> entries_;
  bool modified_ = false;
  FileStamp stamp_;
};

// Whether the file's first line that is not blank starts a level file
// ("title:"), rather than a level list; an empty file is an empty list.
bool looksLikeLevelFile(const std::string& path);
