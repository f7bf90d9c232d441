// --fleet: one command on many registers at once.
#pragma once

#include <string>
#include <vector>

#include "options.h"

namespace qovctl {

// Runs qovctl's own command line `args` on every register of the fleet file (section
// [registers], lines name=device, devices as in [ports]), options.jobs at a time, each as a
// qovctl process of its own with --device set to its register's line and "{name}" in its
// arguments replaced by the register's name. Each register's output follows as it ends, its
// lines prefixed "[name] "; then one line per register ("name: OK", "name: RAZLIKA" for a diff
// that found differences, "name: GRESKA <what>") and the total. 0 when every register
// succeeded, 3 when the only failures are differences, else 1 (2 for a bad fleet file).
int RunFleet(const Options& options, const std::vector<std::string>& args);

}  // namespace qovctl
