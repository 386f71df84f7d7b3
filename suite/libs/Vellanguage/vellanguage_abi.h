/* The language library: Chinese texts between GB (code page 936) and Big5 (code page 950).
 *
 * Loaded by name ("Vellanguage.dll" names Vellanguage.so). Each conversion takes a text and
 * delivers the converted text through a second, by-reference text.
 *
 * Ownership: a VelText carries the function that frees it. Whoever fills a VelText sets
 * `release` (or leaves it null when there is nothing to free); whoever receives it calls
 * `release(&text)` once when done. So the library allocates its results and the caller
 * frees them without a further export, and neither side needs the other's allocator.
 *
 * Characters the target encoding cannot hold become '?' (one byte); malformed input bytes
 * become '?' as well. Texts may contain NUL bytes; lengths count bytes.
 *
 * Both conversions may be called from any thread at the same time. */
#ifndef VELLANGUAGE_ABI_H
#define VELLANGUAGE_ABI_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct VelText {
    char* data;     /* `length` bytes, followed by a NUL byte that `length` does not count */
    size_t length;
    void (*release)(struct VelText* text); /* frees `data`; null when there is nothing to free */
} VelText;

/* GB bytes in `source` -> Big5 bytes in `*result` (simplified characters become traditional).
 * Returns 1 on success. Returns 0 when the library cannot convert at all (its tables are
 * missing); `*result` then holds a short ASCII reason. Release `*result` in both cases. */
int GBtoBIG5(const VelText* source, VelText* result);

/* Big5 bytes -> GB bytes (traditional characters become simplified); as GBtoBIG5. */
int BIG5toGB(const VelText* source, VelText* result);

typedef int (*VelConvertProc)(const VelText* source, VelText* result);

#ifdef __cplusplus
}
#endif

#endif
