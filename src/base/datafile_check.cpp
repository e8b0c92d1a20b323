#include "base/datafile_check.h"

#include "base/datafile_objects.h"
#include "base/os_files.h"

#include <allegro.h>

#include <algorithm>
#include <cstdint>

namespace {

constexpr int32_t MaxObjects = 65536;
constexpr int MaxNesting = 8;
constexpr int32_t MaxPropertyBytes = 1 << 16;
// Far beyond any asset the game has; a claim past it is not believed.
constexpr int32_t MaxObjectBytes = 1 << 26;
constexpr long ReadBlockBytes = 1 << 16;

// The library's state for unpacking a compressed stream (lzss.c in Allegro
// 4.4). It clears its ring buffer except for the last 18 bytes, so a stream
// that copies from those before writing them unpacks to whatever the memory
// held: the loader would not read the bytes this check read. Each reading
// here therefore fills them with a byte of its own, and a file is trusted
// only when two readings with different fills read the same.
constexpr int LzssRingBytes = 4096;
constexpr int LzssUnclearedBytes = 18;
struct LzssUnpackState {
  int state, i, j, k, r, c, flags;
  unsigned char ring[LzssRingBytes + LzssUnclearedBytes - 1];
};

void fillUnclearedRing(PACKFILE* file, unsigned char fill) {
  auto* unpacking = static_cast<LzssUnpackState*>(static_cast<void*>(file->normal.unpack_data));
  if (unpacking != nullptr) {
    std::fill_n(unpacking->ring + LzssRingBytes - LzssUnclearedBytes, LzssUnclearedBytes, fill);
  }
}

// Reads a chunk's unpacked bytes block by block, so that a size the file
// only claims is never allocated; false when fewer bytes are there.
bool readChunk(PACKFILE* chunk, ObjectBytes& data) {
  const long declared = chunk->normal.todo;
  if (declared < 0 || declared > MaxObjectBytes) {
    return false;
  }
  while (static_cast<long>(data.size()) < declared) {
    const long wanted = std::min(ReadBlockBytes, declared - static_cast<long>(data.size()));
    const std::size_t start = data.size();
    data.resize(start + static_cast<std::size_t>(wanted));
    if (pack_fread(data.data() + start, wanted, chunk) != wanted) {
      return false;
    }
  }
  return true;
}

class DatafileReading {
public:
  DatafileReading(DatafileVerdict& verdict, unsigned char ringFill) : verdict_(verdict), ringFill_(ringFill) {}

  void startReading(PACKFILE* file) { fillUnclearedRing(file, ringFill_); }
  uint64_t digest() const { return digest_; }

  bool readBigEndian32(PACKFILE* file, int32_t& value) {
    unsigned char bytes[4];
    if (pack_fread(bytes, 4, file) != 4) {
      return false;
    }
    addToDigest(bytes, 4);
    value = static_cast<int32_t>((uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) |
                                 (uint32_t{bytes[2]} << 8) | uint32_t{bytes[3]});
    return true;
  }

  bool readObjects(PACKFILE* file, int depth, const std::string& prefix) {
    int32_t count = 0;
    if (!readBigEndian32(file, count) || count < 0 || count > MaxObjects) {
      return false;
    }
    for (int32_t index = 0; index < count; ++index) {
      if (!readObject(file, depth, prefix + std::to_string(index))) {
        return false;
      }
    }
    return true;
  }

private:
  // One object: its properties, its type, and its chunk of data, read the
  // way the loader will (unpacked size, unpacking when the size says so).
  bool readObject(PACKFILE* file, int depth, const std::string& name) {
    int32_t type = 0;
    if (!readBigEndian32(file, type)) {
      return false;
    }
    while (type == DAT_PROPERTY) {
      if (!skipProperty(file) || !readBigEndian32(file, type)) {
        return false;
      }
    }
    // The library looks a type up in a table whose free slots hold DAT_END
    // and no loader, so an object of that type makes it call a null pointer.
    if (type == DAT_END) {
      return false;
    }
    PACKFILE* chunk = pack_fopen_chunk(file, FALSE);
    if (chunk == nullptr) {
      return false;
    }
    fillUnclearedRing(chunk, ringFill_);
    bool whole = false;
    if (type == DAT_FILE) {
      whole = depth < MaxNesting && readObjects(chunk, depth + 1, name + ".");
    } else {
      ObjectBytes data;
      whole = readChunk(chunk, data);
      addToDigest(data.data(), data.size());
      noteProblem(name, whole ? objectProblem(type, data) : std::string());
    }
    pack_fclose_chunk(chunk);
    return whole;
  }

  bool skipProperty(PACKFILE* file) {
    int32_t propertyId = 0;
    int32_t propertySize = 0;
    if (!readBigEndian32(file, propertyId) || !readBigEndian32(file, propertySize) || propertySize < 0 ||
        propertySize > MaxPropertyBytes) {
      return false;
    }
    ObjectBytes bytes(static_cast<std::size_t>(propertySize));
    const bool whole = pack_fread(bytes.data(), propertySize, file) == propertySize;
    addToDigest(bytes.data(), bytes.size());
    return whole;
  }

  // FNV-1a over every byte read, to tell two readings apart.
  void addToDigest(const unsigned char* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
      digest_ = (digest_ ^ bytes[i]) * 0x100000001b3ULL;
    }
  }

  void noteProblem(const std::string& name, const std::string& problem) {
    if (verdict_.damage.empty() && !problem.empty()) {
      verdict_.damage = "object " + name + " is " + problem + ".";
    }
  }

  DatafileVerdict& verdict_;
  unsigned char ringFill_;
  uint64_t digest_ = 0xcbf29ce484222325ULL;
};

// One reading of the whole file; digest identifies what it read.
DatafileVerdict readDatafile(const char* path, unsigned char ringFill, uint64_t& digest) {
  DatafileVerdict verdict;
  PACKFILE* file = pack_fopen(path, F_READ_PACKED);
  if (file == nullptr) {
    return verdict;
  }
  DatafileReading reading(verdict, ringFill);
  reading.startReading(file);
  int32_t magic = 0;
  verdict.readable = reading.readBigEndian32(file, magic) && magic == DAT_MAGIC && reading.readObjects(file, 0, "");
  pack_fclose(file);
  digest = reading.digest();
  return verdict;
}

}  // namespace

DatafileVerdict checkDatafile(const char* path) {
  if (!isRegularFile(path)) {
    return {};
  }
  uint64_t firstDigest = 0;
  uint64_t secondDigest = 0;
  DatafileVerdict verdict = readDatafile(path, 0x00, firstDigest);
  const DatafileVerdict again = readDatafile(path, 0xFF, secondDigest);
  if (firstDigest != secondDigest || again.readable != verdict.readable || again.damage != verdict.damage) {
    return {};
  }
  return verdict;
}
