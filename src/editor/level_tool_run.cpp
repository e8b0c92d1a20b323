#include "editor/level_tool_run.h"

#include "base/signal_cleanup.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <utility>

extern char** environ;

LevelToolRun::LevelToolRun(std::vector<std::string> arguments, const std::string& workFolder,
                           const std::string& name, const LevelSource& source, LevelHanded handed)
    : folder_(workFolder), name_(name), level_(source.level) {
  std::ofstream level(pathOf(".txt"));
  writeLevelSource(level, source);
  level.close();
  std::ofstream list;
  if (handed == LevelHanded::AsList) {
    list.open(pathOf(".list"));
    list << name << ".txt\n";
    list.close();
  }
  if (!level || !list) {   // a full scratch disk, say: the tool would read half a level
    startProblem_ = "cannot write " + pathOf(!level ? ".txt" : ".list") + ": " + std::strerror(errno);
    return;
  }
  arguments.push_back(pathOf(handed == LevelHanded::AsList ? ".list" : ".txt"));
  start(std::move(arguments));
}

LevelToolRun::LevelToolRun(const std::vector<std::string>& arguments, const std::string& workFolder,
                           const std::string& name)
    : folder_(workFolder), name_(name) {
  start(arguments);
}

void LevelToolRun::start(std::vector<std::string> arguments) {
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
    startProblem_ = std::strerror(errno);
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, pathOf(".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char*> argv;
  for (std::string& argument : arguments) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  const int spawned = posix_spawn(&child_, arguments.front().c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  output_ = pipeEnds[0];
  if (spawned != 0) {
    child_ = -1;
    startProblem_ = std::strerror(spawned);
    return;
  }
  stopOnSignal(child_);
  fcntl(output_, F_SETFL, O_NONBLOCK);
}

LevelToolRun::~LevelToolRun() {
  if (child_ > 0) {
    kill(child_, SIGTERM);
    waitpid(child_, nullptr, 0);
    leaveOnSignal(child_);
  }
  if (output_ >= 0) {
    close(output_);
  }
}

bool LevelToolRun::poll(const std::function<void(const std::string&)>& onLine, int& exitStatus) {
  if (child_ <= 0) {
    return false;
  }
  char buffer[4096];
  ssize_t count = 0;
  while ((count = read(output_, buffer, sizeof buffer)) > 0) {
    pending_.append(buffer, static_cast<size_t>(count));
  }
  for (size_t end = pending_.find('\n'); end != std::string::npos; end = pending_.find('\n')) {
    onLine(pending_.substr(0, end));
    pending_.erase(0, end + 1);
  }
  int status = 0;
  if (count == 0 && waitpid(child_, &status, WNOHANG) == child_) {
    leaveOnSignal(child_);
    child_ = -1;
    exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return true;
  }
  return false;
}

std::string LevelToolRun::firstErrorLine() const {
  std::ifstream errors(pathOf(".err"));
  std::string line;
  std::getline(errors, line);
  return line;
}
