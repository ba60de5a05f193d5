#include "forms/control_rules.h"

#include <algorithm>
#include <numeric>

namespace forms {

Bounds Anchored(Bounds child, Anchors anchors, int dw, int dh) {
  if (anchors & akRight) {
    if (anchors & akLeft) child.width += dw;
    else child.left += dw;
  }
  if (anchors & akBottom) {
    if (anchors & akTop) child.height += dh;
    else child.top += dh;
  }
  return child;
}

std::vector<std::optional<Bounds>> AlignedBounds(std::span<const AlignItem> children, int width, int height) {
  std::vector<std::optional<Bounds>> placed(children.size());
  int top = 0;
  for (std::size_t i = 0; i < children.size(); ++i) {
    if (children[i].align != Align::Top) continue;
    placed[i] = Bounds{0, top, width, children[i].height};
    if (children[i].visible) top += children[i].height;
  }
  for (std::size_t i = 0; i < children.size(); ++i) {
    if (children[i].align == Align::Client) placed[i] = Bounds{0, top, width, std::max(0, height - top)};
  }
  return placed;
}

std::vector<std::size_t> TabSequence(std::span<const int> tabOrders) {
  std::vector<std::size_t> sequence(tabOrders.size());
  std::iota(sequence.begin(), sequence.end(), std::size_t{0});
  std::stable_sort(sequence.begin(), sequence.end(),
                   [&](std::size_t a, std::size_t b) { return tabOrders[a] < tabOrders[b]; });
  return sequence;
}

std::vector<int> MoveInTabOrder(std::span<const int> tabOrders, std::size_t which, int order) {
  std::vector<std::size_t> sequence = TabSequence(tabOrders);
  std::erase(sequence, which);
  order = std::clamp(order, 0, static_cast<int>(sequence.size()));
  sequence.insert(sequence.begin() + order, which);
  std::vector<int> orders(tabOrders.size());
  for (std::size_t place = 0; place < sequence.size(); ++place) orders[sequence[place]] = static_cast<int>(place);
  return orders;
}

std::optional<std::size_t> NextTabStop(std::size_t count, std::optional<std::size_t> current, bool forward) {
  if (count == 0) return std::nullopt;
  if (!current || *current >= count) return forward ? 0 : count - 1;
  return forward ? (*current + 1) % count : (*current + count - 1) % count;
}

std::optional<std::size_t> GraphicAt(std::span<const HitItem> children, int x, int y) {
  for (std::size_t i = children.size(); i-- > 0;) {
    const HitItem& c = children[i];
    if (c.graphic && c.visible && c.enabled && c.bounds.Contains(x, y)) return i;
  }
  return std::nullopt;
}

ClickTarget ClickOnRelease(const Release& release) {
  if (!release.pressed || !release.inside) return ClickTarget::None;
  if (!release.pressedGraphic) return ClickTarget::Window;
  return release.graphicAtRelease == release.pressedGraphic ? ClickTarget::Graphic : ClickTarget::None;
}

}  // namespace forms
