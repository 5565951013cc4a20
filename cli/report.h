#pragma once
// vespario-cli report and circumstances: the selection written as a report, and the
// circumstances of one observation of an object.

#include "cli/support.h"

#include <iosfwd>

namespace vespario::cli {

// words: "report", FILE.obs, OUT and any of
//   --setup FILE.rpf  the layout of a report setup file (else the default layout of the kind)
//   --kind export|text|rtf|html|tdf  (else the kind OUT's extension stands for)
//   --sel, --srt, --where, --sort  the selection, as select takes them
// Writes the selected objects in list order and prints "wrote N objects to PATH". Returns 0;
// 2 with the message for a wrong option, file or line, 1 when the report cannot be written.
int RunReport(const Options &options, std::ostream &out, std::ostream &err);

// words: "circumstances", FILE.obs, ID and optionally N (from 1, default 1): prints the
// circumstances of the Nth observation of the object. Returns 0; 1 when there is no such
// object or observation; 2 for a wrong line or an unreadable file.
int RunCircumstances(const Options &options, std::ostream &out, std::ostream &err);

} // namespace vespario::cli
