#include "report/RowDatePicker.h"

#include "report/DatePicker.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

namespace {
constexpr int kCheckBoxLeft = 4;
constexpr int kTextIndent = 18;
}  // namespace

RowDatePicker::RowDatePicker(QWidget* parent) : QDateEdit(parent), m_check(new QCheckBox(this)) {
    SetUpDatePicker(this);
    m_check->setFocusPolicy(Qt::NoFocus);
    m_check->setChecked(true);
    lineEdit()->setTextMargins(kTextIndent, 0, 0, 0);

    connect(m_check, &QCheckBox::clicked, this, [this](bool ticked) {
        setValue(ticked ? std::optional<QDate>(date()) : std::nullopt);
    });
    // Any date the user enters, even the one already held, sets the row's date.
    connect(this, &QDateEdit::dateChanged, this, [this](QDate chosen) { setValue(chosen); });
    connect(calendarWidget(), &QCalendarWidget::clicked, this, [this](QDate chosen) { setValue(chosen); });
}

std::optional<QDate> RowDatePicker::value() const {
    if (m_empty) return std::nullopt;
    return date();
}

void RowDatePicker::setValue(std::optional<QDate> value) {
    const std::optional<QDate> before = this->value();
    if (value) {
        const QSignalBlocker quiet(this);
        setDate(*value);
    }
    m_empty = !value;
    showState();
    if (this->value() != before) emit valueChanged();
}

void RowDatePicker::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        setValue(std::nullopt);
        return;
    case Qt::Key_Space:
        setValue(m_empty ? std::optional<QDate>(date()) : std::nullopt);
        return;
    default:
        QDateEdit::keyPressEvent(event);
    }
}

void RowDatePicker::resizeEvent(QResizeEvent* event) {
    QDateEdit::resizeEvent(event);
    const QSize box = m_check->sizeHint();
    m_check->setGeometry(kCheckBoxLeft, (height() - box.height()) / 2, box.width(), box.height());
}

void RowDatePicker::showState() {
    m_check->setChecked(!m_empty);
    // The held date stays visible but greyed while the row has no date, as in the classic picker.
    QPalette palette = lineEdit()->palette();
    palette.setColor(QPalette::Text, this->palette().color(m_empty ? QPalette::Disabled : QPalette::Active, QPalette::Text));
    lineEdit()->setPalette(palette);
}
