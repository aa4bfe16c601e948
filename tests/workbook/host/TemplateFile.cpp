#include "TemplateFile.h"

#include "workbook/template/TemplateBytes.h"

#include <QDir>
#include <QFile>

QString WriteTemplateFile(const QString& folder) {
    const QString path = QDir(folder).filePath(QStringLiteral("template.xlt"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(TemplateBytes());
    return path;
}
