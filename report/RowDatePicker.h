// A grid row's date picker: a date picker that may also hold no date. A check box inside it shows
// and toggles the state; Delete or Backspace clears it, Space toggles it (the calendar opens with
// F4 or Alt+Down here), and typing, stepping or picking a date in the calendar sets it.
#pragma once

#include "report/DatePicker.h"

#include <optional>

class QCheckBox;

class RowDatePicker : public DatePicker {
    Q_OBJECT
public:
    explicit RowDatePicker(QWidget* parent = nullptr);

    std::optional<QDate> value() const { return m_value; }
    // Emits valueChanged when the value differs from before.
    void setValue(std::optional<QDate> value);

    QCheckBox* checkBox() const { return m_check; }
    QString spokenValue() const override { return m_value ? text() : QString(); }

    // What the row's receipts add to the picker's description and tooltip (empty: none).
    void setReceiptNote(const QString& note);

signals:
    void valueChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showState();
    void showTextColour();

    QCheckBox* m_check;
    QString m_keysDescription;
    std::optional<QDate> m_value;
};
