#include "app/WindowColours.h"

#include "app/ProgramFolders.h"
#include "SkinFramework.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QWidget>

namespace {

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

QString SkinPath() { return ProgramFile(QStringLiteral("x/o.cjs")); }

bool HasSkinFile() { return QFileInfo(SkinPath()).isFile(); }

}  // namespace

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
