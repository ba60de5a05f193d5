#pragma once
// Placeholder registration screen until the real one lands: back (7) and close (2).
#include "forms/form.h"
#include "forms/standard_controls.h"

class TfrmJPZZ0010 : public forms::Form {
 public:
  explicit TfrmJPZZ0010(forms::Form* owner);
  forms::Button BackBtn{this, {.name = "BackBtn", .bounds = {40, 60, 110, 28}}, {.caption = "< 戻る", .modalResult = 7}};
  forms::Button EndBtn{this, {.name = "EndBtn", .bounds = {210, 60, 110, 28}}, {.caption = "閉じる", .modalResult = 2}};
};

extern TfrmJPZZ0010* frmJPZZ0010;
