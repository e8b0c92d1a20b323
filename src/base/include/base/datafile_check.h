// A reading of a whole datafile before the library loads it. The library's
// loader trusts every size and kind a file states about itself: a file cut
// short, a bitmap of a colour depth it does not know, pixel or sample counts
// larger than their data, font ranges that are empty or inverted, all end in
// a crash, a hang or a read past the end, sometimes only at the first dig.
//
// So every object is read here exactly as the loader will read it (through
// the library's own chunk reader, which unpacks compressed objects and nested
// datafiles alike) and its contents are held against what the loader and the
// game rely on (datafile_objects.h). Compressed data that would unpack to
// whatever the library's memory held, and so differently each time, is not
// trusted. Only a file that passes is loaded.
#pragma once

#include <string>

struct DatafileVerdict {
  // The file opens with the current packfile password, starts with the
  // datafile magic and holds every object and property it declares in full.
  bool readable = false;
  // For a readable file: what makes one of its objects unsafe to load or to
  // use, naming the object ("object 3 is a bitmap of an unknown colour
  // depth (7)"); empty when there is nothing.
  std::string damage;

  bool usable() const { return readable && damage.empty(); }
};

// Only a regular file is opened: a FIFO or a device in its place would block
// the reader for ever, so it counts as unreadable.
DatafileVerdict checkDatafile(const char* path);
