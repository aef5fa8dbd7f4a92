// A 64-bit fingerprint of every frame, for recordings: each row's hash is kept,
// so a frame costs only the hashing of the rows drawn on since the last one.
#pragma once

#include <cstdint>
#include <vector>

namespace lum {

class ChangedRows;
class Image;

class FrameHash {
public:
    // The frame's hash after the rows `changed` names were redrawn; the other
    // rows are taken to hold what they held at the last call. The first call
    // hashes every row.
    std::uint64_t update(const Image& frame, const ChangedRows& changed);
    // The same hash worked out from every row: what update must agree with.
    static std::uint64_t ofWhole(const Image& frame);

private:
    static std::uint64_t ofRow(const std::uint32_t* pixels, unsigned int count);
    static std::uint64_t combine(const std::vector<std::uint64_t>& rows, unsigned int width);

    std::vector<std::uint64_t> rows;
    unsigned int width = 0;
};

} // namespace lum
