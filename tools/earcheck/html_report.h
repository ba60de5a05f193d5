#pragma once
// The report page of --html: one self-contained UTF-8 HTML page (no reference outside it, no
// script) with a summary of every package and, per package, a card with its screens and its
// findings. Built in pieces so that a caller holds one package's pictures at a time:
// Head, then Card per package in the summary's order, then Tail.
#include <string>
#include <string_view>
#include <vector>

#include "tools/earcheck/check.h"
#include "tools/earcheck/preview.h"

namespace earcheck::html {

// `skipped`: PATHs (native form) that were no package, listed under the summary.
std::string Head(const std::vector<PackageReport>& reports, const std::vector<std::string>& skipped);

// The card of reports[n - 1] (the summary links to it as "#p<n>"). `screens` are its painted
// screens; empty when this build paints none, which the card then says.
std::string Card(const PackageReport& report, int n, const std::vector<preview::Painted>& screens);

std::string Tail();

// UTF-8 text as HTML text or attribute value: & < > " ' as references; other control
// characters but tab and line feed shown as "\xNN", so that nothing from a package can
// change the page's markup.
std::string Escape(std::string_view utf8);

std::string Base64(std::string_view bytes);

}  // namespace earcheck::html
