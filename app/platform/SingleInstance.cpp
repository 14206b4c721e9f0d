#include "platform/SingleInstance.h"

#include <sys/stat.h>

#include <QCryptographicHash>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QVariantMap>
#include <algorithm>
#include <cstdio>

namespace {

const QString applicationId = QStringLiteral(QUELMARIS_APPLICATION_ID);
const QString interfaceName = QStringLiteral("org.freedesktop.Application");
// The object path that the freedesktop.org convention derives from the id.
const QString objectPath = u'/' + QString(applicationId).replace(u'.', u'/');
// The data folder as a path that does not depend on how it was spelled, the
// part that does not exist yet appended to its existing ancestor.
QString canonicalFolder(const QString& folder) {
  QFileInfo existing(QDir::cleanPath(QDir(folder).absolutePath()));
  QString missing;
  while (!existing.exists() && !existing.isRoot()) {
    missing.prepend(u'/' + existing.fileName());
    existing = QFileInfo(existing.path());
  }
  return QDir::cleanPath(existing.canonicalFilePath() + missing);
}

// Short enough for a bus name element; long enough that two data folders never meet.
QString folderKey(const QString& dataFolder) {
  const QByteArray digest = QCryptographicHash::hash(canonicalFolder(dataFolder).toUtf8(), QCryptographicHash::Sha256);
  return QString::fromLatin1(digest.toHex().left(16));
}

// In the data folder itself, beside the folder list it guards: every copy
// that would write that list finds it there, whatever runtime and temporary
// folders its environment names, on another machine with the same home too.
// The folder is made for the user alone when missing.
QString lockPath(const QString& dataFolder) {
  QDir().mkpath(QFileInfo(QDir::cleanPath(dataFolder)).path());
  ::mkdir(QFile::encodeName(dataFolder).constData(), S_IRWXU);
  return dataFolder + QStringLiteral("/folders.lock");
}

void tellUser(const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); }

// Answers the bus for the copy that runs.
class ApplicationInterface final : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

 public:
  using QObject::QObject;

 public slots:
  // The platform data (startup id and the like) is not needed to come forward.
  Q_SCRIPTABLE void Activate(const QVariantMap&) { emit activated(); }

 signals:
  void activated();
};

}  // namespace

SingleInstance::SingleInstance(const QString& dataFolder, const QDBusConnection& bus, QObject* parent)
    : QObject(parent),
      bus_(bus),
      key_(folderKey(dataFolder)),
      serviceName_(applicationId + QStringLiteral(".Home_") + key_),
      lock_(lockPath(dataFolder)) {}

SingleInstance::~SingleInstance() {
  if (!answering_) return;
  bus_.unregisterObject(objectPath);
  if (auto* daemon = bus_.interface()) daemon->unregisterService(serviceName_);
}

SingleInstance::Claim SingleInstance::claim() {
  const QDeadlineTimer deadline(handOverWait);
  for (;;) {
    // A lock that cannot be taken at all must not keep the user from the application.
    if (lock_.take() != InstanceLock::Outcome::HeldElsewhere) {
      answerLaunches();
      return Claim::Running;
    }
    if (!bus_.isConnected()) {
      tellUser(tr("Quelmaris is already running. Without a session bus its window cannot be brought forward."));
      return Claim::AlreadyRunning;
    }
    if (askRunningCopy(deadline)) return Claim::HandedOver;
    if (deadline.hasExpired()) {
      tellUser(tr("Quelmaris is already running, but it did not answer the request to bring its window forward."));
      return Claim::AlreadyRunning;
    }
    QThread::msleep(static_cast<unsigned long>(std::min<qint64>(100, deadline.remainingTime())));
  }
}

bool SingleInstance::askRunningCopy(const QDeadlineTimer& deadline) {
  QDBusMessage activate =
      QDBusMessage::createMethodCall(serviceName_, objectPath, interfaceName, QStringLiteral("Activate"));
  activate << QVariantMap();
  activate.setAutoStartService(false);
  // A copy that was stopped or hangs holds the name but never answers.
  const int timeout = static_cast<int>(std::max<qint64>(1, deadline.remainingTime()));
  return bus_.call(activate, QDBus::Block, timeout).type() == QDBusMessage::ReplyMessage;
}

void SingleInstance::answerLaunches() {
  if (answering_ || !bus_.isConnected()) return;
  auto* answering = new ApplicationInterface(this);
  connect(answering, &ApplicationInterface::activated, this, &SingleInstance::launchedAgain);
  answering_ = bus_.registerObject(objectPath, answering, QDBusConnection::ExportScriptableSlots);
  // A copy that held the name and is ending gives it up with its connection.
  if (answering_)
    bus_.interface()->registerService(serviceName_, QDBusConnectionInterface::QueueService,
                                      QDBusConnectionInterface::DontAllowReplacement);
}

#include "SingleInstance.moc"
