#pragma once

#include <string>

namespace sim {

// The shortest decimal text that reads back (with strtod / strtof) to the same value, so that what
// the simulator writes (event log, saved sessions, /state, settings lines) loses nothing:
// "0.2" for the float 0.2f, "1e-07" for the double 1e-7, "1e+300". Infinities are "inf" and
// "-inf", every NaN is "nan", and a negative zero is "-0".
std::string shortestDecimal(double value);
std::string shortestDecimal(float value);

// Whether a level kept in a double is a 32-bit float exactly, as the volume and the brightness
// are (the system steps both at single precision): such a level is written as the float it is
// ("0.44", not "0.4399999976158142").
bool heldAsFloat(double level);

}  // namespace sim
