// The end-of-game screen that takes a qualifying player's name. Modal: it
// draws and waits for keys until Enter.
#pragma once

#include <functional>
#include <string>

// The message line for a place: "You are number 3 ." (" Woohoo !" after 1).
std::string placeMessage(int place);

// Runs the entry loop with the given key source (readkey in the game) and
// returns the typed name: at most 16 printable ASCII characters. Backspace
// drops the last one; Enter ends the entry. Every other key, Escape too, is
// ignored: there is no way out but Enter, so a finished game always gets its
// row. The caller empties the keyboard buffer first.
std::string enterName(const std::string& message, const std::function<int()>& readKey);
