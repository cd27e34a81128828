// Reading a whole file into memory; no Windows API, so it builds natively too.
#pragma once

#include <string>

// Reads the whole file at `path` into `bytes`. Returns false, with `bytes` empty, when the file
// cannot be opened or read, or is too large to hold in memory.
bool readFileBytes(const char* path, std::string& bytes);
