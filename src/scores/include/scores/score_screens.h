// The scores subsystem's screens: the status line's score and spare lives,
// the end-of-game name entry and the title screen's table. They take plain
// values rather than the Game, so the scores sit below the rules of play.
#pragma once

#include "scores/high_score_table.h"

#include <cstdint>
#include <functional>

// The score at the left of the status line and one life icon for each life
// after the one in play, from the right edge.
void drawStatusLine(uint32_t score, int lives);

// Offers the score to the table: when it qualifies, the place is shown and the
// name typed (keys from readKey) goes into the table with it. Returns whether
// a row was added.
bool enterHighScore(HighScoreTable& table, uint32_t score, const std::function<int()>& readKey);

// The framed table, best row at the top.
void drawHighScores(const HighScoreTable& table);
