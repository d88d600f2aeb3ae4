// What "holechart --help" and "holechart --version" print. Only that single
// argument asks for them; every other command line is a run, as the front
// end starts it.
#pragma once

#include <string>

#include "platform/platform.hpp"

enum class InfoRequest { none, help, version };

InfoRequest info_request(int argc, char** argv);

// The usage text, with the folders of this system.
std::string usage_text(const FixedPaths& paths);
