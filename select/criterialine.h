#pragma once
// One line of a set of selection criteria: a condition on a field (such as Magn# < 12), an
// "or" or a parenthesis, with the values worked out from it before a selection pass.

#include "pattern/pattern.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vespario {

class FieldTable;

// The operator codes as the criteria files store them.
namespace op {
enum : int32_t {
    Equal = 0,
    NotEqual = 1,
    Less = 2,
    Greater = 3,
    LessOrEqual = 4,
    GreaterOrEqual = 5,
    Has = 6,
    Hasnt = 7,
    Near = 8,
    Or = 9,
    Open = 10,
    Close = 11,
};
} // namespace op

inline constexpr int kOperatorCount = 12;

// The short label of the operator list ("=", "not =", ... "is near", "or", "(", ")"); empty
// for a code outside 0..11.
std::string_view OperatorLabel(int32_t code);
// The code of a label, or -1.
int32_t OperatorOfLabel(std::string_view label);

// Codes 9 to 11 structure the list; every other code is a condition on a field.
inline bool IsStructural(int32_t code) {
    return code == op::Or || code == op::Open || code == op::Close;
}

// The fields whose values follow the current time or observing place: the transit, rise and
// set hours, azimuth and altitude, and the chart-centre transit hours.
bool IsTimeOrPlaceField(int32_t field);

// The text a field picker shows for a field (the grouped field list's item, such as
// "Magn[1st value]#"); the number itself for a field with no item.
std::string FieldDisplayName(int32_t field);

// What a line works out from its value before a pass. Copying a line gives the copy a fresh,
// unprepared state: the compiled pattern belongs to one line only.
struct PreparedValues {
    PreparedValues() = default;
    PreparedValues(const PreparedValues &) {}
    PreparedValues &operator=(const PreparedValues &) {
        Reset();
        return *this;
    }
    PreparedValues(PreparedValues &&) = default;
    PreparedValues &operator=(PreparedValues &&) = default;
    void Reset() { *this = PreparedValues(); }

    bool prepared = false;
    int32_t whole = 0; // the value's leading decimal integer, 0 if none
    double real = 0.0; // the value's leading decimal real, 0 if none
    double ra = 0.0;   // "is near": the value's position (rad, J2000)
    double dec = 0.0;
    bool positionValid = false;       // "is near": the value parsed as a RaDec
    std::unique_ptr<Pattern> pattern; // "has" and "hasn't"
    bool abandonShown = false;        // the user was told that a search of this line gave up
};

struct CriteriaLine {
    int32_t field = 0;          // field number in the FieldTable
    int32_t op = op::Equal;     // operator code 0..11
    double radius = 5.0;        // "is near" distance, degrees
    std::string value;          // what was typed in "Look for this"
    int32_t fromThisObject = 0; // 1 when the value was taken from the current object
    std::string description;    // the line as the dialog's tree shows it
    PreparedValues prepared;
};

// The leading decimal integer of a text (blanks, then an optional sign and digits), limited
// to the 32-bit range; 0 when the text does not begin with a number.
int32_t LeadingInteger(std::string_view text);
// The leading decimal real of a text in the C locale's form, 0 when none.
double LeadingReal(std::string_view text);

} // namespace vespario
