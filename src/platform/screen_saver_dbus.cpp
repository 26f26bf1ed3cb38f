#include "platform/screen_saver.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace platform {
namespace {

constexpr const char* kService = "org.freedesktop.ScreenSaver";
constexpr const char* kPath = "/org/freedesktop/ScreenSaver";
constexpr int kCallTimeoutMs = 1000;  // a hung desktop service must not hold up the player

QDBusMessage Call(const char* method, const QVariantList& arguments, QDBus::CallMode mode) {
  // No session bus announced: nothing to tell (and no bus daemon to launch).
  if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return {};
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return {};
  QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, kService, method);
  message.setArguments(arguments);
  if (mode == QDBus::NoBlock) {
    bus.send(message);
    return {};
  }
  return bus.call(message, QDBus::Block, kCallTimeoutMs);
}

}  // namespace

bool ScreenSaverInhibitor::Inhibit() {
  if (cookie_ != 0) return true;
  const QDBusMessage reply = Call("Inhibit", {QString("Kinovue"), QString("正在播放")}, QDBus::Block);
  if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
    cookie_ = reply.arguments().first().toUInt();
  return cookie_ != 0;
}

void ScreenSaverInhibitor::Release() {
  if (cookie_ == 0) return;
  Call("UnInhibit", {cookie_}, QDBus::Block);
  cookie_ = 0;
}

void ScreenSaverInhibitor::SimulateActivity() { Call("SimulateUserActivity", {}, QDBus::NoBlock); }

}  // namespace platform
