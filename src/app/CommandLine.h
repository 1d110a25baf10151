#pragma once
// kmc --help and kmc --version: answered before any window or display is needed, so a
// player can check an installed client from a shell.

#include <ostream>

namespace CommandLine {

// True when argv asks for the help or the version; the answer went to `out` and the
// program ends with exit code 0. Any other argument is left to Qt as before.
bool Answer(int argc, char** argv, std::ostream& out);

} // namespace CommandLine
