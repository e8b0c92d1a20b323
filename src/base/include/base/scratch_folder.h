// A fresh, empty temporary folder made the working directory for the
// lifetime of the object; the previous working directory comes back and the
// folder is removed afterwards. The Game reads maps.bin and user.bin from the
// working directory and writes user.bin when it goes, so every headless game
// that the tools, tests, soak and benchmarks run gets a folder of its own.
// A TERM, HUP or INT that ends the process removes the folder too
// (signal_cleanup.h).
#pragma once

#include <filesystem>

class ScratchFolder {
public:
  // The folder's name starts with the prefix. Throws std::runtime_error
  // when no folder can be made.
  explicit ScratchFolder(const char* prefix);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};
