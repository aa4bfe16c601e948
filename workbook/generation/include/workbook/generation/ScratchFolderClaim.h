// A program killed outright (SIGKILL, a crash, a power cut) runs no code to remove its scratch
// files. Each running program therefore holds a shared claim on its scratch folder for as long as
// it runs, and a start that finds no other claim removes what the runs of earlier programs left
// there before it takes its own. The system drops a dead program's claim with the program.
#pragma once

#include <QString>

class ScratchFolderClaim {
public:
    // Claims folder, after removing the run files left in it when no running program claims it.
    // A folder that cannot be opened is not claimed; the run that needs it reports that.
    explicit ScratchFolderClaim(const QString& folder);
    ~ScratchFolderClaim();
    ScratchFolderClaim(const ScratchFolderClaim&) = delete;
    ScratchFolderClaim& operator=(const ScratchFolderClaim&) = delete;

private:
    int m_descriptor = -1;
};
