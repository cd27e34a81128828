// Reading a whole file into memory, for the quote library and the settings file.
#include "app/fileBytes.h"

#include <cstdint>
#include <cstdio>
#include <new>
#include <stdexcept>

namespace {

// Reads what is left of an open file onto the end of `bytes`. The size from the end position
// only sets the first read: ftell cannot report sizes past 2 GB where long is 32 bits, so the
// reads go on in blocks until end of file either way.
bool appendRestOfFile(std::FILE* file, std::string& bytes)
{
    std::size_t sizeHint = 0;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long endPosition = std::ftell(file);
        if (endPosition > 0) {
            if (static_cast<std::uintmax_t>(endPosition) > bytes.max_size()) {
                return false;
            }
            sizeHint = static_cast<std::size_t>(endPosition);
        }
    }
    if (std::fseek(file, 0, SEEK_SET) != 0) {
        return false;
    }

    if (sizeHint > 0) {
        bytes.resize(sizeHint);
        const std::size_t got = std::fread(&bytes[0], 1, sizeHint, file);
        bytes.resize(got);
        if (got < sizeHint) {
            return std::ferror(file) == 0;
        }
    }
    // Usually the hint was the whole file; this one-byte probe then meets end of file and the
    // string is not regrown (a regrow copies the whole file once more).
    char probe = 0;
    if (std::fread(&probe, 1, 1, file) == 1) {
        bytes += probe;
        const std::size_t blockSize = std::size_t(1) << 16;
        for (;;) {
            const std::size_t oldSize = bytes.size();
            bytes.resize(oldSize + blockSize);
            const std::size_t got = std::fread(&bytes[oldSize], 1, blockSize, file);
            bytes.resize(oldSize + got);
            if (got < blockSize) {
                break;
            }
        }
    }
    return std::ferror(file) == 0;
}

}  // namespace

bool readFileBytes(const char* path, std::string& bytes)
{
    bytes.clear();
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    bool ok = false;
    try {
        ok = appendRestOfFile(file, bytes);
    } catch (const std::bad_alloc&) {
        ok = false;
    } catch (const std::length_error&) {
        ok = false;
    }
    std::fclose(file);
    if (!ok) {
        // Give back whatever part of a huge file was held before the allocation failed.
        std::string().swap(bytes);
    }
    return ok;
}
