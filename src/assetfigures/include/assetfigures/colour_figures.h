// How well the art reads at play size, measured on the pictures of
// assets.dat: the luminance contrast (1 to 21, as screen-reading guidelines
// define it) between each actor's body and every colour that covers a tenth
// or more of a tile it passes in front of, how far the player, the enemy and
// the gold lie apart in brightness and in colour, also as people with
// red-green colour blindness see them, how boldly the rope stands on black, and how dim and
// colourless the start markers are.
#pragma once

#include "assetfigures/figure.h"

#include <allegro.h>

#include <vector>

// Colours are 0xRRGGBB.
double relativeLuminance(int rgb);
double contrastRatio(int rgbA, int rgbB);
// Hue angle in degrees, 0 to 360 (0 for greys).
double hueDegrees(int rgb);

// The colour difference people see, as the distance in CIELAB (D65): 0 for
// the same colour, 100 from black to white.
double deltaE(int rgbA, int rgbB);
// How colourful a colour is: its CIELAB chroma, 0 for greys.
double chroma(int rgb);

// The colour as someone without working green (deuteranopia) or red
// (protanopia) cones sees it, by the full-severity simulation of Machado,
// Oliveira and Fernandes (2009) on linear light.
enum class ColourVision { Deuteranopia, Protanopia };
int seenWith(ColourVision vision, int rgb);

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
