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
    bool fitsWhole() const;
    // What the field shows while it has not the focus, and in which font.
    QString shownText() const;
    QFont shownFont() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The text's width in the field's font, and the title's shrunk font, measured once for as long
    // as text, font and room stay: every paint and every tip asks, and shaping the text again each
    // time is most of what a paint costs. The room itself is asked of the style each time, as
    // a style's states (focus, hover) may change it.
    struct Measured {
        QString text;
        QFont font;
        int dpi = 0;
        int advance = 0;
        int shrunkForRoom = -1;
        QFont shrunk;
    };
    Measured& measured() const;
    bool fitsIn(int room) const;
    QFont shrunkFont(int room) const;
    // Where a line edit draws its text: inside its frame, padding, text margins and own margin.
    QRect textRect() const;

    Overflow m_overflow;
    mutable Measured m_measured;
};
