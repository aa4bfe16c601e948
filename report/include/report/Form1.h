// The entry window: header, the 15-row particulars grid with editable category headings, footer,
// and the three buttons. Every edit is stored at once; amounts are checked when left.
#pragma once

#include "app/MousePointer.h"
#include "report/DatePicker.h"
#include "workbook/model/ExpenseReport.h"

#include <QWidget>

#include <array>
#include <functional>

class ErrorHandler;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class RowDatePicker;
class RowReceipts;

// The most characters a text field takes: as many as one workbook cell holds.
inline constexpr int kMaxFieldText = 32767;

class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // The load step: skin, caption, title, pointer, every field from the store, grid tab order,
    // and last the availability check.
    void Form_Load();

    ExpenseReport report() const;
    MousePointer& pointer() { return m_pointer; }
    // The grid rows' receipts: attaching, opening, removing, and what the store holds of them.
    RowReceipts& receipts() { return *m_receipts; }

    // What "Start Creating Template" runs; the default does nothing.
    static void setGenerationRun(std::function<void(Form1&)> run);
    // The last step of the load; the default does nothing.
    static void setAvailabilityCheck(std::function<void()> check);

    void PushButton22_Click();
    void PushButton6_Click();
    void PushButton7_Click();

    std::array<QLineEdit*, kCategories> txtHeading;
    std::array<QLineEdit*, kGridRows> txtAccount, txtDesc, txtHotel, txtTransport, txtFuel, txtMeals, txtPhone,
        txtEntertainment, txtMisc;
    DatePicker *dtpFrom, *dtpTo;
    std::array<RowDatePicker*, kGridRows> DTPicker2;
    std::array<QWidget*, kGridRows> Picture3;  // the clipping box of each row picker
    QPushButton *PushButton22, *PushButton6, *PushButton7;
    QGroupBox *Frame1, *Frame2, *Frame3;
    QLabel *Label1, *Label4, *lblYear;

    // The amount column of a category (0 Hotel … 6 Misc).
    std::array<QLineEdit*, kGridRows>& amountColumn(int category);
    const std::array<QLineEdit*, kGridRows>& amountColumn(int category) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // The single text field's control (named by its key in kTextFields).
    QLineEdit* textField(TextField field) const { return m_textFields[size_t(field)]; }

    void buildHeader();
    void buildGrid();
    void buildFooter();
    void buildButtons();
    void setInitialTabOrder();
    void nameControls();
    void nameAmountColumn(int category);
    void connectBehaviours();
    void runAvailabilityCheck();
    template <class Restore, class RestoredValue>
    void restoreStored(ErrorHandler& handler, int line, const QString& key, Restore&& restore,
                       RestoredValue&& restoredValue);

    // Entry behaviours.
    void storeEdit(const QString& key, const QString& value);
    bool isAmountField(QObject* object) const;
    bool isHeading(QObject* object) const;
    void amountFocusLeft(QLineEdit* field, Qt::FocusReason reason);
    void disarmClickSwallow();
    void selectAllByKeys();
    void applyPointerRule(QObject* watched);

    std::array<QLineEdit*, kTextFieldCount> m_textFields{};
    MousePointer m_pointer;
    RowReceipts* m_receipts = nullptr;
    bool m_restoringFocus = false;
    bool m_swallowClick = false;
    bool m_storeFailureShown = false;
};
