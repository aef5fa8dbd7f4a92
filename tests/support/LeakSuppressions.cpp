// Linked into every program of the sanitizer and fuzzing builds, never into
// the game itself.
//
// fontconfig loses a few bytes while it parses its configuration files, once
// per process and out of our reach. The library has no frame pointers, so the
// leak checker only sees that the memory came from it: every block fontconfig
// allocates is passed over (our own patterns are freed by their handles).
// SDL's X11 video starts D-Bus, whose library keeps buffers for the process's
// lifetime (the tests that open a window on a private X server).
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libdbus-1.so\n";
}
