#include "WholeValueTip.h"

#include "EntryField.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>

void WholeValueTip::attach(QLineEdit* cell) { new WholeValueTip(cell); }

WholeValueTip::WholeValueTip(QLineEdit* cell) : QObject(cell), m_cell(cell) {
    setObjectName(QStringLiteral("WholeValueTip"));
    cell->installEventFilter(this);
    connect(cell, &QLineEdit::textChanged, this, &WholeValueTip::measure);
    measure();
}

// Made on first use: most cells never show a tip, and a window each would slow the start.
QLabel* WholeValueTip::tip() {
    if (m_tip) return m_tip;
    m_tip = new QLabel(m_cell, Qt::ToolTip);
    m_tip->setObjectName(QStringLiteral("WholeValueTip"));
    m_tip->setForegroundRole(QPalette::ToolTipText);
    m_tip->setBackgroundRole(QPalette::ToolTipBase);
    m_tip->setAutoFillBackground(true);
    m_tip->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_tip->setMargin(1);
    m_tip->setAttribute(Qt::WA_ShowWithoutActivating);
    return m_tip;
}

bool WholeValueTip::tooNarrow(const QLineEdit* cell) { return !cell->text().isEmpty() && !EntryField::fitsWhole(cell); }

QLabel* WholeValueTip::shownTip(const QLineEdit* cell) {
    const auto* tip = cell->findChild<WholeValueTip*>(QStringLiteral("WholeValueTip"), Qt::FindDirectChildrenOnly);
    return tip && tip->m_tip && tip->m_tip->isVisible() ? tip->m_tip : nullptr;
}

bool WholeValueTip::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Resize:
    case QEvent::FontChange:
    case QEvent::StyleChange: measure(); break;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::Move:
    case QEvent::Hide: place(); break;
    default: break;
    }
    return false;
}

void WholeValueTip::measure() {
    // A hidden cell is measured when it shows, once its style has been polished.
    if (!m_cell->isVisible()) return;
    m_narrow = tooNarrow(m_cell);
    const QString toolTip = m_narrow ? m_cell->text() : QString();
    if (m_cell->toolTip() != toolTip) m_cell->setToolTip(toolTip);
    place();
}

void WholeValueTip::place() {
    if (!m_narrow || !m_cell->hasFocus() || !m_cell->isVisible()) {
        if (m_tip) m_tip->hide();
        return;
    }
    QLabel* shown = tip();
    shown->setFont(m_cell->font());
    shown->setText(m_cell->text());
    shown->adjustSize();
    // Centred under the cell, as the cell centres its text.
    const QPoint below = m_cell->mapToGlobal(QPoint(m_cell->width() / 2, m_cell->height()));
    shown->move(below.x() - shown->width() / 2, below.y());
    shown->show();
}
