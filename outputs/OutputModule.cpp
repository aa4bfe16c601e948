#include "OutputModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

namespace {

const QString kModuleFile = QStringLiteral("libbrindlemoor-outputs.so");

struct Loaded {
    const OutputFunctions* functions = nullptr;
    QString failure;
};

// Beside the program (a build), where the package puts it relative to the program, then Qt's library
// paths (QT_PLUGIN_PATH, and what a program adds there).
QStringList ModuleFolders() {
    const QString program = QCoreApplication::applicationDirPath();
    QStringList folders{program,
                        QDir::cleanPath(program + QLatin1Char('/') + QStringLiteral(BRINDLEMOOR_MODULES_FROM_PROGRAM))};
    for (const QString& folder : QCoreApplication::libraryPaths())
        if (!folders.contains(folder)) folders.append(folder);
    return folders;
}

QString Unusable(const QString& path, const QString& reason) {
    return QStringLiteral("Brindlemoor's PDF and Excel Workbook writer %1 cannot be used: %2").arg(path, reason);
}

Loaded Load() {
    const QStringList folders = ModuleFolders();
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(kModuleFile);
        if (!QFileInfo::exists(path)) continue;
        // Every symbol bound now: a library it needs that is missing fails here, not halfway through a save.
        QLibrary library(path);
        library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
        const auto entry =
            reinterpret_cast<decltype(&brindlemoor_output_functions)>(library.resolve(kOutputFunctionsEntry));
        if (entry == nullptr) return {nullptr, Unusable(path, library.errorString())};
        const OutputFunctions* functions = entry();
        if (functions->version != kOutputFunctionsVersion)
            return {nullptr, Unusable(path, QStringLiteral("it belongs to another build of the program"))};
        return {functions, {}};
    }
    return {nullptr, QStringLiteral("Brindlemoor's PDF and Excel Workbook writer %1 is missing: it is in none of %2")
                         .arg(kModuleFile, folders.join(QStringLiteral(", ")))};
}

}  // namespace

const OutputFunctions& LoadedOutputFunctions() {
    static const Loaded loaded = Load();
    if (loaded.functions == nullptr) throw OutputModuleMissing(loaded.failure.toStdString());
    return *loaded.functions;
}
