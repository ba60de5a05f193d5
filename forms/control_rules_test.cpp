// The control tree's rules, natively: layout, tab order, the click rule.
#include "forms/control_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace forms {

std::ostream& operator<<(std::ostream& out, const Bounds& b) {
  return out << "{" << b.left << ", " << b.top << ", " << b.width << ", " << b.height << "}";
}

namespace {

TEST(Layout, AnchorsKeepTheDistanceToTheirEdges) {
  const Bounds child{190, 10, 676, 122};
  struct Case { Anchors anchors; int dw, dh; Bounds expected; };
  const Case cases[] = {
      {akLeft | akTop, 40, 30, child},                                  // the default stays put
      {akLeft | akTop | akRight, 40, 30, {190, 10, 716, 122}},          // stretches with the width
      {akTop | akRight, 40, 30, {230, 10, 676, 122}},                   // moves with the right edge
      {akLeft | akBottom, 40, 30, {190, 40, 676, 122}},                 // moves with the bottom
      {akLeft | akTop | akRight | akBottom, 40, 30, {190, 10, 716, 152}},
      {akLeft | akTop | akRight, -700, 0, {190, 10, -24, 122}},         // shrinking past the width: as it comes
      {akRight | akBottom, -5, -7, {185, 3, 676, 122}},
      {0, 40, 30, child},                                               // no anchor at all: stays
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Anchored(child, c.anchors, c.dw, c.dh), c.expected) << "anchors " << c.anchors;
  }
}

TEST(Layout, TopAlignedChildrenStackAndTheClientTakesTheRest) {
  using B = std::optional<Bounds>;
  struct Case {
    const char* what;
    std::vector<AlignItem> children;
    std::vector<B> expected;
  };
  const Case cases[] = {
      {"a header strip", {{Align::Top, 70, true}, {Align::None, 28, true}}, {Bounds{0, 0, 860, 70}, std::nullopt}},
      {"two strips stack in creation order",
       {{Align::Top, 70, true}, {Align::Top, 20, true}},
       {Bounds{0, 0, 860, 70}, Bounds{0, 70, 860, 20}}},
      {"a hidden strip keeps its place, takes no room",
       {{Align::Top, 70, false}, {Align::Top, 20, true}},
       {Bounds{0, 0, 860, 70}, Bounds{0, 0, 860, 20}}},
      {"the client area is what the strips leave",
       {{Align::Client, 5, true}, {Align::Top, 70, true}},
       {Bounds{0, 70, 860, 618}, Bounds{0, 0, 860, 70}}},
      {"strips higher than the parent leave an empty client",
       {{Align::Top, 700, true}, {Align::Client, 5, true}},
       {Bounds{0, 0, 860, 700}, Bounds{0, 700, 860, 0}}},
      {"nothing aligned", {{Align::None, 5, true}}, {std::nullopt}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AlignedBounds(c.children, 860, 688), c.expected) << c.what;
  }
}

TEST(TabOrder, SequenceAndMoves) {
  // The procedure screen's windowed children in creation order: Panel1 1, NextBtn 0,
  // BackBtn 2, Panel2 3.
  const std::vector<int> procedure{1, 0, 2, 3};
  EXPECT_EQ(TabSequence(procedure), (std::vector<std::size_t>{1, 0, 2, 3}));
  EXPECT_EQ(TabSequence(std::vector<int>{2, 0, 2, 0}), (std::vector<std::size_t>{1, 3, 0, 2}))
      << "equal orders keep their creation order";
  EXPECT_TRUE(TabSequence({}).empty());

  struct Case { std::vector<int> orders; std::size_t which; int order; std::vector<int> expected; };
  const Case cases[] = {
      {{0, 1, 2, 3}, 3, 0, {1, 2, 3, 0}},   // to the front: the others move up one
      {{0, 1, 2, 3}, 0, 3, {3, 0, 1, 2}},   // to the back
      {{0, 1, 2, 3}, 1, 9, {0, 3, 1, 2}},   // past the end: the last place
      {{0, 1, 2, 3}, 2, -4, {1, 2, 0, 3}},  // before the start: the first
      {{1, 0, 2, 3}, 1, 0, {1, 0, 2, 3}},   // where it is: nothing moves
      {{0, 0, 0}, 2, 1, {0, 2, 1}},         // orders not yet a permutation become one
      {{5}, 0, 3, {0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MoveInTabOrder(c.orders, c.which, c.order), c.expected) << "which " << c.which << " to " << c.order;
  }
}

TEST(TabOrder, TabGoesRoundTheStops) {
  using O = std::optional<std::size_t>;
  struct Case { std::size_t count; O current; bool forward; O expected; };
  const Case cases[] = {
      {3, 0, true, 1},      {3, 2, true, 0},   // from the last back to the first
      {3, 0, false, 2},     {3, 1, false, 0},  // Shift+Tab from the first to the last
      {3, std::nullopt, true, 0}, {3, std::nullopt, false, 2},  // the focus on no stop
      {3, 7, true, 0},                                          // a place that is no stop
      {1, 0, true, 0},      {1, 0, false, 0},  // one stop keeps the focus
      {0, std::nullopt, true, std::nullopt}, {0, 0, false, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NextTabStop(c.count, c.current, c.forward), c.expected)
        << c.count << " stops, from " << (c.current ? static_cast<int>(*c.current) : -1) << (c.forward ? " on" : " back");
  }
}

TEST(Click, TheTopmostVisibleEnabledGraphicChildIsHit) {
  const std::vector<HitItem> children{
      {{0, 0, 100, 100}},                          // 0: a picture under everything
      {{10, 10, 20, 20}},                          // 1: a label on it
      {{10, 10, 20, 20}, false},                   // 2: a windowed child on top: not graphic
      {{50, 50, 20, 20}, true, false},             // 3: hidden
      {{60, 60, 20, 20}, true, true, false},       // 4: disabled
  };
  using O = std::optional<std::size_t>;
  struct Case { int x, y; O expected; };
  const Case cases[] = {
      {15, 15, 1}, {10, 10, 1}, {29, 29, 1}, {30, 30, 0},  // right and bottom edges are outside
      {55, 55, 0}, {65, 65, 0}, {99, 99, 0}, {100, 50, std::nullopt}, {-1, 5, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GraphicAt(children, c.x, c.y), c.expected) << c.x << ", " << c.y;
  }
}

TEST(Click, ReleaseRule) {
  using O = std::optional<std::size_t>;
  struct Case { Release release; ClickTarget expected; };
  const Case cases[] = {
      {{true, true, std::nullopt, std::nullopt}, ClickTarget::Window},
      {{true, true, std::nullopt, 2}, ClickTarget::Window},  // pressed beside the child: the window's
      {{true, false, std::nullopt, std::nullopt}, ClickTarget::None},  // released outside
      {{false, true, std::nullopt, std::nullopt}, ClickTarget::None},  // no press (or capture lost)
      {{true, true, O{2}, O{2}}, ClickTarget::Graphic},
      {{true, true, O{2}, O{1}}, ClickTarget::None},  // released on another child
      {{true, true, O{2}, std::nullopt}, ClickTarget::None},  // released beside it
      {{true, false, O{2}, O{2}}, ClickTarget::None},
      {{false, true, O{2}, O{2}}, ClickTarget::None},
  };
  for (const Case& c : cases) {
    const Release& r = c.release;
    EXPECT_EQ(ClickOnRelease(r), c.expected)
        << "pressed " << r.pressed << " inside " << r.inside << " on " << (r.pressedGraphic ? int(*r.pressedGraphic) : -1)
        << " released on " << (r.graphicAtRelease ? int(*r.graphicAtRelease) : -1);
  }
}

}  // namespace
}  // namespace forms
