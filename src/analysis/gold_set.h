// A set of the level's gold pieces, numbered 0 to count - 1, as bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class GoldSet {
public:
  GoldSet() = default;
  explicit GoldSet(size_t goldCount) : words_((goldCount + 63) / 64, 0) {}

  static GoldSet all(size_t goldCount) {
    GoldSet set(goldCount);
    for (size_t gold = 0; gold < goldCount; ++gold) {
      set.add(gold);
    }
    return set;
  }

  void add(size_t gold) { words_[gold / 64] |= uint64_t{1} << (gold % 64); }
  bool has(size_t gold) const { return (words_[gold / 64] >> (gold % 64) & 1) != 0; }
  template <typename Indices>
  void addAll(const Indices& golds) {
    for (auto gold : golds) {
      add(gold);
    }
  }
  void unite(const GoldSet& other) {
    for (size_t word = 0; word < words_.size(); ++word) {
      words_[word] |= other.words_[word];
    }
  }
  bool within(const GoldSet& other) const {
    for (size_t word = 0; word < words_.size(); ++word) {
      if ((words_[word] & ~other.words_[word]) != 0) {
        return false;
      }
    }
    return true;
  }
  bool operator==(const GoldSet& other) const { return words_ == other.words_; }
  size_t count() const {
    size_t pieces = 0;
    for (uint64_t word : words_) {
      pieces += static_cast<size_t>(__builtin_popcountll(word));
    }
    return pieces;
  }

private:
  std::vector<uint64_t> words_;
};

// Keeps only the largest sets (none within another) or only the smallest.
enum class Keep { Largest, Smallest };
enum class Kept { Added, Covered, Full };

// Adds the set unless one kept already covers it (for Largest: holds it;
// for Smallest: lies within it), dropping those it covers. At most `limit`
// sets are kept: a set that would be one more is refused as Full.
inline Kept keepExtreme(std::vector<GoldSet>& kept, const GoldSet& set, Keep keep, size_t limit) {
  const auto covers = [keep](const GoldSet& coverer, const GoldSet& covered) {
    return keep == Keep::Largest ? covered.within(coverer) : coverer.within(covered);
  };
  size_t out = 0;
  for (size_t index = 0; index < kept.size(); ++index) {
    if (covers(kept[index], set)) {
      return Kept::Covered;
    }
  }
  for (size_t index = 0; index < kept.size(); ++index) {
    if (!covers(set, kept[index])) {
      kept[out++] = kept[index];
    }
  }
  kept.resize(out);
  if (kept.size() >= limit) {
    return Kept::Full;
  }
  kept.push_back(set);
  return Kept::Added;
}
