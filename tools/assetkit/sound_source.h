// Sound effects described as a few synthesised notes each, and their
// rendering to 16-bit mono WAV files at 22050 Hz.
//
// Sound file:
//   sound NAME
//   START LENGTH WAVE FROM_HZ TO_HZ VOLUME ENVELOPE     one line per note
// START and LENGTH are seconds; the pitch glides from FROM_HZ to TO_HZ
// (evenly in musical pitch); VOLUME is 0 to 1 and notes add up, so the volumes
// of the notes sounding at any one start must not pass 1 together. WAVE is sine,
// square, triangle, saw or noise (for noise the frequency is how often a new
// random level is drawn, so low values sound gritty). ENVELOPE is flat (short
// ramps at both ends), fade (falls evenly to silence) or pluck (dies away fast).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class Wave { Sine, Square, Triangle, Saw, Noise };
enum class Envelope { Flat, Fade, Pluck };

struct Note {
  double startSeconds = 0;
  double lengthSeconds = 0;
  Wave wave = Wave::Sine;
  double fromHz = 0;
  double toHz = 0;
  double volume = 0;
  Envelope envelope = Envelope::Flat;
};

struct SoundSource {
  std::string name;
  std::vector<Note> notes;
};

constexpr int SoundSampleRate = 22050;

std::vector<SoundSource> readSoundSources(const std::string& path);

// Samples in -1..1, as long as the last note lasts. Noise is drawn from a
// fixed seed, so a sound renders the same every time.
std::vector<double> synthesise(const SoundSource& sound);

void writeWav16(const std::vector<double>& samples, const std::string& path);
