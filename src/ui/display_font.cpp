#include "ui/display_font.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QStringList>

#include "app/program_folder.h"

namespace qov {

std::string LoadDisplayFont(const std::string& appFolder) {
    const QString name = QString::fromLatin1(kDisplayFontFile);
    QString folder = QString::fromLocal8Bit(appFolder.c_str());
    if (!folder.isEmpty() && !folder.endsWith('/')) {
        folder += '/';
    }
    const QString shared = QString::fromLocal8Bit(SharedFolder().c_str()) + "fonts/";
    for (const QString& dir : {folder, shared, QCoreApplication::applicationDirPath() + "/"}) {
        if (!QFileInfo::exists(dir + name)) {
            continue;
        }
        const int id = QFontDatabase::addApplicationFont(dir + name);
        if (id >= 0) {
            const QStringList families = QFontDatabase::applicationFontFamilies(id);
            if (!families.isEmpty()) {
                return families.front().toStdString();
            }
        }
    }
    return {};
}

}  // namespace qov
