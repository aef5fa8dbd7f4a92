// Runs a shell command on the machine that runs the tests, so that picture
// files can be written by other programs (Pillow, ImageMagick) even when the
// test program itself is a Windows program running under Wine.
#pragma once

#include <string>

namespace lum::test {

// The command's exit status; relative paths in it are taken from the test's
// working directory.
int runHostCommand(const std::string& command);

} // namespace lum::test
