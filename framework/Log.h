// The framework's text log, "log.txt" in the working directory: one line per
// message, each message starting a new line, closed by an end marker at exit.
#pragma once

#include <fstream>
#include <string>

namespace lum {

class Log {
public:
    enum Level { Info = 1, Warning = 2, Error = 3 };

    // One line being assembled; its text starts with the level's prefix.
    class Message {
    public:
        explicit Message(Level level);
        virtual ~Message() = default;

        Message& operator<<(const char* value);
        Message& operator<<(const std::string& value);
        Message& operator<<(char value);
        Message& operator<<(unsigned char value);
        Message& operator<<(short value);
        Message& operator<<(unsigned short value);
        Message& operator<<(int value);
        Message& operator<<(unsigned int value);
        Message& operator<<(long value);
        Message& operator<<(unsigned long value);
        // 64-bit counts where long has 32 bits (Windows).
        Message& operator<<(long long value);
        Message& operator<<(unsigned long long value);
        Message& operator<<(float value);
        Message& operator<<(double value);
        // Pointers print as the standard stream prints them.
        Message& operator<<(const void* value);

        const std::string& getText() const { return text; }
        Level getLevel() const { return level; }

    private:
        template <typename T> Message& append(const T& value);

        std::string text;
        Level level;
    };

    static Log& instance();

    Log& info(const std::string& text);
    Log& warning(const std::string& text);
    Log& error(const std::string& text);
    Log& operator<<(const Message& message);

    Log(const Log&) = delete;
    Log& operator=(const Log&) = delete;

private:
    Log();
    ~Log();
    void write(const std::string& text);

    std::ofstream file;
};

// Bound during static initialisation. The App opens the log before it is
// built itself, so the log is destroyed after the App and its end marker
// follows everything logged.
extern Log& log;

} // namespace lum
