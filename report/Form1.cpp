#include "report/Form1.h"

#include "app/ProgramEnd.h"
#include "app/ButtonKeys.h"
#include "app/FixedWindow.h"
#include "report/DatePicker.h"
#include "EntryField.h"
#include "FrameContents.h"
#include "FormLayout.h"
#include "GridControls.h"
#include "LinedGroupBox.h"
#include "RowDateBox.h"
#include "RowDatePicker.h"
#include "RowReceipts.h"
#include "WholeValueTip.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

using namespace form1_layout;

namespace {

std::function<void(Form1&)>& GenerationRun() {
    static std::function<void(Form1&)> run;
    return run;
}

std::function<void()>& AvailabilityCheck() {
    static std::function<void()> check;
    return check;
}

QFont EntryFont(double points) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

template <class W>
W* Place(W* widget, const QString& name, const TwipsRect& rect) {
    widget->setObjectName(name);
    PlaceInTwips(widget, rect);
    return widget;
}

QString Indexed(const QString& name, int index) { return name + QString::number(index); }

constexpr std::array<std::array<QLineEdit*, kGridRows> Form1::*, kCategories> kAmountColumnMembers{
    &Form1::txtHotel, &Form1::txtTransport,     &Form1::txtFuel, &Form1::txtMeals,
    &Form1::txtPhone, &Form1::txtEntertainment, &Form1::txtMisc};

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent), m_pointer(this) {
    setObjectName(QStringLiteral("Form1"));
    SetFixedSingleBorder(this, TwipsToPixels({0, 0, kClientWidth, kClientHeight}).size());
    setFont(EntryFont(9));

    buildButtons();
    buildHeader();
    buildGrid();
    buildFooter();
    setInitialTabOrder();
    connectBehaviours();
    nameControls();

    if (const QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
}

Form1::~Form1() = default;

void Form1::buildButtons() {
    const QFont buttonFont = EntryFont(11.25);
    const auto button = [&](const QString& name, const QString& caption, const TwipsRect& rect) {
        auto* b = Place(new QPushButton(caption, this), name, rect);
        b->setFont(buttonFont);
        PressOnEnter(b);
        return b;
    };
    PushButton22 = button(QStringLiteral("PushButton22"), QStringLiteral("Start Creating Template"), kStartButton);
    PushButton6 = button(QStringLiteral("PushButton6"), QStringLiteral("Help"), kHelpButton);
    PushButton7 = button(QStringLiteral("PushButton7"), QStringLiteral("Load Sample/Example Data"), kSampleButton);
    GiveAltShortcut(PushButton22, Qt::Key_S);
    GiveAltShortcut(PushButton6, Qt::Key_H);
    GiveAltShortcut(PushButton7, Qt::Key_L);
    connect(PushButton22, &QPushButton::clicked, this, &Form1::PushButton22_Click);
    connect(PushButton6, &QPushButton::clicked, this, &Form1::PushButton6_Click);
    connect(PushButton7, &QPushButton::clicked, this, &Form1::PushButton7_Click);
}

void Form1::buildHeader() {
    Frame2 = Place(new QGroupBox(QStringLiteral("Header"), this), QStringLiteral("Frame2"), kHeaderFrame);
    auto* contents = new FrameContents(Frame2);
    const auto line = [&](int index, bool right, const QString& caption, QWidget* field, const QString& name) {
        const int top = kHeaderLineTops[size_t(index)];
        const int labelLeft = right ? kHeaderRightLabelLeft : kHeaderLabelLeft;
        const int fieldLeft = right ? kHeaderRightFieldLeft : kHeaderFieldLeft;
        auto* label = new QLabel(caption, contents);
        label->setGeometry(TwipsToPixels({labelLeft, top, fieldLeft - labelLeft - 60, kFieldHeight}));
        label->setBuddy(field);
        Place(field, name, {fieldLeft, top, kHeaderFieldWidth, kFieldHeight});
    };
    const auto text = [&](int index, bool right, const QString& caption, TextField name) {
        auto* field = new EntryField(contents);
        line(index, right, caption, field, TextFieldOf(name).key);
        m_textFields[size_t(name)] = field;
    };
    const auto date = [&](int index, bool right, const QString& caption, const QString& name) {
        auto* picker = new DatePicker(contents);
        picker->setDate(QDate::currentDate());
        line(index, right, caption, picker, name);
        return picker;
    };
    text(0, false, QStringLiteral("Purpose:"), TextField::Purpose);
    text(0, true, QStringLiteral("Statement Number:"), TextField::Statement);
    dtpFrom = date(1, false, QStringLiteral("Pay Period From:"), QStringLiteral("dtpFrom"));
    dtpTo = date(1, true, QStringLiteral("Pay Period To:"), QStringLiteral("dtpTo"));
    text(2, false, QStringLiteral("Employee Name:"), TextField::Name);
    text(2, true, QStringLiteral("Department:"), TextField::Dept);
    text(3, false, QStringLiteral("Position:"), TextField::Position);
    text(3, true, QStringLiteral("Manager:"), TextField::Manager);
    text(4, false, QStringLiteral("SSN:"), TextField::SSN);
    text(4, true, QStringLiteral("Employee ID:"), TextField::EmpID);
}

void Form1::buildGrid() {
    Frame1 = Place(new QGroupBox(QStringLiteral("Particulars"), this), QStringLiteral("Frame1"), kParticularsFrame);
    Frame1->setAutoFillBackground(true);
    QPalette white = Frame1->palette();
    white.setColor(QPalette::Window, Qt::white);
    Frame1->setPalette(white);
    auto* contents = new FrameContents(Frame1);
    // The white is the frame's own: what it holds keeps the window's usual colours, but for the
    // cells' white, given once here rather than to each cell.
    QPalette usual = contents->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        usual.setColor(group, QPalette::Window, QApplication::palette().color(group, QPalette::Window));
    usual.setColor(QPalette::Base, Qt::white);
    contents->setPalette(usual);
    m_receipts = new RowReceipts(this, [this](const QString& key, const QString& value) { storeEdit(key, value); });

    const auto title = [&](const QString& name, const QString& caption, const GridColumn& column) {
        auto* label = Place(new ColumnTitleLabel(caption, contents), name, GridTitle(column));
        label->setAlignment(Qt::AlignCenter);
        return label;
    };
    Label1 = title(QStringLiteral("Label1"), QStringLiteral("Date"), kDateColumn);
    Label4 = title(QStringLiteral("Label4"), QStringLiteral("Account"), kAccountColumn);
    lblYear = title(QStringLiteral("lblYear"), QStringLiteral("Description"), kDescTitle);
    for (int c = 0; c < kCategories; ++c) {
        auto* heading = Place(new ColumnTitleField(contents), Indexed(QStringLiteral("txtHeading"), c),
                              GridTitle(kAmountColumns[size_t(c)]));
        // Under a skin's sheet on the window, a field with a sheet of its own takes the application
        // font unless it is given one.
        heading->setFont(font());
        heading->setText(kDefaultHeadings[size_t(c)]);
        heading->setAlignment(Qt::AlignCenter);
        txtHeading[size_t(c)] = heading;
    }

    const auto cell = [&](const QString& name, int row, const GridColumn& column) {
        auto* field = Place(new GridCellField(contents), Indexed(name, row), GridCell(column, row));
        field->setAlignment(Qt::AlignCenter);
        WholeValueTip::attach(field);
        return field;
    };
    for (int r = 0; r < kGridRows; ++r) {
        const size_t i = size_t(r);
        auto* box = Place(new RowDateBox(contents), Indexed(QStringLiteral("Picture3"), r), GridCell(kDateColumn, r));
        DTPicker2[i] = new RowDatePicker(box);
        DTPicker2[i]->setObjectName(Indexed(QStringLiteral("DTPicker2"), r));
        box->hold(DTPicker2[i], TwipsToPixels(r == 0 ? kFirstRowPickerInBox : kRowPickerInBox));
        Picture3[i] = box;
        txtAccount[i] = cell(QStringLiteral("txtAccount"), r, kAccountColumn);
        txtDesc[i] = cell(QStringLiteral("txtDesc"), r, kDescColumn);
        for (int c = 0; c < kCategories; ++c)
            amountColumn(c)[i] = cell(kAmountNames[size_t(c)], r, kAmountColumns[size_t(c)]);
        std::vector<QWidget*> fields{txtAccount[i], txtDesc[i]};
        for (int c = 0; c < kCategories; ++c) fields.push_back(amountColumn(c)[i]);
        m_receipts->addRow(r, box, DTPicker2[i], fields);
    }
}

void Form1::buildFooter() {
    auto* footer = Place(new LinedGroupBox(QStringLiteral("Footer"), this), QStringLiteral("Frame3"), kFooterFrame);
    Frame3 = footer;
    auto* contents = new FrameContents(Frame3);
    const auto field = [&](TextField name, int left, int line) {
        m_textFields[size_t(name)] = Place(new EntryField(contents), TextFieldOf(name).key,
                                           {left, kFooterFieldTops[size_t(line)], kFooterFieldWidth, kFieldHeight});
    };
    const auto labelWithConnector = [&](const QString& caption, const TwipsRect& rect, int fieldLeft) {
        auto* label = new QLabel(caption, contents);
        label->setGeometry(TwipsToPixels(rect));
        for (const TwipsRect& line : FooterConnector(rect, fieldLeft)) footer->addLine(TwipsToPixels(line));
        return label;
    };
    QLabel* approved = labelWithConnector(QStringLiteral("Approved:"), kApprovedLabel, kApprovedFieldLeft);
    QLabel* notes = labelWithConnector(QStringLiteral("Notes:"), kNotesLabel, kNotesFieldLeft);
    field(TextField::Approved1, kApprovedFieldLeft, 0);
    field(TextField::Approved2, kApprovedFieldLeft, 1);
    field(TextField::Notes1, kNotesFieldLeft, 0);
    field(TextField::Notes2, kNotesFieldLeft, 1);
    // A label names the first of its two lines; the second is named by its line number.
    approved->setBuddy(textField(TextField::Approved1));
    notes->setBuddy(textField(TextField::Notes1));
}

void Form1::setInitialTabOrder() {
    using enum TextField;
    std::vector<QWidget*> order{textField(Purpose),
                                dtpFrom,
                                textField(Name),
                                textField(Position),
                                textField(SSN),
                                textField(Statement),
                                dtpTo,
                                textField(Dept),
                                textField(Manager),
                                textField(EmpID),
                                textField(Approved1),
                                textField(Approved2),
                                textField(Notes1),
                                textField(Notes2)};
    order.insert(order.end(), txtHeading.begin(), txtHeading.end());
    order.insert(order.end(), {PushButton22, PushButton6, PushButton7});
    for (size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

std::array<QLineEdit*, kGridRows>& Form1::amountColumn(int category) {
    return this->*kAmountColumnMembers[size_t(category)];
}

const std::array<QLineEdit*, kGridRows>& Form1::amountColumn(int category) const {
    return this->*kAmountColumnMembers[size_t(category)];
}

ExpenseReport Form1::report() const {
    ExpenseReport report;
    for (const TextFieldEntry& entry : kTextFields) report.*entry.member = textField(entry.field)->text();
    report.payFrom = dtpFrom->date();
    report.payTo = dtpTo->date();
    for (size_t c = 0; c < size_t(kCategories); ++c) report.headings[c] = txtHeading[c]->text();
    for (size_t r = 0; r < size_t(kGridRows); ++r) {
        ExpenseRow& row = report.rows[r];
        row.date = DTPicker2[r]->value();
        row.account = txtAccount[r]->text();
        row.description = txtDesc[r]->text();
        for (int c = 0; c < kCategories; ++c) row.amounts[size_t(c)] = amountColumn(c)[r]->text();
        row.receipts = m_receipts->files(int(r));
    }
    return report;
}

void Form1::setGenerationRun(std::function<void(Form1&)> run) { GenerationRun() = std::move(run); }

void Form1::setAvailabilityCheck(std::function<void()> check) { AvailabilityCheck() = std::move(check); }

void Form1::runAvailabilityCheck() {
    if (AvailabilityCheck()) AvailabilityCheck()();
}

void Form1::PushButton22_Click() {
    if (GenerationRun()) GenerationRun()(*this);
}

void Form1::closeEvent(QCloseEvent* event) {
    event->accept();
    EndProgram();
}
