// The two ways the game uses the objects of assets.dat: sprites and tiles as
// bitmaps, sounds played once at full volume. Their fixed indices come from
// the asset manifest (assets/manifest.txt) through base/asset_index.h.
#pragma once

#include "base/asset_index.h"

#include <allegro.h>

#include <string>

BITMAP* assetBitmap(int index);

// Plays a sample of assets.dat once: volume 255, pan 127, frequency 1000;
// nothing when no assets.dat is loaded.
void playSample(int index);

// Tests observe which samples the rules play; the game never sets one.
using SampleListener = void (*)(int index);
void setSampleListener(SampleListener listener);

// Checks that a loaded datafile holds the listed objects, each of its kind.
// Returns an empty text when it does, else a message that says what is wrong.
std::string describeAssetProblem(const DATAFILE* data);
