// The outputs of one piece of work (a workbook, its picture, ...) put in place all together or not
// at all: each is written to a temporary file beside its target, and only when every one is
// complete do they replace their targets. On any failure every target is left as it was.
#pragma once

#include "app/OutputTarget.h"

#include <QIODevice>
#include <QString>

#include <memory>
#include <vector>

class OutputSet {
public:
    OutputSet();
    ~OutputSet();
    OutputSet(const OutputSet&) = delete;
    OutputSet& operator=(const OutputSet&) = delete;

    // Joins an output at path ("-" for standard output) and returns the device its content is
    // written to, valid while the set lives. Throws OutputError for a target that may not be
    // replaced (see ResolveOutputTarget), one already in the set, or a temporary file that cannot
    // be made.
    QIODevice& join(const QString& path);

    // Puts every output in place. Throws OutputError, with every target as it was, when one of
    // them cannot be completed or put in place. Outputs not committed are removed with the set.
    void commit();

private:
    struct Output;
    std::vector<std::unique_ptr<Output>> m_outputs;
};
