// Writes a recording as the program runs: the header, then one entry at a
// time. Numbers are variable-length (seven bits a byte, small first), signed
// ones zigzagged, so the common entry, a step on time with its frame, takes a
// few bytes. Entries are written out at every frame, so a program that ends
// abruptly leaves all but its last moments on disk.
#pragma once

#include "framework/RecordedItem.h"
#include "framework/RecordingHeader.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace lum {

class RecordingWriter {
public:
    // Throws std::runtime_error naming the file when it cannot be created.
    explicit RecordingWriter(const std::string& path);
    ~RecordingWriter();
    RecordingWriter(const RecordingWriter&) = delete;
    RecordingWriter& operator=(const RecordingWriter&) = delete;

    void writeHeader(const RecordingHeader& header);
    void write(const RecordedItem& item);
    // Bytes written so far, buffered ones included.
    std::uint64_t size() const { return written + buffer.size(); }

    // The encoding alone, for tests and fuzzing seeds.
    static std::vector<std::uint8_t> encode(const RecordingHeader& header);
    static void encode(const RecordedItem& item, std::vector<std::uint8_t>& into);

private:
    void flush();

    std::FILE* file;
    std::string path;
    bool broken = false;
    std::vector<std::uint8_t> buffer;
    std::uint64_t written = 0;
};

} // namespace lum
