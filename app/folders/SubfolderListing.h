// The folders in a folder, listed on a thread of its own that nobody waits
// for, as a folder on a mount that stopped answering holds its listing in the
// kernel until it answers: the names come to the caller's mailbox when they
// come, sorted, hidden ones (a leading dot) left out. The folders the listing
// itself names come first; where it names links or entries of unknown kind,
// the list comes again once they have been looked at. A folder that cannot
// be read lists nothing.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "platform/Mailbox.h"

namespace SubfolderListing {

// answer runs on the mailbox's receiver thread, once or twice.
void list(const QString& folder, const Mailbox::Address& mailbox, std::function<void(const QStringList&)> answer);

}  // namespace SubfolderListing
