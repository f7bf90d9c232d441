#include "ui/qt_desktop.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace qov {

bool QtDesktop::startProgram(const std::string& path) {
    QFileInfo info(QString::fromLocal8Bit(path.c_str()));
    if (!info.isFile() || !info.isExecutable()) {
        // A program folder set apart from the installation (QOVCOM_HOME) holds the data
        // files only; the station's helper programs stay beside the station itself.
        info = QFileInfo(QCoreApplication::applicationDirPath() + "/" + info.fileName());
        if (!info.isFile() || !info.isExecutable()) {
            return false;
        }
    }
    return QProcess::startDetached(info.absoluteFilePath(), {}, info.absolutePath());
}

bool QtDesktop::openDocument(const std::string& target) {
    const QString text = QString::fromLatin1(target.c_str()).trimmed();
    if (text.isEmpty()) {
        return false;
    }
    return QDesktopServices::openUrl(
        QUrl::fromUserInput(text, QDir::homePath(), QUrl::AssumeLocalFile));
}

bool QtDesktop::startSystemInformation() {
    // The system information tools of the common Linux desktops, in order of preference.
    for (const char* tool : {"hardinfo2", "hardinfo", "kinfocenter", "gnome-system-monitor"}) {
        const QString path = QStandardPaths::findExecutable(tool);
        if (!path.isEmpty()) {
            return QProcess::startDetached(path, {});
        }
    }
    return false;
}

}  // namespace qov
