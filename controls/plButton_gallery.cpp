// Every look of TplButton on one form, for looking at under Wine:
//   plButton_gallery.exe [FOCUS_ROW [SECONDS]]
// FOCUS_ROW picks the row whose "focused" button holds the focus (default 0).
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "controls/plButton.h"
#include "forms/application.h"
#include "forms/standard_controls.h"
#include "forms/form.h"
#include "base/gdi.h"

namespace {

using controls::TplButton;

forms::Font ButtonFont(int height, bool bold) {
  forms::Font f;
  f.height = height;
  f.bold = bold;
  f.color = forms::clWhite;
  return f;
}

HBITMAP StripedBitmap(int size) {
  ear::gdi::Dib dib = ear::gdi::CreateDib24(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      BYTE* p = dib.bits + y * dib.stride + x * 3;
      const bool key = x < 3 && y >= size - 3;  // magenta corner: the colour key
      const bool stripe = ((x + y) / 3) % 2 == 0;
      p[0] = key ? 255 : stripe ? 0 : 40;
      p[1] = key ? 0 : stripe ? 148 : 200;
      p[2] = key ? 255 : stripe ? 215 : 40;
    }
  return dib.bitmap.Release();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const int focusRow = __argc > 1 ? std::atoi(__argv[1]) : 0;
  const int seconds = __argc > 2 ? std::atoi(__argv[2]) : 60;

  forms::Form form(nullptr, {.name = "Gallery", .clientWidth = 760, .clientHeight = 600, .text = "TplButton",
                             .borderless = false});
  std::vector<std::unique_ptr<forms::Label>> labels;
  std::vector<std::unique_ptr<TplButton>> buttons;
  const auto label = [&](int x, int y, const std::string& text) {
    labels.push_back(std::make_unique<forms::Label>(&form, forms::ControlArgs{.bounds = {x, y, 0, 0}},
                                                    forms::Label::Args{.caption = text}));
  };
  const auto button = [&](int x, int y, int w, int h, const std::string& caption) -> TplButton& {
    auto b = std::make_unique<TplButton>(
        &form,
        forms::ControlArgs{.name = "Btn" + std::to_string(buttons.size()), .bounds = {x, y, w, h},
                           .font = ButtonFont(-12, true)},
        TplButton::Args{.caption = caption, .gradBegin = 14128128, .gradEnd = 8931584});
    buttons.push_back(std::move(b));
    return *buttons.back();
  };

  const char* columns[] = {"normal", "pressed", "focused", "disabled", "disabled, HasFocus off"};
  for (int c = 0; c < 5; ++c) label(150 + c * 110, 8, columns[c]);
  struct Row { const char* name; controls::TplButtonStyle style; controls::TplBtnFrameType type; };
  const Row rows[] = {{"bsNormal", controls::bsNormal, controls::bffFlat},
                      {"bsFlat bffFlat", controls::bsFlat, controls::bffFlat},
                      {"bsFlat bffEtched", controls::bsFlat, controls::bffEtched},
                      {"bsFlat bffBump", controls::bsFlat, controls::bffBump},
                      {"bsFlatNoFrame", controls::bsFlatNoFrame, controls::bffFlat},
                      {"bsRoundRect", controls::bsRoundRect, controls::bffFlat},
                      {"bsRoundRectNoFrame", controls::bsRoundRectNoFrame, controls::bffFlat}};
  std::vector<TplButton*> pressed, focused;
  for (int r = 0; r < 7; ++r) {
    const int y = 30 + r * 40;
    label(8, y + 6, rows[r].name);
    for (int c = 0; c < 5; ++c) {
      TplButton& b = button(150 + c * 110, y, 80, 28, "次へ >");
      b.SetButtonStyle(rows[r].style);
      b.SetFlatFrameType(rows[r].type);
      if (c == 1) pressed.push_back(&b);
      if (c == 2) focused.push_back(&b);
      if (c >= 3) b.SetEnabled(false);
      if (c == 4) b.SetHasFocus(false);
    }
  }

  forms::Picture stripes;
  stripes.SetBitmap(StripedBitmap(16));
  const int y0 = 320;
  label(8, y0 + 6, "picture, captions");
  TplButton& pictureOnly = button(150, y0, 80, 28, "");
  pictureOnly.Image().SetPicture(stripes);
  pictureOnly.Image().SetHorzCenter(true);
  TplButton& both = button(260, y0, 80, 28, "閉じる");
  both.Image().SetPicture(stripes);
  both.Image().SetLeft(6);
  both.Image().SetTransParent(true);
  both.CaptionA().SetAlignment(controls::taRight);
  both.CaptionA().SetRight(4);
  TplButton& bothGrey = button(370, y0, 80, 28, "閉じる");
  bothGrey.Image().SetPicture(stripes);
  bothGrey.Image().SetLeft(6);
  bothGrey.CaptionA().SetAlignment(controls::taRight);
  bothGrey.SetEnabled(false);
  TplButton& twoLines = button(480, y0 - 6, 80, 40, "受験");
  twoLines.CaptionB().SetCaption("開始");
  TplButton& close = button(590, y0, 80, 28, "閉じる");
  close.SetGradBeginColor(8947848);
  close.SetGradEndColor(3750207);
  close.SetFont(ButtonFont(-13, false));
  close.SetCaptionTop(7);

  const int y1 = 380;
  label(8, y1 + 6, "alignments");
  const controls::TplBtnAlignment alignments[] = {controls::taCenter, controls::taLeft, controls::taRight,
                                                  controls::taEven};
  for (int i = 0; i < 4; ++i) {
    TplButton& b = button(150 + i * 110, y1, 100, 28, "閉じる");
    b.CaptionA().SetAlignment(alignments[i]);
    b.CaptionA().SetLeft(4);
    b.CaptionA().SetRight(4);
  }
  const int y2 = 430;
  label(8, y2 + 6, "bad input");
  button(150, y2, 60, 28, "とても長いキャプションの文字列");
  TplButton& evenOver = button(220, y2, 40, 28, "ABCDEFGHIJ");
  evenOver.CaptionA().SetAlignment(controls::taEven);
  button(270, y2, 1, 1, "x");
  button(280, y2, 2, 28, "x");
  TplButton& sys = button(300, y2, 80, 28, "システム色");
  sys.SetGradBeginColor(forms::clBtnHighlight);
  sys.SetGradEndColor(forms::clBtnShadow);
  sys.SetFont(ButtonFont(-12, false));
  TplButton& solid = button(390, y2, 80, 28, "");
  solid.SetGradation(false);
  solid.SetColor(forms::clBtnFace);
  TplButton& empty = button(480, y2, 80, 28, "");
  empty.Image().SetPicture(forms::Picture());

  SetCursorPos(740, 590);  // away from the buttons: leaving one clears its pressed look
  form.ShowForm();
  for (TplButton* b : pressed) SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ReleaseCapture();
  if (focusRow >= 0 && focusRow < static_cast<int>(focused.size())) focused[focusRow]->SetFocus();
  for (TplButton* b : pressed) b->Repaint();
  const DWORD end = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
  while (GetTickCount() < end && IsWindowVisible(form.Handle())) {
    forms::App().ProcessMessages();
    Sleep(20);
  }
  return 0;
}
