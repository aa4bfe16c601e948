#include "support/DesktopLocales.h"

#include <QProcess>

namespace {

// "de_DE.UTF-8" and "de_DE.utf8" are one locale: the code set is compared without case or dashes.
QString normalised(QString name) { return name.toLower().remove(u'-'); }

QStringList installedLocales() {
    QProcess lister;
    lister.start(QStringLiteral("locale"), {QStringLiteral("-a")});
    lister.waitForFinished(10000);
    QStringList names;
    for (const QString& line : QString::fromLocal8Bit(lister.readAllStandardOutput()).split(u'\n'))
        if (!line.trimmed().isEmpty()) names << normalised(line.trimmed());
    return names;
}

}  // namespace

QProcessEnvironment WithDesktopSettings(QProcessEnvironment environment, const QStringList& pairs) {
    for (const char* category : {"LC_ALL", "LANG", "LANGUAGE", "LC_NUMERIC", "LC_MONETARY", "LC_TIME"})
        environment.remove(QString::fromLatin1(category));
    for (const QString& pair : pairs) environment.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    return environment;
}

QString MissingLocale(const QStringList& pairs) {
    static const QStringList installed = installedLocales();
    for (const QString& pair : pairs) {
        const QString name = pair.section(u'=', 1);
        if (name.isEmpty() || name == QLatin1String("C") || name == QLatin1String("POSIX")) continue;
        if (!installed.contains(normalised(name))) return name;
    }
    return {};
}
