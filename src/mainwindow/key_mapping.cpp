#include "mainwindow/key_mapping.h"

#include <array>
#include <utility>

#include "platform/key_state.h"

using namespace platform;

namespace {

// Keys whose code does not follow from a range.
constexpr std::array<std::pair<int, unsigned>, 32> kMainKeys{{
    {Qt::Key_Space, VK_SPACE},      {Qt::Key_Return, VK_RETURN},     {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Escape, VK_ESCAPE},    {Qt::Key_Tab, VK_TAB},           {Qt::Key_Backspace, VK_BACK},
    {Qt::Key_Left, VK_LEFT},        {Qt::Key_Right, VK_RIGHT},       {Qt::Key_Up, VK_UP},
    {Qt::Key_Down, VK_DOWN},        {Qt::Key_PageUp, VK_PRIOR},      {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_Home, VK_HOME},        {Qt::Key_End, VK_END},           {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},    {Qt::Key_Pause, VK_PAUSE},       {Qt::Key_Slash, VK_OEM_2},
    {Qt::Key_Question, VK_OEM_2},   {Qt::Key_Period, VK_OEM_PERIOD}, {Qt::Key_Greater, VK_OEM_PERIOD},
    {Qt::Key_Comma, VK_OEM_COMMA},  {Qt::Key_Less, VK_OEM_COMMA},    {Qt::Key_Semicolon, VK_OEM_1},
    {Qt::Key_Colon, VK_OEM_1},      {Qt::Key_Equal, VK_OEM_PLUS},    {Qt::Key_Plus, VK_OEM_PLUS},
    {Qt::Key_Minus, VK_OEM_MINUS},  {Qt::Key_Underscore, VK_OEM_MINUS},
    // The "[" and "]" rows of the key table carry 0x5B and 0x5D; "{" and
    // "}" (Shift with them) are the window's speed keys.
    {Qt::Key_BracketLeft, VK_LWIN}, {Qt::Key_BracketRight, VK_APPS}, {Qt::Key_CapsLock, VK_CAPITAL},
}};

// Shift+digit on a US layout, back to the digit.
constexpr std::array<std::pair<int, char>, 10> kShiftedDigits{{
    {Qt::Key_ParenRight, '0'}, {Qt::Key_Exclam, '1'}, {Qt::Key_At, '2'}, {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'}, {Qt::Key_Percent, '5'}, {Qt::Key_AsciiCircum, '6'}, {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'}, {Qt::Key_ParenLeft, '9'},
}};

unsigned KeypadKey(int qtKey) {
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return VK_NUMPAD0 + static_cast<unsigned>(qtKey - Qt::Key_0);
  switch (qtKey) {
    case Qt::Key_Plus: return VK_ADD;
    case Qt::Key_Minus: return VK_SUBTRACT;
    case Qt::Key_Asterisk: return VK_MULTIPLY;
    case Qt::Key_Slash: return VK_DIVIDE;
    case Qt::Key_Period: return VK_DECIMAL;
    case Qt::Key_Enter: return VK_RETURN;
    default: return 0;
  }
}

}  // namespace

unsigned VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::KeypadModifier) {
    if (const unsigned vk = KeypadKey(qtKey)) return vk;
  }
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return static_cast<unsigned>('A' + (qtKey - Qt::Key_A));
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return static_cast<unsigned>('0' + (qtKey - Qt::Key_0));
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return VK_F1 + static_cast<unsigned>(qtKey - Qt::Key_F1);
  for (const auto& [key, digit] : kShiftedDigits)
    if (key == qtKey) return static_cast<unsigned>(digit);
  for (const auto& [key, vk] : kMainKeys)
    if (key == qtKey) return vk;
  return 0;
}

