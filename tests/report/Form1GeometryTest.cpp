// Every control of the entry window at the rectangle its design gives in twips, read back from the
// real widgets: a change of the geometry code must not move a single one.
#include "EntryWindowFixture.h"

#include <QLabel>

#include <array>
#include <vector>

namespace {

struct Designed {
    QString name;
    int left, top, width, height;
};

// 15 twips to a pixel; whole twips never fall on half a pixel.
int NearestPixel(int twips) { return twips >= 0 ? (twips + 7) / 15 : -((-twips + 7) / 15); }

QRect Pixels(const Designed& d) {
    return {NearestPixel(d.left), NearestPixel(d.top), NearestPixel(d.width), NearestPixel(d.height)};
}

std::vector<Designed> DesignedControls() {
    std::vector<Designed> controls{
        {"PushButton22", 120, 120, 11400, 400}, {"PushButton6", 120, 630, 5760, 405},
        {"PushButton7", 6000, 630, 5520, 405},  {"Frame2", 120, 1140, 11400, 2230},
        {"Frame1", 120, 3495, 11400, 5550},     {"Frame3", 120, 9135, 11400, 1400},
    };
    const std::array<int, 5> lineTops{307, 660, 1020, 1380, 1740};
    const std::array<const char*, 5> left{"txtPurpose", "dtpFrom", "txtName", "txtPosition", "txtSSN"};
    const std::array<const char*, 5> right{"txtStatement", "dtpTo", "txtDept", "txtManager", "txtEmpID"};
    for (size_t line = 0; line < lineTops.size(); ++line) {
        controls.push_back({left[line], 1920, lineTops[line], 2970, 330});
        controls.push_back({right[line], 8220, lineTops[line], 2970, 330});
    }

    struct Column {
        const char* cell;
        int left, width;
    };
    const std::array<Column, 9> cells{
        Column{"txtAccount", 1830, 1140}, {"txtDesc", 2955, 2790},          {"txtHotel", 5730, 705},
        {"txtTransport", 6420, 900},      {"txtFuel", 7305, 705},           {"txtMeals", 7995, 705},
        {"txtPhone", 8685, 705},          {"txtEntertainment", 9375, 1230}, {"txtMisc", 10590, 705}};
    controls.push_back({"Label1", 120, 360, 1725, 330});
    controls.push_back({"Label4", 1830, 360, 1140, 330});
    controls.push_back({"lblYear", 2970, 360, 2775, 330});
    for (int c = 0; c < 7; ++c) {
        const Column& amount = cells[size_t(c) + 2];
        controls.push_back({"txtHeading" + QString::number(c), amount.left, 360, amount.width, 330});
    }
    for (int r = 0; r < 15; ++r) {
        const int top = 675 + 315 * r;
        const QString row = QString::number(r);
        controls.push_back({"Picture3" + row, 120, top, 1725, 330});
        controls.push_back(r == 0 ? Designed{"DTPicker2" + row, -30, -30, 1785, 390}
                                  : Designed{"DTPicker2" + row, -15, -30, 1770, 390});
        for (const Column& column : cells) controls.push_back({column.cell + row, column.left, top, column.width, 330});
    }

    for (int line = 0; line < 2; ++line) {
        const int top = line == 0 ? 555 : 900;
        controls.push_back({"txtApproved" + QString::number(line + 1), 1215, top, 2985, 330});
        controls.push_back({"txtNotes" + QString::number(line + 1), 7620, top, 2985, 330});
    }
    return controls;
}

using Form1Geometry = EntryWindowTest;

TEST_F(Form1Geometry, EveryControlStandsAtItsDesignedRectangle) {
    Form1& f = open();
    EXPECT_EQ(f.size(), Pixels({"Form1", 0, 0, 11625, 10710}).size());
    const std::vector<Designed> controls = DesignedControls();
    EXPECT_EQ(controls.size(), 6u + 10u + 10u + 15u * 11u + 4u);
    for (const Designed& control : controls) {
        const QWidget* widget = f.findChild<QWidget*>(control.name);
        ASSERT_NE(widget, nullptr) << control.name.toStdString();
        EXPECT_EQ(widget->geometry(), Pixels(control)) << control.name.toStdString();
    }
}

TEST_F(Form1Geometry, LabelsStandBesideTheirFields) {
    Form1& f = open();
    std::vector<std::pair<QString, QPoint>> expected;
    const std::array<int, 5> lineTops{307, 660, 1020, 1380, 1740};
    const std::array<const char*, 5> left{"txtPurpose", "dtpFrom", "txtName", "txtPosition", "txtSSN"};
    const std::array<const char*, 5> right{"txtStatement", "dtpTo", "txtDept", "txtManager", "txtEmpID"};
    for (size_t line = 0; line < lineTops.size(); ++line) {
        expected.emplace_back(left[line], QPoint(NearestPixel(240), NearestPixel(lineTops[line])));
        expected.emplace_back(right[line], QPoint(NearestPixel(6450), NearestPixel(lineTops[line])));
    }
    expected.emplace_back("txtApproved1", QPoint(NearestPixel(240), NearestPixel(300)));
    expected.emplace_back("txtNotes1", QPoint(NearestPixel(6600), NearestPixel(300)));
    for (const auto& [field, position] : expected) {
        const QWidget* buddy = f.findChild<QWidget*>(field);
        ASSERT_NE(buddy, nullptr) << field.toStdString();
        const QList<QLabel*> labels = f.findChildren<QLabel*>();
        const auto label = std::find_if(labels.begin(), labels.end(), [&](QLabel* l) { return l->buddy() == buddy; });
        ASSERT_NE(label, labels.end()) << field.toStdString();
        EXPECT_EQ((*label)->pos(), position) << field.toStdString();
    }
}

}  // namespace
