#include "generate/level_names.h"

#include <iterator>

namespace {

const char* const Firsts[] = {
    "Amber",  "Ashen",   "Brass",   "Cinder", "Copper", "Dusky",  "Ember",   "Fallow", "Flint",
    "Gilded", "Granite", "Hollow",  "Iron",   "Ivory",  "Lantern", "Lichen", "Marble", "Misty",
    "Mossy",  "Ochre",   "Pewter",  "Quiet",  "Rusty",  "Sable",  "Silent",  "Slate",  "Sunken",
    "Tawny",  "Umber",   "Velvet",  "Wander", "Willow", "Windy",  "Winter"};

const char* const Seconds[] = {
    "Adits",   "Arches",  "Burrows",  "Caverns", "Cellars",  "Chutes",   "Crossing", "Delvings",
    "Drifts",  "Galleries", "Gantry", "Hollows", "Ladders",  "Ledges",   "Lodes",    "Mine",
    "Niches",  "Passage", "Pits",     "Quarry",  "Rafters",  "Reaches",  "Rigging",  "Seams",
    "Shafts",  "Stairs",  "Steps",    "Terraces", "Tunnels", "Vaults",   "Warren",   "Workings"};

}  // namespace

std::string drawLevelTitle(LevelRandom& random) {
  const std::string first = Firsts[random.below(static_cast<int>(std::size(Firsts)))];
  return first + " " + Seconds[random.below(static_cast<int>(std::size(Seconds)))];
}
