// Shared by the fuzz targets: a scratch folder per process and writing the
// fuzzer's bytes to a file there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A folder of its own for this process, made on first use.
const std::string& fuzz_scratch_folder();

// Writes the bytes to a file in the scratch folder and returns its path.
std::string write_scratch_file(const std::string& name, const uint8_t* data, std::size_t size);
