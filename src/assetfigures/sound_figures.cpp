#include "assetfigures/sound_figures.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double BandLowHz = 300;
constexpr double BandHighHz = 4000;
constexpr double BodyLowHz = 700;
constexpr double BodyHighHz = 2000;
constexpr double SpeakerCutHz = 500;
constexpr double LoudnessWindowSeconds = 0.4;
constexpr double LoudnessHopSeconds = 0.01;
constexpr double EndPitchSeconds = 0.05;
constexpr double FullScale = 32767.0 / 32768.0;
constexpr double EnvelopeHopSeconds = 0.001;
constexpr double EnvelopeWindowSeconds = 0.005;  // longer than the period of any tone that matters
constexpr double SoundingShare = 0.1;  // where the envelope passes this share of its peak, the sound is on

double decibels(double meanSquare) { return 10 * std::log10(std::max(meanSquare, 1e-12)); }

double meanSquare(const std::vector<double>& levels) {
  double sum = 0;
  for (const double level : levels) {
    sum += level * level;
  }
  return levels.empty() ? 0 : sum / static_cast<double>(levels.size());
}

// Power per frequency bin of the levels, zero-padded to a power of two; bin k
// lies at k * sampleRate / (2 * (size - 1)) Hz.
std::vector<double> powerSpectrum(std::vector<double>::const_iterator first,
                                  std::vector<double>::const_iterator last) {
  size_t size = 1;
  while (size < static_cast<size_t>(last - first)) {
    size *= 2;
  }
  std::vector<std::complex<double>> bins(size);
  std::copy(first, last, bins.begin());
  for (size_t i = 1, j = 0; i < size; ++i) {  // bit-reversed order
    size_t bit = size >> 1;
    for (; j & bit; bit >>= 1) {
      j ^= bit;
    }
    j ^= bit;
    if (i < j) {
      std::swap(bins[i], bins[j]);
    }
  }
  for (size_t length = 2; length <= size; length *= 2) {
    const std::complex<double> turn = std::polar(1.0, -2 * Pi / static_cast<double>(length));
    for (size_t start = 0; start < size; start += length) {
      std::complex<double> twiddle = 1;
      for (size_t k = 0; k < length / 2; ++k) {
        const std::complex<double> odd = bins[start + k + length / 2] * twiddle;
        bins[start + k + length / 2] = bins[start + k] - odd;
        bins[start + k] += odd;
        twiddle *= turn;
      }
    }
  }
  std::vector<double> power(size / 2 + 1);
  for (size_t k = 0; k < power.size(); ++k) {
    power[k] = std::norm(bins[k]);
  }
  return power;
}

double binHz(const std::vector<double>& power, size_t bin, int sampleRate) {
  return static_cast<double>(bin) * sampleRate / (2.0 * static_cast<double>(power.size() - 1));
}

double bandShare(const std::vector<double>& power, int sampleRate, double lowHz, double highHz) {
  double band = 0;
  double total = 0;
  for (size_t k = 0; k < power.size(); ++k) {
    const double hz = binHz(power, k, sampleRate);
    band += hz >= lowHz && hz <= highHz ? power[k] : 0;
    total += power[k];
  }
  return total > 0 ? band / total : 0;
}

// The share of the power at `hz` that a small speaker passes and the A-weighting
// curve keeps (1 at 1 kHz).
double speakerAndEarWeight(double hz) {
  const double f2 = hz * hz;
  const double speaker = f2 * f2 / (f2 * f2 + std::pow(SpeakerCutHz, 4));
  const auto aWeight = [](double squared) {
    const double amplitude = 148693636.0 * squared * squared /
                             ((squared + 424.36) * std::sqrt((squared + 11599.29) * (squared + 544496.41)) *
                              (squared + 148693636.0));
    return amplitude * amplitude;
  };
  return speaker * aWeight(f2) / aWeight(1e6);
}

double smallSpeakerDb(const std::vector<double>& levels, int sampleRate) {
  const auto window = static_cast<long>(LoudnessWindowSeconds * sampleRate);
  const auto hop = static_cast<long>(LoudnessHopSeconds * sampleRate);
  std::vector<double> padded(levels);
  padded.resize(levels.size() + static_cast<size_t>(window), 0.0);
  double loudest = 0;
  for (long start = 0; start < static_cast<long>(levels.size()); start += hop) {
    const std::vector<double> power = powerSpectrum(padded.begin() + start, padded.begin() + start + window);
    double weighted = 0;
    for (size_t k = 0; k < power.size(); ++k) {
      weighted += speakerAndEarWeight(binHz(power, k, sampleRate)) * power[k];
    }
    loudest = std::max(loudest, weighted / (static_cast<double>(power.size()) * static_cast<double>(window)));
  }
  return decibels(loudest);
}

double strongestHz(const std::vector<double>& power, int sampleRate) {
  const auto strongest = std::max_element(power.begin() + 1, power.end());
  return binHz(power, static_cast<size_t>(strongest - power.begin()), sampleRate);
}

double centroidHz(const std::vector<double>& power, int sampleRate) {
  double weighted = 0;
  double total = 0;
  for (size_t k = 1; k < power.size(); ++k) {
    weighted += binHz(power, k, sampleRate) * power[k];
    total += power[k];
  }
  return total > 0 ? weighted / total : 0;
}

double peakOf(const std::vector<double>& levels, size_t start, size_t count) {
  double peak = 0;
  for (size_t i = start; i < std::min(levels.size(), start + count); ++i) {
    peak = std::max(peak, std::fabs(levels[i]));
  }
  return peak;
}

// The loudest level within a short window, taken every hop: it follows the
// rise and fall of notes but not the swing of their waves.
std::vector<double> peakEnvelope(const std::vector<double>& levels, size_t hop, size_t window) {
  std::vector<double> envelope;
  for (size_t start = 0; start < levels.size(); start += hop) {
    envelope.push_back(peakOf(levels, start, window));
  }
  return envelope;
}

// Where the sound is on, in hops of the envelope: the pitch drift is read
// over this stretch.
struct SoundingSpan {
  size_t first;
  size_t last;
};

// The rise and fall of the notes: the steepest step and the edges.
SoundingSpan measureEnvelope(const std::vector<double>& levels, size_t hop, size_t window, SoundFigures& figures) {
  const std::vector<double> envelope = peakEnvelope(levels, hop, window);
  const double loudest = *std::max_element(envelope.begin(), envelope.end());
  SoundingSpan span{envelope.size(), 0};
  for (size_t i = 0; i < envelope.size(); ++i) {
    if (envelope[i] >= SoundingShare * loudest) {
      span.first = std::min(span.first, i);
      span.last = i;
    }
    if (i > 0) {
      figures.steepestStep = std::max(figures.steepestStep, std::fabs(envelope[i] - envelope[i - 1]) / loudest);
    }
  }
  figures.startShare = peakOf(levels, 0, hop) / loudest;
  figures.endShare = peakOf(levels, levels.size() - std::min(hop, levels.size()), hop) / loudest;
  return span;
}

// From the first third of the sounding span to the last, by the centre of
// the spectrum.
double pitchDriftSemitones(const std::vector<double>& levels, SoundingSpan span, size_t hop, int sampleRate) {
  const size_t third = (span.last + 1 - span.first) * hop / 3;
  const auto start = levels.begin() + static_cast<long>(span.first * hop);
  const auto end = levels.begin() + static_cast<long>(std::min(levels.size(), (span.last + 1) * hop));
  return 12 * std::log2(centroidHz(powerSpectrum(end - static_cast<long>(third), end), sampleRate) /
                        centroidHz(powerSpectrum(start, start + static_cast<long>(third)), sampleRate));
}

}  // namespace

std::vector<double> sampleLevels(const SAMPLE& sample) {
  std::vector<double> levels(sample.len);
  for (size_t i = 0; i < sample.len; ++i) {
    levels[i] = sample.bits == 16 ? (static_cast<const uint16_t*>(sample.data)[i] - 32768.0) / 32768.0
                                  : (static_cast<const uint8_t*>(sample.data)[i] - 128.0) / 128.0;
  }
  return levels;
}

SoundFigures measureSound(const std::vector<double>& levels, int sampleRate) {
  SoundFigures figures;
  const double square = meanSquare(levels);
  figures.rmsDb = decibels(square);
  for (const double level : levels) {
    figures.clippedSamples += std::fabs(level) >= FullScale ? 1 : 0;
  }
  const double peak = peakOf(levels, 0, levels.size());
  figures.peakDb = decibels(peak * peak);
  const std::vector<double> power = powerSpectrum(levels.begin(), levels.end());
  figures.bandShare = bandShare(power, sampleRate, BandLowHz, BandHighHz);
  figures.bodyShare = bandShare(power, sampleRate, BodyLowHz, BodyHighHz);
  figures.smallSpeakerDb = smallSpeakerDb(levels, sampleRate);
  figures.centroidHz = centroidHz(power, sampleRate);
  figures.bandDb = decibels(square * figures.bandShare);

  const size_t hop = static_cast<size_t>(EnvelopeHopSeconds * sampleRate);
  const SoundingSpan span =
      measureEnvelope(levels, hop, static_cast<size_t>(EnvelopeWindowSeconds * sampleRate), figures);
  figures.pitchDriftSemitones = pitchDriftSemitones(levels, span, hop, sampleRate);
  const auto end = levels.begin() + static_cast<long>(std::min(levels.size(), (span.last + 1) * hop));
  const auto endLength = std::min(static_cast<long>(EndPitchSeconds * sampleRate), end - levels.begin());
  figures.endPitchHz = strongestHz(powerSpectrum(end - endLength, end), sampleRate);
  return figures;
}
