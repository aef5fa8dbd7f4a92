// Reads arbitrary bytes as a recording: the header, then every entry, each
// peeked at before it is read, up to the End entry or the first error. Besides
// crashes, leaks, hangs and reads outside the bytes, it stops on a broken
// promise: an error must name a byte inside the file, peek must not move the
// reader and must see what next reads, and whatever is read must be written
// back to bytes that read as the same.
#include "framework/RecordingReader.h"
#include "framework/RecordingWriter.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes encoded(const lum::RecordedItem& item) {
    Bytes bytes;
    lum::RecordingWriter::encode(item, bytes);
    return bytes;
}

// Every error names the byte where the file went wrong: "... byte <offset>...".
void checkNamesAByteWithin(const std::string& message, std::size_t size) {
    const std::size_t at = message.find("byte ");
    if (at == std::string::npos) std::abort();
    const char* digits = message.c_str() + at + 5;
    char* end = nullptr;
    const unsigned long long offset = std::strtoull(digits, &end, 10);
    if (end == digits || offset > size) std::abort();
}

void checkHeaderRereads(const lum::RecordingHeader& header) {
    const Bytes bytes = lum::RecordingWriter::encode(header);
    lum::RecordingReader again(bytes);
    if (lum::RecordingWriter::encode(again.readHeader()) != bytes || again.offset() != bytes.size()) std::abort();
}

void checkItemRereads(const lum::RecordedItem& item) {
    const Bytes bytes = encoded(item);
    lum::RecordingReader again(bytes);
    if (encoded(again.next()) != bytes || again.offset() != bytes.size()) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lum::RecordingReader reader(Bytes(data, data + size));
    try {
        checkHeaderRereads(reader.readHeader());
        for (;;) {
            const std::size_t before = reader.offset();
            const lum::RecordedItem peeked = reader.peek();
            if (reader.offset() != before) std::abort();
            const lum::RecordedItem item = reader.next();
            // Every entry takes at least a byte, so the loop ends.
            if (reader.offset() <= before || encoded(peeked) != encoded(item)) std::abort();
            checkItemRereads(item);
            if (item.kind == lum::RecordedItem::Kind::End) break;
        }
    } catch (const lum::RecordingReader::Error& error) {
        checkNamesAByteWithin(error.what(), size);
    }
    return 0;
}
