#pragma once
// vespario-cli whatsup: the What's Up report for a place and a UT instant.

#include "platform/iniprofile.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace vespario::cli {

// words: "whatsup", then optionally "--place RECORD" (a place record string, fields
// separated by "|") and "--at" with a UT instant "yyyy/mm/dd hh:mm:ss". Without --place
// the default place of the profile is used, without --at the present moment. Prints the
// report (its lines end with CR LF) and returns 0; a wrong command line, place record or
// instant prints a message and returns 2.
int RunWhatsUp(const std::vector<std::string> &words, const platform::IniProfile &profile,
               std::ostream &out, std::ostream &err);

// DefaultPlaceRecord: the record of the profile's default place: section "ObsPlace", key
// "Default" (the place code as a character code; 0 means the first place), entries
// "Place0".. counted by "NumberOf". The entry whose code comes first is taken, the first
// entry when no code matches. False when the profile has no place.
bool DefaultPlaceRecord(const platform::IniProfile &profile, std::string &record);

} // namespace vespario::cli
