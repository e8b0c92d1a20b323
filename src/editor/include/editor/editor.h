// The editor at work: reads the keys and the mouse once per tick of the
// game's timer, changes the draft, and shows what changed. It rests while
// nothing happens, like the game's menu. Play-tests and watching a proof
// hand the window to the game's running state and take it back afterwards
// with the drawing as it was.
//
// It holds one level at a time, and perhaps the level set it came from: a
// level opened from the set's list returns to the list with Escape. Files
// are opened and saved as through a prompt in the window; nothing unsaved is
// dropped without asking, and a save that fails keeps the drawing and offers
// Save as. The code is spread over a few files by concern: the loop and the
// drawing (editor.cpp), files (editor_documents.cpp), the level set
// (editor_set.cpp), play-tests and proofs (editor_play.cpp), and what the
// panel says (editor_panel.cpp).
#pragma once

#include "editor/dead_end_run.h"
#include "editor/editor_files.h"
#include "editor/editor_view.h"
#include "editor/file_prompt.h"
#include "editor/key_table.h"
#include "editor/level_draft.h"
#include "editor/level_files.h"
#include "editor/level_make_run.h"
#include "editor/level_set_list.h"
#include "editor/level_tool_run.h"
#include "editor/play_in_window.h"
#include "editor/proof_run.h"
#include "editor/paint_tool.h"
#include "editor/select_tool.h"
#include "editor/set_level_facts.h"
#include "editor/set_level_measure.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class Editor {
public:
  // workFolder: a scratch folder of the editor's own, for the proofs.
  Editor(const EditorFiles& files, EditorView& view, const std::string& workFolder);

  // Opens the file given on the command line: a level, a new level, or a
  // level list. Answers an error that ends the program, or nothing.
  std::string openFirst(const std::string& path, const std::string& displayName);
  // Until the person quits.
  void run();

private:
  enum class Mode { Drawing, Typing, Prompting, Confirming, SetList };
  enum class PromptFor { Open, SaveAs, SaveSetAs, AddToSet, NewSet };
  // A list shown in the grid's place over the drawing or the set.
  enum class Overlay { None, Help, History };
  struct Key {
    int scancode;
    int character;   // Unicode, 0 for none
    bool control;
    bool shift;
  };

  // editor.cpp: the loop, the drawing and the mouse.
  bool readInput();
  void onKey(const Key& key);
  void onDrawingKey(const Key& key);
  void onDrawingCommand(const FoundBinding& found);
  // Answers whether the overlay took the key.
  bool onOverlayKey(const Key& key);
  void onTypingKey(const Key& key);
  void onMouse(int flags, int x, int y);
  void onGridPress(int flags);
  void endStroke();
  void useTool(Tool& tool);
  // By one step, within the screen.
  void zoom(int step);
  void fillUnderPointer();
  void mirror();
  void copySelection(bool cut);
  void paste();
  void moveSelection();
  void deleteSelection();
  bool dropSelection();
  void startTyping(bool title);
  void generateAfterChosen(const std::string& typed);
  void say(const std::string& text, int colour);
  void refresh();

  // editor_documents.cpp: levels and lists in and out.
  void onPromptKey(const Key& key);
  void onConfirmKey(const Key& key);
  void startPrompt(PromptFor purpose);
  void promptAnswered(const std::string& path);
  // Runs the action now, or once the person agreed to drop or save the
  // unsaved changes of the level (and of the set, when it leaves too).
  void unlessUnsaved(bool setToo, const std::string& what, std::function<void()> action);
  // Y runs yes, N runs no (when there is one), Escape goes back.
  void confirm(const std::string& question, std::function<void()> yes, std::function<void()> no);
  bool openFile(const std::string& path, const std::string& displayName);
  void loadLevel(const OpenedLevel& opened, const std::string& path, const std::string& displayName);
  void newLevel();
  bool save();
  bool saveLevelAs(const std::string& path);
  bool saveSet();
  bool saveSetAs(const std::string& path);
  // The file changed behind the editor: overwrite, reload or go back.
  void askAboutChange(bool ofSet);
  void newSet(const std::string& path);
  void showSet(LevelSetList list);
  void saveAsked(const std::string& path, bool anotherFile, const std::function<void()>& write);
  // Makes the folder a file is to be saved in; says why it cannot.
  bool makeFolderOf(const std::string& path);
  void requestQuit();
  bool levelModified() const;
  bool setModified() const;
  std::string shownName() const;
  void updateWindowTitle();

  // editor_set.cpp: the level set's list.
  void onSetKey(const Key& key);
  void onSetCommand(Command command);
  void onSetMouse(int x, int y);
  void openSetLevel(int index);
  void backToSet();
  void newLevelInSet();
  bool inSet() const { return setLevelOpen_ || levelJoinsSet_; }
  void addToSet(const std::string& path);
  // Reads the level maker's progress into the status line; once it has
  // ended, the level made joins the set. Answers whether anything changed.
  bool pollLevelMake();
  void addMadeLevel(const MadeForSet& made);
  void proveAll();
  void pollProveAll();
  void playSet();
  void measureOneSetLevel();
  // Starts the slow figures of the first level read but not measured, or
  // reads the measure under way; answers whether a figure came in.
  bool measureSetInBackground();
  void startSetMeasure(size_t index);
  // The level's facts are read and measured again.
  void forgetSetFacts(int index);
  ListContent setListContent() const;
  PanelContent setPanelContent() const;

  // editor_play.cpp: play-tests and proofs.
  void playTest(bool fromPointer);
  void prove();
  void watchProof();
  void startProofMargin();
  // Reads the critical presses found so far; answers whether the search ended.
  bool pollProofMargin();
  PlayWindow playWindow();
  void showPlaying(const std::string& what);
  void takeWindowBack();
  bool proofIsCurrent() const;
  // Starts the dead-end check of the level as it stands once it changed and
  // no stroke is under way; answers whether anything came of a check.
  bool checkDeadEnds();
  bool deadEndsAreCurrent() const;
  void watchWayIntoTrap();
  std::string describeFigures(const PlayFigures& figures) const;

  // editor_panel.cpp: what the panel and prompt say.
  GridMarks gridMarks() const;
  PanelContent panelContent() const;
  // The help of the bindings where the person is, or the undo history.
  ListContent overlayContent() const;
  // What a click at the pointer would use, and its key.
  std::string toolUnderPointer() const;
  std::string promptText() const;

  const EditorFiles& files_;
  EditorView& view_;
  std::string workFolder_;
  std::string levelPath_;      // absolute; empty for a level never saved
  std::string displayName_;    // as given, for messages
  bool readOnly_ = false;      // an installed level: Save as only
  FileStamp levelStamp_;       // the level's file as last read or written
  LevelDraft draft_;
  PaintTool paint_;
  SelectTool select_;
  Tool* tool_ = &paint_;
  std::optional<CellClip> clipboard_;
  Overlay overlay_ = Overlay::None;
  bool gridLines_ = false;
  bool endlessLives_ = false;
  Mode mode_ = Mode::Drawing;
  bool quit_ = false;
  std::string windowTitle_;

  bool typingTitle_ = true;
  bool typingGenerate_ = false;   // the difficulty and seed of a level to make, in the set view
  std::string typed_;
  bool replaceTyped_ = false;   // the old text, as if selected: a typed character replaces it
  std::string message_;
  int messageColour_ = 0;
  std::string refusal_;         // a typed character the font cannot draw, said at once

  std::optional<FilePrompt> prompt_;
  PromptFor promptFor_ = PromptFor::Open;
  Mode returnMode_ = Mode::Drawing;   // after the prompt or the question
  std::string confirmQuestion_;
  std::function<void()> confirmYes_;
  std::function<void()> confirmNo_;

  std::optional<LevelSetList> set_;
  std::vector<std::optional<SetLevelFacts>> setFacts_;
  int setSelected_ = 0;
  int setFirstShown_ = 0;
  std::optional<int> setLevelOpen_;   // the set's level being edited
  bool levelJoinsSet_ = false;        // a new level, put into the set once saved
  std::vector<int> proveQueue_;
  std::optional<int> proving_;
  int provedCount_ = 0;
  std::vector<std::string> proveFailures_;   // "NAME: why", of the last Prove all
  int proveTotal_ = 0;
  std::unique_ptr<ProofRun> setProof_;
  std::unique_ptr<SetLevelMeasure> setMeasure_;
  int measuresStarted_ = 0;

  std::optional<std::array<int, 2>> pointerCell_;
  std::array<int, 2> pointerPixel_{-1, -1};   // in the window

  std::unique_ptr<ProofRun> proof_;
  int proofsStarted_ = 0;
  // The presses of proof_ with less than a person's room, found by
  // mellow-quarrier-level-check in the background once the proof is in, framed while it
  // is watched.
  std::unique_ptr<LevelToolRun> proofMarginRun_;
  std::vector<WatchMark> criticalPresses_;
  std::unique_ptr<DeadEndRun> deadEnds_;

  // A level being made for the set, joining it after the chosen level.
  std::unique_ptr<LevelMakeRun> levelMake_;
  std::string levelMakeAsked_;      // "difficulty 3, seed 42"
  std::string levelMakeProgress_;   // what the status line last said of it
};
