#include "editor/proof_run.h"

#include "analysis/reachability.h"
#include "leveltext/level_text.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <regex>

extern char** environ;

namespace {

std::string firstLineOf(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

}  // namespace

std::vector<int> cellsNamedIn(const std::string& line) {
  static const std::regex cell(R"(\((\d+), (\d+)\))");
  std::vector<int> cells;
  for (auto match = std::sregex_iterator(line.begin(), line.end(), cell); match != std::sregex_iterator(); ++match) {
    const int x = std::stoi((*match)[1]);
    const int y = std::stoi((*match)[2]);
    if (x < GridSize && y < GridSize) {
      cells.push_back(cellIndex(x, y));
    }
  }
  return cells;
}

ProofRun::ProofRun(const std::string& solverPath, const std::string& assetsPath, const std::string& workFolder,
                   const std::string& name, const LevelSource& source)
    : folder_(workFolder), name_(name), level_(source.level) {
  const std::vector<int> outOfReach = unreachableGold(level_);
  if (!outOfReach.empty()) {
    result_.state = ProofState::NoWayFound;
    result_.line = "No way found";
    result_.effort = "gold out of reach: no search";
    result_.missedGold = outOfReach;
    return;
  }
  result_.line = "Searching";
  const std::string levelPath = folder_ + "/" + name_ + ".txt";
  {
    std::ofstream out(levelPath);
    writeLevelSource(out, source);
  }
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
    result_.state = ProofState::Failed;
    result_.line = std::string("The solver cannot be started: ") + std::strerror(errno);
    return;
  }
  const std::string errorPath = folder_ + "/solver.err";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<std::string> arguments{solverPath, "--assets", assetsPath, "--progress", "--out", folder_, levelPath};
  std::vector<char*> argv;
  for (std::string& argument : arguments) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  const int spawned = posix_spawn(&child_, solverPath.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  output_ = pipeEnds[0];
  if (spawned != 0) {
    child_ = -1;
    result_.state = ProofState::Failed;
    result_.line = "The solver " + solverPath + " cannot be started: " + std::strerror(spawned);
    return;
  }
  fcntl(output_, F_SETFL, O_NONBLOCK);
}

ProofRun::~ProofRun() {
  if (child_ > 0) {
    kill(child_, SIGTERM);
    waitpid(child_, nullptr, 0);
  }
  if (output_ >= 0) {
    close(output_);
  }
}

bool ProofRun::poll() {
  if (child_ <= 0) {
    return false;
  }
  const std::string before = result_.line + result_.effort;
  char buffer[4096];
  ssize_t count = 0;
  while ((count = read(output_, buffer, sizeof buffer)) > 0) {
    pending_.append(buffer, static_cast<size_t>(count));
  }
  for (size_t end = pending_.find('\n'); end != std::string::npos; end = pending_.find('\n')) {
    readLine(pending_.substr(0, end));
    pending_.erase(0, end + 1);
  }
  int status = 0;
  if (count == 0 && waitpid(child_, &status, WNOHANG) == child_) {
    child_ = -1;
    finish(status);
    return true;
  }
  return result_.line + result_.effort != before;
}

// Every line of the solver's names the states explored and the seconds.
void ProofRun::readLine(const std::string& line) {
  static const std::regex effort(R"(\d+ states, [\d.]+ s)");
  std::smatch found;
  if (std::regex_search(line, found, effort)) {
    result_.effort = found.str();
  }
  if (contains(line, "searching without them")) {
    result_.line = "Trying without enemies";
  } else if (line.rfind("progress: ", 0) != 0) {
    outcomeLine_ = line;
  }
}

void ProofRun::finish(int status) {
  const int exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (exitStatus == 0) {
    Replay replay;
    std::string error;
    if (!loadReplay(folder_ + "/" + name_ + ".replay", replay, error)) {
      result_.state = ProofState::Failed;
      result_.line = error;
      return;
    }
    result_.replay = replay;
    result_.replayComment = firstLineOf(folder_ + "/" + name_ + ".replay");
    const bool without = contains(outcomeLine_, "WITHOUT enemies");
    result_.state = without ? ProofState::ClearedWithoutEnemies : ProofState::Cleared;
    result_.line = without ? "Cleared without enemies" : "Cleared";
    return;
  }
  const std::string explanation = firstLineOf(folder_ + "/solver.err");
  if (exitStatus == 1) {
    result_.state = ProofState::NoWayFound;
    result_.line = "No way found";
    result_.missedGold = cellsNamedIn(explanation);
    return;
  }
  result_.state = ProofState::Failed;
  result_.line = explanation.empty() ? "The solver stopped unexpectedly" : explanation;
}
