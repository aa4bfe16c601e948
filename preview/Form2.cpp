#include "preview/Form2.h"

#include "app/AppTitle.h"
#include "app/PointerKinds.h"
#include "app/WindowColours.h"
#include "app/ButtonKeys.h"
#include "app/ErrorHandler.h"
#include "app/FileService.h"
#include "app/FixedWindow.h"
#include "app/ProgramFolders.h"
#include "Form2Layout.h"
#include "PictureBox.h"
#include "TopLevelWindows.h"
#include "ViewerArithmetic.h"

#include <QApplication>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

#include <cmath>

using namespace form2_layout;

namespace {

// The zoomed copy must stay below these sizes.
constexpr int kZoomedWidthLimit = 17900;
constexpr int kZoomedHeightLimit = 11300;

constexpr float kZoomIncrement = 0.25f;
constexpr float kMinZoom = 0.25f;
constexpr float kMaxZoom = 3.0f;

constexpr int kDefaultScrollMaximum = 32767;

constexpr int16_t kFullTravel = 100;

QFont ArialBold(double points) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

QScrollBar* MakeScrollbar(Qt::Orientation orientation, QWidget* parent, const TwipsRect& rect) {
    auto* bar = new QScrollBar(orientation, parent);
    bar->setRange(0, kDefaultScrollMaximum);
    bar->setSingleStep(1);
    bar->setPageStep(1);
    bar->setAttribute(Qt::WA_NoMousePropagation);
    PlaceInTwips(bar, rect);
    return bar;
}

// A bar the picture does not need is put back to 0 as well, so that it never says anything but
// where the picture is.
void ApplyScrollbarSetting(QScrollBar* bar, int16_t& step, const ScrollbarSetting& setting) {
    bar->setEnabled(setting.enabled);
    if (setting.maximum) bar->setMaximum(*setting.maximum);
    step = setting.step;
    bar->setValue(0);
}

void ApplyPercent(QScrollBar* bar, int16_t percent) {
    if (const auto value = ValueForPercent(percent, bar->maximum())) bar->setValue(*value);
}

int RoundedTwips(float twips) { return static_cast<int>(std::nearbyint(twips)); }

}  // namespace

Form2& Form2::instance() {
    // Never destroyed: the window stays loaded until the program ends.
    static Form2* form = new Form2;
    return *form;
}

Form2::Form2(QWidget* parent) : QWidget(parent), mPointer(this) {
    setObjectName(QStringLiteral("Form2"));
    buildControls();
    installPrintShortcut();
    Form_Load();
}

void Form2::buildControls() {
    SetFixedSingleBorder(this, QSize(TwipsToPixels(kClientWidth), TwipsToPixels(kClientHeight)));
    setFont(ArialBold(9));
    setMouseTracking(true);

    Picture2 = new PictureBox(PictureBox::Border::FixedSingle, this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setAttribute(Qt::WA_NoMousePropagation);
    // The viewport takes the focus, so keys scroll it and press no button.
    Picture2->setFocusPolicy(Qt::StrongFocus);
    Picture2->moveTo(kPicture2.left, kPicture2.top);
    Picture2->setOuterWidth(kPicture2.width);
    Picture2->setOuterHeight(kPicture2.height);

    Picture1 = new PictureBox(PictureBox::Border::None, Picture2->clientArea());
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAutoSize(true);

    Zoom_Ori = new PictureBox(PictureBox::Border::FixedSingle, this);
    Zoom_Ori->setObjectName(QStringLiteral("Zoom_Ori"));
    Zoom_Ori->moveTo(kZoomOriLeft, kZoomOriTop);
    Zoom_Ori->hide();

    VScroll1 = MakeScrollbar(Qt::Vertical, this, kVScroll1);
    HScroll1 = MakeScrollbar(Qt::Horizontal, this, kHScroll1);

    Frame1 = new QGroupBox(QStringLiteral("Zoom:"), this);
    Frame1->setMouseTracking(true);
    Frame1->installEventFilter(this);
    PlaceInTwips(Frame1, kFrame1);

    const auto makeButton = [this](const QString& text, QWidget* parent, const TwipsRect& rect) {
        auto* button = new QPushButton(text, parent);
        button->setFont(ArialBold(11.25));
        button->setMouseTracking(true);
        // Unpressed buttons pass moves on; Frame1 or the window would then reset the hand pointer.
        button->setAttribute(Qt::WA_NoMousePropagation);
        button->installEventFilter(this);
        PressOnEnter(button);
        PlaceInTwips(button, rect);
        return button;
    };
    PushButton1 = makeButton(QStringLiteral("Zoom In"), Frame1, kPushButton1);
    PushButton2 = makeButton(QStringLiteral("Zoom Out"), Frame1, kPushButton2);
    PushButton8 = makeButton(QStringLiteral("< Back"), this, kPushButton8);
    PushButton6 = makeButton(QStringLiteral("Save Results To Excel File"), this, kPushButton6);
    GiveAltShortcut(PushButton1, Qt::Key_I);
    GiveAltShortcut(PushButton2, Qt::Key_O);
    GiveAltShortcut(PushButton8, Qt::Key_B);
    GiveAltShortcut(PushButton6, Qt::Key_S);

    connect(PushButton1, &QPushButton::clicked, this, &Form2::PushButton1_Click);
    connect(PushButton2, &QPushButton::clicked, this, &Form2::PushButton2_Click);
    connect(PushButton6, &QPushButton::clicked, this, &Form2::PushButton6_Click);
    connect(PushButton8, &QPushButton::clicked, this, &Form2::PushButton8_Click);
    connect(HScroll1, &QScrollBar::valueChanged, this, &Form2::HScroll1_Change);
    connect(VScroll1, &QScrollBar::valueChanged, this, &Form2::VScroll1_Change);
    connect(Picture1, &PictureBox::mousePressed, this, &Form2::picture1_MouseDown);
    connect(Picture1, &PictureBox::mouseMoved, this, &Form2::picture1_MouseMove);
    connect(Picture1, &PictureBox::mouseReleased, this, &Form2::Picture1_MouseUp);
    connectKeyboard();
    nameControls();

    if (const QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
}

void Form2::setPicture(const QImage& picture) {
    Picture1->setPicture(picture);
    mFirstActivate = true;
}

void Form2::Form_Load() {
    ErrorHandler eh(QStringLiteral("Form2.Form_Load"));
    mFirstActivate = true;
    eh.step(102, [&] { ApplyFormColours(this); });
    eh.step(104, [&] {
        setWindowTitle(kProductName);
        const QWidget* entryWindow = FindTopLevelWidget(QStringLiteral("Form1"));
        setWindowIcon(entryWindow ? entryWindow->windowIcon() : QApplication::windowIcon());
    });
    const QString cursorFile = ProgramFile(QStringLiteral("HAND-M.CUR"));
    if (eh.test(108, [&] { return FileExists(cursorFile); })) eh.step(110, [&] { mPointer.loadCustom(cursorFile); });
}

bool Form2::event(QEvent* event) {
    // Showing counts as activation: window systems without focus (offscreen) never activate it.
    if (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate) Form_Activate();
    return QWidget::event(event);
}

void Form2::Form_Activate() {
    ErrorHandler eh(QStringLiteral("Form2.Form_Activate"));
    if (!eh.test(100, [&] { return mFirstActivate; })) return;
    eh.step(104, [&] { Picture1->setAutoSize(true); });
    eh.step(110, [&] { Picture1->setBackColour(Qt::white); });
    eh.step(114, [&] { Zoom_Ori->hide(); });
    eh.step(116, [&] { Zoom_Ori->setOuterWidth(Picture1->outerWidth()); });
    eh.step(118, [&] { Zoom_Ori->setOuterHeight(Picture1->outerHeight()); });
    eh.step(122, [&] { Zoom_Ori->setPicture(Picture1->picture()); });
    mZoom = 1.0f;
    eh.step(126, [&] { ReadBaseSize(); });
    mZoomW = mOriW;
    mZoomH = mOriH;
    RedrawImage();
    eh.step(136, [&] { SetupScrollbars(); });
    // Each preview starts on its picture, never on a button that a key left over from the entry
    // window (or from the last preview) would press.
    Picture2->setFocus(Qt::OtherFocusReason);
    mFirstActivate = false;
}

void Form2::ReadBaseSize() {
    // Zoom_Ori's border and two more twips are not part of the base size; a picture too small to
    // have any left gives an empty base rather than a negative one.
    mOriW = std::max(0, Zoom_Ori->innerWidth() - 2);
    mOriH = std::max(0, Zoom_Ori->innerHeight() - 2);
}

void Form2::RedrawImage() {
    ErrorHandler eh(QStringLiteral("Form2.RedrawImage"));
    mZoomW = static_cast<int32_t>(std::floor(static_cast<double>(mOriW) * static_cast<double>(mZoom)));
    mZoomH = static_cast<int32_t>(std::floor(static_cast<double>(mOriH) * static_cast<double>(mZoom)));
    if (mZoomW >= kZoomedWidthLimit || mZoomH >= kZoomedHeightLimit) {
        mZoom = 1.0f;
        eh.step(126, [&] { ReadBaseSize(); });
        mZoomW = mOriW;
        mZoomH = mOriH;
        return;
    }
    eh.step(106, [&] { Picture1->setPicture(QImage()); });
    eh.step(108, [&] { Picture1->setOuterWidth(mZoomW); });
    eh.step(110, [&] { Picture1->setOuterHeight(mZoomH); });
    eh.step(112, [&] {
        Picture1->paintPicture(Zoom_Ori->picture(), QRectF(0, 0, mZoomW, mZoomH), QRectF(0, 0, mOriW, mOriH));
    });
    eh.step(114, [&] { mPointer.setKind(kPointerDefault); });
    // The bars are fitted to the zoomed picture, so that they reach all of it and nothing beyond.
    eh.step(116, [&] { SetupScrollbars(); });
}

void Form2::SetupScrollbars() {
    Picture1->moveTo(0, 0);
    ApplyScrollbarSetting(HScroll1, mHStep, ScrollbarFor(Picture1->outerWidth(), Picture2->outerWidth()));
    ApplyScrollbarSetting(VScroll1, mVStep, ScrollbarFor(Picture1->outerHeight(), Picture2->outerHeight()));
    PlacePictureByBars();
}

void Form2::PlacePictureByBars() {
    Picture1->moveTo(ScrolledOffset(mHStep, HScroll1->value()), ScrolledOffset(mVStep, VScroll1->value()));
}

void Form2::ZoomStep(int32_t direction) {
    float factor = direction == 0 ? mZoom + kZoomIncrement : mZoom - kZoomIncrement;
    SetZoom(factor);
}

void Form2::SetZoom(float& factor) {
    if (factor < kMinZoom || factor > kMaxZoom) return;
    mZoom = factor;
    RedrawImage();
}

void Form2::PushButton1_Click() {
    ErrorHandler eh(QStringLiteral("Form2.PushButton1_Click"));
    eh.step(100, [&] { ZoomStep(0); });
}

void Form2::PushButton2_Click() {
    ErrorHandler eh(QStringLiteral("Form2.PushButton2_Click"));
    eh.step(100, [&] { ZoomStep(1); });
}

void Form2::HScroll1_Change() { Picture1->moveTo(ScrolledOffset(mHStep, HScroll1->value()), Picture1->top()); }

void Form2::VScroll1_Change() { Picture1->moveTo(Picture1->left(), ScrolledOffset(mVStep, VScroll1->value())); }

void Form2::picture1_MouseDown(QPointF position) {
    ErrorHandler eh(QStringLiteral("Form2.picture1_MouseDown"));
    eh.step(100, [&] { mStartX = static_cast<float>(position.x()); });
    eh.step(102, [&] { mStartY = static_cast<float>(position.y()); });
}

void Form2::picture1_MouseMove(Qt::MouseButtons buttons, QPointF position) {
    ErrorHandler eh(QStringLiteral("Form2.picture1_MouseMove"));
    if (buttons == Qt::NoButton) return;
    float left = 0.0f;
    float top = 0.0f;
    eh.step(104, [&] {
        left = PannedOffset(static_cast<float>(Picture1->left()) - mStartX + static_cast<float>(position.x()),
                            Picture2->innerWidth(), Picture1->outerWidth());
    });
    eh.step(114, [&] {
        top = PannedOffset(static_cast<float>(Picture1->top()) - mStartY + static_cast<float>(position.y()),
                           Picture2->innerHeight(), Picture1->outerHeight());
    });
    eh.step(124, [&] { Picture1->moveTo(RoundedTwips(left), RoundedTwips(top)); });
}

void Form2::Picture1_MouseUp() {
    ErrorHandler eh(QStringLiteral("Form2.Picture1_MouseUp"));
    std::optional<int16_t> horizontal;
    std::optional<int16_t> vertical;
    eh.step(100,
            [&] { horizontal = ReleasePercent(Picture1->left(), Picture1->outerWidth(), Picture2->outerWidth()); });
    eh.step(102, [&] { vertical = ReleasePercent(Picture1->top(), Picture1->outerHeight(), Picture2->outerHeight()); });
    // Where picture and viewport are equally wide there is no percentage: that bar stays as it is.
    // The drag may end a little past the bar's end (the bounds use the viewport's inner size):
    // that is the end.
    if (horizontal) eh.step(104, [&] { SetHScrollbarByPercent(HScroll1, std::min(*horizontal, kFullTravel)); });
    if (vertical) eh.step(106, [&] { SetVScrollbarByPercent(VScroll1, std::min(*vertical, kFullTravel)); });
    // The picture settles where the bars say, also where a bar's value did not change.
    eh.step(108, [&] { PlacePictureByBars(); });
}

void Form2::SetHScrollbarByPercent(QScrollBar* HScrollbar, int16_t percent) { ApplyPercent(HScrollbar, percent); }

void Form2::SetVScrollbarByPercent(QScrollBar* VScrollbar, int16_t percent) { ApplyPercent(VScrollbar, percent); }

bool Form2::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Picture1 || watched == Picture2 || watched == HScroll1 || watched == VScroll1)
        return event->type() == QEvent::Wheel ? viewportWheel(watched, static_cast<QWheelEvent*>(event))
                                              : QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::MouseMove && mPointer.kind() != kPointerHourglass)
        mPointer.setKind(watched == Frame1 ? kPointerDefault : kPointerCustom);
    return QWidget::eventFilter(watched, event);
}

void Form2::mouseMoveEvent(QMouseEvent* event) {
    if (mPointer.kind() != kPointerHourglass) mPointer.setKind(kPointerDefault);
    event->accept();
}
