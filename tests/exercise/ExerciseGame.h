#pragma once
// The exerciser's game: a catalogue in which two kinds share a name, a base archive with five
// missions (one holding a kind the catalogue lacks, one crowded into a few pixels, one of a few
// thousand items) and a file that is not a mission, and one terrain. Written with the gamedata
// writers; the same every time.
#include <cstdint>

#include <string>
#include <vector>

namespace orvik::exercise {

// One map pixel in world units.
inline constexpr std::int32_t kUnit = 131072;

struct ExerciseGame {
    std::string dir;
    std::string basePath;                 // dir + "kqbase.pff"
    std::vector<std::string> names;       // the catalogue's names, in file order (one twice)
    std::vector<std::string> missionNames; // entry names as the editor folds them
};

ExerciseGame WriteExerciseGame(const std::string& dir);
// The game that WriteExerciseGame wrote into dir before, as it is now.
ExerciseGame ExistingExerciseGame(const std::string& dir);

} // namespace orvik::exercise
