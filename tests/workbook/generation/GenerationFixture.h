// A loaded entry window over a private store and a private scratch folder, with every message box,
// save dialog and program end recorded, for driving the generation run through real widgets.
#pragma once

#include "app/MessageService.h"
#include "preview/Form2.h"
#include "report/Form1.h"

#include <QPushButton>
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

class GenerationTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    Form1& form() { return *m_form; }
    Form2& preview() { return Form2::instance(); }
    QString scratchFolder() const;
    QString outputPath(const QString& name) const { return m_output.filePath(name); }
    void setScratchBase(const QString& path);

    // Clicks a push button of a window as a user would.
    static void click(QWidget* button);
    // Messages shown since the last call, as their text.
    QStringList takeMessages();
    // The xlrd or LibreOffice view of a workbook's computed cells (read_totals.py).
    static QString readTotals(const QString& reader, const QString& path);

    std::vector<MessageRequest> boxes;
    QStringList dialogAnswers;  // the save dialog returns these in turn
    int endRequests = 0;

private:
    QTemporaryDir m_store;
    QTemporaryDir m_scratchBase;
    QTemporaryDir m_output;
    std::unique_ptr<Form1> m_form;
};
