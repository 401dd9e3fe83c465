#include "platform/AutostartEntry.h"

#include "platform/Programs.h"
#include "system/SystemError.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string_view>
#include <system_error>
#include <unistd.h>

namespace platform {

std::filesystem::path autostartDirectory()
{
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome && configHome[0] == '/')
        return std::filesystem::path(configHome) / "autostart";
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : "") / ".config" / "autostart";
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

std::string autostartEntryText(const std::filesystem::path& programDir)
{
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Tortavela\n"
           "Exec=" +
           desktopExecValue(programDir / kReminderName) + "\n";
}

RegistrationResult registerReminderAtLogon(const std::filesystem::path& programDir,
                                           const std::filesystem::path& autostartDir)
{
    std::error_code error;
    std::filesystem::create_directories(autostartDir, error);
    if (error)
        return {false, sys::describeSystemError(error.value())};

    const std::string text = autostartEntryText(programDir);
    const auto target = autostartDir / kAutostartFileName;
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
