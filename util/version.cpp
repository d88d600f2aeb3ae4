#include "util/version.hpp"

const char* holechart_version() {
    return HOLECHART_VERSION;
}
