#pragma once
// `earcheck --reference`: what the launcher takes from a package and what earcheck can say
// about it, one tab-separated line each, drawn from the launcher's table and the finding
// catalogue (for guides that must name every one of them):
//   ini<TAB>file<TAB>section<TAB>key         every INI key the launcher reads or writes
//   picture<TAB>file<TAB>extension key        every picture ("<ext>" stands for the key's value)
//   finding<TAB>id<TAB>error|warning|info     every kind of finding
// Files are relative to the package, with "\" separators.
#include <string>

namespace earcheck {

// The lines in Shift-JIS, each ending in "\n".
std::string ReferenceText();

// The launcher's table as one JSON document (UTF-8), for the scripts that build sample packages
// and the tests' expectations: scripts/package_table.json holds a copy, held to this by a test.
std::string TableJson();

}  // namespace earcheck
