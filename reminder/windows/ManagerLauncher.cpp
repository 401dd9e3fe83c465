#include "reminder/windows/ManagerLauncher.h"

#include "platform/Programs.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

namespace reminder {

void startManagerMinimized(const std::filesystem::path& programDir)
{
    QProcess manager;
    manager.setProgram(QFile::decodeName((programDir / platform::kManagerName).c_str()));
    manager.setArguments({});
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(platform::kStartMinimizedVariable, "1");
    manager.setProcessEnvironment(environment);
    manager.startDetached();
}

} // namespace reminder
