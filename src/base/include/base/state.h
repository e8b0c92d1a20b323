// A game state: the main loop knows only this interface. A state ends itself
// by building its successor and handing it to Game::setState, which destroys
// the old state before it returns; the old state's update then returns at
// once without touching its own fields.
#pragma once

class State {
public:
  virtual ~State() = default;
  virtual void update() = 0;
  virtual void draw() = 0;
};
