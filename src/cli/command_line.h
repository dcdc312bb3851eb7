// The program's own options, GNU style, read before GLUT sees the command
// line: GLUT's options (-display, -geometry, ...) are left in argv for
// glutInit, everything else of the program's is taken out.
#pragma once
#include <string>

#include "cli/options.h"

enum class CommandLineAction { Run, Exit, Fail };

struct CommandLine {
  CommandLineAction action = CommandLineAction::Run;
  int exitStatus = 0;  // for Exit and Fail
  std::string output;  // what to print: help or version on stdout, an error on stderr
  Options options;
};

// An X window id, decimal or 0x hexadecimal; false for anything else.
bool parseWindowId(const char* text, unsigned long& id);

// Reads argv[1..argc-1]; on Run, argc and argv keep only argv[0] and GLUT's options.
CommandLine parseCommandLine(int& argc, char** argv, const char* version);
