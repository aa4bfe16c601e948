// A grid cell narrower than its text shows the whole text as its tooltip and, while it has the
// focus, in a tip just below it; the cell itself keeps its place and size.
#pragma once

#include <QObject>

class QLabel;
class QLineEdit;

class WholeValueTip : public QObject {
    Q_OBJECT
public:
    // Watches the cell for as long as it lives.
    static void attach(QLineEdit* cell);

    // True when the cell cannot show all of its text at once.
    static bool tooNarrow(const QLineEdit* cell);
    // The tip shown under the focused cell, or null while none is shown.
    static QLabel* shownTip(const QLineEdit* cell);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit WholeValueTip(QLineEdit* cell);
    QLabel* tip();
    // Decides from the text and the cell's size whether the cell is too narrow, then places the tip.
    void measure();
    // Shows the tip under the focused narrow cell, hides it otherwise.
    void place();

    QLineEdit* m_cell;
    QLabel* m_tip = nullptr;
    bool m_narrow = false;
};
