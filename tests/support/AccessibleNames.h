// What a screen reader finds in a window: every focusable control must have a name of its own.
#pragma once

#include <QAccessible>
#include <QObject>
#include <QString>

#include <gtest/gtest.h>

#include <set>
#include <vector>

inline void CollectAccessible(QAccessibleInterface* node, std::vector<QAccessibleInterface*>& into) {
    into.push_back(node);
    for (int i = 0; i < node->childCount(); ++i)
        if (QAccessibleInterface* child = node->child(i)) CollectAccessible(child, into);
}

// Walks the window's accessible tree, expects a distinct non-empty name on every focusable
// control, and returns those names.
inline std::set<QString> ExpectFocusableControlsNamedOnce(QObject* window) {
    std::vector<QAccessibleInterface*> nodes;
    CollectAccessible(QAccessible::queryAccessibleInterface(window), nodes);
    std::set<QString> names;
    for (QAccessibleInterface* node : nodes) {
        if (!node->state().focusable) continue;
        const QString name = node->text(QAccessible::Name);
        EXPECT_FALSE(name.isEmpty()) << node->object()->objectName().toStdString() << " has no name";
        EXPECT_TRUE(names.insert(name).second) << name.toStdString() << " is named twice";
    }
    return names;
}
