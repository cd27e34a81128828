// Reading a file, or its beginning, into memory; no Windows API, so it builds natively too.
#pragma once

#include <cstddef>
#include <string>

// Reads the file at `path` into `bytes` from its start, but never more than `maxBytes` of it: a
// larger file gives its first `maxBytes` bytes, and a file without a size (a device, a pipe) is
// read until it ends or reaches the limit, so /dev/zero costs the limit and no more. Returns
// false, with `bytes` empty, when the file cannot be opened or read, or its beginning cannot be
// held in memory.
bool readFileBeginning(const char* path, std::size_t maxBytes, std::string& bytes);
