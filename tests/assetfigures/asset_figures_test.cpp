// The measures asset-check applies to assets.dat, tried on inputs whose
// figures are known, so that a slip in a measure cannot pass bad art or
// sounds.
#include "assetfigures/colour_figures.h"
#include "assetfigures/sound_figures.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr int Rate = 22050;
constexpr double Pi = 3.14159265358979323846;

// A tone gliding from one pitch to another, with 10 ms fades unless `hardStop`.
std::vector<double> tone(double fromHz, double toHz, double amplitude, bool hardStop = false) {
  const int count = Rate / 4;
  std::vector<double> levels(count);
  double phase = 0;
  for (int i = 0; i < count; ++i) {
    const double hz = fromHz * std::pow(toHz / fromHz, static_cast<double>(i) / count);
    phase += hz / Rate;
    const double fade = std::min({1.0, i / (0.01 * Rate), hardStop ? 1.0 : (count - i) / (0.01 * Rate)});
    levels[i] = amplitude * fade * std::sin(2 * Pi * phase);
  }
  return levels;
}

TEST(AssetFigures, ContrastAndHueFollowTheirFormulas) {
  EXPECT_NEAR(contrastRatio(0xFFFFFF, 0x000000), 21.0, 1e-9);
  EXPECT_NEAR(contrastRatio(0x000000, 0xFFFFFF), 21.0, 1e-9);
  EXPECT_NEAR(contrastRatio(0x767676, 0xFFFFFF), 4.54, 0.01);
  EXPECT_NEAR(contrastRatio(0x9C4828, 0x9C4828), 1.0, 1e-9);
  EXPECT_NEAR(relativeLuminance(0x00FF00), 0.7152, 1e-4);
  EXPECT_NEAR(hueDegrees(0xFF0000), 0, 1e-6);
  EXPECT_NEAR(hueDegrees(0x00FF00), 120, 1e-6);
  EXPECT_NEAR(hueDegrees(0x00FFFF), 180, 1e-6);
}

// Reference figures worked out apart from this code: the old pale cyan hero
// and pale rose enemy, which red-green colour blind players could hardly tell
// apart; the old leaf-green enemy beside the old gold, which protanopia
// merged into one darker yellow; greys, which colour blindness leaves as they
// are; and pure red and green, which deuteranopia brings close.
TEST(AssetFigures, ColourDifferenceAsSeenWithAndWithoutRedGreenBlindness) {
  EXPECT_NEAR(deltaE(0x000000, 0xFFFFFF), 100, 0.01);
  EXPECT_NEAR(deltaE(0x70F4FF, 0xFFD0E4), 54.3, 0.1);
  EXPECT_NEAR(deltaE(seenWith(ColourVision::Deuteranopia, 0x70F4FF), seenWith(ColourVision::Deuteranopia, 0xFFD0E4)),
              17.7, 0.3);
  EXPECT_NEAR(deltaE(seenWith(ColourVision::Protanopia, 0x70F4FF), seenWith(ColourVision::Protanopia, 0xFFD0E4)), 7.6,
              0.3);
  EXPECT_NEAR(deltaE(seenWith(ColourVision::Protanopia, 0x62CC44), seenWith(ColourVision::Protanopia, 0xFFD23C)), 14.1,
              0.3);
  EXPECT_NEAR(deltaE(seenWith(ColourVision::Deuteranopia, 0x62CC44), seenWith(ColourVision::Deuteranopia, 0xFFD23C)),
              26.5, 0.3);
  for (const ColourVision vision : {ColourVision::Deuteranopia, ColourVision::Protanopia}) {
    for (const int grey : {0x000000, 0x404040, 0xC0C0C0, 0xFFFFFF}) {
      EXPECT_LT(deltaE(seenWith(vision, grey), grey), 1.0) << std::hex << grey;
    }
  }
  EXPECT_LT(deltaE(seenWith(ColourVision::Deuteranopia, 0xFF0000), seenWith(ColourVision::Deuteranopia, 0x00C000)),
            deltaE(0xFF0000, 0x00C000) / 3);
  EXPECT_NEAR(chroma(0x808080), 0, 0.01);
  EXPECT_GT(chroma(0xFF0000), 100);
}

// A dim marker with one bright stroke and one dark speck, over a rope three
// rows thick that the speck thins to two in its column.
TEST(AssetFigures, TileMeasuresFindTheMainCoveringAndBoldestColoursAndTheThinnestRun) {
  startHeadlessAllegro();
  BITMAP* tile = create_bitmap_ex(32, 16, 16);
  clear_to_color(tile, 0x000000);
  rectfill(tile, 0, 4, 15, 6, 0x8C7649);
  putpixel(tile, 5, 6, 0x202020);
  putpixel(tile, 9, 12, 0xFFFFFF);
  EXPECT_EQ(mainColour(tile, 0, 0, 16, 16, 0x000000), 0x8C7649);
  EXPECT_EQ(boldestColour(tile, 0, 0, 16, 16, 0x000000), 0xFFFFFF);
  EXPECT_EQ(coveringColours(tile, 0, 0, 16, 16, 0x000000, 0.1), std::vector<int>{0x8C7649});
  EXPECT_EQ(coveringColours(tile, 0, 0, 16, 16, 0x000000, 0.0).size(), 3u);
  EXPECT_EQ(thinnestBoldRun(tile, 0, 0, 16, 16, 4.5), 2);
  destroy_bitmap(tile);
}

TEST(AssetFigures, SoundFiguresTellLoudnessBandAndEdges) {
  const SoundFigures mid = measureSound(tone(1000, 1000, 0.5), Rate);
  EXPECT_NEAR(mid.rmsDb, 20 * std::log10(0.5 / std::sqrt(2.0)), 0.3);
  EXPECT_NEAR(mid.peakDb, 20 * std::log10(0.5), 0.1);
  EXPECT_EQ(mid.clippedSamples, 0);
  EXPECT_GT(mid.bandShare, 0.99);
  EXPECT_NEAR(mid.centroidHz, 1000, 50);
  EXPECT_LT(mid.steepestStep, 0.2);
  EXPECT_LT(std::max(mid.startShare, mid.endShare), 0.2);

  EXPECT_LT(measureSound(tone(100, 100, 0.5), Rate).bandShare, 0.01) << "a hum below the band";
  EXPECT_LT(measureSound(tone(6000, 6000, 0.5), Rate).bandShare, 0.01) << "a whistle above the band";
  std::vector<double> cut = tone(1000, 1000, 0.5, true);
  EXPECT_GT(measureSound(cut, Rate).endShare, 0.9) << "the sample ends mid-note";
  cut.resize(cut.size() * 2, 0.0);
  EXPECT_GT(measureSound(cut, Rate).steepestStep, 0.9) << "the note stops dead before the silence";
  EXPECT_GT(measureSound(tone(1000, 1000, 1.0), Rate).clippedSamples, 0);
}

// The library keeps samples unsigned, silence at the middle of the range.
TEST(AssetFigures, SampleLevelsCentreUnsignedSamplesOnSilence) {
  startHeadlessAllegro();
  SAMPLE* eight = create_sample(8, 0, Rate, 3);
  const uint8_t eightBits[] = {0x80, 0xFF, 0};
  std::memcpy(eight->data, eightBits, sizeof eightBits);
  SAMPLE* sixteen = create_sample(16, 0, Rate, 3);
  const uint16_t sixteenBits[] = {0x8000, 0xFFFF, 0};
  std::memcpy(sixteen->data, sixteenBits, sizeof sixteenBits);
  for (SAMPLE* sample : {eight, sixteen}) {
    const std::vector<double> levels = sampleLevels(*sample);
    EXPECT_EQ(levels[0], 0.0) << sample->bits << " bits";
    EXPECT_NEAR(levels[1], 1.0, 0.01) << sample->bits << " bits";
    EXPECT_EQ(levels[2], -1.0) << sample->bits << " bits";
    destroy_sample(sample);
  }
}

TEST(AssetFigures, PitchDriftAndEndFollowTheGlide) {
  const SoundFigures rising = measureSound(tone(400, 800, 0.5), Rate);
  const SoundFigures falling = measureSound(tone(800, 400, 0.5), Rate);
  EXPECT_NEAR(rising.pitchDriftSemitones, 8, 1.5);
  EXPECT_NEAR(falling.pitchDriftSemitones, -8, 1.5);
  EXPECT_NEAR(measureSound(tone(600, 600, 0.5), Rate).pitchDriftSemitones, 0, 0.3);
  EXPECT_GT(rising.endPitchHz, 700);
  EXPECT_LT(rising.endPitchHz, 820);
  EXPECT_GT(falling.endPitchHz, 380);
  EXPECT_LT(falling.endPitchHz, 480);
}

// Through a small speaker and by the ear's weighting, a tone at the top of
// the middle register counts a little more than one at 1 kHz, a low one far
// less; halving the level takes 6 dB off.
TEST(AssetFigures, SmallSpeakerLoudnessKeepsTheMiddleAndDropsTheBass) {
  const SoundFigures mid = measureSound(tone(1000, 1000, 0.5), Rate);
  EXPECT_NEAR(measureSound(tone(1000, 1000, 0.25), Rate).smallSpeakerDb, mid.smallSpeakerDb - 6.02, 0.1);
  EXPECT_NEAR(measureSound(tone(2500, 2500, 0.5), Rate).smallSpeakerDb, mid.smallSpeakerDb + 1.3, 0.5);
  EXPECT_LT(measureSound(tone(200, 200, 0.5), Rate).smallSpeakerDb, mid.smallSpeakerDb - 20);
  EXPECT_GT(mid.bodyShare, 0.99);
  EXPECT_LT(measureSound(tone(400, 400, 0.5), Rate).bodyShare, 0.01);
}

}  // namespace
