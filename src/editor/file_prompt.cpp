#include "editor/file_prompt.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

FilePrompt::FilePrompt(std::string startText, std::string baseFolder)
    : baseFolder_(std::move(baseFolder)), text_(std::move(startText)), typed_(text_) {}

fs::path FilePrompt::expanded(const std::string& path) const {
  const char* home = std::getenv("HOME");
  if (home != nullptr && (path == "~" || path.rfind("~/", 0) == 0)) {
    return fs::path(home) / path.substr(std::min<size_t>(2, path.size()));
  }
  return fs::path(baseFolder_) / path;
}

void FilePrompt::type(char character) {
  text_ += character;
  typed_ = text_;
  picked_.reset();
}

void FilePrompt::eraseLast() {
  if (!text_.empty()) {
    text_.pop_back();
  }
  typed_ = text_;
  picked_.reset();
}

void FilePrompt::clear() {
  text_.clear();
  typed_.clear();
  picked_.reset();
}

std::string FilePrompt::folderPart(const std::string& path) const {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::vector<std::string> FilePrompt::choicesOf(const std::string& path) const {
  const std::string folder = folderPart(path);
  const std::string start = path.substr(folder.size());
  std::vector<std::string> folders;
  std::vector<std::string> files;
  std::error_code error;
  for (fs::directory_iterator entry(expanded(folder), error), end; !error && entry != end; entry.increment(error)) {
    const std::string name = entry->path().filename().string();
    if (name.rfind(start, 0) != 0 || (name[0] == '.' && (start.empty() || start[0] != '.'))) {
      continue;
    }
    std::error_code kindError;
    const bool isFolder = entry->is_directory(kindError);
    (isFolder ? folders : files).push_back(isFolder ? name + "/" : name);
  }
  std::sort(folders.begin(), folders.end());
  std::sort(files.begin(), files.end());
  folders.insert(folders.end(), files.begin(), files.end());
  return folders;
}

std::vector<std::string> FilePrompt::choices() const { return choicesOf(typed_); }

void FilePrompt::complete() {
  const std::vector<std::string> names = choicesOf(typed_);
  if (names.empty()) {
    return;
  }
  std::string shared = names.front();
  for (const std::string& name : names) {
    shared.erase(std::mismatch(shared.begin(), shared.end(), name.begin(), name.end()).first, shared.end());
  }
  text_ = typed_ = folderPart(typed_) + shared;
  picked_.reset();
}

void FilePrompt::pick(int step) {
  const std::vector<std::string> names = choicesOf(typed_);
  if (names.empty()) {
    return;
  }
  const int count = static_cast<int>(names.size());
  const int from = picked_ ? *picked_ : (step > 0 ? -1 : count);
  picked_ = std::clamp(from + step, 0, count - 1);
  text_ = folderPart(typed_) + names[*picked_];
}

std::optional<std::string> FilePrompt::accept() {
  if (text_.empty()) {
    return std::nullopt;
  }
  const fs::path path = expanded(text_);
  std::error_code error;
  made_.clear();
  if (text_.back() == '/' && !fs::exists(path, error)) {
    fs::create_directories(path, error);
    made_ = error ? "Cannot make the folder " + text_ + ": " + error.message() : "Made the folder " + text_;
  }
  if (fs::is_directory(path, error)) {
    text_ = typed_ = text_.back() == '/' ? text_ : text_ + "/";
    picked_.reset();
    return std::nullopt;
  }
  return path.lexically_normal().string();
}
