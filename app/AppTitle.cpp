#include "app/AppTitle.h"

namespace {

QString& Title() {
    static QString title = kProductName;
    return title;
}

QString CutAtLastSpace(const QString& text) { return text.left(text.lastIndexOf(QLatin1Char(' '))); }

}  // namespace

QString TruncatedTitle(const QString& productName) {
    QString title = productName;
    if (title.contains(QLatin1Char(' '))) title = CutAtLastSpace(title);
    while (title.size() > 40 && title.contains(QLatin1Char(' '))) title = CutAtLastSpace(title);
    return title;
}

void SetAppTitle() { Title() = TruncatedTitle(kProductName); }

QString AppTitle() { return Title(); }
