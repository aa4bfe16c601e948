// The front end's command line: what it is asked to do, and its help text.
#pragma once

#include <QString>
#include <QStringList>

struct BatchOptions {
    enum class Action { Run, Help, Version };
    Action action = Action::Run;

    QString locale;          // empty: the environment's settings
    QString report;          // --report FILE ("-" for standard input)
    bool fromStore = false;  // --from-store
    QString xls;             // --xls FILE ("-" for standard output)
    bool xlsGiven = false;   // --xls given (with --out-dir it takes no file name)
    QString xlsx;            // --xlsx FILE ("-" for standard output)
    bool xlsxGiven = false;  // --xlsx given (with --out-dir it takes no file name)
    QString picture;         // --picture FILE ("-" for standard output)
    bool pictures = false;   // --picture given (with --out-dir it takes no file name)
    QString pdf;             // --pdf FILE ("-" for standard output)
    bool pdfs = false;       // --pdf given (with --out-dir it takes no file name)
    QString outDir;          // --out-dir DIR: many reports, named by reports
    QStringList reports;
};

// Reads the arguments (without the program name). Throws BatchFailure (bad input) naming the
// first thing wrong.
BatchOptions ParseBatchOptions(const QStringList& arguments);

// The --help text: usage, options, input rules and exit codes (the manual page is made from it).
QString BatchHelpText();

// The --version text.
QString BatchVersionText();
