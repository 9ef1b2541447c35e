// Finding where a run of ordinary bytes ends in long texts. Request payloads
// run to many MiB and are scanned twice (compaction, then the string parser),
// so the scans look at sixteen bytes at a time where the processor has SSE2
// and at eight bytes at a time elsewhere.
#pragma once

#include <cstddef>

// Index of the first '"', '\\' or NUL byte in the `size` bytes at `text`, or
// `size` when there is none.
size_t findQuoteBackslashOrNul(const char* text, size_t size);

// Index of the first '"', '\\' or raw control byte that JSON text must escape
// with a short escape (\b \t \n \f \r), or `size` when there is none.
size_t findQuoteBackslashOrShortEscape(const char* text, size_t size);
