#include "platform/qt/QtFontRegistry.h"

#include <QFontDatabase>
#include <QString>

namespace mousecfg::qt {

int QtFontRegistry::AddFont(const std::filesystem::path& file) {
    return QFontDatabase::addApplicationFont(QString::fromStdString(file.string()));
}

bool QtFontRegistry::RemoveFont(int id) {
    return id >= 0 && QFontDatabase::removeApplicationFont(id);
}

}  // namespace mousecfg::qt
