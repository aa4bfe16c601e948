#include "MessageText.h"

#include <QRegularExpression>

namespace {

// Joins two characters into one word for line breaking, and has no width of its own.
constexpr QChar kWordJoiner(0x2060);

// An address ends before trailing punctuation, which belongs to the sentence around it.
const QRegularExpression& WebAddress() {
    static const QRegularExpression address(QStringLiteral(R"re(https?://[^\s<>"]*[^\s<>".,;:!?')\]])re"));
    return address;
}

QString EscapedLines(const QString& plain) {
    QString html = plain.toHtmlEscaped();
    html.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
    html.replace(QLatin1Char('\r'), QStringLiteral("<br>"));
    html.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    return html;
}

QString Unbreakable(const QString& address) {
    QString joined;
    for (qsizetype i = 0; i < address.size(); ++i) {
        if (i > 0 && !address[i].isLowSurrogate()) joined += kWordJoiner;
        joined += address[i];
    }
    return joined.toHtmlEscaped();
}

}  // namespace

std::optional<QString> LinkedMessageText(const QString& text) {
    QString rich;
    qsizetype done = 0;
    for (const QRegularExpressionMatch& match : WebAddress().globalMatch(text)) {
        rich += EscapedLines(text.mid(done, match.capturedStart() - done));
        rich += QStringLiteral("<a href=\"%1\">%2</a>")
                    .arg(match.captured().toHtmlEscaped(), Unbreakable(match.captured()));
        done = match.capturedEnd();
    }
    if (done == 0) return std::nullopt;
    // Blanks stay as they stand, as in the plain text.
    return QStringLiteral("<p style=\"white-space: pre-wrap\">") + rich + EscapedLines(text.mid(done)) +
           QStringLiteral("</p>");
}
