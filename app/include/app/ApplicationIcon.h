#pragma once

class QIcon;

// The product's own icon, as the desktop entry shows it.
QIcon ApplicationIcon();
