#include "editor/dead_end_run.h"

#include "editor/proof_run.h"


namespace {

bool startsWith(const std::string& text, const char* start) { return text.rfind(start, 0) == 0; }

// The part of a dead-end line before its way in, which names the cells.
std::string cellPart(const std::string& line) { return line.substr(0, line.find(';')); }

void appendCells(std::vector<int>& cells, const std::string& line) {
  const std::vector<int> named = cellsNamedIn(cellPart(line));
  cells.insert(cells.end(), named.begin(), named.end());
}

}  // namespace

DeadEndRun::DeadEndRun(const std::string& checkerPath, const std::string& workFolder, const std::string& name,
                       const LevelSource& source)
    : checker_({checkerPath, "--ways", workFolder}, workFolder, name, source) {
  findings_.line = "looking for them";
  if (!checker_.startProblem().empty()) {
    findings_.state = DeadEndCheckState::Failed;
    findings_.line = "The dead-end check " + checkerPath + " cannot be started: " + checker_.startProblem();
  }
}

bool DeadEndRun::poll() {
  int exitStatus = 0;
  if (findings_.state == DeadEndCheckState::Running &&
      checker_.poll([this](const std::string& line) { readLine(line); }, exitStatus)) {
    finish(exitStatus);
    return true;
  }
  return false;
}

void DeadEndRun::readLine(const std::string& line) {
  if (startsWith(line, "  trap at ")) {
    ++findings_.traps;
    appendCells(findings_.trapCells, line);
  } else if (startsWith(line, "  costs a life at ")) {
    ++findings_.costly;
    appendCells(findings_.costlyCells, line);
  }
}

void DeadEndRun::finish(int exitStatus) {
  // 1: a trap; 3: places it could not decide, which are no fault.
  if (exitStatus != 0 && exitStatus != 1 && exitStatus != 3) {
    const std::string explanation = checker_.firstErrorLine();
    findings_.state = DeadEndCheckState::Failed;
    findings_.line = explanation.empty() ? "The dead-end check stopped unexpectedly" : explanation;
    return;
  }
  findings_.state = DeadEndCheckState::Done;
  findings_.unsure = exitStatus == 3;
  findings_.line = std::to_string(findings_.traps) + (findings_.traps == 1 ? " trap, " : " traps, ") +
                   std::to_string(findings_.costly) + " cost a life";
  Replay way;
  std::string error;
  if (findings_.traps > 0 && loadReplay(checker_.pathOf(".trap.replay"), way, error)) {
    findings_.wayIntoFirstTrap = way;
  }
}
