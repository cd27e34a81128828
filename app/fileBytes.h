// Reading a whole file into memory; no Windows API, so it builds natively too.
#pragma once

#include <cstddef>
#include <string>

// Reads the whole file at `path` into `bytes`, but never more than `maxBytes` of it. Returns
// false, with `bytes` empty, when the file cannot be opened or read, when it holds more than
// `maxBytes` or when it is too large to hold in memory. A regular file's size is asked first,
// so one over the limit is not read at all; a file without a size (a device, a pipe) is read
// until it ends or goes past the limit, so /dev/zero costs the limit and no more.
bool readFileBytes(const char* path, std::size_t maxBytes, std::string& bytes);
