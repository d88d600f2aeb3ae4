#pragma once

// 0: the file cannot be opened (or is no regular file); -1: it opens but holds no text; 1: it holds
// text. Callers treat every result below 1 as a missing file.
int probe_file_lines(const char* path);
