// The straightforward version of the exchange file reader and writer, with
// fscanf and fprintf and one conversion call per group of tokens. Kept only
// to measure the real reader and writer against it.
#pragma once

#include "entity/entity_record.hpp"

bool read_entity_file_stdio(const char* path, EntityList& list, int& count);
bool write_entity_file_stdio(EntityList& list, int count, const char* path);
