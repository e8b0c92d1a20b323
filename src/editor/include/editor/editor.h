// The editor at work: reads the keys and the mouse once per tick of the
// game's timer, changes the draft, and shows what changed. It rests while
// nothing happens, like the game's menu. Play-tests and watching a proof
// hand the window to the game's running state and take it back afterwards
// with the drawing as it was.
#pragma once

#include "editor/editor_files.h"
#include "editor/editor_view.h"
#include "editor/level_draft.h"
#include "editor/level_files.h"
#include "editor/play_in_window.h"
#include "editor/proof_run.h"

#include <array>
#include <memory>
#include <optional>
#include <string>

class Editor {
public:
  // workFolder: a scratch folder of the editor's own, for the proofs.
  Editor(const EditorFiles& files, const OpenedLevel& opened, EditorView& view, const std::string& workFolder);

  // Until the person quits.
  void run();

private:
  enum class Mode { Drawing, Typing, ConfirmingQuit };

  // Answer whether anything was read.
  bool readKeys();
  void onKey(int scancode, int ascii, bool control);
  void onDrawingKey(int scancode, int ascii, bool control);
  void onTypingKey(int scancode, int ascii);
  void onQuitKey(int scancode, int ascii);
  bool readMouse();
  void onMouse(int flags, int x, int y);
  void strokeTo(int x, int y);
  void endStroke();

  void requestQuit();
  void startTyping(bool title);
  bool save();
  void playTest();
  void prove();
  void watchProof();
  PlayWindow playWindow();
  void takeWindowBack();
  bool proofIsCurrent() const;
  void say(const std::string& text, int colour);

  void refresh();
  GridMarks gridMarks() const;
  PanelContent panelContent() const;
  std::string promptText() const;

  const EditorFiles& files_;
  EditorView& view_;
  std::string workFolder_;
  LevelDraft draft_;
  int selectedKind_ = 1;
  bool gridLines_ = false;
  Mode mode_ = Mode::Drawing;
  bool quit_ = false;

  bool typingTitle_ = true;
  std::string typed_;
  bool replaceTyped_ = false;   // the old text, as if selected: a typed character replaces it
  std::string message_;
  int messageColour_ = 0;

  bool stroking_ = false;
  bool rectangle_ = false;
  int8_t strokeCode_ = 0;
  std::array<int, 2> anchor_{};
  std::array<int, 2> last_{};

  std::unique_ptr<ProofRun> proof_;
  int proofsStarted_ = 0;
};
