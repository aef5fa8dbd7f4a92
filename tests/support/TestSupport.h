// Helpers the tests of several areas share: a file's whole contents, the
// message of the exception a call throws, and what the log gained.
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

// The text the process has appended to "log.txt" since construction.
struct LogTail {
    std::size_t start = readFile("log.txt").size();
    std::size_t count(const std::string& needle) const {
        const std::string all = readFile("log.txt").substr(start);
        std::size_t found = 0;
        for (auto at = all.find(needle); at != std::string::npos; at = all.find(needle, at + 1)) ++found;
        return found;
    }
};

} // namespace lum::test
