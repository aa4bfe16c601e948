#include "app/ApplicationIcon.h"

#include <QIcon>
#include <QImageReader>
#include <QPixmap>

QIcon ApplicationIcon() {
    // The library is static: its resources must be named for the linker to keep them.
    Q_INIT_RESOURCE(ApplicationIcon);
    QIcon icon;
    for (const int size : {16, 32, 48}) {
        // Read as PNG, told so: a reader left to find the format itself loads every image format
        // plugin installed (and the libraries each needs) to ask whether it claims the file.
        QImageReader reader(QStringLiteral(":/brindlemoor/icon-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}
