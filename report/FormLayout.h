// Geometry of the entry window, kept in twips as designed.
#pragma once

#include "app/Twips.h"

#include <array>

namespace form1_layout {

inline constexpr int kClientWidth = 11625;
inline constexpr int kClientHeight = 10710;

// Window level.
inline constexpr TwipsRect kStartButton{120, 120, 11400, 400};
inline constexpr TwipsRect kHelpButton{120, 630, 5760, 405};
inline constexpr TwipsRect kSampleButton{6000, 630, 5520, 405};
inline constexpr TwipsRect kHeaderFrame{120, 1140, 11400, 2230};
inline constexpr TwipsRect kParticularsFrame{120, 3495, 11400, 5550};
inline constexpr TwipsRect kFooterFrame{120, 9135, 11400, 1400};

// Header frame: two columns of label and field, five lines.
inline constexpr int kHeaderLabelLeft = 240;
inline constexpr int kHeaderRightLabelLeft = 6450;
inline constexpr int kHeaderFieldLeft = 1920;
inline constexpr int kHeaderRightFieldLeft = 8220;
inline constexpr int kHeaderFieldWidth = 2970;
inline constexpr int kFieldHeight = 330;
inline constexpr std::array<int, 5> kHeaderLineTops{307, 660, 1020, 1380, 1740};

// Particulars frame: titles, 15 rows overlapping by one border, ten columns.
inline constexpr int kTitleTop = 360;
inline constexpr int kFirstRowTop = 675;
inline constexpr int kRowPitch = 315;

struct GridColumn {
    int left;
    int width;
};
inline constexpr GridColumn kDateColumn{120, 1725};
inline constexpr GridColumn kAccountColumn{1830, 1140};
inline constexpr GridColumn kDescColumn{2955, 2790};
inline constexpr GridColumn kDescTitle{2970, 2775};
inline constexpr std::array<GridColumn, 7> kAmountColumns{
    GridColumn{5730, 705}, GridColumn{6420, 900},  GridColumn{7305, 705}, GridColumn{7995, 705},
    GridColumn{8685, 705}, GridColumn{9375, 1230}, GridColumn{10590, 705}};

// The row picker inside its clipping box: shifted and enlarged so the box cuts off its raised frame.
inline constexpr TwipsRect kRowPickerInBox{-15, -30, 1770, 390};
inline constexpr TwipsRect kFirstRowPickerInBox{-30, -30, 1785, 390};

TwipsRect GridCell(const GridColumn& column, int row);
TwipsRect GridTitle(const GridColumn& column);

// Footer frame.
inline constexpr TwipsRect kApprovedLabel{240, 300, 900, 225};
inline constexpr TwipsRect kNotesLabel{6600, 300, 900, 225};
inline constexpr int kApprovedFieldLeft = 1215;
inline constexpr int kNotesFieldLeft = 7620;
inline constexpr std::array<int, 2> kFooterFieldTops{555, 900};
inline constexpr int kFooterFieldWidth = 2985;

// The connector under a footer label: a vertical line down past the second field and a short
// horizontal line to the middle of each field.
std::array<TwipsRect, 3> FooterConnector(const TwipsRect& label, int fieldLeft);

}  // namespace form1_layout
