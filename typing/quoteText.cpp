#include "typing/quoteText.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
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

void appendQuoteLines(const char* bytes, std::size_t count, std::vector<std::wstring>& lines)
{
    if (count == 0) {
        return;
    }
    // One count of the LFs first, so the list is sized once instead of growing by copies.
    std::size_t lineCount = 0;
    const char* const bytesEnd = bytes + count;
    const char* lineFeed = static_cast<const char*>(std::memchr(bytes, '\n', count));
    while (lineFeed != nullptr) {
        ++lineCount;
        ++lineFeed;
        lineFeed = static_cast<const char*>(std::memchr(lineFeed, '\n', static_cast<std::size_t>(bytesEnd - lineFeed)));
    }
    lines.reserve(lines.size() + lineCount + 1);

    // Through unsigned char, so bytes 0x80..0xFF become U+0080..U+00FF and not negative. The
    // string is built straight from the range: one allocation, one widening pass.
    const unsigned char* const units = reinterpret_cast<const unsigned char*>(bytes);
    std::size_t position = 0;
    while (position < count) {
        const void* found = std::memchr(units + position, '\n', count - position);
        std::size_t end = count;
        std::size_t next = count;
        if (found != nullptr) {
            end = static_cast<std::size_t>(static_cast<const unsigned char*>(found) - units);
            next = end + 1;
            // Only the CR of a CR LF pair goes; a CR anywhere else is part of the quote.
            if (end > position && units[end - 1] == '\r') {
                --end;
            }
        }
        lines.emplace_back(units + position, units + end);
        position = next;
    }
}

void splitQuoteIntoWords(const std::wstring& quote, std::vector<std::wstring>& words)
{
    std::size_t start = 0;
    for (;;) {
        const std::size_t blank = quote.find(L' ', start);
        if (blank == std::wstring::npos) {
            break;
        }
        words.push_back(quote.substr(start, blank - start + 1));
        start = blank + 1;
    }
    if (start < quote.size()) {
        words.push_back(quote.substr(start));
    }
}

int32_t underlineLengthFor(const std::vector<std::wstring>& words, std::size_t wordIndex)
{
    if (wordIndex >= words.size()) {
        return 0;
    }
    const std::size_t length = words[wordIndex].size();
    // Every word but the last ends with its blank, which is not underlined.
    if (wordIndex + 1 < words.size()) {
        return static_cast<int32_t>(length - 1);
    }
    return static_cast<int32_t>(length);
}

bool hasTypableQuote(const std::vector<std::wstring>& quotes)
{
    for (const std::wstring& quote : quotes) {
        if (!quote.empty()) {
            return true;
        }
    }
    return false;
}

int32_t pickQuoteIndex(std::mt19937& engine, const std::vector<std::wstring>& quotes)
{
    std::size_t index = 0;
    do {
        index = static_cast<std::size_t>(static_cast<uint64_t>(engine()) % quotes.size());
    } while (quotes[index].empty());
    return static_cast<int32_t>(index);
}
