#pragma once
// The control tree's rules that compute, apart from the windows they are applied to: where
// aligned and anchored children go, the tab order and Tab's way round it, and which control
// a mouse release clicks. control_tree.h applies them to its controls.
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace forms {

struct Bounds {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const Bounds&) const = default;
  bool Contains(int x, int y) const { return x >= left && x < left + width && y >= top && y < top + height; }
};

enum class Align { None, Top, Client };

// The edges of its parent that a control keeps its distance to when the parent resizes.
enum Anchor : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using Anchors = unsigned;

// Where an unaligned child goes when its parent grows by dw and dh (shrinks: negative):
// anchored to both edges of a side it stretches, to the far edge alone it moves.
Bounds Anchored(Bounds child, Anchors anchors, int dw, int dh);

// What aligning needs of a child, in creation order.
struct AlignItem {
  Align align = Align::None;
  int height = 0;
  bool visible = true;
};
// Each child's bounds in a parent of width x height, none for an unaligned child: children
// aligned to the top are stacked from the top in creation order, each as high as it is (a
// hidden one keeps its place but takes no room); client-aligned ones fill what is left.
std::vector<std::optional<Bounds>> AlignedBounds(std::span<const AlignItem> children, int width, int height);

// The places of the siblings (their tab orders given in creation order) in tab order: by
// tab order, equal ones in creation order.
std::vector<std::size_t> TabSequence(std::span<const int> tabOrders);
// The tab orders after sibling `which` is given `order`: it goes to that place (clamped to
// the siblings there are) and the others close up around it, so the orders run 0, 1, ....
std::vector<int> MoveInTabOrder(std::span<const int> tabOrders, std::size_t which, int order);
// Tab's next stop among `count` stops from `current` (none: the focus is on no stop):
// round from the last to the first, and back from the first to the last.
std::optional<std::size_t> NextTabStop(std::size_t count, std::optional<std::size_t> current, bool forward);

// What aiming the mouse at a graphic child needs of it, in creation (z) order.
struct HitItem {
  Bounds bounds;
  bool graphic = true;  // a windowed child gets the mouse through its own window
  bool visible = true;
  bool enabled = true;
};
// The topmost visible, enabled graphic child at (x, y), in the parent's coordinates.
std::optional<std::size_t> GraphicAt(std::span<const HitItem> children, int x, int y);

// The click rule, on the left button's release: a click needs the press on the window and
// the release inside it; pressed on a graphic child, the click is that child's, and only
// when the release is on that same child.
enum class ClickTarget { None, Window, Graphic };
struct Release {
  bool pressed = false;  // the press was on this window (and it still counts)
  bool inside = false;   // the release is inside the window
  std::optional<std::size_t> pressedGraphic;  // the graphic child the press was on
  std::optional<std::size_t> graphicAtRelease;
};
ClickTarget ClickOnRelease(const Release& release);

}  // namespace forms
