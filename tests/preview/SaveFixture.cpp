#include "SaveFixture.h"

#include "SampleResultWorkbook.h"
#include "SaveDialog.h"

#include <QDir>
#include <QPushButton>
#include <QTest>

void SaveFixture::SetUp() {
    PreviewFixture::SetUp();
    QDir().mkpath(folder.filePath(QStringLiteral("out")));
    handOver(QuarteredPicture(40, 30), SaveSampleResultWorkbook(folder.path()));
}

void SaveFixture::saveAs(const QString& path, const QString& filter) {
    SetSaveDialogHandler([this, path, filter](QWidget*, const QString& title, const QString& filters) {
        requests << title + QStringLiteral("|") + filters;
        return SaveDialogAnswer{path, filter};
    });
    QTest::mouseClick(form->PushButton6, Qt::LeftButton);
}

QString SaveFixture::out(const QString& name) const { return folder.filePath(QStringLiteral("out/") + name); }

QStringList SaveFixture::written() const {
    return QDir(folder.filePath(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden | QDir::System);
}
