// Reading a file, or its beginning, into memory, for the quote library and the settings file.
#include "app/fileBytes.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <new>
#include <stdexcept>

namespace {

// The size of an open regular file; false for anything else (a device, a pipe), whose size says
// nothing about how much it gives. Not ftell: its long is 32 bits on Windows and cannot tell a
// file of 3 GB.
bool regularFileSize(std::FILE* file, std::uint64_t& size)
{
#ifdef _WIN32
    struct _stat64 status;
    if (_fstat64(_fileno(file), &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG)
        return false;
#else
    struct stat status;
    if (fstat(fileno(file), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
#endif
    size = static_cast<std::uint64_t>(status.st_size);
    return true;
}

// Reads an open file into the empty `bytes`, at most `maxBytes` of it.
bool readBounded(std::FILE* file, std::size_t maxBytes, std::string& bytes)
{
    std::uint64_t size = 0;
    if (regularFileSize(file, size)) {
        const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(size, maxBytes));
        if (wanted > 0) {
            bytes.resize(wanted);
            const std::size_t got = std::fread(&bytes[0], 1, bytes.size(), file);
            bytes.resize(got);
            if (got < wanted)
                return std::ferror(file) == 0;
        }
    }
    if (bytes.size() >= maxBytes)
        return true;
    // Usually the size was the whole file; this one-byte probe then meets end of file and the
    // string is not regrown (a regrow copies the whole file once more).
    char probe = 0;
    if (std::fread(&probe, 1, 1, file) != 1)
        return std::ferror(file) == 0;
    bytes += probe;

    // The rest (a file that grew, or one without a size) in blocks. The string grows by
    // doubling as usual, up to exactly the limit, so a device that never ends costs the limit
    // and no more.
    const std::size_t blockSize = std::size_t(1) << 16;
    while (bytes.size() < maxBytes) {
        const std::size_t oldSize = bytes.size();
        const std::size_t want = std::min(blockSize, maxBytes - oldSize);
        if (bytes.capacity() - oldSize < want)
            bytes.reserve(bytes.capacity() > maxBytes / 2 ? maxBytes : std::max(2 * bytes.capacity(), oldSize + want));
        bytes.resize(oldSize + want);
        const std::size_t got = std::fread(&bytes[oldSize], 1, want, file);
        bytes.resize(oldSize + got);
        if (got < want)
            break;
    }
    return std::ferror(file) == 0;
}

}  // namespace

bool readFileBeginning(const char* path, std::size_t maxBytes, std::string& bytes)
{
    bytes.clear();
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    bool ok = false;
    try {
        ok = readBounded(file, maxBytes, bytes);
    } catch (const std::bad_alloc&) {
        ok = false;
    } catch (const std::length_error&) {
        ok = false;
    }
    std::fclose(file);
    if (!ok) {
        // Give back whatever part of the file was held before the read failed.
        std::string().swap(bytes);
    }
    return ok;
}
