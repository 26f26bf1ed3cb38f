#include "mainwindow/key_routing.h"

#include "mainwindow/command_table.h"
#include "mainwindow/key_mapping.h"
#include "platform/key_state.h"

KeyRoute RouteKeyPress(int qtKey, Qt::KeyboardModifiers modifiers, const platform::KeyState* keys) {
  const unsigned vk = VirtualKeyFromQt(qtKey, modifiers);
  const bool control = modifiers & Qt::ControlModifier;
  const bool alt = modifiers & Qt::AltModifier;
  if (const int id = AcceleratorCommand(vk, control, alt, modifiers & Qt::ShiftModifier))
    return {KeyRoute::To::Command, id};
  if (!(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
    if (const int id = WindowKeyCommand(qtKey)) return {KeyRoute::To::Command, id};
  // Escape never closes the window.
  if (vk == platform::VK_ESCAPE) return {KeyRoute::To::LeaveFullScreen};
  // A capital T (exactly one of the Shifts or Caps Lock) is the window's; a
  // lower-case t moves the subtitles.
  if (vk == 'T' && !control && !alt && keys) {
    const int capitals =
        int(keys->IsDown(platform::VK_LSHIFT)) + int(keys->IsDown(platform::VK_RSHIFT)) + int(keys->IsCapsLockOn());
    if (capitals == 1) return {KeyRoute::To::Command, ID_TOPMOST};
  }
  if (vk == 0) return {};
  return {KeyRoute::To::Engine, 0, vk};
}
