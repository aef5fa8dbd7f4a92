// Linked into every program of the sanitizer and fuzzing builds, never into
// the game itself.
//
// fontconfig loses a few bytes while it parses its configuration files, once
// per process and out of our reach. The library has no frame pointers, so the
// leak checker only sees that the memory came from it: every block fontconfig
// allocates is passed over (our own patterns are freed by their handles).
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
