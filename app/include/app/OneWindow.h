// One window per report: the first program started on a settings store serves it, and a later
// start on the same store brings that program's window (or its open box or dialog) to the front
// and ends, so that no window ever shows fields another has since changed.
#pragma once

#include <QString>

enum class StartRole {
    OnlyCopy,    // this program serves the store and brings its window forward when asked
    HandedOver,  // the program already serving the store was asked to show its window
    NoAnswer,    // a program serves the store but did not take the request
};

// Decides for the store file storeFile; call once the application object exists.
StartRole TakeOrHandOverTheWindow(const QString& storeFile);
