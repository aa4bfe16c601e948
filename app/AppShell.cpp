#include "app/AppShell.h"

#include "app/ProgramFolders.h"
#include "app/SkinFramework.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QThread>
#include <QWidget>

#include <utility>

namespace {

QString& Title() {
    static QString title = kProductName;
    return title;
}

QPointer<QWidget>& FrozenWindow() {
    static QPointer<QWidget> frozen;
    return frozen;
}

bool& EndRequested() {
    static bool requested = false;
    return requested;
}

std::function<void()>& EndProgramHandler() {
    static std::function<void()> handler;
    return handler;
}

QString CutAtLastSpace(const QString& text) { return text.left(text.lastIndexOf(QLatin1Char(' '))); }

// The platform's colour for three-dimensional faces.
QColor FaceColour() { return QApplication::palette().color(QPalette::Active, QPalette::Button); }

void PaintBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// Widgets built from inner widgets (spin boxes, lists, calendars) count as one control.
bool IsCompositeControl(const QWidget* widget) {
    return qobject_cast<const QAbstractSpinBox*>(widget) || qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QAbstractScrollArea*>(widget) || qobject_cast<const QCalendarWidget*>(widget);
}

// Every control placed on the window, also those inside frames, but not the parts of a control.
QList<QWidget*> ControlsOf(QWidget* window) {
    QList<QWidget*> controls;
    QList<QWidget*> pending{window};
    while (!pending.isEmpty()) {
        QWidget* parent = pending.takeFirst();
        for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->isWindow()) continue;
            controls.append(child);
            if (!IsCompositeControl(child)) pending.append(child);
        }
    }
    return controls;
}

bool IsPictureBox(const QWidget* widget) {
    return widget->objectName().startsWith(QLatin1String("Picture"), Qt::CaseInsensitive);
}

bool TakesFormColour(const QWidget* widget) {
    return qobject_cast<const QCheckBox*>(widget) || qobject_cast<const QRadioButton*>(widget) ||
           qobject_cast<const QGroupBox*>(widget) || qobject_cast<const QLabel*>(widget);
}

// The grid's column titles keep their light grey under the skin.
bool IsGridColumnTitle(const QWidget* widget) {
    const QString name = widget->objectName();
    return name == QLatin1String("Label1") || name == QLatin1String("Label4") || name == QLatin1String("lblYear");
}

}  // namespace

QString TruncatedTitle(const QString& productName) {
    QString title = productName;
    if (title.contains(QLatin1Char(' '))) title = CutAtLastSpace(title);
    while (title.size() > 40 && title.contains(QLatin1Char(' '))) title = CutAtLastSpace(title);
    return title;
}

void SetAppTitle() { Title() = TruncatedTitle(kProductName); }

QString AppTitle() { return Title(); }

QIcon ApplicationIcon() {
    // The library is static: its resources must be named for the linker to keep them.
    Q_INIT_RESOURCE(ApplicationIcon);
    QIcon icon;
    // Sizes given, so no picture is read before a window asks for one.
    for (const int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/brindlemoor/icon-%1.png").arg(size), QSize(size, size));
    return icon;
}

QString SkinPath() { return ProgramFile(QStringLiteral("x/o.cjs")); }

bool HasSkinFile() { return QFileInfo(SkinPath()).isFile(); }

void ApplyMainSkin(QWidget* entryWindow) {
    if (!HasSkinFile()) return;
    const QString skinPath = SkinPath();
    const QColor face = FaceColour();
    PaintBackground(entryWindow, face);
    for (QWidget* control : ControlsOf(entryWindow)) {
        if (IsGridColumnTitle(control)) continue;
        if (TakesFormColour(control) || IsPictureBox(control)) PaintBackground(control, face);
    }
    SkinFramework skin;
    skin.loadSkin(skinPath, QString());
    skin.setApplyOptions(skin.applyOptions() | SkinFramework::kApplyWindowBackground);
    skin.setEnabled(true);
    skin.setRepaintOnApply(true);
    skin.applyWindow(entryWindow);
}

void ApplyFormColours(QWidget* window) {
    const QColor face = FaceColour();
    PaintBackground(window, face);
    for (QWidget* control : ControlsOf(window))
        if (TakesFormColour(control) && !IsPictureBox(control)) PaintBackground(control, face);
}

void LockWindowUpdate(QWidget* window) {
    QPointer<QWidget>& frozen = FrozenWindow();
    if (frozen) frozen->setUpdatesEnabled(true);
    frozen = window;
    if (window) window->setUpdatesEnabled(false);
}

void EndProgram() {
    EndRequested() = true;
    if (const auto& handler = EndProgramHandler()) {
        handler();
        return;
    }
    // Hidden windows get no close events, so no other window's close handling runs.
    for (QWidget* window : QApplication::topLevelWidgets()) window->hide();
    if (QThread::currentThread()->loopLevel() > 0) {
        QCoreApplication::exit(0);
    } else {
        // Before the event loop runs, exit() would be forgotten: the loop ends as soon as it starts.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    }
}

bool ProgramEndRequested() { return EndRequested(); }

void SetEndProgramHandler(std::function<void()> handler) { EndProgramHandler() = std::move(handler); }
