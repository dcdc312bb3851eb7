// Puts every global of the program back to its start-up values, so tests
// can run in any order and in one process.
#pragma once

void restoreProgramState();
