#include "base/datafile_check.h"

#include <allegro.h>

#include <cstdint>

namespace {

constexpr int32_t MaxObjects = 65536;
constexpr int MaxNesting = 8;

bool readBigEndian32(PACKFILE* file, int32_t& value) {
  unsigned char bytes[4];
  if (pack_fread(bytes, 4, file) != 4) {
    return false;
  }
  value = static_cast<int32_t>((uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) |
                               (uint32_t{bytes[2]} << 8) | uint32_t{bytes[3]});
  return true;
}

bool skipBytes(PACKFILE* file, int32_t count) {
  char buffer[4096];
  while (count > 0) {
    const int32_t wanted = count < 4096 ? count : 4096;
    if (pack_fread(buffer, wanted, file) != wanted) {
      return false;
    }
    count -= wanted;
  }
  return true;
}

bool objectsAreWhole(PACKFILE* file, int depth);

// One object: its properties, its type, and its chunk of data.
bool objectIsWhole(PACKFILE* file, int depth) {
  int32_t type = 0;
  if (!readBigEndian32(file, type)) {
    return false;
  }
  while (type == DAT_PROPERTY) {
    int32_t propertyId = 0;
    int32_t propertySize = 0;
    if (!readBigEndian32(file, propertyId) || !readBigEndian32(file, propertySize) || propertySize < 0 ||
        !skipBytes(file, propertySize) || !readBigEndian32(file, type)) {
      return false;
    }
  }
  // The library looks a type up in a table whose free slots hold DAT_END
  // and no loader, so an object of that type makes it call a null pointer.
  if (type == DAT_END) {
    return false;
  }
  int32_t storedSize = 0;
  int32_t unpackedSize = 0;
  if (!readBigEndian32(file, storedSize) || !readBigEndian32(file, unpackedSize) || storedSize < 0) {
    return false;
  }
  if (type == DAT_FILE && unpackedSize >= 0) {
    return depth < MaxNesting && objectsAreWhole(file, depth + 1);
  }
  return skipBytes(file, storedSize);
}

bool objectsAreWhole(PACKFILE* file, int depth) {
  int32_t count = 0;
  if (!readBigEndian32(file, count) || count < 0 || count > MaxObjects) {
    return false;
  }
  for (int32_t i = 0; i < count; ++i) {
    if (!objectIsWhole(file, depth)) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool datafileIsWhole(const char* path) {
  PACKFILE* file = pack_fopen(path, F_READ_PACKED);
  if (file == nullptr) {
    return false;
  }
  int32_t magic = 0;
  const bool whole = readBigEndian32(file, magic) && magic == DAT_MAGIC && objectsAreWhole(file, 0);
  pack_fclose(file);
  return whole;
}
