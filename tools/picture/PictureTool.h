#pragma once
// The picture tool's commands (encode, decode, info), callable in-process so
// that tests can drive them; main.cpp only forwards its arguments.

#include <ostream>

// Runs one command line (argv[0] is the program name). Returns the exit
// status: 0 on success, 1 for bad input files, 2 for bad usage.
int RunPictureTool(int argc, const char* const* argv, std::ostream& out, std::ostream& err);
