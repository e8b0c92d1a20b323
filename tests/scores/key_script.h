// A scripted key source for the name entry: hands out the given readkey
// results in order and records what the screen showed at each wait.
#pragma once

#include <allegro.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

class KeyScript {
public:
  explicit KeyScript(std::vector<int> keys) : keys_(std::move(keys)) {}

  // Called at each wait, before the key is handed out, with its index.
  std::function<void(std::size_t)> onWait;

  std::function<int()> source() {
    return [this] {
      if (onWait) {
        onWait(next_);
      }
      if (next_ >= keys_.size()) {
        ADD_FAILURE() << "the name entry asked for more keys than scripted";
        return 13;
      }
      return keys_[next_++];
    };
  }

  std::size_t used() const { return next_; }

private:
  std::vector<int> keys_;
  std::size_t next_ = 0;
};

// readkey's result for a key: scancode in the high byte, character low.
inline int withScancode(int scancode, int character) { return (scancode << 8) | character; }
