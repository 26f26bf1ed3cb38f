#include "platform/media_remote_dbus.h"

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QTimer>
#include <QVariantMap>

namespace platform {
namespace {

constexpr const char* kObjectPath = "/org/mpris/MediaPlayer2";
constexpr const char* kRootInterface = "org.mpris.MediaPlayer2";
constexpr const char* kPlayerInterface = "org.mpris.MediaPlayer2.Player";
constexpr const char* kNoTrack = "/org/mpris/MediaPlayer2/TrackList/NoTrack";

QStringList ToStringList(const std::vector<std::string>& items) {
  QStringList list;
  for (const std::string& item : items) list << QString::fromStdString(item);
  return list;
}

void Call(const std::function<void()>& request) {
  if (request) request();
}

}  // namespace

std::vector<std::string> ChangedPlayerProperties(const MediaRemoteStatus& before, const MediaRemoteStatus& after) {
  std::vector<std::string> names;
  auto note = [&](bool differs, const char* name) {
    if (differs) names.emplace_back(name);
  };
  note(before.playbackStatus != after.playbackStatus, "PlaybackStatus");
  note(before.trackId != after.trackId || before.lengthUs != after.lengthUs || before.title != after.title ||
           before.url != after.url,
       "Metadata");
  note(before.volume != after.volume, "Volume");
  note(before.canPlay != after.canPlay, "CanPlay");
  note(before.canPause != after.canPause, "CanPause");
  note(before.canSeek != after.canSeek, "CanSeek");
  note(before.canGoNext != after.canGoNext, "CanGoNext");
  note(before.canGoPrevious != after.canGoPrevious, "CanGoPrevious");
  note(before.rate != after.rate, "Rate");
  return names;
}

std::vector<std::string> ChangedRootProperties(const MediaRemoteStatus& before, const MediaRemoteStatus& after) {
  if (before.fullScreen == after.fullScreen) return {};
  return {"Fullscreen"};
}

// The object published at /org/mpris/MediaPlayer2; its two adaptors answer
// from the state kept here.
struct MediaRemoteBus::Object : QObject {
  MediaRemoteIdentity identity;
  MediaRemoteRequests requests;
  MediaRemoteRates rates;
  MediaRemoteStatus status;
  QDBusConnection bus{QString()};
  QString service;
  QObject* root = nullptr;    // the root adaptor
  QObject* player = nullptr;  // the Player adaptor

  // PropertiesChanged of one interface with the current values of names.
  void AnnounceChanged(const char* interface, QObject* adaptor, const std::vector<std::string>& names) {
    if (names.empty()) return;
    QVariantMap values;
    for (const std::string& name : names) values[QString::fromStdString(name)] = adaptor->property(name.c_str());
    QDBusMessage signal = QDBusMessage::createSignal(kObjectPath, "org.freedesktop.DBus.Properties", "PropertiesChanged");
    signal << QString(interface) << values << QStringList();
    bus.send(signal);
  }

  QVariantMap Metadata() const {
    QVariantMap metadata;
    metadata["mpris:trackid"] =
        QVariant::fromValue(QDBusObjectPath(QString::fromStdString(status.trackId.empty() ? kNoTrack : status.trackId)));
    if (status.trackId.empty()) return metadata;
    if (status.lengthUs > 0) metadata["mpris:length"] = static_cast<qlonglong>(status.lengthUs);
    if (!status.title.empty()) metadata["xesam:title"] = QString::fromStdString(status.title);
    if (!status.url.empty()) metadata["xesam:url"] = QString::fromStdString(status.url);
    return metadata;
  }
};

class MediaRemoteRootAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
  Q_PROPERTY(bool CanQuit READ CanQuit)
  Q_PROPERTY(bool CanRaise READ CanRaise)
  Q_PROPERTY(bool Fullscreen READ Fullscreen WRITE SetFullscreen)
  Q_PROPERTY(bool CanSetFullscreen READ CanSetFullscreen)
  Q_PROPERTY(bool HasTrackList READ HasTrackList)
  Q_PROPERTY(QString Identity READ Identity)
  Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
  Q_PROPERTY(QStringList SupportedUriSchemes READ SupportedUriSchemes)
  Q_PROPERTY(QStringList SupportedMimeTypes READ SupportedMimeTypes)

 public:
  explicit MediaRemoteRootAdaptor(MediaRemoteBus::Object* object) : QDBusAbstractAdaptor(object), object_(object) {}

  bool CanQuit() const { return true; }
  bool CanRaise() const { return true; }
  bool Fullscreen() const { return object_->status.fullScreen; }
  void SetFullscreen(bool on) {
    if (object_->requests.setFullScreen) object_->requests.setFullScreen(on);
  }
  bool CanSetFullscreen() const { return static_cast<bool>(object_->requests.setFullScreen); }
  bool HasTrackList() const { return false; }
  QString Identity() const { return QString::fromStdString(object_->identity.identity); }
  QString DesktopEntry() const { return QString::fromStdString(object_->identity.desktopEntry); }
  QStringList SupportedUriSchemes() const { return ToStringList(object_->identity.uriSchemes); }
  QStringList SupportedMimeTypes() const { return ToStringList(object_->identity.mimeTypes); }

 public slots:
  void Raise() { Call(object_->requests.raise); }
  // Later, from the event loop: quitting ends the window that owns this object.
  void Quit() { QTimer::singleShot(0, object_, [quit = object_->requests.quit] { Call(quit); }); }

 private:
  MediaRemoteBus::Object* object_;
};

class MediaRemotePlayerAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
  Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
  Q_PROPERTY(double Rate READ Rate WRITE SetRate)
  Q_PROPERTY(double MinimumRate READ MinimumRate)
  Q_PROPERTY(double MaximumRate READ MaximumRate)
  Q_PROPERTY(QVariantMap Metadata READ Metadata)
  Q_PROPERTY(double Volume READ Volume WRITE SetVolume)
  Q_PROPERTY(qlonglong Position READ Position)
  Q_PROPERTY(bool CanGoNext READ CanGoNext)
  Q_PROPERTY(bool CanGoPrevious READ CanGoPrevious)
  Q_PROPERTY(bool CanPlay READ CanPlay)
  Q_PROPERTY(bool CanPause READ CanPause)
  Q_PROPERTY(bool CanSeek READ CanSeek)
  Q_PROPERTY(bool CanControl READ CanControl)

 public:
  explicit MediaRemotePlayerAdaptor(MediaRemoteBus::Object* object) : QDBusAbstractAdaptor(object), object_(object) {}

  QString PlaybackStatus() const { return QString::fromStdString(object_->status.playbackStatus); }
  double Rate() const { return object_->status.rate; }
  void SetRate(double rate) {
    if (object_->requests.setRate) object_->requests.setRate(rate);
  }
  double MinimumRate() const { return object_->rates.minimum; }
  double MaximumRate() const { return object_->rates.maximum; }
  QVariantMap Metadata() const { return object_->Metadata(); }
  double Volume() const { return object_->status.volume; }
  void SetVolume(double volume) {
    if (object_->requests.setVolume) object_->requests.setVolume(volume);
  }
  qlonglong Position() const { return object_->status.positionUs; }
  bool CanGoNext() const { return object_->status.canGoNext; }
  bool CanGoPrevious() const { return object_->status.canGoPrevious; }
  bool CanPlay() const { return object_->status.canPlay; }
  bool CanPause() const { return object_->status.canPause; }
  bool CanSeek() const { return object_->status.canSeek; }
  bool CanControl() const { return true; }

 public slots:
  void Next() { Call(object_->requests.next); }
  void Previous() { Call(object_->requests.previous); }
  void Pause() { Call(object_->requests.pause); }
  void PlayPause() { Call(object_->requests.playPause); }
  void Stop() { Call(object_->requests.stop); }
  void Play() { Call(object_->requests.play); }
  void Seek(qlonglong Offset) {
    if (object_->requests.seek) object_->requests.seek(Offset);
  }
  void SetPosition(const QDBusObjectPath& TrackId, qlonglong Position) {
    if (object_->requests.setPosition) object_->requests.setPosition(TrackId.path().toStdString(), Position);
  }
  void OpenUri(const QString& Uri) {
    if (object_->requests.openUri) object_->requests.openUri(Uri.toStdString());
  }

 signals:
  void Seeked(qlonglong Position);

 private:
  MediaRemoteBus::Object* object_;
};

MediaRemoteBus::MediaRemoteBus(const std::string& name, MediaRemoteIdentity identity, MediaRemoteRequests requests,
                               MediaRemoteRates rates) {
  // No session bus announced: nobody to serve (and no bus daemon to launch).
  if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return;
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return;
  auto object = std::make_unique<Object>();
  object->identity = std::move(identity);
  object->requests = std::move(requests);
  object->rates = rates;
  object->bus = bus;
  object->root = new MediaRemoteRootAdaptor(object.get());
  object->player = new MediaRemotePlayerAdaptor(object.get());
  if (!bus.registerObject(kObjectPath, object.get(), QDBusConnection::ExportAdaptors)) return;
  // A name already held (another player session on this bus) gets the
  // per-process suffix the desktop's controls also look for.
  QString service = "org.mpris.MediaPlayer2." + QString::fromStdString(name);
  if (!bus.registerService(service)) {
    service += ".instance" + QString::number(QCoreApplication::applicationPid());
    if (!bus.registerService(service)) {
      bus.unregisterObject(kObjectPath);
      return;
    }
  }
  object->service = service;
  object_ = std::move(object);
}

MediaRemoteBus::~MediaRemoteBus() {
  if (!object_) return;
  object_->bus.unregisterService(object_->service);
  object_->bus.unregisterObject(kObjectPath);
}

bool MediaRemoteBus::Published() const { return object_ != nullptr; }

std::string MediaRemoteBus::ServiceName() const { return object_ ? object_->service.toStdString() : std::string(); }

void MediaRemoteBus::Show(const MediaRemoteStatus& status) {
  if (!object_) return;
  const std::vector<std::string> player = ChangedPlayerProperties(object_->status, status);
  const std::vector<std::string> root = ChangedRootProperties(object_->status, status);
  object_->status = status;
  object_->AnnounceChanged(kPlayerInterface, object_->player, player);
  object_->AnnounceChanged(kRootInterface, object_->root, root);
}

void MediaRemoteBus::AnnounceSeek(std::int64_t positionUs) {
  if (!object_) return;
  object_->status.positionUs = positionUs;
  emit static_cast<MediaRemotePlayerAdaptor*>(object_->player)->Seeked(positionUs);
}

}  // namespace platform

#include "media_remote_dbus.moc"
