#include "folders/SubfolderListing.h"

#include <dirent.h>
#include <sys/stat.h>

#include <QFile>
#include <algorithm>
#include <vector>

#include "unique_dir.hpp"

namespace SubfolderListing {

namespace {

void sortByName(QStringList& names) {
  std::sort(names.begin(), names.end(),
            [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
}

}  // namespace

void list(const QString& folder, const Mailbox::Address& mailbox, std::function<void(const QStringList&)> answer) {
  runDetached([path = QFile::encodeName(folder), mailbox, answer = std::move(answer)] {
    const auto post = [&](QStringList names) {
      sortByName(names);
      mailbox.post([answer, names = std::move(names)] { answer(names); });
    };
    QStringList names;
    std::vector<QByteArray> unsure;
    if (const quelmaris::UniqueDir dir(::opendir(path.constData())); dir) {
      while (const dirent* entry = ::readdir(dir.get())) {
        if (entry->d_name[0] == '.') continue;
        if (entry->d_type == DT_DIR)
          names.append(QFile::decodeName(entry->d_name));
        else if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN)
          unsure.emplace_back(entry->d_name);
      }
    }
    post(names);
    if (unsure.empty()) return;
    for (const QByteArray& name : unsure) {
      struct stat facts {};
      if (::stat((path + '/' + name).constData(), &facts) == 0 && S_ISDIR(facts.st_mode))
        names.append(QFile::decodeName(name));
    }
    post(names);
  });
}

}  // namespace SubfolderListing
