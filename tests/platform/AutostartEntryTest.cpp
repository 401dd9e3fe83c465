#include "platform/AutostartEntry.h"

#include "tests/support/TempDir.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>

using namespace platform;

namespace {

// Reads an Exec value back the way a desktop environment does: first the string escapes of
// the file, then the quoting of the argument, then "%%".
std::string programOfExec(const std::string& value)
{
    std::string unescaped;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const char c = value[++i];
            unescaped.push_back(c == 'n'   ? '\n'
                                : c == 't' ? '\t'
                                : c == 'r' ? '\r'
                                : c == 's' ? ' '
                                           : c);
        } else {
            unescaped.push_back(value[i]);
        }
    }
    EXPECT_EQ(unescaped.front(), '"');
    EXPECT_EQ(unescaped.back(), '"');
    std::string program;
    for (size_t i = 1; i + 1 < unescaped.size(); ++i) {
        if (unescaped[i] == '\\') {
            ++i;
        } else if (unescaped[i] == '%') {
            EXPECT_EQ(unescaped[++i], '%');
        }
        program.push_back(unescaped[i]);
    }
    return program;
}

std::string execLineOf(const std::string& entry)
{
    std::istringstream in(entry);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("Exec=", 0) == 0)
            return line.substr(5);
    }
    return {};
}

bool validatorAvailable()
{
    return std::system("command -v desktop-file-validate >/dev/null 2>&1") == 0;
}

} // namespace

TEST(AutostartEntry, ExecNamesTheReminderWhateverThePathHolds)
{
    for (const std::string dir :
         {"/home/ana/.local/lib/tortavela", "/home/ana/Mis programas/100% tortas",
          "/opt/a\"b`c$d\\e'f", "/tmp/con\ttab"}) {
        const std::string entry = autostartEntryText(dir);
        EXPECT_EQ(programOfExec(execLineOf(entry)), dir + "/Avisela") << dir;
        EXPECT_NE(entry.find("Type=Application\n"), std::string::npos);
        EXPECT_NE(entry.find("Name=Tortavela\n"), std::string::npos);
    }
}

TEST(AutostartEntry, IsWrittenAnewAndPassesTheValidator)
{
    TempDir dir;
    const auto autostart = dir / "config/autostart"; // missing folders are created
    const std::filesystem::path programDir = "/home/ana/Mis programas/100% tortas";
    ASSERT_TRUE(registerReminderAtLogon(programDir, autostart).ok);
    writeBytes(autostart / kAutostartFileName, "[Desktop Entry]\nstale\n");
    ASSERT_TRUE(registerReminderAtLogon(programDir, autostart).ok);
    const auto file = autostart / kAutostartFileName;
    EXPECT_EQ(readBytes(file), autostartEntryText(programDir));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(autostart),
                            std::filesystem::directory_iterator{}),
              1); // no temporary file left
    if (!validatorAvailable())
        GTEST_SKIP() << "desktop-file-validate is not installed";
    const std::string command = "desktop-file-validate '" + file.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
}

TEST(AutostartEntry, ReportsAFolderThatCannotBeMade)
{
    TempDir dir;
    writeBytes(dir / "config", "a file where the folder should be");
    const auto result = registerReminderAtLogon("/opt/tortavela", dir / "config/autostart");
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.empty());
}

TEST(AutostartEntry, FollowsXdgConfigHome)
{
    ::setenv("XDG_CONFIG_HOME", "/tmp/config-home", 1);
    EXPECT_EQ(autostartDirectory(), "/tmp/config-home/autostart");
    ::setenv("XDG_CONFIG_HOME", "relative/is/ignored", 1);
    ::setenv("HOME", "/home/ana", 1);
    EXPECT_EQ(autostartDirectory(), "/home/ana/.config/autostart");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(autostartDirectory(), "/home/ana/.config/autostart");
}
