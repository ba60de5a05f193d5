#include "tools/earcheck/options.h"

namespace earcheck {

Options ParseOptions(const std::vector<std::string>& args) {
  Options o;
  const auto fail = [&](std::string message) {
    o.action = Options::Action::UsageError;
    o.error = std::move(message);
    return o;
  };
  bool options = true;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (options && a == "--") {
      options = false;
    } else if (options && (a == "--html" || a == "--preview")) {
      const bool page = a == "--html";
      if (i + 1 >= args.size()) {
        return fail(page ? "earcheck: --html にはファイルを指定してください。\n"
                         : "earcheck: --preview にはフォルダーを指定してください。\n");
      }
      (page ? o.htmlFile : o.previewDir) = args[++i];
      o.preview |= !page;
      o.anyOption = true;
    } else if (options && a == "--json") {
      o.json = true;
      o.anyOption = true;
    } else if (options && (a == "--help" || a == "-h")) {
      o.action = Options::Action::Help;
      return o;
    } else if (options && a == "--reference") {
      o.action = Options::Action::Reference;
      return o;
    } else if (options && a == "--version") {
      o.action = Options::Action::Version;
      return o;
    } else if (options && a == "--screens") {
      o.action = Options::Action::Screens;
      return o;
    } else if (options && a.size() > 1 && a[0] == '-') {
      return fail("earcheck: 不明なオプションです: " + a + "\n");
    } else {
      o.paths.push_back(a);
    }
  }
  return o;
}

}  // namespace earcheck
