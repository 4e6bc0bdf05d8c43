#pragma once

#include <string>

// The absolute path of the running executable, as the system knows it (the
// target of /proc/self/exe on Linux), or an empty string where it cannot be
// told. The portable build cannot tell and says empty.
std::string executablePath();
