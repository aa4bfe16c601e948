#include "report/WholeValueTip.h"

#include "report/EntryField.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>

void WholeValueTip::attach(QLineEdit* cell) { new WholeValueTip(cell); }

WholeValueTip::WholeValueTip(QLineEdit* cell) : QObject(cell), m_cell(cell), m_tip(new QLabel(cell, Qt::ToolTip)) {
    setObjectName(QStringLiteral("WholeValueTip"));
    m_tip->setObjectName(QStringLiteral("WholeValueTip"));
    m_tip->setForegroundRole(QPalette::ToolTipText);
    m_tip->setBackgroundRole(QPalette::ToolTipBase);
    m_tip->setAutoFillBackground(true);
    m_tip->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_tip->setMargin(1);
    m_tip->setAttribute(Qt::WA_ShowWithoutActivating);
    cell->installEventFilter(this);
    connect(cell, &QLineEdit::textChanged, this, &WholeValueTip::update);
    update();
}

bool WholeValueTip::tooNarrow(const QLineEdit* cell) { return !EntryField::fitsWhole(cell); }

QLabel* WholeValueTip::shownTip(const QLineEdit* cell) {
    const auto* tip = cell->findChild<WholeValueTip*>(QStringLiteral("WholeValueTip"), Qt::FindDirectChildrenOnly);
    return tip && tip->m_tip->isVisible() ? tip->m_tip : nullptr;
}

bool WholeValueTip::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::Resize:
    case QEvent::Move:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::FontChange:
    case QEvent::StyleChange: update(); break;
    default: break;
    }
    return false;
}

void WholeValueTip::update() {
    const bool narrow = tooNarrow(m_cell);
    m_cell->setToolTip(narrow ? m_cell->text() : QString());
    if (!narrow || !m_cell->hasFocus() || !m_cell->isVisible()) {
        m_tip->hide();
        return;
    }
    m_tip->setFont(m_cell->font());
    m_tip->setText(m_cell->text());
    m_tip->adjustSize();
    // Centred under the cell, as the cell centres its text.
    const QPoint below = m_cell->mapToGlobal(QPoint(m_cell->width() / 2, m_cell->height()));
    m_tip->move(below.x() - m_tip->width() / 2, below.y());
    m_tip->show();
}
