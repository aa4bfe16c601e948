// A fresh preview window per test, with every box, the save dialog and the program end answered
// and recorded by the test.
#pragma once

#include "app/MessageService.h"
#include "preview/Form2.h"

#include <QImage>
#include <QPoint>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

class PreviewFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The three hand-over steps of a generation run.
    void handOver(const QImage& picture, const QString& workbook = QString());

    // Press, move to each point in turn and release on Picture1; points in Picture1's coordinates
    // at the moment of each event (QTest takes (0, 0) for the centre).
    void drag(Qt::MouseButton button, QPoint from, const std::vector<QPoint>& to);

    int errorBoxes() const;
    QStringList notices() const;

    std::unique_ptr<Form2> form;
    std::vector<MessageRequest> messages;
    int answer = kMsgYes;
    int programEnds = 0;
    QTemporaryDir folder;
};

// A picture with a distinct colour in each quarter, so scaled copies can be recognised.
QImage QuarteredPicture(int width, int height);
