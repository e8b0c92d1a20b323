#include "editor/set_level_measure.h"

#include "analysis/level_rating.h"

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The level's name in the measure's folder, which the rater's rows begin with.
constexpr const char* RunName = "level";

std::string plural(size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

SetLevelMeasure::SetLevelMeasure(const std::string& raterPath, const std::string& checkerPath,
                                 const std::string& workFolder, const std::string& levelPath,
                                 const LevelSource& source, bool proven)
    : checkerPath_(checkerPath), workFolder_(workFolder), levelPath_(levelPath), source_(source), proven_(proven) {
  // The rater reads the proof from replays/ beside the list it is given.
  std::error_code error;
  const fs::path replays = fs::path(workFolder) / "replays";
  fs::create_directories(replays, error);
  if (proven_ && !error) {
    fs::copy_file(replayPathFor(levelPath), replays / (std::string(RunName) + ".replay"),
                  fs::copy_options::overwrite_existing, error);
  }
  std::vector<std::string> arguments{raterPath};
  if (!proven_) {
    arguments.push_back("--starts");
  }
  if (!error) {
    rater_ = std::make_unique<LevelToolRun>(arguments, workFolder, RunName, source, LevelHanded::AsList);
  }
  if (error || !rater_->startProblem().empty()) {
    rater_.reset();
    rated();
  }
}

SetLevelMeasure::~SetLevelMeasure() {
  rater_.reset();
  checker_.reset();
  std::error_code ignored;
  fs::remove_all(workFolder_, ignored);
}

bool SetLevelMeasure::poll() {
  int exitStatus = 0;
  if (rater_ && rater_->poll([this](const std::string& line) { readRating(line); }, exitStatus)) {
    rater_.reset();
    rated();
    return true;
  }
  if (checker_ && checker_->poll()) {
    checked();
    return true;
  }
  return false;
}

// A row of the rater's table, or of its starts alone.
void SetLevelMeasure::readRating(const std::string& line) {
  double figure = 0.0;
  double standStill = 0.0;
  int margin = 0;
  double roomyPercent = 0.0;
  char text[32];
  if (proven_ && std::sscanf(line.c_str(), "%*d level %lf %*f %*f %*d %*d %*f %*d %lf %*f %d %lf", &figure,
                             &standStill, &margin, &roomyPercent) == 4) {
    std::snprintf(text, sizeof text, "%.1f", figure);
    measures_.figure = text;
    std::snprintf(text, sizeof text, "%d %.0f%%", margin, roomyPercent);
    measures_.margin = text;
  } else if (proven_ || std::sscanf(line.c_str(), "%*d level %lf", &standStill) != 1) {
    return;
  }
  measures_.start = standStill >= FairStartSeconds ? "fair" : "unfair";
  measures_.faulty = measures_.faulty || standStill < FairStartSeconds;
}

void SetLevelMeasure::rated() {
  measures_.start = measures_.start.value_or("?");
  if (proven_) {
    measures_.figure = measures_.figure.value_or("?");
    measures_.margin = measures_.margin.value_or("?");
  }
  checker_ = std::make_unique<DeadEndRun>(checkerPath_, workFolder_, RunName, source_);
  if (checker_->findings().state == DeadEndCheckState::Failed) {
    checked();
  }
}

void SetLevelMeasure::checked() {
  const DeadEndFindings& found = checker_->findings();
  if (found.state == DeadEndCheckState::Failed) {
    measures_.deadEnds = "?";
  } else if (found.traps > 0) {
    measures_.deadEnds = plural(found.traps, "trap", "traps");
  } else if (found.unsure) {
    measures_.deadEnds = "unsure";
  } else if (found.costly > 0) {
    measures_.deadEnds = plural(found.costly, "costly", "costly");
  } else {
    measures_.deadEnds = "none";
  }
  measures_.faulty = measures_.faulty || found.traps > 0 || (!found.unsure && found.costly > 0);
  checker_.reset();
}
