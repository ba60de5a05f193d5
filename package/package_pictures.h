#pragma once
// The pictures the launcher takes from the package's picture folder, one row each: which
// screen draws it into which box and how, and what the candidate sees when it is missing
// or cannot be loaded. The screens draw from these rows; earcheck loops over them.
#include <optional>
#include <string>

#include "package/package_settings.h"

namespace ear {

enum class Placement {
  Tiled,        // a texture brush over the whole control
  TopLeftCut,   // at its own size from the box's top-left corner; the box cuts it
  CentredCut,   // at its own size, the control moved to centre it on centreOn; the box cuts it
  KeyedScaled,  // scaled to fit the box, keeping its proportions; white is transparent
};

// Where a keyed picture's left edge goes.
enum class KeyedLeft {
  Centred,       // centred on centreOn
  ExamNameLeft,  // where the exam name (picture or label) starts; centred when that is 0
};

// What the launcher does without the picture.
enum class WhenMissing {
  Silent,     // the screen goes on without it and says nothing
  Optional,   // the picture is shown only when it is there
  ErrorBox,   // an error box, and the screen's set-up stops there
  HidesText,  // the text it replaces is hidden all the same: neither picture nor text is shown
};

struct Box {
  int width = 0;
  int height = 0;
};

struct PackagePicture {
  const char* name;                   // the file name in system\Image\, or the stem the key's value ends
  const SettingKey* extKey = nullptr;  // the key whose value is appended to name; none: name is whole
  unsigned takers = 0;                // Taker bits: the screens that draw it
  const char* control = "";           // the picture control it is drawn on
  Placement placement = Placement::Tiled;
  Box box;                  // the box it is cut at or scaled into
  int top = 0;              // KeyedScaled: the box's top in the control
  int centreOn = 0;         // the width it is centred on (the screen's); 0: not centred
  KeyedLeft left = KeyedLeft::Centred;
  WhenMissing missing = WhenMissing::Silent;
  const char* whenMissing = "";  // what the candidate sees without it (earcheck's words)
  const char* whenBroken = "";   // and when it is there but cannot be loaded

  // The launcher runs the size probe on it before drawing; a probe error stops the set-up.
  bool Probed() const { return placement == Placement::CentredCut || placement == Placement::KeyedScaled; }
};

inline constexpr PackagePicture kBackdropPicture{
    .name = "bg.jpg", .takers = kBackdrop, .control = "Image", .placement = Placement::Tiled,
    .missing = WhenMissing::Silent,
    .whenMissing = "背景の画面は塗られず、緑の枠だけが表示されます（メッセージは出ません）。",
    .whenBroken = "背景の画面は塗られず、緑の枠だけが表示されます（メッセージは出ません）。"};
inline constexpr PackagePicture kHeaderBandPicture{
    .name = "bg_main_top.jpg", .takers = kEveryWizardScreen, .control = "TRImg", .placement = Placement::Tiled,
    .missing = WhenMissing::Silent,
    .whenMissing = "各画面の上部の帯は塗られず、緑の枠だけが表示されます（メッセージは出ません）。",
    .whenBroken = "各画面の上部の帯は塗られず、緑の枠だけが表示されます（メッセージは出ません）。"};
inline constexpr PackagePicture kProcedurePicture{
    .name = "bg_procedure.jpg", .takers = kProcedure, .control = "TejunImg", .placement = Placement::TopLeftCut,
    .box = {832, 558}, .missing = WhenMissing::ErrorBox,
    .whenMissing = "手順確認画面でエラーが表示され、手順の画像は空のままになり、角も丸くなりません。",
    .whenBroken = "手順確認画面でエラーが表示され、手順の画像は空のままになります。"};
inline constexpr PackagePicture kRegistrationProcedurePicture{
    .name = "procedure01.jpg", .takers = kRegistration, .control = "TejunImg", .placement = Placement::CentredCut,
    .box = {683, 59}, .centreOn = 697, .missing = WhenMissing::Optional,
    .whenMissing = "受験者登録画面に手順の画像は表示されません（メッセージは出ません）。",
    .whenBroken = "受験者登録画面でエラーが表示されます。"};
inline constexpr PackagePicture kExamNamePicture{
    .name = "ShikenImage", .extKey = &kExamPictureExtKey, .takers = kTitle, .control = "Image1",
    .placement = Placement::KeyedScaled, .box = {439, 20}, .top = 220, .centreOn = 647, .left = KeyedLeft::Centred,
    .missing = WhenMissing::HidesText,
    .whenMissing = "試験名のラベルは隠されるため、試験名は画像でも文字でも表示されません。メーカーのロゴは中央に揃います。",
    .whenBroken = "画像は描かれません（メッセージは出ません）。"};
inline constexpr PackagePicture kMakerPicture{
    .name = "MakerImage", .extKey = &kMakerPictureExtKey, .takers = kTitle, .control = "Image1",
    .placement = Placement::KeyedScaled, .box = {219, 17}, .top = 200, .centreOn = 647,
    .left = KeyedLeft::ExamNameLeft, .missing = WhenMissing::Silent,
    .whenMissing = "メーカーのロゴは表示されません（メッセージは出ません）。",
    .whenBroken = "画像は描かれません（メッセージは出ません）。"};
inline constexpr PackagePicture kGradePicture{
    .name = "KyuTopImage", .extKey = &kGradePictureExtKey, .takers = kTitle, .control = "Image1",
    .placement = Placement::KeyedScaled, .box = {100, 30}, .top = 254, .centreOn = 647, .left = KeyedLeft::Centred,
    .missing = WhenMissing::HidesText,
    .whenMissing = "級のラベルは隠されるため、級は画像でも文字でも表示されません。",
    .whenBroken = "画像は描かれません（メッセージは出ません）。"};

// In the order earcheck reports them.
inline constexpr PackagePicture kPackagePictures[] = {
    kBackdropPicture, kHeaderBandPicture, kProcedurePicture, kRegistrationProcedurePicture,
    kExamNamePicture, kMakerPicture, kGradePicture,
};

// The value of a row's extension key in the settings ("" for a row without one).
const std::string& PictureExtValue(const PackagePicture& picture, const PackageSettings& settings);

// The picture's file name as the launcher makes it: the name, plus the key's value when it has
// one; nullopt when that value is empty (the launcher then does not look for the picture).
std::optional<std::string> PictureFileName(const PackagePicture& picture, const PackageSettings& settings);

// The file's full path: the package's picture folder + the file name.
std::string PicturePath(const PackagePaths& paths, const PackagePicture& picture, const PackageSettings& settings);
// For a row without an extension key.
std::string PicturePath(const PackagePaths& paths, const PackagePicture& picture);

}  // namespace ear
