#include "app/user_store.h"

#include <QSettings>

namespace qov {

namespace {
QString key(const std::string& section, const std::string& name) {
    return QString::fromLatin1(section.c_str()) + "/" + QString::fromLatin1(name.c_str());
}
}  // namespace

std::string QtUserStore::get(const std::string& application, const std::string& section,
                             const std::string& name, const std::string& defaultValue) const {
    QSettings settings("QovCom", QString::fromLatin1(application.c_str()));
    const QVariant value = settings.value(key(section, name));
    return value.isValid() ? value.toString().toLatin1().toStdString() : defaultValue;
}

void QtUserStore::set(const std::string& application, const std::string& section,
                      const std::string& name, const std::string& value) {
    QSettings settings("QovCom", QString::fromLatin1(application.c_str()));
    settings.setValue(key(section, name), QString::fromLatin1(value.c_str()));
}

}  // namespace qov
