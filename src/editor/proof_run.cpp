#include "editor/proof_run.h"

#include "analysis/reachability.h"

#include <fstream>
#include <regex>

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

ProofRun::ProofRun(const std::string& solverPath, const std::string& workFolder, const std::string& name,
                   const LevelSource& source)
    : level_(source.level) {
  const std::vector<int> outOfReach = unreachableGold(level_);
  if (!outOfReach.empty()) {
    result_.state = ProofState::NoWayFound;
    result_.line = "No way found";
    result_.effort = "gold out of reach: no search";
    result_.missedGold = outOfReach;
    return;
  }
  result_.line = "Searching";
  solver_ = std::make_unique<LevelToolRun>(
      std::vector<std::string>{solverPath, "--progress", "--out", workFolder}, workFolder,
      name, source);
  if (!solver_->startProblem().empty()) {
    result_.state = ProofState::Failed;
    result_.line = "The solver " + solverPath + " cannot be started: " + solver_->startProblem();
  }
}

bool ProofRun::poll() {
  if (result_.state != ProofState::Running) {
    return false;
  }
  const std::string before = result_.line + result_.effort;
  int exitStatus = 0;
  if (solver_->poll([this](const std::string& line) { readLine(line); }, exitStatus)) {
    finish(exitStatus);
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

void ProofRun::finish(int exitStatus) {
  if (exitStatus == 0) {
    Replay replay;
    std::string error;
    if (!loadReplay(solver_->pathOf(".replay"), replay, error)) {
      result_.state = ProofState::Failed;
      result_.line = error;
      return;
    }
    result_.replay = replay;
    result_.replayComment = firstLineOf(solver_->pathOf(".replay"));
    const bool without = contains(outcomeLine_, "WITHOUT enemies");
    result_.state = without ? ProofState::ClearedWithoutEnemies : ProofState::Cleared;
    result_.line = without ? "Cleared without enemies" : "Cleared";
    return;
  }
  const std::string explanation = solver_->firstErrorLine();
  if (exitStatus == 1 || exitStatus == 3) {
    const bool proven = exitStatus == 1;
    result_.state = proven ? ProofState::NoWayFound : ProofState::Unsure;
    result_.line = proven ? "No way found" : "Unsure: no way found within the budget";
    result_.missedGold = cellsNamedIn(explanation);
    return;
  }
  result_.state = ProofState::Failed;
  result_.line = explanation.empty() ? "The solver stopped unexpectedly" : explanation;
}
