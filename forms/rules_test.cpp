#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "forms/shift_state.h"
#include "forms/system_color.h"

namespace forms {
namespace {

TEST(Colors, SystemColorsResolveThroughTheTable) {
  std::vector<int> asked;
  const auto table = [&asked](int index) -> std::uint32_t {
    asked.push_back(index);
    return index == 15 ? 0xF0F0F0 : 0x12A0B0C0;  // garbage top byte must not leak
  };
  struct Case { std::uint32_t color; std::uint32_t expected; int index; };
  const Case cases[] = {
      {0x00D79400, 0xD79400, -1},
      {0x00000000, 0x000000, -1},
      {0xFF00000F, 0xF0F0F0, 15},   // button face
      {0xFF000010, 0xA0B0C0, 16},   // button shadow
      {0x02123456, 0x123456, -1},   // not a system colour: its RGB part
  };
  for (const auto& c : cases) {
    asked.clear();
    EXPECT_EQ(ResolveColor(c.color, table), c.expected) << std::hex << c.color;
    if (c.index < 0) {
      EXPECT_TRUE(asked.empty()) << std::hex << c.color;
    } else {
      EXPECT_EQ(asked, std::vector<int>{c.index}) << std::hex << c.color;
    }
  }
}

TEST(Keys, ShiftStateFromTheKeyboardTable) {
  struct Case { std::vector<std::pair<int, std::uint8_t>> keys; unsigned shift; };
  const Case cases[] = {
      {{}, 0},
      {{{0x10, 0x80}}, ssShift},
      {{{0x10, 0x01}}, 0},  // toggled, not down
      {{{0x11, 0x81}, {0x12, 0x80}}, ssCtrl | ssAlt},
      {{{0x01, 0x80}, {0x02, 0xFF}, {0x04, 0x80}}, ssLeft | ssRight | ssMiddle},
      {{{0x0D, 0x80}, {0xA0, 0x80}}, 0},  // Enter and the left Shift's own code do not count
  };
  for (const auto& c : cases) {
    std::array<std::uint8_t, 256> table{};
    for (const auto& [vk, state] : c.keys) table[vk] = state;
    EXPECT_EQ(ShiftFromKeyboardState(table.data()), c.shift);
  }
}

}  // namespace
}  // namespace forms
