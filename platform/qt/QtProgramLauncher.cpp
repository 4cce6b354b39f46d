#include "platform/qt/QtProgramLauncher.h"

#include <QProcess>
#include <QStringList>
#include <cstdlib>

namespace mousecfg::qt {

std::optional<std::filesystem::path> QtProgramLauncher::FindProgram(std::string_view name) const {
    const char* path = std::getenv("PATH");
    return FindOnPath(name, path != nullptr ? path : "");
}

Status QtProgramLauncher::StartDetached(const std::filesystem::path& program, const std::vector<std::string>& arguments) {
    QStringList list;
    for (const std::string& argument : arguments) {
        list.append(QString::fromStdString(argument));
    }
    if (!QProcess::startDetached(QString::fromStdString(program.string()), list)) {
        return Status::Error(program.string() + " could not be started");
    }
    return Status::Ok();
}

}  // namespace mousecfg::qt
