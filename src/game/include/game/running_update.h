// How a running game starts, and one update of it: the only place either
// order is written. A game starts with the generator seeded, a new play
// order drawn and the player created, before its first level is entered.
// One update lowers the level clock (stopping at -1), runs Game::tick, and
// then, in this order: an end asked for or no lives left ends the game; no
// gold left clears the level; a lost life enters the level again.
//
// The game in its window, a replay, the solver and the editor's play-test and
// proof watching all play through it. What differs between them is their
// host: whether anything can ask for the end (Escape, in a window), and what
// a cleared level or a lost life costs them (tally frames, a sound and a
// pause in a window; nothing headless) and whether play goes on after it.
// Where the keys come from is the Game's heldKeys, set before the update.
// Drawing is no part of the update; a caller without frames of its own
// still draws the actors after it, since that counts down a crushed enemy's
// delay.
#pragma once

#include "base/globals.h"

#include <cstdint>

class Game;

constexpr int32_t TicksPerBonusPoint = UpdatesPerSecond;

// Answers how many levels the sequence holds; the caller then enters the
// first level it plays.
uint8_t startRunningGame(Game& game, unsigned seed);

// A level is cleared the update its last piece of gold is taken, before a
// life lost in the same update counts. The update ends levels by this, and
// an analysis that keeps its own count of the gold taken asks it too.
constexpr bool clearsLevel(int32_t goldLeft) { return goldLeft == 0; }

// One point per started second left on the level clock, none when it has
// run out: what the tally of a cleared level pays.
int32_t timeBonusFor(int32_t clockTicks);

class RunningGameHost {
public:
  virtual ~RunningGameHost() = default;
  // Whether the player asks to end the game now.
  virtual bool endRequested() { return false; }
  // The game is over. A host may end the running game here: the update
  // touches nothing of its caller's afterwards.
  virtual void gameOver() {}
  // The level is cleared, its time bonus not yet paid. Answers whether play
  // goes on with the next level of the sequence; as for gameOver, a host
  // that answers no may already have ended the running game.
  virtual bool levelCleared() { return false; }
  // A life has just been taken. Answers whether the level starts again.
  virtual bool lifeLost() { return false; }
};

enum class UpdateOutcome : uint8_t { Playing, GameOver, LevelCleared, LifeLost };

// `sequenceIndex` is the place of the level in play in a sequence of
// `levelCount` levels; it moves on, wrapping to 0, when a level is cleared and
// play goes on.
UpdateOutcome updateRunningGame(Game& game, uint8_t& sequenceIndex, uint8_t levelCount, RunningGameHost& host);
