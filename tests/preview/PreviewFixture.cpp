#include "PreviewFixture.h"

#include "app/ProgramEnd.h"
#include "PictureBox.h"
#include "SaveDialog.h"

#include <QPainter>
#include <QTest>

void PreviewFixture::SetUp() {
    ASSERT_TRUE(folder.isValid());
    SetMessageHandler([this](const MessageRequest& request) {
        messages.push_back(request);
        return request.buttons == MsgButtons::YesNo ? answer : kMsgOk;
    });
    SetEndProgramHandler([this] { ++programEnds; });
    form = std::make_unique<Form2>();
}

void PreviewFixture::TearDown() {
    form.reset();
    SetSaveDialogHandler({});
    SetEndProgramHandler({});
    SetMessageHandler({});
}

void PreviewFixture::handOver(const QImage& picture, const QString& workbook) {
    form->setPicture(picture);
    form->mExcelFile = ScratchFile(workbook);
    form->show();
}

void PreviewFixture::drag(Qt::MouseButton button, QPoint from, const std::vector<QPoint>& to) {
    QTest::mousePress(form->Picture1, button, Qt::NoModifier, from);
    for (const QPoint& point : to) QTest::mouseMove(form->Picture1, point);
    QTest::mouseRelease(form->Picture1, button, Qt::NoModifier, to.empty() ? from : to.back());
}

int PreviewFixture::errorBoxes() const {
    return int(std::count_if(messages.begin(), messages.end(),
                             [](const MessageRequest& m) { return m.title == QStringLiteral("Application Error"); }));
}

QStringList PreviewFixture::notices() const {
    QStringList texts;
    for (const MessageRequest& m : messages)
        if (m.title != QStringLiteral("Application Error")) texts << m.text;
    return texts;
}

QImage QuarteredPicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.fillRect(0, 0, width / 2, height / 2, Qt::red);
    painter.fillRect(width / 2, 0, width - width / 2, height / 2, Qt::green);
    painter.fillRect(0, height / 2, width / 2, height - height / 2, Qt::blue);
    painter.fillRect(width / 2, height / 2, width - width / 2, height - height / 2, Qt::black);
    return picture;
}
