#pragma once

class QWidget;

// Stops the window from repainting; a null window resumes painting of the frozen one.
void LockWindowUpdate(QWidget* window);
