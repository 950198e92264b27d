#include "storage/errorlog.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <exception>
#include <fstream>
#include <initializer_list>

#include "storage/settings.h"

namespace storage {
namespace {

constexpr int kProgramVersion = 109;

}  // namespace

std::string errorLogLine(std::string_view what)
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char head[80];
    std::snprintf(head, sizeof head, "<LOG TIME=%i.%i.%i %i:%i:%i VELTAR1_v%i: ", local.tm_mday, local.tm_mon + 1,
                  local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec, kProgramVersion);
    std::string line = head;
    line += what;
    line += ">\n";
    return line;
}

std::filesystem::path errorLogPath()
{
    const std::filesystem::path folder = errorLogFolder();
    return folder.empty() ? std::filesystem::path(kErrorLogName) : folder / kErrorLogName;
}

void logError(std::string_view what)
{
    const std::string line = errorLogLine(what);
    const std::filesystem::path path = errorLogPath();
    std::error_code ignored;
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path(), ignored);
    // A stream, so the path reaches the system as it is (UTF-16 on Windows).
    if (std::ofstream file(path, std::ios::app); file)
        file << line;
    std::fprintf(stderr, "%.*s\n", int(what.size()), what.data());
}

void logMathError(std::string_view function) { logError("MATHERR " + std::string(function)); }

// The domain and range checks are explicit so that the result does not depend on the
// compiler keeping floating-point exception flags intact.
double checkedSqrt(double x)
{
    if (x < 0) {
        logMathError("sqrt");
        return 1.0;
    }
    return std::sqrt(x);
}

namespace {

double checkedLogarithm(const char* name, double x, double (*f)(double))
{
    if (x <= 0)  // a negative argument is a domain error, zero a pole
        logMathError(name);
    return f(x);
}

bool overflowed(double result, std::initializer_list<double> arguments)
{
    if (!std::isinf(result))
        return false;
    for (double a : arguments)
        if (!std::isfinite(a))
            return false;
    return true;
}

}  // namespace

double checkedLog(double x) { return checkedLogarithm("log", x, [](double v) { return std::log(v); }); }
double checkedLog10(double x) { return checkedLogarithm("log10", x, [](double v) { return std::log10(v); }); }

double checkedExp(double x)
{
    const double result = std::exp(x);
    if (overflowed(result, {x}))
        logMathError("exp");
    return result;
}

double checkedPow(double base, double exponent)
{
    const double result = std::pow(base, exponent);
    const bool domain = base < 0 && std::isfinite(exponent) && std::trunc(exponent) != exponent;
    const bool pole = base == 0 && exponent < 0;
    if (domain || pole || overflowed(result, {base, exponent}))
        logMathError("pow");
    return result;
}

void installTerminateLogger()
{
    static std::terminate_handler previous = std::set_terminate([] {
        if (std::exception_ptr current = std::current_exception()) {
            try {
                std::rethrow_exception(current);
            } catch (const std::exception& e) {
                logError(e.what());
            } catch (...) {
                logError("unknown exception");
            }
        }
        if (previous)
            previous();
        std::abort();
    });
}

}  // namespace storage
