#pragma once
// The artwork built into the executable (RCDATA JPEGs drawn by
// scripts/make_artwork.py) and the two copyright notices of the footers.
#include <array>

namespace ear {

struct ArtworkResource {
  const char* name;  // RCDATA resource name in resources/ExamAutoRunner.rc
  const char* file;  // under resources/artwork/
  int width;
  int height;
};

inline constexpr ArtworkResource kTitleBackground{"TITLE_BG", "title_bg.jpg", 652, 502};
inline constexpr ArtworkResource kTitleEmblem{"TITLE_EMBLEM", "title_emblem.jpg", 142, 86};
inline constexpr ArtworkResource kTitleNotice{"TITLE_NOTICE", "title_notice.jpg", 467, 73};
inline constexpr ArtworkResource kTitleNotice3{"TITLE_NOTICE3", "title_notice3.jpg", 467, 73};
inline constexpr ArtworkResource kHeaderLogo{"HEADER_LOGO", "header_logo.jpg", 196, 70};
inline constexpr ArtworkResource kProcedureBackground{"PROC_BG", "proc_bg.jpg", 860, 713};
inline constexpr ArtworkResource kProcedureHeading{"PROC_HEADING", "proc_heading.jpg", 447, 44};
inline constexpr ArtworkResource kRegistrationBackground{"REG_BG", "reg_bg.jpg", 804, 593};
inline constexpr ArtworkResource kRegistrationMongon{"REG_MONGON", "reg_mongon.jpg", 538, 48};
inline constexpr ArtworkResource kRegistrationMidashi{"REG_MIDASHI", "reg_midashi.jpg", 329, 105};

inline constexpr std::array<ArtworkResource, 10> kAllArtwork{
    kTitleBackground, kTitleEmblem,         kTitleNotice,           kTitleNotice3,       kHeaderLogo,
    kProcedureBackground, kProcedureHeading, kRegistrationBackground, kRegistrationMongon, kRegistrationMidashi};

// Footers (CRLbl): 12 px bold in a 308 px label, so they stay short.
inline constexpr char kCopyrightNotice[] = "(C) 2026 EAR 試験センター";
// For exam type "3".
inline constexpr char kCopyrightNotice3[] = "(C) 2026 EAR 試験センター 団体受験事務局";

}  // namespace ear
