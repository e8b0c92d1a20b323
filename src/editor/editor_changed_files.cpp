// A level or a list that changed on disk since the editor read it (another
// editor saved it, another program rewrote it): the save that found it
// asks before anything is lost on either side.
#include "editor/editor.h"

#include "editor/editor_colours.h"

#include "leveltext/level_set.h"

void Editor::askAboutChange(bool ofSet) {
  const std::string path = ofSet ? set_->path() : levelPath_;
  const std::string displayName = ofSet ? path : displayName_;
  say("", Dim);
  confirm(shownPath(path) + " changed on disk since it was read. Y: overwrite it  N: reload it, dropping these "
          "changes  Escape: go back (Ctrl+Shift+S saves as another file)",
          [this, ofSet, path] {
            if (ofSet) {
              set_->setStamp(currentStamp(path, LevelListMostBytes));
              saveSetAs(path);
            } else {
              levelStamp_ = currentStamp(path, LevelFileMostBytes);
              saveLevelAs(path);
            }
          },
          [this, ofSet, path, displayName] {
            if (ofSet) {
              LevelSetList list;
              const std::string problem = LevelSetList::open(path, list);
              if (!problem.empty()) {
                say(problem, Warning);
                return;
              }
              showSet(std::move(list));
              say("Reloaded " + shownPath(path) + ".", Good);
              return;
            }
            const OpenedLevel opened = openLevelFile(path, displayName);
            if (!opened.error.empty()) {
              say(opened.error, Warning);
              return;
            }
            loadLevel(opened, path, displayName);
            say("Reloaded " + shownPath(path) + ".", Good);
          });
}
