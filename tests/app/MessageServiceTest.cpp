#include "app/AppTitle.h"
#include "app/MessageService.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Reads the real modal box once it is up and presses one of its buttons.
void AnswerRealBox(QMessageBox::StandardButton press, MessageRequest& seen, QMessageBox::Icon& icon,
                   QMessageBox::StandardButtons& buttons) {
    QTimer::singleShot(0, [=, &seen, &icon, &buttons] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.title = box->windowTitle();
        seen.text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        box->button(press)->click();
    });
}

}  // namespace

TEST(MessageService, RealBoxCarriesTitleIconAndButtons) {
    MessageRequest seen;
    QMessageBox::Icon icon{};
    QMessageBox::StandardButtons buttons{};

    AnswerRealBox(QMessageBox::No, seen, icon, buttons);
    EXPECT_EQ(ShowMessage({QStringLiteral("Application Error"), QStringLiteral("Save?"), MsgIcon::Exclamation,
                           MsgButtons::YesNo}),
              kMsgNo);
    EXPECT_EQ(seen.title, QStringLiteral("Application Error"));
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No);

    SetAppTitle();
    AnswerRealBox(QMessageBox::Ok, seen, icon, buttons);
    EXPECT_EQ(MsgBox(QStringLiteral("Done.")), kMsgOk);
    EXPECT_EQ(seen.title, AppTitle()) << "a plain notice carries the application title";
    EXPECT_EQ(seen.text, QStringLiteral("Done."));
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(buttons, QMessageBox::Ok);
}

TEST(MessageService, EchoedInputIsShownAsSpelledWithItsControlCharactersEscaped) {
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->text();
        format = box->textFormat();
        box->button(QMessageBox::Ok)->click();
    });
    MsgBox(QStringLiteral("Could not save /tmp/\x1b]0;x\x07<b>r</b>\u202Eslx.exe\r\nTry another name."));
    EXPECT_EQ(shown,
              QStringLiteral("Could not save /tmp/\\u001b]0;x\\u0007<b>r</b>\\u202eslx.exe\r\nTry another name."))
        << "the box's own line breaks stay";
    EXPECT_EQ(format, Qt::PlainText) << "a name that looks like markup is not rendered as markup";
}

TEST(MessageService, AnAddressIsALinkThatNoLineBreaksAndTheTitleHasRoom) {
    const QString address = QStringLiteral("https://www.tarrowell.example/contact/");
    const QString text = QStringLiteral("Questions? Please contact Team Tarrowell at ") + address;
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    bool opensLinks = false;
    int width = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->text();
        format = box->textFormat();
        const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        opensLinks = label && label->openExternalLinks();
        width = box->width();
        box->button(QMessageBox::Ok)->click();
    });
    ShowMessage({QStringLiteral("Brindlemoor"), text});
    EXPECT_EQ(format, Qt::RichText);
    EXPECT_TRUE(opensLinks);

    QTextDocument document;
    document.setHtml(shown);
    const QString plain = document.toPlainText();
    EXPECT_EQ(QString(plain).remove(QChar(0x2060)), text) << "the text reads as given";
    QString href;
    for (QTextBlock::iterator part = document.begin().begin(); !part.atEnd(); ++part)
        if (part.fragment().charFormat().isAnchor()) href = part.fragment().charFormat().anchorHref();
    EXPECT_EQ(href, address);
    // Laid out as narrow as the old break after "https://": the address moves to the next line whole.
    const QFontMetrics metrics(document.defaultFont());
    document.setTextWidth(metrics.horizontalAdvance(text.left(text.indexOf(QStringLiteral("www")))) + 8);
    const QTextLayout* layout = document.begin().layout();
    const qsizetype start = plain.indexOf(QStringLiteral("https"));
    EXPECT_EQ(layout->lineForTextPosition(int(start)).lineNumber(),
              layout->lineForTextPosition(int(plain.size() - 1)).lineNumber());

    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    EXPECT_GT(width, QFontMetrics(titleFont).horizontalAdvance(QStringLiteral("Brindlemoor")) + 100)
        << "room for the title beside a title bar's buttons";
}
