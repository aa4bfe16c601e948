// A text field of the entry window. While it has the focus it edits as any line edit does; while it
// has not, a text too long for it shows its start with an ellipsis after it, never just its tail
// (where the caret last left the view). A column title first gives up some of its font size, so a
// heading such as "Entertainment" stands whole in its narrow box.
#pragma once

#include <QLineEdit>

class EntryField : public QLineEdit {
    Q_OBJECT
public:
    enum class Overflow { Ellipsis, ShrinkThenEllipsis };

    explicit EntryField(QWidget* parent, Overflow overflow = Overflow::Ellipsis);

    // True when the field can show all of its text at once while it is being edited.
    static bool fitsWhole(const QLineEdit* field);
    // What the field shows while it has not the focus, and in which font.
    QString shownText() const;
    QFont shownFont() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Where a line edit draws its text: inside its frame, padding, text margins and own margin.
    QRect textRect() const;

    Overflow m_overflow;
};
