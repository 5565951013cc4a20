#pragma once
// The program's command line: a database file to open and the two flags that ask for an
// object ("ID=") or for the objects near a position ("RaDec="), each given bare or after "/"
// or "-" and compared without regard to case.

#include <string>
#include <string_view>
#include <vector>

namespace vespario {

struct CommandLine {
    std::string fileName; // the first plain parameter; empty when none
    std::string id;       // the text after "ID="
    std::string raDec;    // the text after "RaDec=": a position, optionally ",distance"
    bool HasCommand() const { return !id.empty() || !raDec.empty(); }
    // The command as the main window takes it: identifier 0 and the ID, or 1 and the
    // position (an ID wins when both are given).
    int CommandIdentifier() const { return id.empty() ? 1 : 0; }
    const std::string &CommandText() const { return id.empty() ? raDec : id; }
    // The command a second start hands to the running instance's command topic.
    std::string HandOverCommand() const { return (id.empty() ? "RaDec=" : "ID=") + CommandText(); }
};

// args without the program name. On Linux an absolute path begins with "/", so a parameter
// after "/" is a flag only when it is one of the two flags; any other is a file name. Other
// switches after "-" belong to the toolkit and are passed over. A file whose name begins
// with "ID=" or "RaDec=" is given as "./NAME".
CommandLine ParseCommandLine(const std::vector<std::string> &args);

} // namespace vespario
