#include "forms/exit_keys.h"

#include <gtest/gtest.h>

namespace olm {
namespace {

class ExitKeysTest : public ::testing::Test {
 protected:
  ExitKeysTest() { ResetExitKeyState(); }
  ~ExitKeysTest() override { ResetExitKeyState(); }
};

TEST_F(ExitKeysTest, AppendsMapsAndRemovesKeys) {
  SetExitKeys("EA", "d,1B,4800=f00,,3b00");
  EXPECT_EQ(ExitKeys().Keys, (std::vector<int16_t>{0x0d, 0x1b, 0x4800, 0, 0x3b00}));
  EXPECT_EQ(ExitKeys().Reported, (std::vector<int16_t>{0x0d, 0x1b, 0x0f00, 0, 0x3b00}));
  int16_t reported = 0;
  EXPECT_TRUE(FindExitKey(0x4800, reported));
  EXPECT_EQ(reported, 0x0f00);
  SetExitKeys("d", "4800,5000");
  EXPECT_FALSE(FindExitKey(0x4800, reported));
  EXPECT_EQ(ExitKeys().Keys.size(), 4u);
  SetExitKeys("a", "8500");
  EXPECT_TRUE(FindExitKey(int16_t(0x8500), reported)) << "a negative 16-bit code";
}

TEST_F(ExitKeysTest, OneSlotSavesTheTableAcrossANestedUse) {
  SetExitKeys("ea", "d");
  SetExitKeys("+ea", "1b");
  SetExitKeys("+ea", "4800");  // the slot is taken: nothing saved
  EXPECT_EQ(ExitKeys().Keys, (std::vector<int16_t>{0x4800}));
  SetExitKeys("-", "");
  EXPECT_EQ(ExitKeys().Keys, (std::vector<int16_t>{0x0d})) << "the first save comes back";
  SetExitKeys("-", "");
  EXPECT_EQ(ExitKeys().Keys, (std::vector<int16_t>{0x0d})) << "an empty slot changes nothing";
}

TEST_F(ExitKeysTest, HAndVHideAndShowTyping) {
  SetExitKeys("h", "");
  EXPECT_EQ(MaskCharacter(), 88);
  SetExitKeys("xV", "");
  EXPECT_EQ(MaskCharacter(), 0);
}

}  // namespace
}  // namespace olm
