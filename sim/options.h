// The command line of qovreg.
#pragma once

#include <string>

#include "line_engine.h"
#include "register_model.h"

namespace qov::sim {

struct Options {
    std::string tcp = "127.0.0.1:5100";
    std::string pty;  // when set, a pseudo-terminal instead of TCP
    std::string state;
    bool keep = false;  // the state file is kKeptStateFile in the program folder
    bool demo = false;
    std::string log;
    LineOptions line;
    ModelOptions model;
};

// Parses argv (options as "--name value" or "--name=value"). False with a message in error
// for an unknown option or a bad value; help is set for --help.
bool parseOptions(int argc, const char* const* argv, Options& options, std::string& error,
                  bool& help);

// Splits "HOST:PORT" (port 0-65535). False when malformed.
bool splitHostPort(const std::string& text, std::string& host, int& port);

extern const char* const kUsage;

// The state file of --keep, in the program folder of the station and qovctl.
inline constexpr const char* kKeptStateFile = "register.json";

}  // namespace qov::sim
