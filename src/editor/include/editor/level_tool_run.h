// A level tool (the solver, the dead-end check) run beside the editor on
// the level as it stands, as a child process, so that its work (which takes
// over the process-wide game state) never stops the editor's window. The
// level is written as NAME.txt into a folder of the run's own (with NAME.list,
// a level list of it alone, for a tool that reads lists); the tool's
// standard output is read line by line without waiting, its standard error
// goes to NAME.err there.
#pragma once

#include "leveltext/level_text.h"

#include "level/level.h"

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

enum class LevelHanded { AsFile, AsList };

class LevelToolRun {
public:
  // arguments: the tool's path and options; the path of the level file, or
  // of its list, follows them.
  LevelToolRun(std::vector<std::string> arguments, const std::string& workFolder, const std::string& name,
               const LevelSource& source, LevelHanded handed = LevelHanded::AsFile);
  // A tool that reads no level (the level maker): started on its arguments
  // alone, its standard error going to NAME.err all the same.
  LevelToolRun(const std::vector<std::string>& arguments, const std::string& workFolder, const std::string& name);
  // Ends the tool when it is still running.
  ~LevelToolRun();
  LevelToolRun(const LevelToolRun&) = delete;
  LevelToolRun& operator=(const LevelToolRun&) = delete;

  // Empty when the tool started, else why it did not.
  const std::string& startProblem() const { return startProblem_; }

  // Hands every full line written so far to onLine. Answers true once, when
  // the tool has ended, with its exit status in exitStatus (-1 when a signal
  // ended it).
  bool poll(const std::function<void(const std::string&)>& onLine, int& exitStatus);

  const std::string& folder() const { return folder_; }
  // A file of the run's folder named after the level: NAME + suffix.
  std::string pathOf(const std::string& suffix) const { return folder_ + "/" + name_ + suffix; }
  std::string firstErrorLine() const;
  const Level& level() const { return level_; }

private:
  void start(std::vector<std::string> arguments);

  std::string folder_;
  std::string name_;
  Level level_{};
  pid_t child_ = -1;
  int output_ = -1;
  std::string pending_;   // output after the last full line
  std::string startProblem_;
};
