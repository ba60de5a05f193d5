#include "forms/placement.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace forms {
namespace {

// The wizard's screens: client size and their gradient buttons (left, top, right, bottom).
struct WizardScreen {
  const char* name;
  int width, height;
  std::vector<ScreenRect> bottomRow;  // 次へ > and < 戻る
  ScreenRect close;                   // 閉じる, in the header
};
const WizardScreen kTitle{"title", 647, 501, {{545, 466, 625, 494}}, {545, 8, 625, 36}};
const WizardScreen kProcedure{"procedure", 860, 688, {{746, 656, 826, 684}, {41, 657, 121, 685}}, {746, 8, 826, 36}};
const WizardScreen kRegistration{"registration", 697, 554, {{578, 521, 658, 547}, {41, 521, 121, 549}},
                                 {578, 8, 658, 36}};
const WizardScreen* const kScreens[] = {&kTitle, &kProcedure, &kRegistration};

PrimaryScreen Plain(int width, int height) { return {width, height, {0, 0, width, height}}; }
PrimaryScreen TaskBarBelow(int width, int height, int bar) { return {width, height, {0, 0, width, height - bar}}; }
PrimaryScreen TaskBarAbove(int width, int height, int bar) { return {width, height, {0, bar, width, height}}; }

std::string Describe(const PrimaryScreen& s) {
  return std::to_string(s.width) + "x" + std::to_string(s.height) + " work " + std::to_string(s.workArea.left) + "," +
         std::to_string(s.workArea.top) + "-" + std::to_string(s.workArea.right) + "," +
         std::to_string(s.workArea.bottom);
}

bool Inside(const ScreenRect& control, FormPlace at, const ScreenRect& area) {
  return at.left + control.left >= area.left && at.top + control.top >= area.top &&
         at.left + control.right <= area.right && at.top + control.bottom <= area.bottom;
}

TEST(Placement, CentredWhereTheFormFitsElseItsBottomEdgeOnTheWorkArea) {
  struct Case { PrimaryScreen screen; int width, height; FormPlace expected; };
  const Case cases[] = {
      // Fits: the screen's centre, halves cut towards zero, whatever the task bar.
      {Plain(1024, 768), 647, 501, {188, 133}},
      {Plain(1024, 768), 860, 688, {82, 40}},
      {Plain(1024, 768), 697, 554, {163, 107}},
      {Plain(1366, 768), 647, 501, {359, 133}},
      {Plain(1366, 768), 697, 554, {334, 107}},
      {Plain(1920, 1080), 860, 688, {530, 196}},
      {Plain(2560, 1440), 647, 501, {956, 469}},
      {Plain(800, 600), 647, 501, {76, 49}},
      {Plain(800, 600), 697, 554, {51, 23}},
      {Plain(1024, 600), 647, 501, {188, 49}},
      {Plain(860, 688), 860, 688, {0, 0}},
      {TaskBarBelow(800, 600, 40), 647, 501, {76, 49}},
      {TaskBarBelow(1024, 700, 40), 860, 688, {82, 6}},  // fits the screen, if not the work area: as ever
      {TaskBarAbove(1024, 768, 30), 860, 688, {82, 40}},
      {{1024, 768, {60, 0, 1024, 768}}, 647, 501, {188, 133}},
      // Taller than the screen: its bottom edge on the work area's last row.
      {Plain(1024, 600), 860, 688, {82, -88}},
      {Plain(1280, 600), 860, 688, {210, -88}},
      {TaskBarBelow(1024, 600, 40), 860, 688, {82, -128}},
      {TaskBarAbove(1024, 600, 30), 860, 688, {82, -88}},
      {Plain(1024, 687), 860, 688, {82, -1}},
      // Wider as well: centred on the work area.
      {Plain(800, 600), 860, 688, {-30, -88}},
      {Plain(801, 600), 860, 688, {-29, -88}},  // -29.5 cut towards zero, as the centring does
      {TaskBarBelow(800, 600, 48), 860, 688, {-30, -136}},
      {{800, 600, {30, 0, 800, 600}}, 860, 688, {-15, -88}},
      // Wider only: the height still centred, moved into the work area where that holds it...
      {Plain(800, 768), 860, 688, {-30, 40}},
      {TaskBarBelow(800, 768, 40), 860, 688, {-30, 40}},
      {TaskBarBelow(800, 768, 60), 860, 688, {-30, 20}},
      // ...and its bottom edge on the area's last row where that cannot.
      {TaskBarBelow(800, 688, 40), 860, 688, {-30, -40}},
      // Taller only: across, the centre moved into the work area.
      {{1024, 600, {100, 0, 1024, 600}}, 860, 688, {100, -88}},
      {{1024, 600, {0, 0, 900, 600}}, 860, 688, {40, -88}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CentreOnScreen(c.screen, c.width, c.height), c.expected)
        << Describe(c.screen) << " form " << c.width << "x" << c.height;
  }
}

TEST(Placement, EveryWizardScreenKeepsItsBottomButtonsOnAnyScreenFrom800x600) {
  // Screens from 800 x 600 up, with no task bar, one below or one above: a screen that fits
  // is centred exactly; one that does not shows its 次へ > and < 戻る in the work area. (A task
  // bar at the side of an 800-wide screen leaves less width than the procedure screen's two
  // bottom buttons span, 785 pixels, and is not among them.)
  int placed = 0, moved = 0;
  for (int width = 800; width <= 2560; width += 7) {
    for (int height = 600; height <= 1440; height += 11) {
      for (const PrimaryScreen& screen :
           {Plain(width, height), TaskBarBelow(width, height, 40), TaskBarAbove(width, height, 40)}) {
        for (const WizardScreen* form : kScreens) {
          const FormPlace at = CentreOnScreen(screen, form->width, form->height);
          ++placed;
          if (form->width <= width && form->height <= height) {
            ASSERT_EQ(at, (FormPlace{(width - form->width) / 2, (height - form->height) / 2}))
                << form->name << " on " << Describe(screen);
            continue;
          }
          ++moved;
          for (const ScreenRect& button : form->bottomRow) {
            ASSERT_TRUE(Inside(button, at, screen.workArea)) << form->name << " on " << Describe(screen);
          }
          // Tab to 閉じる brings it into the work area, and Tab on to the bottom row back.
          const FormPlace header = BringIntoView(screen, form->width, form->height, at, form->close);
          ASSERT_TRUE(Inside(form->close, header, screen.workArea)) << form->name << " on " << Describe(screen);
          for (const ScreenRect& button : form->bottomRow) {
            const FormPlace back = BringIntoView(screen, form->width, form->height, header, button);
            ASSERT_TRUE(Inside(button, back, screen.workArea)) << form->name << " on " << Describe(screen);
          }
        }
      }
    }
  }
  EXPECT_GT(moved, 0);
  EXPECT_GT(placed, moved);
}

TEST(Placement, TabMovesALargeFormTheLeastThatShowsTheControlAndNeverPastItsEdges) {
  struct Case { const char* what; PrimaryScreen screen; int width, height; FormPlace at; ScreenRect control;
                FormPlace expected; };
  const Case cases[] = {
      {"閉じる above the screen comes down to the top row", Plain(800, 600), 860, 688, {-30, -88},
       {746, 8, 826, 36}, {-30, -8}},
      {"< 戻る below the screen goes up to the last row", Plain(800, 600), 860, 688, {-30, -8},
       {41, 657, 121, 685}, {-30, -85}},
      {"a control in view moves nothing", Plain(800, 600), 860, 688, {-30, -85}, {746, 656, 826, 684}, {-30, -85}},
      {"under a task bar: up to the work area's last row", TaskBarBelow(1024, 600, 40), 860, 688, {82, -8},
       {41, 657, 121, 685}, {82, -125}},
      {"the left edge never leaves the screen's", Plain(800, 600), 860, 688, {-30, -88}, {0, 300, 10, 310},
       {0, -88}},
      {"nor the bottom edge the work area's", Plain(800, 600), 860, 688, {-30, -8}, {100, 600, 200, 688},
       {-30, -88}},
      {"a control taller than the screen: its top", Plain(800, 600), 860, 688, {-30, -88}, {0, 20, 100, 660},
       {0, -20}},
      {"a form that fits never moves", Plain(1024, 768), 860, 688, {82, 40}, {746, 8, 826, 36}, {82, 40}},
      {"nor one that fits the screen under a task bar", TaskBarBelow(1024, 700, 40), 860, 688, {82, 6},
       {41, 657, 121, 685}, {82, 6}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BringIntoView(c.screen, c.width, c.height, c.at, c.control), c.expected) << c.what;
  }
}

TEST(Placement, TheWheelMovesOnlyAFormTallerThanTheWorkAreaAndNeverPastItsEdges) {
  struct Case { const char* what; PrimaryScreen screen; int width, height; FormPlace at; int pixels;
                FormPlace expected; };
  const Case cases[] = {
      {"one notch up shows the top", Plain(800, 600), 860, 688, {-30, -88}, 120, {-30, 0}},
      {"half a notch: half the way", Plain(1024, 600), 860, 688, {82, -88}, 60, {82, -28}},
      {"down again to the bottom edge", Plain(800, 600), 860, 688, {-30, 0}, -120, {-30, -88}},
      {"under a task bar: to the work area's last row", TaskBarBelow(1024, 600, 40), 860, 688, {82, -8}, -240,
       {82, -128}},
      {"a task bar above: to the work area's first row", TaskBarAbove(1024, 600, 30), 860, 688, {82, -88}, 360,
       {82, 30}},
      {"a form that fits never moves", Plain(1024, 768), 860, 688, {82, 40}, 120, {82, 40}},
      {"nor one only too wide", Plain(800, 768), 860, 688, {-30, 40}, 120, {-30, 40}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScrollVertically(c.screen, c.width, c.height, c.at, c.pixels), c.expected) << c.what;
  }
}

}  // namespace
}  // namespace forms
