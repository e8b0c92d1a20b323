#include "sound_source.h"

#include "source_text.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double RampSeconds = 0.008;  // keeps note edges from clicking, even on small speakers

Wave parseWave(const SourceLine& line, const std::string& word) {
  if (word == "sine") return Wave::Sine;
  if (word == "square") return Wave::Square;
  if (word == "triangle") return Wave::Triangle;
  if (word == "saw") return Wave::Saw;
  if (word == "noise") return Wave::Noise;
  throw SourceError(line, "unknown wave '" + word + "'");
}

Envelope parseEnvelope(const SourceLine& line, const std::string& word) {
  if (word == "flat") return Envelope::Flat;
  if (word == "fade") return Envelope::Fade;
  if (word == "pluck") return Envelope::Pluck;
  throw SourceError(line, "unknown envelope '" + word + "'");
}

Note parseNote(const SourceLine& line) {
  if (line.words.size() != 7) {
    throw SourceError(line, "expected START LENGTH WAVE FROM_HZ TO_HZ VOLUME ENVELOPE");
  }
  Note note;
  note.startSeconds = parseNumber(line, line.words[0]);
  note.lengthSeconds = parseNumber(line, line.words[1]);
  note.wave = parseWave(line, line.words[2]);
  note.fromHz = parseNumber(line, line.words[3]);
  note.toHz = parseNumber(line, line.words[4]);
  note.volume = parseNumber(line, line.words[5]);
  note.envelope = parseEnvelope(line, line.words[6]);
  if (note.startSeconds < 0 || note.lengthSeconds <= 0 || note.fromHz <= 0 || note.toHz <= 0) {
    throw SourceError(line, "times must not be negative, lengths and pitches above 0");
  }
  return note;
}

double envelopeGain(const Note& note, double t) {
  const double ramp = std::min({1.0, t / RampSeconds, (note.lengthSeconds - t) / RampSeconds});
  switch (note.envelope) {
    case Envelope::Fade:
      return ramp * (1.0 - t / note.lengthSeconds);
    case Envelope::Pluck:
      return ramp * std::exp(-6.0 * t / note.lengthSeconds);
    case Envelope::Flat:
      break;
  }
  return ramp;
}

// Plain 32-bit linear congruential generator: the same numbers everywhere.
class NoiseSource {
public:
  explicit NoiseSource(uint32_t seed) : state_(seed) {}
  double next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 23) - 1.0;
  }

private:
  uint32_t state_;
};

// Square, saw and triangle are summed from their harmonics below half the
// sample rate: the plain sharp-edged shapes fold their upper harmonics back
// as harsh, off-key tones at 22050 Hz.
double bandLimited(Wave wave, double phase, double hz) {
  const int harmonics = static_cast<int>(SoundSampleRate / 2.0 / hz);
  double sum = 0;
  for (int k = 1; k <= harmonics; ++k) {
    const double partial = std::sin(2 * Pi * k * phase);
    if (wave == Wave::Saw) {
      sum += partial / k;
    } else if (k % 2 == 1 && wave == Wave::Square) {
      sum += partial / k;
    } else if (k % 2 == 1) {
      sum += ((k / 2) % 2 == 0 ? 1.0 : -1.0) * partial / (k * k);
    }
  }
  switch (wave) {
    case Wave::Square:
      return sum * 4 / Pi;
    case Wave::Saw:
      return sum * 2 / Pi;
    default:
      return sum * 8 / (Pi * Pi);
  }
}

class Oscillator {
public:
  Oscillator(Wave wave, uint32_t seed) : wave_(wave), noise_(seed), held_(noise_.next()) {}

  double step(double hz) {
    phase_ += hz / SoundSampleRate;
    if (phase_ >= 1.0) {
      phase_ -= std::floor(phase_);
      held_ = noise_.next();
    }
    switch (wave_) {
      case Wave::Sine:
        return std::sin(2 * Pi * phase_);
      case Wave::Noise:
        return held_;
      default:
        return bandLimited(wave_, phase_, hz);
    }
  }

private:
  Wave wave_;
  NoiseSource noise_;
  double held_;
  double phase_ = 0;
};

void mixNote(const Note& note, uint32_t seed, std::vector<double>& samples) {
  Oscillator oscillator(note.wave, seed);
  const size_t first = static_cast<size_t>(std::lround(note.startSeconds * SoundSampleRate));
  const size_t count = static_cast<size_t>(std::lround(note.lengthSeconds * SoundSampleRate));
  for (size_t i = 0; i < count && first + i < samples.size(); ++i) {
    const double t = static_cast<double>(i) / SoundSampleRate;
    const double hz = note.fromHz * std::pow(note.toHz / note.fromHz, t / note.lengthSeconds);
    samples[first + i] += oscillator.step(hz) * note.volume * envelopeGain(note, t);
  }
}

// Notes add up, so the volumes of the notes sounding together must stay
// within full scale, or the sound would clip.
void requireHeadroom(const std::string& path, const SoundSource& sound) {
  for (const Note& moment : sound.notes) {
    double sum = 0;
    for (const Note& note : sound.notes) {
      const bool sounding = note.startSeconds <= moment.startSeconds &&
                            moment.startSeconds < note.startSeconds + note.lengthSeconds;
      sum += sounding ? note.volume : 0;
    }
    if (sum > 1.0) {
      throw SourceError(path, "sound " + sound.name + ": the notes sounding at " +
                                  std::to_string(moment.startSeconds) + " s add up to volume " +
                                  std::to_string(sum) + ", above 1");
    }
  }
}

void putLittleEndian(std::ofstream& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) {
    out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
  }
}

}  // namespace

std::vector<SoundSource> readSoundSources(const std::string& path) {
  std::vector<SoundSource> sounds;
  for (const SourceLine& line : readSourceLines(path)) {
    if (line.words.empty()) {
      continue;
    }
    if (line.words[0] == "sound" && line.words.size() == 2) {
      sounds.push_back(SoundSource{line.words[1], {}});
    } else if (sounds.empty()) {
      throw SourceError(line, "a note before the first 'sound NAME'");
    } else {
      sounds.back().notes.push_back(parseNote(line));
    }
  }
  for (const SoundSource& sound : sounds) {
    if (sound.notes.empty()) {
      throw SourceError(path, "sound " + sound.name + " has no notes");
    }
    requireHeadroom(path, sound);
  }
  return sounds;
}

std::vector<double> synthesise(const SoundSource& sound) {
  double endSeconds = 0;
  for (const Note& note : sound.notes) {
    endSeconds = std::max(endSeconds, note.startSeconds + note.lengthSeconds);
  }
  std::vector<double> samples(static_cast<size_t>(std::lround(endSeconds * SoundSampleRate)), 0.0);
  uint32_t seed = 0x5EED;
  for (const Note& note : sound.notes) {
    mixNote(note, seed++, samples);
  }
  for (double& sample : samples) {
    sample = std::clamp(sample, -1.0, 1.0);
  }
  return samples;
}

void writeWav16(const std::vector<double>& samples, const std::string& path) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  out.write("RIFF", 4);
  putLittleEndian(out, 36 + dataBytes, 4);
  out.write("WAVEfmt ", 8);
  putLittleEndian(out, 16, 4);
  putLittleEndian(out, 1, 2);  // PCM
  putLittleEndian(out, 1, 2);  // mono
  putLittleEndian(out, SoundSampleRate, 4);
  putLittleEndian(out, SoundSampleRate * 2, 4);
  putLittleEndian(out, 2, 2);
  putLittleEndian(out, 16, 2);
  out.write("data", 4);
  putLittleEndian(out, dataBytes, 4);
  for (const double sample : samples) {
    const long level = std::lround(sample * 32767.0);
    putLittleEndian(out, static_cast<uint32_t>(static_cast<int32_t>(level)), 2);
  }
  if (!out) {
    throw std::runtime_error("cannot write " + path);
  }
}
