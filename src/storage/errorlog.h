#pragma once
// The error log "IGN.err" in the state folder ($XDG_STATE_HOME/Korvelan/Tavrin/109/,
// the current directory when there is no home): math errors and unhandled exceptions
// are appended there and sent to the debug output (standard error); the computation
// goes on with a defined result.

#include <filesystem>
#include <string>
#include <string_view>

namespace storage {

constexpr const char* kErrorLogName = "IGN.err";

// Where the log lies now (the environment may change between calls).
std::filesystem::path errorLogPath();

// "<LOG TIME=d.m.yyyy h:m:s VELTAR1_v109: <what>>" for the current local time.
std::string errorLogLine(std::string_view what);

// Appends the line for `what` to the log (skipped when the file cannot be opened) and
// writes `what` to standard error.
void logError(std::string_view what);
void logMathError(std::string_view function);  // what = "MATHERR <function>"

// Math with the error hook: a domain, range or pole error is logged under the
// function's name and the call returns the defined result.
double checkedSqrt(double x);   // x < 0: 1.0
double checkedLog(double x);    // x < 0: NaN, x == 0: -HUGE_VAL
double checkedLog10(double x);  // as checkedLog
double checkedExp(double x);    // overflow: HUGE_VAL
double checkedPow(double base, double exponent);

// Logs any exception that escapes to the top of the program, then lets it end the
// program as usual.
void installTerminateLogger();

}  // namespace storage
