// The path typed into the editor's file prompt, and the folder's entries
// that fit it: Tab completes as far as the entries agree, the arrow keys
// pick one of them. No drawing and no keys here, so it runs in tests.
//
// A typed path is taken relative to the base folder; a leading "~/" is
// the home folder. The choices are the entries of the folder the path names
// up to its last '/', whose names start with what follows it; folders end
// with '/' and come first, and hidden entries show only once a '.' is typed.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class FilePrompt {
public:
  FilePrompt(std::string startText, std::string baseFolder);

  // The path as it stands: typed, completed, or picked.
  const std::string& text() const { return text_; }
  void type(char character);
  void eraseLast();
  void clear();
  // Extends the path to the longest start that every choice shares; a single
  // choice is taken whole.
  void complete();
  // Moves the pick by `step` through the choices of the path as last typed.
  void pick(int step);
  std::optional<int> picked() const { return picked_; }

  std::vector<std::string> choices() const;
  // Enter: a folder is entered (the prompt stays, answering nothing), a file
  // is the answer, as an absolute path with "~" expanded. A path ending in
  // '/' that does not exist is made as a folder, and entered.
  std::optional<std::string> accept();
  // What the last accept did besides: the folder it made, or why it could not.
  const std::string& news() const { return made_; }

private:
  std::vector<std::string> choicesOf(const std::string& path) const;
  std::string folderPart(const std::string& path) const;

  std::filesystem::path expanded(const std::string& path) const;

  std::string baseFolder_;
  std::string text_;
  std::string typed_;   // the path before the arrow keys picked
  std::optional<int> picked_;
  std::string made_;
};
