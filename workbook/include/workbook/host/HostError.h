// The host's one failure type, shared by the template fill, the host procedures and the
// generation run with its snapshot above them, which only add their own descriptions: a host
// operation that cannot be carried out, with a description the caller's error box can show ("The
// workbook could not be saved as "PATH": reason"). Engine and output failures met inside are
// turned into it with the file's name in front. The windows' error handler catches it; the batch
// front end turns it into a failed write.
#pragma once

#include <QString>

#include <stdexcept>

namespace host {

class HostError : public std::runtime_error {
public:
    explicit HostError(const QString& description) : std::runtime_error(description.toStdString()) {}
};

}  // namespace host
