// One measured figure of the assets and the range it must lie in.
#pragma once

#include <string>

// A bound that no figure reaches: the range is open on that side.
constexpr double Unbounded = 1e9;

struct Figure {
  std::string name;
  double value;
  double low;  // the figure passes when low <= value <= high
  double high;
  bool passes() const { return value >= low && value <= high; }
};
