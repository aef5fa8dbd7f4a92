// Reads a recording back: its header, then its entries one at a time. Every
// number is checked against what its place allows before it is used, and a
// damaged or cut-off file is an error naming the byte where it went wrong.
#pragma once

#include "framework/RecordedItem.h"
#include "framework/RecordingHeader.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace lum {

class RecordingReader {
public:
    class Error : public std::runtime_error {
    public:
        explicit Error(const std::string& message) : std::runtime_error(message) {}
    };

    // Larger files are refused before they are read: an hour's run takes a
    // few megabytes.
    static constexpr std::uint64_t MAX_FILE_SIZE = 256u << 20;

    explicit RecordingReader(std::vector<std::uint8_t> bytes);
    // Throws Error naming the file when it cannot be read or is too large.
    static RecordingReader fromFile(const std::string& path);

    // The header, which must be read first. Throws Error.
    RecordingHeader readHeader();
    // The next entry. Throws Error at a damaged entry or the file's end.
    RecordedItem next();
    // The next entry, left to be read again.
    RecordedItem peek();
    std::size_t offset() const { return position; }

private:
    [[noreturn]] void fail(const std::string& what, std::size_t at) const;
    std::uint8_t byte();
    std::uint64_t varint();
    std::uint64_t bounded(std::uint64_t limit, const char* what);
    std::int64_t zigzag();
    std::string text(const char* what);

    std::vector<std::uint8_t> bytes;
    std::size_t position = 0;
};

} // namespace lum
