#include "base/assets.h"

#include "base/globals.h"

namespace {

SampleListener sampleListener = nullptr;

const char* kindName(int index) {
  switch (AssetKinds[index]) {
    case DAT_BITMAP: return "a bitmap";
    case DAT_SAMPLE: return "a sample";
    case DAT_FONT: return "a font";
    default: return "a palette";
  }
}

}  // namespace

BITMAP* assetBitmap(int index) { return static_cast<BITMAP*>(assets[index].dat); }

void playSample(int index) {
  if (sampleListener != nullptr) {
    sampleListener(index);
  }
  // The rules alone run without assets.dat, and so without sounds.
  if (assets != nullptr) {
    play_sample(static_cast<SAMPLE*>(assets[index].dat), 255, 127, 1000, 0);
  }
}

void setSampleListener(SampleListener listener) { sampleListener = listener; }

std::string describeAssetProblem(const DATAFILE* data) {
  for (int index = 0; index < AssetCount; ++index) {
    if (data[index].type == DAT_END) {
      return "assets.dat is damaged: it holds " + std::to_string(index) + " objects, not " +
             std::to_string(AssetCount) + ".";
    }
    if (data[index].type != AssetKinds[index] || data[index].dat == nullptr) {
      return "assets.dat is damaged: object " + std::to_string(index) + " is not " + kindName(index) + ".";
    }
  }
  return {};
}
