// Avisela's start-up with names to show, reporting on its standard output the moment both of its
// windows are painted, then ending: windows_probe PROGRAM_DIR. The program directory holds the
// contact file and the windows library, as beside Avisela.
#include "platform/Today.h"
#include "reminder/core/StartupScan.h"
#include "reminder/core/WindowsHandOver.h"

#include <cstdio>
#include <unistd.h>

namespace {

int reportPainted(void*)
{
    static const char kLine[] = "painted\n";
    ::write(STDOUT_FILENO, kLine, sizeof kLine - 1);
    return 1; // end the program
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: windows_probe PROGRAM_DIR\n");
        return 2;
    }
    const std::filesystem::path programDir = argv[1];
    const reminder::Date today = platform::localToday();
    const auto due = reminder::runStartup(programDir, today);
    if (!due || !due->anyDue()) {
        std::fprintf(stderr, "windows_probe: nothing to show\n");
        return 1;
    }
    reminder::WindowsRequest request(*due, programDir, today, argc, argv);
    request.get().onPainted = reportPainted;
    const auto shown = reminder::showWindows(programDir, request.get());
    if (!shown.loaded)
        std::fprintf(stderr, "windows_probe: %s\n", shown.error.c_str());
    return shown.loaded ? 0 : 1;
}
