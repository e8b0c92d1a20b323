// asset-check ASSETS.DAT: measures how the art and the sounds of a built
// assets.dat will come across in play, prints every figure with the range it
// must lie in, and exits with 1 when one lies outside.
#include "assetfigures/colour_figures.h"
#include "assetfigures/figure.h"
#include "assetfigures/sound_figures.h"

#include "base/assets.h"
#include "base/globals.h"
#include "base/headless_start.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr double MostEnergyShare = 0.5;
constexpr double BandSpreadDb = 6;
constexpr double LoudnessSpreadDb = 3;
// A note that starts or stops without a fade steps the envelope by its whole
// level at once; the short fades keep each step to a fraction of it.
constexpr double SteepestStepMax = 0.5;
constexpr double EdgeShareMax = 0.2;
constexpr double PitchMoveMin = 2;  // semitones
// The chime sounds sixty times in a level: a mellow bell, not a shrill beep.
constexpr double ChimeCentroidMaxHz = 1600;
// Through a small speaker every effect comes within this much of the loudest.
constexpr double SpeakerSpreadDb = 6;
// The refill is the only sign that a hole has closed, often amid other
// sounds: it comes within 2 dB of the loudest, its body lies where the ear is
// keenest, and it rises where the dig falls, so the two never sound alike.
constexpr double RefillSpeakerSpreadDb = 2;
constexpr double RefillBodyShareMin = 0.5;
// A lost life ends on a note that small speakers still play.
constexpr double LowestEndHz = 300;

struct Effect {
  const char* name;
  int index;
  double pitchLow;  // the drift its meaning asks for
  double pitchHigh;
  double centroidMaxHz;
  double speakerSpreadDb;
  double bodyShareMin;
  double endPitchMinHz;
};

const Effect Effects[] = {
    {"life lost", AssetSampleLifeLost, -Unbounded, -PitchMoveMin, Unbounded, SpeakerSpreadDb, 0, LowestEndHz},
    {"dig", AssetSampleDig, -Unbounded, -PitchMoveMin, Unbounded, SpeakerSpreadDb, 0, 0},
    {"refill", AssetSampleRefill, PitchMoveMin, Unbounded, Unbounded, RefillSpeakerSpreadDb, RefillBodyShareMin, 0},
    {"gold", AssetSampleGold, -Unbounded, Unbounded, ChimeCentroidMaxHz, SpeakerSpreadDb, 0, 0},
    {"enemy crushed", AssetSampleCrush, PitchMoveMin, Unbounded, Unbounded, SpeakerSpreadDb, 0, 0},
};

class Report {
public:
  void add(const Figure& figure) {
    const bool passes = figure.passes();
    failures_ += passes ? 0 : 1;
    std::printf("%-44s %8.2f   %s", figure.name.c_str(), figure.value, passes ? "ok" : "OUT OF RANGE");
    if (!passes && figure.high >= Unbounded) {
      std::printf(" (wanted at least %g)", figure.low);
    } else if (!passes && figure.low <= -Unbounded) {
      std::printf(" (wanted at most %g)", figure.high);
    } else if (!passes) {
      std::printf(" (wanted %g to %g)", figure.low, figure.high);
    }
    std::printf("\n");
  }
  int failures() const { return failures_; }

private:
  int failures_ = 0;
};

void checkSounds(Report& report) {
  std::vector<SoundFigures> measured;
  for (const Effect& effect : Effects) {
    const SAMPLE& sample = *static_cast<SAMPLE*>(assets[effect.index].dat);
    measured.push_back(measureSound(sampleLevels(sample), sample.freq));
  }
  double loudestBandDb = -Unbounded;
  double loudestRmsDb = -Unbounded;
  double loudestSpeakerDb = -Unbounded;
  for (const SoundFigures& figures : measured) {
    loudestBandDb = std::max(loudestBandDb, figures.bandDb);
    loudestRmsDb = std::max(loudestRmsDb, figures.rmsDb);
    loudestSpeakerDb = std::max(loudestSpeakerDb, figures.smallSpeakerDb);
  }
  // Small-speaker loudness is told relative to the chime, the commonest sound.
  const auto chime = std::find_if(std::begin(Effects), std::end(Effects),
                                  [](const Effect& effect) { return effect.index == AssetSampleGold; });
  const double chimeSpeakerDb = measured[static_cast<size_t>(chime - std::begin(Effects))].smallSpeakerDb;
  for (size_t i = 0; i < measured.size(); ++i) {
    const SoundFigures& figures = measured[i];
    const std::string name = Effects[i].name;
    report.add({name + ": RMS (dBFS)", figures.rmsDb, loudestRmsDb - LoudnessSpreadDb, 0});
    report.add({name + ": peak (dBFS)", figures.peakDb, -Unbounded, 0});
    report.add({name + ": clipped samples", static_cast<double>(figures.clippedSamples), 0, 0});
    report.add({name + ": energy share 300 Hz-4 kHz", figures.bandShare, MostEnergyShare, 1});
    report.add({name + ": level 300 Hz-4 kHz (dBFS)", figures.bandDb, loudestBandDb - BandSpreadDb, 0});
    report.add({name + ": small speaker, dB against the chime", figures.smallSpeakerDb - chimeSpeakerDb,
                loudestSpeakerDb - chimeSpeakerDb - Effects[i].speakerSpreadDb, Unbounded});
    report.add({name + ": energy share 700 Hz-2 kHz", figures.bodyShare, Effects[i].bodyShareMin, 1});
    report.add({name + ": spectral centroid (Hz)", figures.centroidHz, 0, Effects[i].centroidMaxHz});
    report.add({name + ": steepest step in 1 ms (share)", figures.steepestStep, 0, SteepestStepMax});
    report.add({name + ": first and last ms (share)", std::max(figures.startShare, figures.endShare), 0,
                EdgeShareMax});
    report.add({name + ": pitch drift (semitones)", figures.pitchDriftSemitones, Effects[i].pitchLow,
                Effects[i].pitchHigh});
    report.add({name + ": pitch at the end (Hz)", figures.endPitchHz, Effects[i].endPitchMinHz, Unbounded});
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: asset-check ASSETS.DAT\n");
    return 2;
  }
  const std::string problem = startWithoutWindow(argv[1]);
  if (!problem.empty()) {
    std::fprintf(stderr, "asset-check: %s\n", problem.c_str());
    return 1;
  }
  Report report;
  for (const Figure& figure : measureArt()) {
    report.add(figure);
  }
  checkSounds(report);
  std::printf("%d figure(s) out of range\n", report.failures());
  return report.failures() == 0 ? 0 : 1;
}
END_OF_MAIN()
