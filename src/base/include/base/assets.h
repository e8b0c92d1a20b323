// Fixed indices of the objects in assets.dat, and the two ways the game uses
// them: sprites and tiles as bitmaps, sounds played once at full volume.
#pragma once

#include <allegro.h>

#include <string>

enum AssetIndex {
  AssetTileSheet = 0,
  AssetPlayerLeft1 = 1,     // also the life icon of the status line
  AssetPlayerLeft2 = 2,
  AssetPlayerRight1 = 3,
  AssetPlayerRight2 = 4,
  AssetPlayerClimb1 = 5,
  AssetPlayerClimb2 = 6,
  AssetEnemyLeft1 = 7,
  AssetEnemyLeft2 = 8,
  AssetEnemyRight1 = 9,
  AssetEnemyRight2 = 10,
  AssetSampleLifeLost = 11,
  AssetSampleDig = 12,
  AssetSampleRefill = 13,
  AssetSampleGold = 14,
  AssetSampleCrush = 15,
  AssetFont = 16,
  AssetPalette = 17,
  AssetCount = 18
};

BITMAP* assetBitmap(int index);

// Plays a sample of assets.dat once: volume 255, pan 127, frequency 1000.
void playSample(int index);

// Tests observe which samples the rules play; the game never sets one.
using SampleListener = void (*)(int index);
void setSampleListener(SampleListener listener);

// Checks that a loaded datafile holds objects 0 to 17 of the expected kinds.
// Returns an empty text when it does, else a message that says what is wrong.
std::string describeAssetProblem(const DATAFILE* data);
