/* The glyph store: the suite's button pictures, numbered from 1.
 *
 * A picture is a strip of square images side by side (normal, then disabled, ...), so its
 * width is a multiple of its height. Pixels run row by row from the top-left corner, one
 * 32-bit value each: red in the low byte, then green, then blue (0x00BBGGRR), the colour
 * layout of the module's bitmaps. The colour of the bottom-left pixel marks the transparent
 * parts.
 *
 * The library is loaded by name ("Glyphor.dll" names Glyphor.so) and keeps no state
 * between calls, so callers may use it from anywhere. */
#ifndef GLYPHOR_H
#define GLYPHOR_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The highest picture number; every number from 1 to it names a picture. */
int GetMaxBmpID(void);

/* Picture `id` into the caller's buffer of `capacity` pixels. *width and *height are set
 * whenever the picture exists, so a first call with a null buffer asks for the size.
 * Returns 1 when the pixels were written; 0 when the number names no picture, an output
 * pointer is null or the buffer is too small. */
int LoadBmp(int id, int* width, int* height, uint32_t* pixels, int capacity);

typedef int (*GetMaxBmpIDProc)(void);
typedef int (*LoadBmpProc)(int, int*, int*, uint32_t*, int);

#ifdef __cplusplus
}
#endif

#endif
