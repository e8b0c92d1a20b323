// How well the art reads at play size, measured on the pictures of
// assets.dat: the luminance contrast (1 to 21, as screen-reading guidelines
// define it) between each actor's body and every colour that covers a tenth
// or more of a tile it passes in front of, how boldly the rope stands on
// black, and how dim the start markers are.
#pragma once

#include "figure.h"

#include <allegro.h>

#include <vector>

// Colours are 0xRRGGBB.
double relativeLuminance(int rgb);
double contrastRatio(int rgbA, int rgbB);
// Hue angle in degrees, 0 to 360 (0 for greys).
double hueDegrees(int rgb);

// The colour that covers most of the rectangle, leaving out `ignored`.
int mainColour(BITMAP* picture, int x, int y, int width, int height, int ignored);

// The colours that cover at least `share` of the rectangle, leaving out `ignored`.
std::vector<int> coveringColours(BITMAP* picture, int x, int y, int width, int height, int ignored,
                                 double share);

// The colour of the rectangle that stands out most from `against`: a marker
// is only as quiet as its brightest stroke.
int boldestColour(BITMAP* picture, int x, int y, int width, int height, int against);

// Per column of the rectangle, the longest run of pixels that stand out from
// black by at least `ratio`; the answer is the thinnest column's run.
int thinnestBoldRun(BITMAP* picture, int x, int y, int width, int height, double ratio);

// Reads the tile sheet and the sprites of the loaded `assets`.
std::vector<Figure> measureArt();
