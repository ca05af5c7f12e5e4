#pragma once
// Text typed by a person or given by a script, read strictly: the whole text (blanks around it
// aside), integers within their type's range, finite decimal numbers, dates of four-digit years.
// Each reader returns an empty string for a value, else why the text is not one, to be shown
// after the field's name and the text.
#include <string>
#include <string_view>

namespace typed_input {

// Decimal digits with an optional sign, within lo..hi.
std::string ReadInteger(std::string_view text, long long lo, long long hi, long long& value);
// A finite decimal number: "1234.56", "-1,5", "1.234,56" (with a comma the dots group
// thousands), an exponent allowed ("1e3"); no "nan", "inf" nor hexadecimal.
std::string ReadNumber(std::string_view text, double& value);
// "dd/mm/yyyy" or "yyyy-mm-dd" (one or two digits for day and month), a real day of a year
// from minYear to 9999.
std::string ReadDate(std::string_view text, int minYear, int& day, int& month, int& year);

// Whether the text holds a control character (C0, DEL or C1); `textBreaks` lets tab and line
// ends through, as a text of several lines has them.
bool HasControlChars(std::string_view text, bool textBreaks);

// Yes or no, in any case, in one vocabulary for every control and answer: si/no, sì/no,
// yes/no, true/false, 1/0 (and s, y, n). An empty text is no when `emptyIsNo`.
std::string ReadYesNo(std::string_view text, bool& value, bool emptyIsNo = false);
// The words ReadYesNo takes, to be shown beside a refusal.
constexpr const char* kYesNoWords = "Si/No, sì/no, yes/no, true/false, 1/0";

}  // namespace typed_input
