#pragma once
// The framework's standard controls; each takes its layout row as an Args struct.
#include <optional>
#include <string>

#include "forms/control.h"

namespace forms {

enum class TextAlign { Left, Center, Right };

// A graphic label.
class Label : public Control {
 public:
  struct Args {
    std::string name;
    Bounds bounds;
    std::string caption;
    std::optional<Font> font;  // none: the parent's
    TextAlign alignment = TextAlign::Left;
    bool autoSize = true;
    bool transparent = false;
    Color color = clBtnFace;
  };
  Label(WinControl* parent, const Args& args);

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  TextAlign alignment = TextAlign::Left;
  bool transparent = false;
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  // Sizes the label to its text; a right-aligned label keeps its right edge.
  void AdjustSize();
  void Paint(HDC dc) override;

 protected:
  void FontChanged() override;

 private:
  std::string caption_;
  bool autoSize_ = true;
};

enum class BevelCut { None, Raised, Lowered };

class Panel : public WinControl {
 public:
  struct Args {
    std::string name;
    Bounds bounds;
    Align align = Align::None;
    std::string caption;
    BevelCut bevelOuter = BevelCut::Raised;
    Color color = clBtnFace;
    int tabOrder = -1;
  };
  Panel() = default;
  Panel(WinControl* parent, const Args& args);
  BevelCut bevelOuter = BevelCut::Raised;
  void PaintWindow(HDC dc) override;
};

// A graphic frame (the framework's bevel in its frame shape, lowered).
class Bevel : public Control {
 public:
  struct Args {
    std::string name;
    Bounds bounds;
  };
  Bevel(WinControl* parent, const Args& args);
  void Paint(HDC dc) override;
};

// A single-line edit over the system EDIT class.
class Edit : public WinControl {
 public:
  struct Args {
    std::string name;
    Bounds bounds;
    std::string text;
    std::optional<Font> font;
    int maxLength = 0;
    int tabOrder = -1;
    bool imeOff = false;
  };
  Edit(WinControl* parent, const Args& args);
  int maxLength = 0;
  std::function<void(Edit&)> onChange;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 protected:
  void FillCreateParams(CreateParams& params) override;
  void HandleCreated() override;
};

// A plain push button over the system BUTTON class; clicking sets the form's modal result.
class Button : public WinControl {
 public:
  struct Args {
    std::string name;
    Bounds bounds;
    std::string caption;
    int modalResult = 0;
    bool isDefault = false;  // Enter clicks it wherever the focus is
    bool cancel = false;     // Escape clicks it wherever the focus is
    int tabOrder = -1;
  };
  Button(WinControl* parent, const Args& args);
  int modalResult = 0;
  bool isDefault = false;
  bool cancel = false;
  void Click() override;
  bool DialogKey(WORD key, unsigned shift) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 protected:
  void FillCreateParams(CreateParams& params) override;
};

}  // namespace forms
