// One measured figure of the assets and the range it must lie in.
#pragma once

#include <string>

struct Figure {
  std::string name;
  double value;
  double low;  // the figure passes when low <= value <= high
  double high;
  bool passes() const { return value >= low && value <= high; }
};
