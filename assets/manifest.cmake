# Reads assets/manifest.txt, the one list of the objects in assets.dat, and
# writes the base layer's index header from it. Included by the build (before
# the base layer) and by the sanitizer build. Sets:
#   MQ_ASSET_MANIFEST       the list itself
#   MQ_ASSET_COUNT          how many objects it names
#   MQ_ASSET_<i>_NAME       object i as named in its source and the datafile (01_player_left_1)
#   MQ_ASSET_<i>_KIND       bitmap, sample, font or palette
#   MQ_ASSET_<i>_SOURCE     the text it is made from, relative to assets/
#   MQ_ASSET_PASSWORD       what assets.dat is packed with, and the game reads it with
#   MQ_ASSET_INCLUDE_DIR    the include root holding base/asset_index.h

# Each kind: the loader's type, the dat tool's type, the grabbed file's extension.
set(MQ_ASSET_KINDS bitmap sample font palette)
set(MQ_ASSET_KIND_bitmap DAT_BITMAP BMP .bmp)
set(MQ_ASSET_KIND_sample DAT_SAMPLE SAMP .wav)
set(MQ_ASSET_KIND_font DAT_FONT FONT .pcx)
set(MQ_ASSET_KIND_palette DAT_PALETTE PAL .pcx)

set(MQ_ASSET_PASSWORD zoph)
set(MQ_ASSET_MANIFEST ${CMAKE_CURRENT_LIST_DIR}/manifest.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${MQ_ASSET_MANIFEST})
file(STRINGS ${MQ_ASSET_MANIFEST} manifest_lines REGEX "^[^#]")

set(MQ_ASSET_COUNT 0)
set(asset_constants "")
set(asset_kinds "")
foreach(line IN LISTS manifest_lines)
  string(REGEX MATCHALL "[^ \t]+" fields "${line}")
  list(LENGTH fields field_count)
  if(NOT field_count EQUAL 5)
    message(FATAL_ERROR "${MQ_ASSET_MANIFEST}: \"${line}\" is not INDEX NAME KIND SOURCE CONSTANT")
  endif()
  list(GET fields 0 index)
  list(GET fields 1 name)
  list(GET fields 2 kind)
  list(GET fields 3 source)
  list(GET fields 4 constant)
  if(NOT index STREQUAL MQ_ASSET_COUNT)
    message(FATAL_ERROR "${MQ_ASSET_MANIFEST}: object ${index} (${name}) stands where object ${MQ_ASSET_COUNT} belongs")
  endif()
  if(NOT kind IN_LIST MQ_ASSET_KINDS)
    message(FATAL_ERROR "${MQ_ASSET_MANIFEST}: object ${index} is of kind \"${kind}\", not one of ${MQ_ASSET_KINDS}")
  endif()
  if(index LESS 10)
    set(index_digits 0${index})
  else()
    set(index_digits ${index})
  endif()
  set(MQ_ASSET_${index}_NAME ${index_digits}_${name})
  set(MQ_ASSET_${index}_KIND ${kind})
  set(MQ_ASSET_${index}_SOURCE ${source})
  list(GET MQ_ASSET_KIND_${kind} 0 loader_type)
  string(APPEND asset_constants "  ${constant} = ${index},\n")
  string(APPEND asset_kinds "    ${loader_type},\n")
  math(EXPR MQ_ASSET_COUNT "${MQ_ASSET_COUNT} + 1")
endforeach()

set(MQ_ASSET_INCLUDE_DIR ${CMAKE_BINARY_DIR}/generated/include)
file(CONFIGURE OUTPUT ${MQ_ASSET_INCLUDE_DIR}/base/asset_index.h @ONLY CONTENT
"// The fixed indices of the objects in assets.dat and the kind each must be.
// Made by the build from assets/manifest.txt: change the list, not this file.
#pragma once

#include <allegro.h>

enum AssetIndex {
@asset_constants@  AssetCount = @MQ_ASSET_COUNT@
};

// The datafile's password, set with packfile_password before it is read.
inline constexpr const char* AssetsPassword = \"@MQ_ASSET_PASSWORD@\";

// The loader's type of the object at each index.
inline constexpr int AssetKinds[AssetCount] = {
@asset_kinds@};
")
