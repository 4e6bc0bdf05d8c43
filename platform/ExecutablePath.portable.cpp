#include "platform/ExecutablePath.hpp"

std::string executablePath() { return {}; }
