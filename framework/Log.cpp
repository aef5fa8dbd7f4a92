// The framework's text log. Every message begins with a line end, so the line of
// the last message stays open until the next write or the end marker closes it;
// the file therefore never ends with a line end.
#include "framework/Log.h"

#include "framework/TerminationHandler.h"

#include <cstdio>
#include <ctime>
#include <sstream>
#include <stdexcept>

namespace lum {

namespace {

// Cleared when the log is destroyed: a late writer (an object destroyed after
// the log at program exit) is ignored instead of writing to a closed stream.
bool logOpen = false;

const char* prefixOf(Log::Level level) {
    switch (level) {
    case Log::Warning: return "W: ";
    case Log::Error: return "E: ";
    case Log::Info: break;
    }
    return "I: ";
}

// Local time as the C standard's asctime writes it, without its trailing
// line end. Written out here because some C libraries (Windows' among them)
// pad the day of the month with a zero instead of a space.
std::string timestamp() {
    static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (local == nullptr) return "";
    char text[64];
    std::snprintf(text, sizeof text, "%.3s %.3s%3d %.2d:%.2d:%.2d %d", days[local->tm_wday % 7],
                  months[local->tm_mon % 12], local->tm_mday, local->tm_hour, local->tm_min, local->tm_sec,
                  1900 + local->tm_year);
    return text;
}

} // namespace

Log::Message::Message(Level level) : text(prefixOf(level)), level(level) {}

template <typename T>
Log::Message& Log::Message::append(const T& value) {
    std::ostringstream stream;
    stream << value;
    text += stream.str();
    return *this;
}

Log::Message& Log::Message::operator<<(const char* value) {
    text += value ? value : "(null)";
    return *this;
}
Log::Message& Log::Message::operator<<(const std::string& value) {
    text += value;
    return *this;
}
Log::Message& Log::Message::operator<<(char value) {
    text += value;
    return *this;
}
// A small number, not a character: the stream alone would print a control byte.
Log::Message& Log::Message::operator<<(unsigned char value) { return append(static_cast<unsigned int>(value)); }
Log::Message& Log::Message::operator<<(short value) { return append(value); }
Log::Message& Log::Message::operator<<(unsigned short value) { return append(value); }
Log::Message& Log::Message::operator<<(int value) { return append(value); }
Log::Message& Log::Message::operator<<(unsigned int value) { return append(value); }
Log::Message& Log::Message::operator<<(long value) { return append(value); }
Log::Message& Log::Message::operator<<(unsigned long value) { return append(value); }
Log::Message& Log::Message::operator<<(long long value) { return append(value); }
Log::Message& Log::Message::operator<<(unsigned long long value) { return append(value); }
Log::Message& Log::Message::operator<<(float value) { return append(value); }
Log::Message& Log::Message::operator<<(double value) { return append(value); }
Log::Message& Log::Message::operator<<(const void* value) { return append(value); }

// Bound here, not by the App, so a program that only draws or reads files
// links the log without an App and its platform.
Log& log = Log::instance();

Log& Log::instance() {
    static Log theLog;
    return theLog;
}

Log::Log() {
    file.open("log.txt", std::ios::out | std::ios::trunc);
    if (!file.is_open()) throw std::runtime_error("Unable to open log.txt file for output.");
    logOpen = true;
    file << "-- Logging started at " << timestamp() << " --" << std::flush;
}

Log::~Log() {
    file << '\n' << "-- Logging ended at " << timestamp() << " --";
    file.close();
    logOpen = false;
    // The log is the last of the framework to end: a process asked to
    // terminate from outside ends here, with everything shut down.
    endIfTerminationRequested();
}

Log& Log::info(const std::string& text) {
    write(prefixOf(Info) + text);
    return *this;
}

Log& Log::warning(const std::string& text) {
    write(prefixOf(Warning) + text);
    return *this;
}

Log& Log::error(const std::string& text) {
    write(prefixOf(Error) + text);
    return *this;
}

Log& Log::operator<<(const Message& message) {
    write(message.getText());
    return *this;
}

// Flushed after the text as well, so a crash right after a message keeps it.
// Write errors are ignored: the log must never stop the program.
void Log::write(const std::string& text) {
    if (!logOpen) return;
    file << '\n' << text << std::flush;
}

} // namespace lum
