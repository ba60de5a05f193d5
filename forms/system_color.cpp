#include "forms/system_color.h"

namespace forms {

std::uint32_t ResolveColor(std::uint32_t color, const std::function<std::uint32_t(int index)>& systemColor) {
  if ((color >> 24) == 0xFF) return systemColor(static_cast<int>(color & 0xFF)) & 0xFFFFFFu;
  return color & 0xFFFFFFu;
}

}  // namespace forms
