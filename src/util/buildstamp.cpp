#include "util/buildstamp.h"

namespace util {

const char* buildDate() { return __DATE__; }
const char* buildTime() { return __TIME__; }

}  // namespace util
