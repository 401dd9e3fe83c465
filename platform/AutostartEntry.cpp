#include "platform/AutostartEntry.h"

#include "platform/Programs.h"
#include "system/SystemError.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace platform {
namespace {

// An entry is a few lines; anything larger is no entry the desktop wrote.
constexpr std::size_t kLongestEntry = std::size_t{64} * 1024;

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// The entry that stands there now: only a regular file, never waited on (a FIFO).
std::string existingEntry(const std::filesystem::path& file)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    std::string text;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<std::size_t>(info.st_size) <= kLongestEntry) {
        text.resize(static_cast<std::size_t>(info.st_size));
        const ssize_t got = ::read(fd, text.data(), text.size());
        text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    }
    ::close(fd);
    return text;
}

} // namespace

std::string userChoiceLines(std::string_view entry)
{
    std::string kept;
    bool inMainGroup = false;
    bool seen[std::size(kUserChoiceKeys)] = {};
    while (!entry.empty()) {
        const std::size_t end = entry.find('\n');
        const std::string_view line =
            trimmed(entry.substr(0, end == std::string_view::npos ? entry.size() : end));
        entry.remove_prefix(end == std::string_view::npos ? entry.size() : end + 1);
        if (line.starts_with('[')) {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inMainGroup || equals == std::string_view::npos)
            continue;
        const std::string_view key = trimmed(line.substr(0, equals));
        for (std::size_t i = 0; i < std::size(kUserChoiceKeys); ++i) {
            if (key == kUserChoiceKeys[i] && !seen[i]) {
                seen[i] = true;
                kept.append(line).push_back('\n');
            }
        }
    }
    return kept;
}

std::filesystem::path configHome()
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/')
        return config;
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : "") / ".config";
}

std::filesystem::path autostartDirectory()
{
    return configHome() / "autostart";
}

std::string desktopExecValue(const std::filesystem::path& program)
{
    // First the Exec rules: the argument in double quotes, with ", `, $ and \ escaped by a
    // backslash inside them, and every % doubled so that it is no field code.
    std::string quoted = "\"";
    for (char c : program.string()) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted.push_back('\\');
        if (c == '%')
            quoted.push_back('%');
        quoted.push_back(c);
    }
    quoted.push_back('"');
    // Then the rules of every string value of the file, which unescape the backslashes again.
    std::string value;
    for (char c : quoted) {
        switch (c) {
        case '\\':
            value += "\\\\";
            break;
        case '\n':
            value += "\\n";
            break;
        case '\t':
            value += "\\t";
            break;
        case '\r':
            value += "\\r";
            break;
        default:
            value.push_back(c);
        }
    }
    return value;
}

std::string autostartEntryText(const std::filesystem::path& programDir, std::string_view userChoice)
{
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Tortavela\n"
           "Exec=" +
           desktopExecValue(programDir / kReminderName) + "\n" + std::string(userChoice);
}

RegistrationResult registerReminderAtLogon(const std::filesystem::path& programDir,
                                           const std::filesystem::path& autostartDir)
{
    std::error_code error;
    std::filesystem::create_directories(autostartDir, error);
    if (error)
        return {false, sys::describeSystemError(error.value())};

    const auto target = autostartDir / kAutostartFileName;
    const std::string text = autostartEntryText(programDir, userChoiceLines(existingEntry(target)));
    auto temp = target;
    temp += ".new";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return {false, sys::describeSystemError(errno)};
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    const int writeError = errno;
    if (::close(fd) != 0 || !written || ::rename(temp.c_str(), target.c_str()) != 0) {
        const int why = written ? errno : writeError;
        ::unlink(temp.c_str());
        return {false, sys::describeSystemError(why)};
    }
    return {true, {}};
}

} // namespace platform
