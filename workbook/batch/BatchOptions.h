// The front end's command line: what it is asked to do, and its help text.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

struct BatchOptions {
    enum class Action { Run, Help, Version };
    Action action = Action::Run;

    QString locale;           // empty: the environment's settings
    QString report;           // --report FILE ("-" for standard input)
    bool fromStore = false;   // --from-store
    QString xls;              // --xls FILE ("-" for standard output)
    QString picture;          // --picture FILE; with --out-dir only whether to write pictures
    bool pictures = false;
    QString outDir;           // --out-dir DIR: many reports, named by reports
    QStringList reports;
};

// Reads the arguments (without the program name). Throws BatchFailure (bad input) naming the
// first thing wrong.
BatchOptions ParseBatchOptions(const QStringList& arguments);

// The --help text: usage, options, input rules and exit codes (the manual page is made from it).
QString BatchHelpText();

// The --version text.
QString BatchVersionText();
