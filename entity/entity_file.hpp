// The entity exchange file: one entity per line, a head of ten tokens and a
// body by entity kind. The reader loads "Object.fad"; the writer writes the
// chart to "ResultDR.fad".
#pragma once

#include <cstdint>
#include <string>

#include "entity/entity_record.hpp"

// The number of records a file holds: the reads of at most 511 characters,
// each stopping after a line end, that it takes to reach the end of the file.
// A CR LF pair counts as one line end; a lone CR is an ordinary character.
// Returns -1 when the file cannot be opened.
int64_t count_entity_lines(const char* path);

// Loads the file. On success the list holds line count + 10 defaulted slots
// (and the spare), the first count filled from the file, and count is the
// line count. When the file cannot be opened or holds no text, returns false
// with count 0.
bool read_entity_file(const char* path, EntityList& list, int& count);

// Reads one record (head and body) from the stream into record, then derives
// the values of its kind. Exposed for tests and fuzzing.
struct TokenStream;
void read_entity_record(TokenStream& stream, EntityRecord& record);

// Appends the record's line, line end included, in the exchange format.
// Changes the record as the writer does: colour 0 becomes 1, and arcs and
// polyline arc segments get their end angle recomputed.
void format_entity_record(EntityRecord& record, std::string& out);

// Writes records 0 to count - 1. The text goes to a new temporary file of a
// unique name beside the target ("ResultDR.fad.<random>.tmp"), which
// replaces the target only once it is written and closed without error; on
// failure the temporary file is removed and the target left as it was.
// Returns false when the file could not be written.
bool write_entity_file(EntityList& list, int count, const char* path);

// Moves the first n records to the given layer (cut to the field) and colour.
void override_layer(EntityList& list, int n, const char* layer_name, int32_t color);
