// mellow-quarrier-editor: draws, play-tests, proves and saves one level file
// in the game's own window, tiles and rules.
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
  setup.width = EditorWidth * files.scale;
  setup.height = EditorHeight * files.scale;
  setup.assetsFile = files.assetsPath;
  setup.missingAssetsStatus = 1;
  return setup;
}

constexpr const char* EditorHelp = R"(Draws, play-tests, proves and saves one level of Mellow Quarrier; a level
file that does not exist yet starts an empty level. Without a level file it
starts a new one in ~/.local/share/mellow-quarrier/levels/.

  --assets FILE  the game's assets.dat; by default the one beside the editor,
                 else the installed game's
  --scale 1|2|3  draw the window once, twice or three times its size
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
  const OpenedLevel opened = openLevelFile(files.levelPath, files.displayName);
  if (!opened.error.empty()) {
    stop(opened.error);
  }
  std::unique_ptr<ScratchFolder> scratch;
  try {
    scratch = std::make_unique<ScratchFolder>("mq-editor");
  } catch (const std::runtime_error& error) {
    stop(error.what());
  }
  EditorView view(files.scale);
  Editor editor(files, opened, view, scratch->path().string());
  editor.run();
  return 0;
}
END_OF_MAIN()
