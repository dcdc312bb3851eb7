// The text of --help: the options, the screen-saver mode, the environment,
// where the data files are looked for, and where bugs go.
#pragma once

extern const char* const kUsage;
