// Input that arrives while the program works on the one user-interface thread (a generation run)
// was meant for what the user saw before: it must not press a button of the window shown next.
#pragma once

#include <QObject>

// While one lives, keys, clicks and the wheel reach only a box that the work itself opened (its
// error reports); at its end, whatever arrived meanwhile is taken from the queue and dropped.
// From the first hold on, a window the program hides takes no input either.
class UserInputHold : public QObject {
public:
    UserInputHold();
    ~UserInputHold() override;
    UserInputHold(const UserInputHold&) = delete;
    UserInputHold& operator=(const UserInputHold&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
