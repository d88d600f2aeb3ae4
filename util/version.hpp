// The project's version, as the build sets it in one place.
#pragma once

const char* holechart_version();
