// Reading a level file for the editor and writing files so that a failure
// never costs the old file: the text goes to a new file beside it, which is
// renamed over the old one only once it is complete on disk. A file that
// cannot be written in place (read-only) is not replaced either. A
// symbolic link is saved through: the file it leads to changes and the link
// stays. The temporary files of a save that was killed are cleared by the
// next save beside them.
#pragma once

#include "leveltext/level_text.h"

#include "base/file_stamp.h"

#include <string>

struct OpenedLevel {
  LevelSource source;
  bool isNew = false;    // the file does not exist yet: an empty "Untitled" level
  std::string error;     // "FILE:LINE:COLUMN: what is wrong", or why it cannot be read
  FileStamp stamp;       // the file as read, for the save to compare with
};

// displayName is the path as the person typed it, for messages.
OpenedLevel openLevelFile(const std::string& path, const std::string& displayName);

// Answers an empty text, or a message naming the file and the reason.
std::string writeFileAtomically(const std::string& path, const std::string& text);

// A save of a file that the editor read before: written only when the file
// still holds what was read (readAs), so that a change made behind the
// editor's back is never lost without a word; nothing is written when it
// changed. The check and the write hold the folder's lock, so two editors
// saving at once take turns and the later one finds the change.
struct GuardedSave {
  enum Result { Saved, Changed, Failed };
  Result result = Failed;
  std::string error;   // Failed: as writeFileAtomically answers
  FileStamp stamp;     // Saved: the file as now written
};
// Without readAs, the file is replaced whatever it holds.
GuardedSave saveFile(const std::string& path, const std::string& text, const FileStamp* readAs);

struct ProofResult;

// Writes the proof of the level at levelPath where the level tests and the
// set view look for it (see replayPathFor), naming the level relative to it.
// Answers an empty text, or why it was not written.
std::string saveProof(const std::string& levelPath, const ProofResult& proof);

// A file name made of the title: "Hand over hand!" gives
// "hand-over-hand.txt"; a title with no letter or digit gives "untitled.txt".
std::string fileNameFromTitle(const std::string& title);

// Where a level's proof is kept: NAME.replay beside NAME.txt, and never the
// level file itself, whatever the level file is called.
std::string replayPathBeside(const std::string& levelPath);
