#include "RowDatePicker.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

namespace {
constexpr int kCheckBoxLeft = 4;
constexpr int kTextIndent = 18;
}  // namespace

RowDatePicker::RowDatePicker(QWidget* parent) : DatePicker(parent), m_check(new QCheckBox(this)) {
    m_check->setFocusPolicy(Qt::NoFocus);
    lineEdit()->setTextMargins(kTextIndent, 0, 0, 0);
    lineEdit()->installEventFilter(this);
    m_keysDescription = QStringLiteral("Space gives or clears the date; F4 or Alt+Down opens the calendar.");
    setAccessibleDescription(m_keysDescription);

    connect(m_check, &QCheckBox::clicked, this,
            [this](bool ticked) { setValue(ticked ? std::optional<QDate>(date()) : std::nullopt); });
    // A date the user types, steps to or picks in the calendar sets the row's date, even a pick of
    // the date an empty row shows greyed.
    connect(this, &QDateEdit::dateChanged, this, [this](QDate chosen) { setValue(chosen); });
    connect(this, &DatePicker::datePicked, this, [this](QDate picked) { setValue(picked); });
    showState();
}

void RowDatePicker::setValue(std::optional<QDate> value) {
    if (value) {
        const QSignalBlocker quiet(this);
        setDate(*value);
        value = date();  // as the range lets the picker hold it
    }
    const bool changed = value != m_value;
    m_value = value;
    showState();
    if (changed) emit valueChanged();
}

void RowDatePicker::setReceiptNote(const QString& note) {
    setAccessibleDescription(note.isEmpty() ? m_keysDescription : note + QLatin1Char(' ') + m_keysDescription);
    setToolTip(note);
}

void RowDatePicker::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Delete:
    case Qt::Key_Backspace: setValue(std::nullopt); return;
    case Qt::Key_Space: setValue(m_value ? std::nullopt : std::optional<QDate>(date())); return;
    default: DatePicker::keyPressEvent(event);
    }
}

void RowDatePicker::resizeEvent(QResizeEvent* event) {
    DatePicker::resizeEvent(event);
    const QSize box = m_check->sizeHint();
    m_check->setGeometry(kCheckBoxLeft, (height() - box.height()) / 2, box.width(), box.height());
}

bool RowDatePicker::eventFilter(QObject* watched, QEvent* event) {
    if (watched != lineEdit()) return DatePicker::eventFilter(watched, event);
    // A skin's polish gives the field the picker's palette, or the one it had when last polished.
    if (event->type() == QEvent::Polish || event->type() == QEvent::StyleChange) showTextColour();
    return false;
}

void RowDatePicker::showState() {
    m_check->setChecked(m_value.has_value());
    showTextColour();
    announceValue();
}

void RowDatePicker::showTextColour() {
    // The held date stays visible but greyed while the row has no date, as in the classic picker.
    // Given to the field's own palette: a style sheet of its own would cost every row's field a
    // style-sheet polish and paint, and one on the picker would not reach a field under a skin.
    const QPalette usual = QApplication::palette(this);
    QPalette shown = lineEdit()->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        shown.setColor(group, QPalette::Text, usual.color(m_value ? group : QPalette::Disabled, QPalette::Text));
    lineEdit()->setPalette(shown);
}
