#include "platform/QtShell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QTimer>
#include <QUrl>

namespace quendra::platform {

void QtShell::openDocument(const std::filesystem::path& file) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file.string())));
}

void QtShell::openUrl(const std::string& url) { QDesktopServices::openUrl(QUrl(QString::fromStdString(url))); }

void QtShell::restartProgram(const std::filesystem::path& program) {
    QProcess::startDetached(QString::fromStdString(program.string()), {});
    quit();
}

void QtShell::quit() {
    QTimer::singleShot(0, QCoreApplication::instance(), [] { QCoreApplication::exit(0); });
}

}  // namespace quendra::platform
