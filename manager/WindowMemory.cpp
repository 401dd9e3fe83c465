#include "manager/WindowMemory.h"

#include "platform/AutostartEntry.h"

#include <QSettings>
#include <QString>
#include <QVariant>

namespace manager {

namespace {

const QString kSize = QStringLiteral("MainWindow/size");
const QString kMaximized = QStringLiteral("MainWindow/maximized");
const QString kColumnWidths = QStringLiteral("MainWindow/columnWidths");

QSettings settingsIn(const std::filesystem::path& file)
{
    return QSettings(QString::fromStdString(file.string()), QSettings::IniFormat);
}

} // namespace

std::filesystem::path windowMemoryFile()
{
    return platform::configHome() / "tortavela" / "Agendela.conf";
}

std::optional<WindowMemory> recallWindow(const std::filesystem::path& file)
{
    if (file.empty() || !std::filesystem::exists(file))
        return std::nullopt;
    const QSettings settings = settingsIn(file);
    const QSize size = settings.value(kSize).toSize();
    if (!size.isValid())
        return std::nullopt;
    WindowMemory memory{size, settings.value(kMaximized).toBool(), {}};
    for (const QVariant& width : settings.value(kColumnWidths).toList())
        memory.columnWidths.push_back(width.toInt());
    return memory;
}

void rememberWindow(const std::filesystem::path& file, const WindowMemory& memory)
{
    if (file.empty())
        return;
    QSettings settings = settingsIn(file);
    settings.setValue(kSize, memory.size);
    settings.setValue(kMaximized, memory.maximized);
    QVariantList widths;
    for (const int width : memory.columnWidths)
        widths.push_back(width);
    settings.setValue(kColumnWidths, widths);
    settings.sync();
}

} // namespace manager
