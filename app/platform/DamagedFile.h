// Sets a stored file that could not be read aside under a name that says so,
// beside it, so that writing a new one loses nothing of the user's: "name.ext"
// becomes "name.damaged-<local date and time>.ext", or that name with "-2",
// "-3"… when it is taken, since an earlier kept file is never replaced.
// Whatever stands at the path is renamed as it is: its bytes are kept whole,
// and a FIFO or a link is kept as one. Reentrant; errors are errno values.
#pragma once

#include <QDateTime>
#include <QString>

#include "result.hpp"

// The path the file now has.
quelmaris::Result<QString, int> setDamagedFileAside(const QString& path, const QDateTime& now);
