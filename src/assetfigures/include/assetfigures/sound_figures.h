// What the sound effects of assets.dat sound like on a small speaker,
// measured on the samples as the library loaded them: how loud they are,
// how loud they come across through a small speaker, how much of their
// energy lies where laptop and phone speakers play it, whether they clip or
// stop with a click, which way their pitch moves and where it ends.
#pragma once

#include <allegro.h>

#include <vector>

struct SoundFigures {
  double rmsDb = 0;          // over the whole sample, dB below full scale
  double peakDb = 0;
  int clippedSamples = 0;    // samples at full scale
  double bandShare = 0;      // share of the energy between 300 Hz and 4 kHz
  double bodyShare = 0;      // share of the energy between 700 Hz and 2 kHz, where the ear is keenest
  double bandDb = 0;         // that energy as an RMS level, dB below full scale
  double centroidHz = 0;     // the centre of gravity of the spectrum: how bright it sounds
  double pitchDriftSemitones = 0;  // from the first to the last third of the sound
  double endPitchHz = 0;     // the strongest frequency of its last 50 ms
  // The loudest 400 ms as a small speaker plays it and the ear weighs it: a
  // second-order roll-off below 500 Hz, then A-weighting; dB on a scale of
  // its own, for comparing sounds with one another.
  double smallSpeakerDb = 0;
  double steepestStep = 0;   // largest rise or fall of the envelope in 1 ms, share of its peak
  double startShare = 0;     // the envelope at the first and the last millisecond, share of its peak
  double endShare = 0;
};

// Levels -1 to 1 from a mono sample of 8 or 16 bits.
std::vector<double> sampleLevels(const SAMPLE& sample);

SoundFigures measureSound(const std::vector<double>& levels, int sampleRate);
