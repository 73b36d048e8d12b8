#include "platform/gui/application_icon.h"

#include <string>

#include <QString>

#include "platform/core/resource_folder.h"

namespace ch {

QIcon applicationIcon()
{
    QIcon icon;
    const std::filesystem::path folder = resourceFolder() / "icons";
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const std::filesystem::path file = folder / ("countinghouse-" + std::to_string(size) + ".png");
        if (std::filesystem::is_regular_file(file))
            icon.addFile(QString::fromStdString(file.string()), QSize(size, size));
    }
    return icon;
}

} // namespace ch
