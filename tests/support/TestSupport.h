// Helpers the tests of several areas share: a file's whole contents, and the
// message of the exception a call throws.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace lum::test {

// The file's bytes; none when it cannot be read.
template <typename Bytes = std::string> Bytes readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The message of the exception of type E that `call` throws, or a note that it threw none.
template <typename E = std::runtime_error, typename Call> std::string thrown(Call&& call) try {
    call();
    return "(nothing thrown)";
} catch (const E& thrown) {
    return thrown.what();
}

} // namespace lum::test
