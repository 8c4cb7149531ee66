#include "platform/QtShell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTimer>
#include <QUrl>

namespace quendra::platform {

void QtShell::openDocument(const std::filesystem::path& file) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file.string())));
}

void QtShell::openUrl(const std::string& url) { QDesktopServices::openUrl(QUrl(QString::fromStdString(url))); }

std::optional<std::filesystem::path> QtShell::findProgram(std::string_view name) const {
    const QString found = QStandardPaths::findExecutable(QString::fromUtf8(name.data(), qsizetype(name.size())));
    if (found.isEmpty()) return std::nullopt;
    return std::filesystem::path(found.toStdString());
}

void QtShell::startProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments) {
    QStringList list;
    for (const std::string& argument : arguments) list << QString::fromStdString(argument);
    QProcess::startDetached(QString::fromStdString(program.string()), list);
}

void QtShell::restartProgram(const std::filesystem::path& program) {
    QProcess::startDetached(QString::fromStdString(program.string()),
                            {QString::fromUtf8(kRestartArgument.data(), qsizetype(kRestartArgument.size()))});
    quit();
}

void QtShell::quit() {
    QTimer::singleShot(0, QCoreApplication::instance(), [] { QCoreApplication::exit(0); });
}

}  // namespace quendra::platform
