// The product's name and the application title that boxes without a title of their own carry.
#pragma once

#include <QString>

inline const QString kProductName = QStringLiteral("Brindlemoor");

// The application title: the product name cut at its last space while it holds one and is too long.
QString TruncatedTitle(const QString& productName);
void SetAppTitle();
QString AppTitle();
