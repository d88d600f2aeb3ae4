// Reads a text file as a stream of tokens: any run of white space (blank,
// tab, line feed, carriage return, vertical tab, form feed) separates two
// tokens, as the "%s" conversion sees them. A UTF-8 byte order mark at the
// very start of the file, which some Windows programs write, is skipped. The
// file is read in large chunks, so memory stays small however big the file
// is; a token longer than the buffer makes the buffer grow to hold it, up to
// kMaxTokenChars: the rest of a longer token is read past and dropped.
// Bytes in memory can stand in for the file (tests and fuzzing need no
// files); they are read through the same chunks.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

// Longest token kept whole. Far beyond any value or text of the format
// (a million-digit number still fits), and small enough that an endless
// token cannot take all memory.
constexpr std::size_t kMaxTokenChars = std::size_t{1} << 24;

// Bytes that are read as a file holding them would be. piece caps how much
// one read hands over, as a pipe or a shrinking file may: a small piece puts
// chunk ends inside tokens, which a whole read of a short file never does.
struct MemoryFile {
    std::string_view bytes;
    std::size_t piece = SIZE_MAX;
};

struct TokenStream {
    std::FILE* file = nullptr;
    MemoryFile memory;  // read when file is null and in_memory is set
    bool in_memory = false;
    std::vector<char> buffer;
    std::size_t pos = 0;
    std::size_t end = 0;
    bool at_eof = false;
    bool at_start = true;    // nothing read yet: a byte order mark may follow
    bool token_cut = false;  // the last token was longer than kMaxTokenChars
};

// Takes ownership of an open file; token_stream_close closes it.
void token_stream_open(TokenStream& stream, std::FILE* file);
// Reads the bytes, which must outlive the stream.
void token_stream_open(TokenStream& stream, const MemoryFile& memory);
void token_stream_close(TokenStream& stream);

// The next token, valid until the next call; false at the end of the file.
bool next_token(TokenStream& stream, std::string_view& token);

// Passes over the next count tokens as count calls of next_token would.
void skip_tokens(TokenStream& stream, std::size_t count);

// One conversion each: read the next token into the field. At the end of the
// file, or when the token is not of the field's form, the field keeps its
// value; a token of the wrong form is consumed either way, so the parse
// resumes at the token after it. A number cut at kMaxTokenChars is no number
// that can be read: a real field becomes NaN, an integer field keeps its
// value.
void read_text_field(TokenStream& stream, char* field, std::size_t capacity);
void read_real_field(TokenStream& stream, double& field);
void read_int_field(TokenStream& stream, int32_t& field);

template <std::size_t N>
void read_text_field(TokenStream& stream, char (&field)[N]) {
    read_text_field(stream, field, N);
}
