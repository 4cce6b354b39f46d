#include "platform/qt/QtFileDialogs.h"

#include <QFileDialog>

namespace mousecfg::qt {

std::string QtFileDialogs::QtFilterText(const FileFilter& filter) {
    // A filter text that already names its pattern in brackets is given as it is.
    if (filter.text.find('(') != std::string::npos || filter.pattern.empty()) {
        return filter.text;
    }
    return filter.text + " (" + filter.pattern + ")";
}

std::string QtFileDialogs::WithExtension(const std::string& file, const std::string& extension) {
    if (extension.empty()) {
        return file;
    }
    const std::string suffix = "." + extension;
    if (file.size() >= suffix.size()) {
        const QString tail = QString::fromStdString(file.substr(file.size() - suffix.size()));
        if (tail.compare(QString::fromStdString(suffix), Qt::CaseInsensitive) == 0) {
            return file;
        }
    }
    return file + suffix;
}

std::optional<std::string> QtFileDialogs::SaveFile(const FileFilter& filter) {
    const QString chosen = QFileDialog::getSaveFileName(nullptr, QString(), QString(),
                                                        QString::fromStdString(QtFilterText(filter)));
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return WithExtension(chosen.toStdString(), filter.defaultExtension);
}

std::vector<std::string> QtFileDialogs::OpenFiles(const FileFilter& filter, bool multiple) {
    const QString text = QString::fromStdString(QtFilterText(filter));
    std::vector<std::string> files;
    if (multiple) {
        for (const QString& file : QFileDialog::getOpenFileNames(nullptr, QString(), QString(), text)) {
            files.push_back(file.toStdString());
        }
    } else if (const QString file = QFileDialog::getOpenFileName(nullptr, QString(), QString(), text);
               !file.isEmpty()) {
        files.push_back(file.toStdString());
    }
    return files;
}

}  // namespace mousecfg::qt
