#include <gtest/gtest.h>

#include <QKeySequence>

#include "app/key_codes.h"

namespace orv {
namespace {

// The core keeps Qt's key values as plain numbers; each one against Qt's own.
TEST(KeyCodesQt, TheCoresQtNumbersAreQtsKeys) {
  EXPECT_EQ(kQtShift, int(Qt::ShiftModifier));
  EXPECT_EQ(kQtControl, int(Qt::ControlModifier));
  EXPECT_EQ(kQtAlt, int(Qt::AltModifier));
  EXPECT_EQ(kQtKeypad, int(Qt::KeypadModifier));
  const std::pair<const char*, int> kKeys[] = {
      {"VK_CANCEL", Qt::Key_Cancel},
      {"BACK", Qt::Key_Backspace},
      {"TAB", Qt::Key_Tab},
      {"VK_CLEAR", Qt::Key_Clear},
      {"RETURN", Qt::Key_Return},
      {"SHIFT", Qt::Key_Shift},
      {"CONTROL", Qt::Key_Control},
      {"MENU", Qt::Key_Alt},
      {"PAUSE", Qt::Key_Pause},
      {"CAPITAL", Qt::Key_CapsLock},
      {"ESCAPE", Qt::Key_Escape},
      {"SPACE", Qt::Key_Space},
      {"PRIOR", Qt::Key_PageUp},
      {"NEXT", Qt::Key_PageDown},
      {"END", Qt::Key_End},
      {"HOME", Qt::Key_Home},
      {"LEFT", Qt::Key_Left},
      {"UP", Qt::Key_Up},
      {"RIGHT", Qt::Key_Right},
      {"DOWN", Qt::Key_Down},
      {"VK_SELECT", Qt::Key_Select},
      {"PRINT", Qt::Key_Printer},
      {"EXECUTE", Qt::Key_Execute},
      {"SNAPSHOT", Qt::Key_Print},
      {"INSERT", Qt::Key_Insert},
      {"DELETE", Qt::Key_Delete},
      {"VK_HELP", Qt::Key_Help},
      {"VK_LWIN", Qt::Key_Super_L},
      {"VK_RWIN", Qt::Key_Super_R},
      {"VK_APPS", Qt::Key_Menu},
      {"NUMLOCK", Qt::Key_NumLock},
      {"VK_SCROLL", Qt::Key_ScrollLock},
      {"VK_PLAY", Qt::Key_Play},
      {"VK_ZOOM", Qt::Key_Zoom},
      {"F1", Qt::Key_F1},
      {"F24", Qt::Key_F24},
      {"Q", Qt::Key_Q},
      {"7", Qt::Key_7},
      {";", Qt::Key_Semicolon},
      {"=", Qt::Key_Equal},
      {"`", Qt::Key_QuoteLeft},
      {"'", Qt::Key_Apostrophe},
      {"\\", Qt::Key_Backslash},
      {"[", Qt::Key_BracketLeft},
      {"NUMPAD7", Qt::KeypadModifier | Qt::Key_7},
      {"MULTIPLY", Qt::KeypadModifier | Qt::Key_Asterisk},
      {"SEPARATOR", Qt::KeypadModifier | Qt::Key_Comma},
      {"DIVIDE", Qt::KeypadModifier | Qt::Key_Slash},
  };
  for (const auto& [pName, nQt] : kKeys) {
    const auto combination = ParseCombination(pName);
    ASSERT_TRUE(combination) << pName;
    EXPECT_EQ(QtKeyOf(*combination), nQt) << pName;
  }
  const auto ctrlShiftS = ParseCombination("Ctrl+Shift+S");
  EXPECT_EQ(QKeySequence(*QtKeyOf(*ctrlShiftS)).toString(), "Ctrl+Shift+S");
}

}  // namespace
}  // namespace orv
