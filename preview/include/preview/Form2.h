// The preview window: shows the snapshot of the result workbook with zoom, scrollbars and
// drag-to-pan, saves copies of the workbook, goes back to the entry window or ends the program.
#pragma once

#include "app/MousePointer.h"
#include "app/ScratchFile.h"
#include "receipts/HandInPdf.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <vector>

class PictureBox;
class QGroupBox;
class QPushButton;
class QScrollBar;
class QWheelEvent;

class Form2 : public QWidget {
    Q_OBJECT
public:
    // The program's one preview window, created (and loaded) on first use.
    static Form2& instance();

    explicit Form2(QWidget* parent = nullptr);

    // Hand-over step 1: the snapshot becomes Picture1's picture (null: no picture was taken) and
    // the set-up on activation is due again.
    void setPicture(const QImage& picture);

    void SetHScrollbarByPercent(QScrollBar* HScrollbar, int16_t percent);
    void SetVScrollbarByPercent(QScrollBar* VScrollbar, int16_t percent);

    // Hand-over step 2: the result workbook, owned by this window from now on; a new hand-over
    // removes the one before.
    ScratchFile mExcelFile;
    // Hand-over step 3: the report's receipts, which every PDF the window makes holds after the sheet.
    std::vector<HandInReceipt> mReceipts;

    PictureBox* Picture2;
    PictureBox* Picture1;
    PictureBox* Zoom_Ori;
    QScrollBar* HScroll1;
    QScrollBar* VScroll1;
    QGroupBox* Frame1;
    QPushButton* PushButton1;
    QPushButton* PushButton2;
    QPushButton* PushButton6;
    QPushButton* PushButton8;

    float mZoom = 1.0f;
    int32_t mOriW = 0;
    int32_t mOriH = 0;
    int32_t mZoomW = 0;
    int32_t mZoomH = 0;
    int16_t mHStep = 0;
    int16_t mVStep = 0;
    bool mSaving = false;

    MousePointer& pointer() { return mPointer; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void nameControls();
    void connectKeyboard();
    bool viewportWheel(QObject* area, QWheelEvent* wheel);
    // Moves the picture by count lines of the sheet at the current zoom (negative: up or left).
    void scrollLines(Qt::Orientation orientation, double count);
    void Form_Load();
    void Form_Activate();
    void RedrawImage();
    void ReadBaseSize();
    void SetupScrollbars();
    void PlacePictureByBars();
    void ZoomStep(int32_t direction);
    void SetZoom(float& factor);
    void PushButton1_Click();
    void PushButton2_Click();
    void HScroll1_Change();
    void VScroll1_Change();
    void picture1_MouseDown(QPointF position);
    void picture1_MouseMove(Qt::MouseButtons buttons, QPointF position);
    void Picture1_MouseUp();
    void PushButton6_Click();
    void PushButton8_Click();
    void Form_QueryUnload();
    void Form_Unload();
    // Ctrl+P: prints the result workbook's sheet through the print dialog, and to a PDF file the
    // receipts after it (Form2Print.cpp).
    void installPrintShortcut();
    void PrintPage();

    MousePointer mPointer;
    bool mFirstActivate = false;
    float mStartX = 0.0f;
    float mStartY = 0.0f;
    int mZoomWheel = 0;
};
