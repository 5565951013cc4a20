#pragma once
// vespario-cli find: looks a text up in the object name index the way the ID box does.

#include "db/cvespariodoc.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace vespario::cli {

// words: "find", FILE.obs, TEXT and at most one of "--exact" (FindExactId alone) and
// "--pattern" (FindPartialId with the pattern switch on); without either, FindExactId and
// then FindPartialId with the switch off. doc holds FILE.obs, loaded completely. Prints
// "INDEX<TAB>MORE<TAB>ID" and returns 0, or prints "not found" and returns 1; a wrong
// command line prints the usage and returns 2.
int RunFind(const std::vector<std::string> &words, vespario::CVesparioDoc &doc, std::ostream &out);

} // namespace vespario::cli
