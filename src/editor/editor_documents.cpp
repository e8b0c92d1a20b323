// The editor's files: opening a level or a level list, a new level, saving
// and saving as, and the questions asked before unsaved work is left.
#include "editor/editor.h"

#include "editor/editor_colours.h"

#include "leveltext/level_set.h"

#include <allegro.h>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr const char* ProgramTitle = "Mellow Quarrier level editor";
constexpr int FirstPrintable = ' ';
constexpr int LastPrintable = '~';

std::string folderOf(const std::string& path) {
  const fs::path folder = fs::path(path).parent_path();
  return folder.empty() ? std::string() : folder.string() + "/";
}

bool folderExists(const std::string& path) {
  std::error_code error;
  return fs::is_directory(fs::path(path).parent_path(), error);
}

bool isInside(const std::string& path, const std::string& folder) {
  if (folder.empty()) {
    return false;
  }
  const fs::path relative = fs::path(path).lexically_relative(folder);
  return !relative.empty() && *relative.begin() != "..";
}

}  // namespace

std::string Editor::openFirst(const std::string& path, const std::string& displayName) {
  if (path.empty()) {
    newLevel();
    return {};
  }
  std::error_code error;
  if (fs::is_regular_file(path, error) && !looksLikeLevelFile(path)) {
    return openFile(path, displayName) ? std::string() : message_;
  }
  const OpenedLevel opened = openLevelFile(path, displayName);
  if (!opened.error.empty()) {
    return opened.error;
  }
  loadLevel(opened, path, displayName);
  return {};
}

bool Editor::openFile(const std::string& path, const std::string& displayName) {
  std::error_code error;
  if (fs::is_regular_file(path, error) && !looksLikeLevelFile(path)) {
    LevelSetList list;
    const std::string problem = LevelSetList::open(path, list);
    if (!problem.empty()) {
      say(problem, Warning);
      return false;
    }
    showSet(std::move(list));
    say("", Dim);
    return true;
  }
  const OpenedLevel opened = openLevelFile(path, displayName);
  if (!opened.error.empty()) {
    say(opened.error, Warning);
    return false;
  }
  set_.reset();
  setLevelOpen_.reset();
  loadLevel(opened, path, displayName);
  mode_ = Mode::Drawing;
  return true;
}

void Editor::loadLevel(const OpenedLevel& opened, const std::string& path, const std::string& displayName) {
  endStroke();
  levelPath_ = path;
  displayName_ = displayName;
  levelStamp_ = opened.stamp;
  levelJoinsSet_ = false;
  draft_ = LevelDraft(opened.isNew ? LevelSource{"Untitled", "", Level{}} : opened.source);
  view_.invalidate();
  proof_.reset();
  // Even root, who could write there, keeps the installed sources as they
  // came; other files tell their state when a save fails.
  readOnly_ = !path.empty() && isInside(path, files_.installedLevels);
  if (readOnly_) {
    say(displayName + " came with the game and is read-only: Ctrl+S saves a copy of it elsewhere.", Dim);
  } else if (opened.isNew && !path.empty()) {
    say("New level: " + displayName + " does not exist yet.", Dim);
  } else {
    say("", Dim);
  }
}

void Editor::newLevel() {
  set_.reset();
  setLevelOpen_.reset();
  OpenedLevel fresh;
  fresh.isNew = true;
  loadLevel(fresh, "", "");
  mode_ = Mode::Drawing;
  say("A new level: Ctrl+S asks where to save it.", Dim);
}

void Editor::startPrompt(PromptFor purpose) {
  endStroke();
  std::string start = folderOf(levelPath_);
  if (purpose == PromptFor::SaveAs) {
    // A first save: in the set's folder when the level joins a set, named
    // after its title.
    const std::string name = levelPath_.empty() ? fileNameFromTitle(draft_.source().title)
                                                : fs::path(levelPath_).filename().string();
    const std::string firstFolder = set_ ? folderOf(set_->path()) : files_.startFolder + "/";
    start = (readOnly_ ? files_.startFolder + "/" : levelPath_.empty() ? firstFolder : start) + name;
  } else if (purpose == PromptFor::NewSet) {
    start = folderOf(set_ ? set_->path() : levelPath_);
  } else if (set_ && (purpose == PromptFor::AddToSet || purpose == PromptFor::SaveSetAs || mode_ == Mode::SetList)) {
    start = folderOf(set_->path());
  }
  if (start.empty()) {
    start = files_.startFolder + "/";
  }
  prompt_.emplace(start, files_.startFolder);
  promptFor_ = purpose;
  returnMode_ = mode_;
  mode_ = Mode::Prompting;
}

void Editor::onPromptKey(const Key& key) {
  if (key.control && key.scancode == KEY_U) {
    prompt_->clear();
    return;
  }
  switch (key.scancode) {
    case KEY_ESC:
      mode_ = returnMode_;
      return;
    case KEY_TAB: prompt_->complete(); return;
    case KEY_UP: prompt_->pick(-1); return;
    case KEY_DOWN: prompt_->pick(1); return;
    case KEY_BACKSPACE: prompt_->eraseLast(); return;
    case KEY_ENTER:
    case KEY_ENTER_PAD:
      if (const std::optional<std::string> path = prompt_->accept()) {
        mode_ = returnMode_;
        promptAnswered(*path);
      }
      return;
    default: break;
  }
  if (key.character >= FirstPrintable && key.character <= LastPrintable) {
    prompt_->type(static_cast<char>(key.character));
  } else if (key.character > LastPrintable) {
    refusal_ = "File names here are typed in plain letters, digits and signs; Tab completes others.";
  }
}

void Editor::promptAnswered(const std::string& path) {
  std::error_code error;
  const bool exists = fs::exists(path, error);
  switch (promptFor_) {
    case PromptFor::Open:
      if (!exists) {
        // A new level of that name, saved where it was asked for.
        OpenedLevel fresh;
        fresh.isNew = true;
        set_.reset();
        setLevelOpen_.reset();
        loadLevel(fresh, path, path);
        mode_ = Mode::Drawing;
      } else {
        openFile(path, path);
      }
      break;
    case PromptFor::SaveAs:
      saveAsked(path, path != levelPath_, [this, path] { saveLevelAs(path); });
      break;
    case PromptFor::SaveSetAs:
      saveAsked(path, path != set_->path(), [this, path] { saveSetAs(path); });
      break;
    case PromptFor::AddToSet: addToSet(path); break;
    case PromptFor::NewSet:
      if (exists) {
        confirm(shownPath(path) + " exists. Y: replace it with the new set  Escape: keep it", [this, path] { newSet(path); },
                nullptr);
      } else {
        newSet(path);
      }
      break;
  }
}

void Editor::showSet(LevelSetList list) {
  set_ = std::move(list);
  setFacts_.assign(set_->entries().size(), std::nullopt);
  setMeasure_.reset();
  setSelected_ = setFirstShown_ = 0;
  setLevelOpen_.reset();
  proveQueue_.clear();
  setProof_.reset();
  proving_.reset();
  proveFailures_.clear();
  proveTotal_ = 0;
  loadLevel(OpenedLevel{}, "", "");
  mode_ = Mode::SetList;
}

// An empty list, saved by Ctrl+S; levels join it with A.
void Editor::newSet(const std::string& path) {
  LevelSetList list;
  list.setPath(path);
  // Agreed to replace what is there.
  list.setStamp(currentStamp(path, LevelListMostBytes));
  showSet(std::move(list));
  say("A new set: A adds a level to it, Ctrl+S saves it.", Dim);
}

// A missing folder is made, and another file replaced, once the person agreed.
void Editor::saveAsked(const std::string& path, bool anotherFile, const std::function<void()>& write) {
  std::error_code error;
  if (!folderExists(path)) {
    confirm("The folder " + shownPath(folderOf(path)) + " does not exist. Y: make it and save  Escape: go back",
            [this, path, write] {
              if (makeFolderOf(path)) {
                write();
              }
            },
            nullptr);
  } else if (anotherFile && fs::exists(path, error)) {
    confirm(shownPath(path) + " exists. Y: replace it  Escape: keep it", write, nullptr);
  } else {
    write();
  }
}

bool Editor::makeFolderOf(const std::string& path) {
  std::error_code error;
  fs::create_directories(fs::path(path).parent_path(), error);
  if (error) {
    say("Cannot make the folder " + shownPath(folderOf(path)) + ": " + error.message(), Warning);
  }
  return !error;
}

void Editor::confirm(const std::string& question, std::function<void()> yes, std::function<void()> no) {
  endStroke();
  confirmQuestion_ = question;
  confirmYes_ = std::move(yes);
  confirmNo_ = std::move(no);
  returnMode_ = mode_;
  mode_ = Mode::Confirming;
}

void Editor::onConfirmKey(const Key& key) {
  if (key.character == 'y' || key.character == 'Y') {
    mode_ = returnMode_;
    confirmYes_();
  } else if ((key.character == 'n' || key.character == 'N') && confirmNo_) {
    mode_ = returnMode_;
    confirmNo_();
  } else if (key.scancode == KEY_ESC) {
    mode_ = returnMode_;
  }
}

void Editor::unlessUnsaved(bool setToo, const std::string& what, std::function<void()> action) {
  const bool level = levelModified();
  const bool set = setToo && setModified();
  if (!level && !set) {
    action();
    return;
  }
  const std::string things = level && set ? "the level and the set" : level ? "the level" : "the set";
  confirm("Unsaved changes to " + things + " before " + what + ". Y: save  N: drop them  Escape: go on editing",
          [this, level, set, action] {
            if ((!level || save()) && (!set || saveSet())) {
              action();
            }
          },
          action);
}

void Editor::requestQuit() {
  endStroke();
  if (mode_ == Mode::Confirming || mode_ == Mode::Prompting) {
    mode_ = returnMode_;
  }
  unlessUnsaved(true, "quitting", [this] { quit_ = true; });
}

bool Editor::levelModified() const { return draft_.modified(); }

bool Editor::setModified() const { return set_ && set_->modified(); }

bool Editor::save() {
  endStroke();
  if (mode_ == Mode::SetList) {
    return saveSet();
  }
  if (levelPath_.empty() || readOnly_) {
    startPrompt(PromptFor::SaveAs);
    return false;
  }
  return saveLevelAs(levelPath_);
}

bool Editor::saveLevelAs(const std::string& path) {
  if (!draft_.playerStart()) {
    say("Not saved: a level needs a player start (key 5).", Warning);
    return false;
  }
  // A proof kept beside the level that no longer clears it would be a lie.
  const bool newProof = proofIsCurrent() && proof_->result().replay;
  if (!newProof && keptProofClears(path, draft_.source().level) == false) {
    const std::string replayPath = replayPathFor(path);
    confirm("The proof " + shownPath(replayPath) +
                " no longer clears the level. Y: save without a proof (it is removed)  N: prove again  Escape: go back",
            [this, path, replayPath] {
              std::error_code error;
              fs::remove(replayPath, error);
              saveLevelAs(path);
            },
            [this] { prove(); });
    return false;
  }
  std::ostringstream text;
  writeLevelSource(text, draft_.source());
  const GuardedSave saved = saveFile(path, text.str(), path == levelPath_ ? &levelStamp_ : nullptr);
  if (saved.result == GuardedSave::Changed) {
    askAboutChange(false);
    return false;
  }
  if (saved.result == GuardedSave::Failed) {
    say(saved.error + ". The level is not saved: Ctrl+Shift+S saves it as another file.", Warning);
    return false;
  }
  levelStamp_ = saved.stamp;
  if (path != levelPath_) {
    displayName_ = path;
    levelPath_ = path;
    if (setLevelOpen_) {
      set_->remove(*setLevelOpen_);
      set_->insert(*setLevelOpen_, path);
    } else if (levelJoinsSet_) {
      const int at = set_->entries().empty() ? 0 : setSelected_ + 1;
      set_->insert(at, path);
      setFacts_.insert(setFacts_.begin() + at, std::nullopt);
      setSelected_ = at;
      setLevelOpen_ = at;
      levelJoinsSet_ = false;
    }
  }
  readOnly_ = false;
  draft_.markSaved();
  if (setLevelOpen_) {
    forgetSetFacts(*setLevelOpen_);
  }
  const std::string name = shownPath(path);
  say("Saved " + name + ".", Good);
  if (proofIsCurrent() && proof_->result().replay) {
    const std::string replayError = saveProof(path, proof_->result());
    say(replayError.empty() ? "Saved " + name + " and its proof." : "Saved the level, but not its proof: " + replayError,
        replayError.empty() ? Good : Warning);
  }
  return true;
}

bool Editor::saveSet() {
  if (!set_) {
    return true;
  }
  if (isInside(set_->path(), files_.installedLevels)) {
    say("The set came with the game and is read-only: save a copy of the list elsewhere.", Dim);
    startPrompt(PromptFor::SaveSetAs);
    return false;
  }
  return saveSetAs(set_->path());
}

bool Editor::saveSetAs(const std::string& path) {
  const std::string before = set_->path();
  if (path != before) {
    set_->setPath(path);
  }
  // A level never drawn has no file: in the list it would stop the game.
  int leftOut = 0;
  const std::string text = set_->text([&leftOut](const SetEntry& entry) {
    std::error_code error;
    const bool drawn = fs::exists(entry.path, error);
    leftOut += drawn ? 0 : 1;
    return drawn;
  });
  const GuardedSave saved = saveFile(path, text, path == before ? &set_->stamp() : nullptr);
  if (saved.result == GuardedSave::Changed) {
    askAboutChange(true);
    return false;
  }
  if (saved.result == GuardedSave::Failed) {
    if (path != before) {
      set_->setPath(before);
    }
    say(saved.error + ". The set is not saved: Ctrl+Shift+S saves it as another file.", Warning);
    return false;
  }
  set_->markSaved();
  set_->setStamp(saved.stamp);
  if (leftOut > 0) {
    say("Saved the set " + shownPath(path) + " without " + std::to_string(leftOut) + " level" +
            (leftOut == 1 ? "" : "s") + " never drawn: draw and save them, then save the set again.",
        Warning);
    return true;
  }
  say("Saved the set " + shownPath(path) + ".", Good);
  return true;
}

std::string Editor::shownName() const {
  if (mode_ == Mode::SetList && set_) {
    return fs::path(set_->path()).filename().string() + (set_->modified() ? " *" : "");
  }
  const std::string name = levelPath_.empty() ? "untitled" : fs::path(levelPath_).filename().string();
  return name + (draft_.modified() ? " *" : "") + (readOnly_ ? " (read-only)" : "");
}

void Editor::updateWindowTitle() {
  const std::string title = shownName() + " - " + ProgramTitle;
  if (title != windowTitle_) {
    windowTitle_ = title;
    set_window_title(title.c_str());
  }
}
