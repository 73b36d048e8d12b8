#include "platform/gui/export_file_chooser.h"

#include <QDir>
#include <QFileDialog>
#include <QPointer>

#include <filesystem>

#include "platform/gui/sheet.h"

namespace ch {

std::string exportExtension(std::string_view requested)
{
    return requested.size() >= 3 ? std::string(requested) : std::string("tsv");
}

std::string withExportExtension(std::string path, std::string_view extension)
{
    const QString suffix = QStringLiteral(".") + QString::fromStdString(std::string(extension));
    const QString name = QString::fromStdString(std::filesystem::path(path).filename().string());
    // A name that is only the suffix (".tsv") has no name before it; "q4.xml"
    // already has the extension "XML" asks for.
    if (name.size() <= suffix.size() || !name.endsWith(suffix, Qt::CaseInsensitive)) path += suffix.toStdString();
    return path;
}

QFileDialog* getExportFileNameWithExtension(QWidget* window, std::string_view extension,
                                            std::function<void(std::optional<std::string>)> chosen)
{
    const std::string required = exportExtension(extension);
    auto* panel = new QFileDialog(window, QString(), QDir::homePath());
    panel->setAttribute(Qt::WA_DeleteOnClose);
    // Qt's own panel: the platform's may not run as a sheet.
    panel->setOption(QFileDialog::DontUseNativeDialog);
    panel->setAcceptMode(QFileDialog::AcceptSave);
    panel->setFileMode(QFileDialog::AnyFile);
    panel->setNameFilter(QStringLiteral("*.%1").arg(QString::fromStdString(required)));
    panel->setDefaultSuffix(QString::fromStdString(required));
    panel->selectFile(QString());
    QObject::connect(panel, &QFileDialog::finished, panel,
                     [panel, owner = QPointer<QWidget>(window), required, chosen = std::move(chosen)](int result) {
        activateWindowUnder(owner);
        const QStringList files = panel->selectedFiles();
        if (result == QDialog::Accepted && !files.isEmpty())
            chosen(withExportExtension(files.first().toStdString(), required));
        else
            chosen(std::nullopt);
    });
    if (window) {
        panel->open();
    } else {
        panel->setWindowModality(Qt::ApplicationModal);
        panel->show();
    }
    return panel;
}

} // namespace ch
