// Reading only the holes of an exchange file, from a stream opened on the
// file or on bytes that stand for it (open_entity_records).
#pragma once

#include "entity/entity_record.hpp"

struct TokenStream;

// Reads the stream's next `records` records, token for token as
// read_entity_file reads them, keeps only the holes, in file order, and
// closes the stream. Memory follows the holes, not the entities. The list
// holds the holes, a defaulted slot and a spare; count receives their number.
// A list read into before keeps its storage.
void read_stream_holes(TokenStream& stream, int records, EntityList& holes, int& count);
