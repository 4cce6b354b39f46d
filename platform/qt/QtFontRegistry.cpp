#include "platform/qt/QtFontRegistry.h"

#include <QFontDatabase>
#include <QString>

#include "platform/qt/FontconfigFaces.h"

namespace mousecfg::qt {

int QtFontRegistry::AddFont(const std::filesystem::path& file) {
    return QFontDatabase::addApplicationFont(QString::fromStdString(file.string()));
}

bool QtFontRegistry::RemoveFont(int id) {
    return id >= 0 && QFontDatabase::removeApplicationFont(id);
}

std::vector<std::string> QtFontRegistry::FacesFor(std::string_view preferred, std::string_view text,
                                                  std::string_view language) {
    return fontconfig::FacesFor(preferred, text, language);
}

}  // namespace mousecfg::qt
