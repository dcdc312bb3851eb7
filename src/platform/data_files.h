// Finding the program's data files (pictures and sounds) wherever the
// program was started from. A name is looked up, in this order, in the
// folder given with --data, the working directory, the folder of the running
// executable, and the data folder of an install seen from there
// (../share/games/cryptwell). Called while loading at start-up, never during
// frames.
#pragma once
#include <string>
#include <vector>

// The folder to look in before all others; nullptr or "" means none.
void setDataFolder(const char* folder);

// The folders looked in, in order; "" stands for the working directory.
std::vector<std::string> dataSearchFolders();

// The path of the first readable regular file called `name` in `folders`
// (a directory or device of that name is passed over), or the bare name when
// there is none, so that opening it fails just as for a missing file.
std::string findFileIn(const std::vector<std::string>& folders, const char* name);

// findFileIn over dataSearchFolders().
std::string findDataFile(const char* name);
