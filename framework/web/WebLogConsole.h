// Mirrors the log file to the browser console. The log writes "log.txt" in
// the in-memory file system as on the desktop; every line of it also goes to
// console.log, or to console.warn for a warning ("W: ") and console.error for
// an error ("E: "), the lines after a message's first taking its level.
#pragma once

namespace lum {

class WebLogConsole {
public:
    // Sends what the log holds already (its start marker) and everything
    // written to it from now on. Installing twice changes nothing.
    static void install();
};

} // namespace lum
