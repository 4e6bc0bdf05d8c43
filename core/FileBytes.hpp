#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reads the whole of the file at `path` into `bytes` in one go; false (with
// `bytes` unspecified) when it is not a regular file, cannot be opened or
// read, or is empty.
[[nodiscard]] bool readFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes);
