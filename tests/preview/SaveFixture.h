// A preview window holding the sample's result workbook, saved through an answered save dialog
// into a folder of its own.
#pragma once

#include "PreviewFixture.h"

#include <QString>
#include <QStringList>

class SaveFixture : public PreviewFixture {
protected:
    void SetUp() override;

    // Types path into the dialog with filter selected, and saves; the dialog's title and filters
    // are recorded in requests.
    void saveAs(const QString& path, const QString& filter);

    QString out(const QString& name) const;
    QStringList written() const;  // every file in the folder, hidden ones included

    QStringList requests;
};
