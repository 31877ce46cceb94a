#ifndef KELVANE_RES_TABLES_H
#define KELVANE_RES_TABLES_H
/* Internal tables of libRes.so. */
#include <stddef.h>

typedef struct ResString {
    int id;
    const char *text;
} ResString;

/* The text of string entry `id`, or NULL. */
const char *res_find_string(int id);

/* The splash picture, generated at build time at one and at two times the size. */
extern const unsigned char kelvane_splash_jpeg_1x[];
extern const size_t kelvane_splash_jpeg_1x_size;
extern const unsigned char kelvane_splash_jpeg_2x[];
extern const size_t kelvane_splash_jpeg_2x_size;

#endif
