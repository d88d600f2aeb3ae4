// The entity exchange file: one entity per line, a head of ten tokens and a
// body by entity kind. The reader loads "Object.fad"; the writer writes the
// chart to "ResultDR.fad".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "entity/entity_record.hpp"

// The number of records a file holds: the reads of at most 511 characters,
// each stopping after a line end, that it takes to reach the end of the file.
// A CR LF pair counts as one line end; a lone CR is an ordinary character.
// Returns -1 when the file cannot be opened.
int64_t count_entity_lines(const char* path);

struct MemoryFile;

// The same for bytes in memory that stand for a file: read through the same
// chunks, in pieces of at most memory.piece bytes.
int64_t count_entity_lines(const MemoryFile& memory);

// Loads the file. On success the list holds line count + 10 defaulted slots
// (and the spare), the first count filled from the file, and count is the
// line count. When the file cannot be opened or holds no text, returns false
// with count 0.
bool read_entity_file(const char* path, EntityList& list, int& count);
bool read_entity_file(const MemoryFile& memory, EntityList& list, int& count);

// Reading a file record by record, for a reader that keeps only some of
// the records (the tool keeps its holes): the same records, token for
// token, as read_entity_file reads.
struct TokenStream;

// Opens the file onto the stream; count receives the number of records the
// file holds (its line count). False when the file is missing, empty or no
// regular file. The caller closes the stream with token_stream_close.
bool open_entity_records(const char* path, TokenStream& stream, int& count);
// Empty bytes are an empty file. The bytes must outlive the stream.
bool open_entity_records(const MemoryFile& memory, TokenStream& stream, int& count);

// The head of the next record: the ten fields up to the shape code. The
// rest of the record is not touched.
void read_entity_head(TokenStream& stream, EntityRecord& record);

// The body of the record whose head was read, by its kind and shape, and
// the values derived from it. The fields after the head must hold their
// defaults (default_entity_body).
void read_entity_body(TokenStream& stream, EntityRecord& record);

// Passes over the body of the record whose head was read without converting
// its values: as many tokens as read_entity_body would read.
void skip_entity_body(TokenStream& stream, const EntityRecord& head);

// The defaults of the head fields, and of the fields after the head, so
// that a record can be read into again.
void default_entity_head(EntityRecord& record);
void default_entity_body(EntityRecord& record);

// Reads one record (head and body) from the stream into record, then derives
// the values of its kind. Exposed for tests and fuzzing.
void read_entity_record(TokenStream& stream, EntityRecord& record);

// The number of tokens the body of a record with this head takes: what
// read_entity_record reads after the shape code.
std::size_t entity_body_tokens(const EntityRecord& head);

// Appends the record's line, line end included, in the exchange format.
// Changes the record as the writer does: colour 0 becomes 1, and arcs and
// polyline arc segments get their end angle recomputed.
void format_entity_record(EntityRecord& record, std::string& out);

// The lines of records 0 to count - 1 (at most the list's size), as
// write_entity_file writes them in binary mode.
std::string format_entity_records(EntityList& list, int count);

// Writes records 0 to count - 1. The text goes to a new temporary file of a
// unique name beside the target ("ResultDR.fad.<random>.tmp"), which
// replaces the target only once it is written and closed without error; on
// failure the temporary file is removed and the target left as it was.
// Returns false when the file could not be written.
bool write_entity_file(EntityList& list, int count, const char* path);

// Moves the first n records to the given layer (cut to the field) and colour.
void override_layer(EntityList& list, int n, const char* layer_name, int32_t color);
