// mellow-quarrier-editor: draws, play-tests, proves and saves levels and
// level sets in the game's own window, tiles and rules.
#include "editor/editor.h"
#include "editor/editor_files.h"
#include "editor/editor_view.h"
#include "editor/level_files.h"

#include "app/application.h"
#include "base/fatal.h"
#include "base/random_draws.h"
#include "base/scratch_folder.h"

#include <cstdio>
#include <ctime>
#include <memory>
#include <stdexcept>

namespace {

constexpr int ExitUsage = 2;

WindowSetup editorWindow(const EditorFiles& files) {
  WindowSetup setup;
  setup.program = "editor";
  setup.title = "Mellow Quarrier level editor";
  setup.windowClass = "MellowQuarrierEditor";
  setup.width = EditorWidth;
  setup.height = EditorHeight;
  setup.scaleForDesktop = [chosen = files.scale](int desktopWidth, int desktopHeight) {
    const int fitting = fittingScale(desktopWidth, desktopHeight);
    const bool desktopKnown = desktopWidth > 0 && desktopHeight > 0;
    if (chosen == 0 || !desktopKnown || chosen <= fitting) {
      return chosen != 0 ? chosen : fitting;
    }
    std::fprintf(stderr,
                 "mellow-quarrier-editor: --scale %d needs a window of %d by %d, more than the %d by %d desktop "
                 "holds with a title bar: scale %d instead\n",
                 chosen, EditorWidth * chosen, EditorHeight * chosen, desktopWidth, desktopHeight, fitting);
    return fitting;
  };
  setup.assetsFile = files.assetsPath;
  setup.missingAssetsStatus = 1;
  return setup;
}

constexpr const char* EditorHelp = R"(Draws, play-tests, proves and saves levels of Mellow Quarrier, and shows,
orders, proves and plays level sets (level lists in the format of
levels.txt). A level file that does not exist yet starts an empty level;
without a file, the editor starts a new level, to be saved by default in
~/.local/share/mellow-quarrier/levels/.

  --assets FILE  the game's assets.dat; by default the one beside the editor,
                 else the installed game's
  --scale 1|2|3  draw the window once, twice or three times its size; by
                 default the largest that fits the desktop
  --help         show this help and exit
  --version      show the version and exit

The window lists the keys beside the drawing; man mellow-quarrier-editor
tells more.
)";

// Answers `--help` or `--version` given alone; false for any other command line.
bool answeredAlone(int argc, char** argv) {
  const std::string only = argc == 2 ? argv[1] : "";
  if (only == "--help") {
    std::printf("%s\n%s", EditorUsage, EditorHelp);
  } else if (only == "--version") {
    std::printf("mellow-quarrier-editor %s\n", MQ_VERSION);
  } else {
    return false;
  }
  return true;
}

[[noreturn]] void stop(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  fatalError(message.c_str(), 1);
}

}  // namespace

int main(int argc, char** argv) {
  if (answeredAlone(argc, argv)) {
    return 0;
  }
  EditorFiles files;
  const std::string problem = readEditorCommandLine(argc, argv, files);
  if (!problem.empty()) {
    std::fprintf(stderr, "mellow-quarrier-editor: %s\n%s\n", problem.c_str(), EditorUsage);
    return ExitUsage;
  }
  seedRandom(static_cast<unsigned>(time(nullptr)));
  Application application(editorWindow(files));
  std::unique_ptr<ScratchFolder> scratch;
  try {
    scratch = std::make_unique<ScratchFolder>("mq-editor");
  } catch (const std::runtime_error& error) {
    stop(error.what());
  }
  EditorView view(application.scale());
  Editor editor(files, view, scratch->path().string());
  const std::string openProblem = editor.openFirst(files.levelPath, files.displayName);
  if (!openProblem.empty()) {
    stop(openProblem);
  }
  editor.run();
  return 0;
}
END_OF_MAIN()
