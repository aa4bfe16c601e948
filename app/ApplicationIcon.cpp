#include "app/ApplicationIcon.h"

#include <QIcon>

QIcon ApplicationIcon() {
    // The library is static: its resources must be named for the linker to keep them.
    Q_INIT_RESOURCE(ApplicationIcon);
    QIcon icon;
    // Sizes given, so no picture is read before a window asks for one.
    for (const int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/brindlemoor/icon-%1.png").arg(size), QSize(size, size));
    return icon;
}
