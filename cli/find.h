#pragma once
// vespario-cli find: looks a text up in the object name index the way the ID box does.

#include "db/cvespariodoc.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace vespario::cli {

// words: "find", FILE.obs, TEXT and at most one of "--exact" (FindExactId alone) and
// "--pattern" (the partial look-up with the pattern switch on); without either, the ID box's
// typed-ID look-up. doc holds FILE.obs, loaded completely. Prints "INDEX<TAB>MORE<TAB>ID"
// and returns 0, or prints "not found" and returns 1. A wrong command line prints the usage
// to err and returns 2; a pattern that does not compile and an abandoned search return 2
// with the document's message (the caller prints the document's messages).
int RunFind(const std::vector<std::string> &words, vespario::CVesparioDoc &doc, std::ostream &out,
            std::ostream &err);

} // namespace vespario::cli
