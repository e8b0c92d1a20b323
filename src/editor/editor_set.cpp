// The level set's list: each level's title, gold, enemies, proof and
// difficulty figure, measured one level a tick while nothing else runs;
// reordering, adding and removing; opening a level and coming back; proving
// every level not yet proven, one after another; and playing the set from
// a chosen level.
#include "editor/editor.h"

#include "editor/editor_colours.h"
#include "editor/level_files.h"
#include "editor/level_make_run.h"

#include "leveltext/level_set.h"

#include <allegro.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// The columns of the heading and of each row, 63 characters in all; the
// panel shows the chosen level's whole title.
constexpr int TitleChars = 10;
constexpr const char* HeadingFormat = "  # %-*s%4s%3s %-11s%5s %-6s %-9s %s";
constexpr const char* RowFormat = "%3d %-*.*s%4s%3s %-11.11s%5s %-6s %-9s %s";

// "..." while the figure is measured.
const char* shown(const std::optional<std::string>& figure) { return figure ? figure->c_str() : "..."; }

std::string row(int position, const SetEntry& entry, const std::optional<SetLevelFacts>& facts) {
  char text[128];
  if (!facts) {
    std::snprintf(text, sizeof text, "%3d %-*.*s  ...", position, TitleChars, TitleChars,
                  fs::path(entry.name).filename().string().c_str());
    return text;
  }
  std::string title = facts->title;
  if (static_cast<int>(title.size()) > TitleChars) {
    title = title.substr(0, TitleChars - 1) + "~";
  }
  // A level never drawn or unreadable has no counts, and only a proven
  // one a figure and a margin.
  const LevelMeasures& measured = facts->measured;
  const bool drawn = facts->drawn;
  const std::string gold = drawn ? std::to_string(facts->gold) : "";
  const std::string enemies = drawn ? std::to_string(facts->enemies) : "";
  std::snprintf(text, sizeof text, RowFormat, position, TitleChars, TitleChars, title.c_str(), gold.c_str(),
                enemies.c_str(), facts->proof.c_str(), facts->proven ? shown(measured.figure) : "",
                drawn ? shown(measured.start) : "", drawn ? shown(measured.deadEnds) : "",
                facts->proven ? shown(measured.margin) : "");
  return text;
}

// Red for a level without a proof that clears it, orange for a proven one
// with a fault (a dead end, an unfair start), green for one without.
int rowColour(const std::optional<SetLevelFacts>& facts, bool busy) {
  if (busy) {
    return White;
  }
  if (!facts) {
    return Dim;
  }
  if (!facts->proven) {
    return Warning;
  }
  return facts->measured.faulty ? Caution : Good;
}

}  // namespace

void Editor::onSetKey(const Key& key) {
  if (overlay_ != Overlay::None) {
    overlay_ = Overlay::None;
    return;
  }
  if (const std::optional<FoundBinding> found = bindingFor(KeyPlace::Set, key.scancode, key.control, key.shift)) {
    onSetCommand(found->command);
  }
  setFirstShown_ = std::clamp(setFirstShown_, setSelected_ - ListRowsShown + 1, setSelected_);
}

void Editor::onSetCommand(Command command) {
  if (levelMake_ && command == Command::Quit) {
    levelMake_.reset();
    say("No level made: stopped.", Dim);
    return;
  }
  const bool onlyLooks = command == Command::SetUp || command == Command::SetDown || command == Command::Save ||
                         command == Command::Help || command == Command::EndlessLives;
  if (levelMake_ && !onlyLooks) {
    say("A level is being made: Escape stops it.", Warning);
    return;
  }
  const int count = static_cast<int>(set_->entries().size());
  switch (command) {
    case Command::Save: saveSet(); break;
    case Command::SaveAs: startPrompt(PromptFor::SaveSetAs); break;
    case Command::Open: unlessUnsaved(true, "opening another file", [this] { startPrompt(PromptFor::Open); }); break;
    case Command::NewLevel: newLevelInSet(); break;
    case Command::NewSet: unlessUnsaved(true, "starting a new set", [this] { startPrompt(PromptFor::NewSet); }); break;
    case Command::SetUp:
    case Command::SetDown:
      setSelected_ = std::clamp(setSelected_ + (command == Command::SetUp ? -1 : 1), 0, std::max(0, count - 1));
      break;
    case Command::SetMoveUp:
    case Command::SetMoveDown:
      if (count > 0 && !proving_) {
        const int from = setSelected_;
        setSelected_ = set_->move(from, command == Command::SetMoveUp ? -1 : 1);
        std::swap(setFacts_[from], setFacts_[setSelected_]);
      }
      break;
    case Command::SetEdit: openSetLevel(setSelected_); break;
    case Command::SetAdd:
      // The proofs under way hold on to the levels' places in the set.
      if (proving_ || !proveQueue_.empty()) {
        say("Proofs are under way: V stops them before a level is added.", Warning);
      } else {
        startPrompt(PromptFor::AddToSet);
      }
      break;
    case Command::SetRemove:
      if (count > 0 && !proving_) {
        set_->remove(setSelected_);
        setFacts_.erase(setFacts_.begin() + setSelected_);
        setSelected_ = std::clamp(setSelected_, 0, std::max(0, count - 2));
      }
      break;
    case Command::SetProveAll: proveAll(); break;
    case Command::SetPlay: playSet(); break;
    case Command::SetGenerate:
      if (proving_ || !proveQueue_.empty()) {
        say("Proofs are under way: V stops them before a level is made.", Warning);
      } else {
        mode_ = Mode::Typing;
        typingGenerate_ = true;
        typed_ = "3 " + std::to_string(static_cast<uint32_t>(std::time(nullptr)));
        replaceTyped_ = false;
      }
      break;
    case Command::EndlessLives: endlessLives_ = !endlessLives_; break;
    case Command::Help: overlay_ = Overlay::Help; break;
    case Command::Quit: requestQuit(); break;
    default: break;
  }
}

void Editor::onSetMouse(int x, int y) {
  if (const std::optional<int> row = view_.listRowAt(x, y)) {
    if (*row == setSelected_ && !levelMake_) {
      openSetLevel(*row);
    } else {
      setSelected_ = *row;
    }
  }
}

void Editor::openSetLevel(int index) {
  if (index < 0 || index >= static_cast<int>(set_->entries().size())) {
    return;
  }
  if (proving_ && *proving_ == index) {
    say("That level is being proved: V stops the proofs.", Warning);
    return;
  }
  const SetEntry& entry = set_->entries()[index];
  const OpenedLevel opened = openLevelFile(entry.path, entry.name);
  if (!opened.error.empty()) {
    say(opened.error, Warning);
    return;
  }
  loadLevel(opened, entry.path, entry.name);
  setLevelOpen_ = index;
  mode_ = Mode::Drawing;
}

// Drawn first, then put into the set after the chosen level by its first save.
void Editor::newLevelInSet() {
  OpenedLevel fresh;
  fresh.isNew = true;
  loadLevel(fresh, "", "");
  levelJoinsSet_ = true;
  mode_ = Mode::Drawing;
  say("A new level for the set: Ctrl+S saves it into the set's folder and the set.", Dim);
}

void Editor::backToSet() {
  if (setLevelOpen_) {
    forgetSetFacts(*setLevelOpen_);
  }
  setLevelOpen_.reset();
  loadLevel(OpenedLevel{}, "", "");
  mode_ = Mode::SetList;
}

// An existing file joins the set after the selected level; a new one joins
// it too and is opened to be drawn.
void Editor::addToSet(const std::string& path) {
  const int at = set_->entries().empty() ? 0 : setSelected_ + 1;
  set_->insert(at, path);
  setFacts_.insert(setFacts_.begin() + at, std::nullopt);
  setSelected_ = at;
  std::error_code error;
  if (!fs::exists(path, error)) {
    OpenedLevel fresh;
    fresh.isNew = true;
    loadLevel(fresh, path, fs::path(path).filename().string());
    setLevelOpen_ = at;
    mode_ = Mode::Drawing;
    say("New level in the set: draw it, Ctrl+S saves it, Escape goes back to the set.", Dim);
  }
}

// A level made by level-make joins the set after the chosen one, beside the
// list, with its proof where the set view looks for it. The maker works in
// the background; the set view meanwhile only lets the person look, save or
// stop it with Escape, so the set it joins is the set it was asked for.
void Editor::generateAfterChosen(const std::string& typed) {
  std::istringstream words(typed);
  int difficulty = 0;
  unsigned long long seed = 0;
  std::string rest;
  if (!(words >> difficulty >> seed) || (words >> rest) || difficulty < 1 || difficulty > 5) {
    say("Type a difficulty from 1 to 5 and a seed, as \"3 42\".", Warning);
    return;
  }
  const fs::path work = fs::path(workFolder_) / ("made" + std::to_string(++proofsStarted_));
  levelMake_ = std::make_unique<LevelMakeRun>(files_.makerPath, work.string(), difficulty, seed);
  levelMakeAsked_ = "difficulty " + std::to_string(difficulty) + ", seed " + std::to_string(seed);
  levelMakeProgress_.clear();
  say("Making a level (" + levelMakeAsked_ + ")... Escape stops it.", White);
}

bool Editor::pollLevelMake() {
  if (!levelMake_) {
    return false;
  }
  if (!levelMake_->poll()) {
    const std::string progress = levelMake_->progress();
    if (progress == levelMakeProgress_) {
      return false;
    }
    levelMakeProgress_ = progress;
    say("Making a level (" + levelMakeAsked_ + "): " + progress + ". Escape stops it.", White);
    return true;
  }
  const MadeForSet made = levelMake_->result();
  levelMake_.reset();
  addMadeLevel(made);
  return true;
}

void Editor::addMadeLevel(const MadeForSet& made) {
  if (!made.error.empty()) {
    say("No level made: " + made.error, Warning);
    return;
  }
  const fs::path folder = fs::path(set_->path()).parent_path();
  const std::string stem = fs::path(made.fileName).stem().string();
  fs::path path = folder / made.fileName;
  std::error_code error;
  for (int number = 2; fs::exists(path, error); ++number) {
    path = folder / (stem + "-" + std::to_string(number) + ".txt");
  }
  std::ostringstream text;
  writeLevelSource(text, made.source);
  ProofResult proof;
  proof.replay = made.proof;
  proof.replayComment = "# found by level-make";
  std::string problem = writeFileAtomically(path.string(), text.str());
  problem = problem.empty() ? saveProof(path.string(), proof) : problem;
  if (!problem.empty()) {
    say("The level made is not saved: " + problem, Warning);
    return;
  }
  addToSet(path.string());
  say("Made " + made.source.title + " (" + levelMakeAsked_ + "): proven and checked. Ctrl+S saves the list.", Good);
}

void Editor::proveAll() {
  if (proving_ || !proveQueue_.empty()) {
    proveQueue_.clear();
    setProof_.reset();
    proving_.reset();
    say("Proofs stopped.", Dim);
    return;
  }
  for (int index = 0; index < static_cast<int>(setFacts_.size()); ++index) {
    if (!setFacts_[index] || !setFacts_[index]->proven) {
      proveQueue_.push_back(index);
    }
  }
  provedCount_ = 0;
  proveFailures_.clear();
  proveTotal_ = static_cast<int>(proveQueue_.size());
  say(proveTotal_ == 0 ? "Every level of the set is proven." : "", Good);
}

void Editor::pollProveAll() {
  if (setProof_) {
    setProof_->poll();
  }
  // Settled perhaps before any poll: gold out of reach needs no search.
  if (setProof_ && setProof_->result().state != ProofState::Running) {
    const ProofResult& result = setProof_->result();
    const SetEntry& entry = set_->entries()[*proving_];
    if (result.replay) {
      const std::string error = saveProof(entry.path, result);
      if (!error.empty()) {
        proveFailures_.push_back(entry.name + ": the proof cannot be saved: " + error);
      }
    } else {
      proveFailures_.push_back(entry.name + ": " + result.line);
    }
    forgetSetFacts(*proving_);
    setProof_.reset();
    proving_.reset();
    ++provedCount_;
  }
  while (!setProof_ && !proveQueue_.empty()) {
    const int index = proveQueue_.front();
    proveQueue_.erase(proveQueue_.begin());
    const SetEntry& entry = set_->entries()[index];
    const OpenedLevel opened = openLevelFile(entry.path, entry.name);
    if (!opened.error.empty() || opened.isNew) {
      proveFailures_.push_back(entry.name + ": " + (opened.isNew ? "never drawn" : opened.error));
      ++provedCount_;
      continue;
    }
    const fs::path folder = fs::path(workFolder_) / ("proof" + std::to_string(++proofsStarted_));
    std::error_code error;
    fs::create_directories(folder, error);
    setProof_ = std::make_unique<ProofRun>(files_.solverPath, folder.string(), fs::path(entry.path).stem().string(),
                                           opened.source);
    proving_ = index;
  }
}

void Editor::playSet() {
  std::vector<Level> levels;
  const std::vector<SetEntry>& entries = set_->entries();
  if (static_cast<int>(entries.size()) > MostLevelsInSet) {
    say("The set cannot be played: the game holds at most " + std::to_string(MostLevelsInSet) + " levels, this set " +
            std::to_string(entries.size()) + ".",
        Warning);
    return;
  }
  for (size_t step = 0; step < entries.size(); ++step) {
    const SetEntry& entry = entries[(setSelected_ + step) % entries.size()];
    const OpenedLevel opened = openLevelFile(entry.path, entry.name);
    if (!opened.error.empty() || opened.isNew) {
      say("The set cannot be played: " + (opened.isNew ? entry.name + " does not exist" : opened.error), Warning);
      return;
    }
    levels.push_back(opened.source.level);
  }
  if (levels.empty()) {
    say("The set is empty: A adds a level.", Warning);
    return;
  }
  showPlaying("The set from level " + std::to_string(setSelected_ + 1) + ": Escape or game over comes back.");
  PlayOptions options;
  options.endsWhenCleared = false;
  options.endlessLives = endlessLives_;
  const PlayFigures figures = playLevels(mapsBinOf(levels), options, playWindow());
  takeWindowBack();
  say("Played from level " + std::to_string(setSelected_ + 1) + ": " + describeFigures(figures), Dim);
}

// Measuring plays a proof headless, so it waits while a game has the window;
// one level a tick keeps the editor answering.
void Editor::measureOneSetLevel() {
  for (size_t index = 0; index < setFacts_.size(); ++index) {
    if (!setFacts_[index] && (!proving_ || *proving_ != static_cast<int>(index))) {
      setFacts_[index] = describeSetLevel(set_->entries()[index].path);
      return;
    }
  }
}

bool Editor::measureSetInBackground() {
  if (!set_) {
    setMeasure_.reset();
    return false;
  }
  if (setMeasure_) {
    const bool cameIn = setMeasure_->poll();
    for (size_t index = 0; index < setFacts_.size(); ++index) {
      if (cameIn && setFacts_[index] && set_->entries()[index].path == setMeasure_->levelPath()) {
        setFacts_[index]->measured = setMeasure_->measures();
      }
    }
    if (setMeasure_->done()) {
      setMeasure_.reset();
    }
    return cameIn;
  }
  for (size_t index = 0; index < setFacts_.size(); ++index) {
    const std::optional<SetLevelFacts>& facts = setFacts_[index];
    if (facts && facts->drawn && !facts->measured.deadEnds && (!proving_ || *proving_ != static_cast<int>(index))) {
      startSetMeasure(index);
      return false;
    }
  }
  return false;
}

void Editor::startSetMeasure(size_t index) {
  const SetEntry& entry = set_->entries()[index];
  const OpenedLevel opened = openLevelFile(entry.path, entry.name);
  if (!opened.error.empty() || opened.isNew) {   // gone or spoilt since it was read: read it again
    setFacts_[index].reset();
    return;
  }
  const fs::path folder = fs::path(workFolder_) / ("measure" + std::to_string(++measuresStarted_));
  std::error_code error;
  fs::create_directories(folder, error);
  setMeasure_ = std::make_unique<SetLevelMeasure>(files_.raterPath, files_.checkerPath, folder.string(), entry.path,
                                                  opened.source, setFacts_[index]->proven);
}

void Editor::forgetSetFacts(int index) {
  if (setMeasure_ && setMeasure_->levelPath() == set_->entries()[index].path) {
    setMeasure_.reset();
  }
  setFacts_[index].reset();
}

ListContent Editor::setListContent() const {
  ListContent list;
  char heading[128];
  std::snprintf(heading, sizeof heading, HeadingFormat, TitleChars, "title", "gold", " en", "proof", "fig.", "start",
                "dead ends", "margin");
  list.heading = heading;
  for (size_t index = 0; index < set_->entries().size(); ++index) {
    const std::optional<SetLevelFacts>& facts = setFacts_[index];
    const bool busy = proving_ && *proving_ == static_cast<int>(index);
    list.rows.push_back({row(static_cast<int>(index) + 1, set_->entries()[index], busy ? std::nullopt : facts),
                         rowColour(facts, busy)});
  }
  list.selected = setSelected_;
  list.firstShown = setFirstShown_;
  return list;
}

PanelContent Editor::setPanelContent() const {
  PanelContent panel;
  panel.palette = false;
  panel.header = {{"Level set: " + fs::path(set_->path()).filename().string() + (set_->modified() ? " *" : ""), Dim},
                  {std::to_string(set_->entries().size()) + " levels", White}};
  if (setSelected_ < static_cast<int>(setFacts_.size()) && setFacts_[setSelected_]) {
    panel.header.push_back({std::to_string(setSelected_ + 1) + ": " + setFacts_[setSelected_]->title, White, 2});
  }
  if (proving_ || !proveQueue_.empty()) {
    panel.facts.push_back({"Proving " + std::to_string(provedCount_ + 1) + " of " + std::to_string(proveTotal_) +
                               (proving_ ? ": " + set_->entries()[*proving_].name : ""),
                           White, 2});
    if (setProof_) {
      panel.facts.push_back({setProof_->result().line, White});
      panel.facts.push_back({setProof_->result().effort, Dim});
    }
  } else if (proveTotal_ > 0) {
    const int failed = static_cast<int>(proveFailures_.size());
    panel.facts.push_back({"Proven " + std::to_string(proveTotal_ - failed) + " of " + std::to_string(proveTotal_) +
                               (failed > 0 ? ", " + std::to_string(failed) + " failed:" : ""),
                           failed > 0 ? Warning : Good});
    for (const std::string& failure : proveFailures_) {
      panel.facts.push_back({failure, Warning, 2});
    }
  }
  if (endlessLives_) {
    panel.facts.push_back({"Playing: endless lives", White});
  }
  panel.facts.push_back({"", White});
  for (const KeyBinding& binding : keyBindings()) {
    if (binding.place == KeyPlace::Set) {
      panel.facts.push_back({std::string(binding.keys) + ": " + binding.help, Dim});
    }
  }
  return panel;
}
