#include "PictureAccessibility.h"

#include "PictureBox.h"

#include <QAccessibleWidget>

namespace {

bool HoldsControls(PictureBox* box) {
    return box->clientArea() != box && !box->clientArea()->findChildren<QWidget*>().isEmpty();
}

class PictureAccessible : public QAccessibleWidget, public QAccessibleImageInterface {
public:
    explicit PictureAccessible(PictureBox* box) : QAccessibleWidget(box, QAccessible::Graphic) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ImageInterface) return static_cast<QAccessibleImageInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString imageDescription() const override { return text(QAccessible::Name); }
    QSize imageSize() const override { return widget()->size(); }
    QPoint imagePosition() const override { return widget()->mapToGlobal(QPoint(0, 0)); }
};

QAccessibleInterface* PictureBoxInterface(const QString& className, QObject* object) {
    auto* box = qobject_cast<PictureBox*>(object);
    if (!box || className != QLatin1String(object->metaObject()->className())) return nullptr;
    if (HoldsControls(box)) return new QAccessibleWidget(box, QAccessible::Pane);
    return new PictureAccessible(box);
}

}  // namespace

void ExposePictureBoxes() {
    [[maybe_unused]] static const bool installed = (QAccessible::installFactory(PictureBoxInterface), true);
}
