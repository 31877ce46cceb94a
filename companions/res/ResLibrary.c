/* The exported functions of libRes.so. */
#include "KelvaneCompanions.h"
#include "ResTables.h"

#include <string.h>
#include <strings.h>

/* Length of the longest prefix of `text` that fits `limit` bytes without splitting a UTF-8 character. */
static size_t utf8_prefix_length(const char *text, size_t limit)
{
    size_t length = strlen(text);
    if (length <= limit)
        return length;
    length = limit;
    while (length > 0 && ((unsigned char)text[length] & 0xC0u) == 0x80u)
        --length;
    return length;
}

typedef struct JpegResource {
    const char *name;
    const unsigned char *bytes;
    const size_t *size;
} JpegResource;

static const JpegResource jpegResources[] = {
    {"ImgFlash", kelvane_splash_jpeg_1x, &kelvane_splash_jpeg_1x_size},
    {"ImgFlash@2x", kelvane_splash_jpeg_2x, &kelvane_splash_jpeg_2x_size},
};

int kelvane_res_string(int id, char *buf, int size)
{
    if (buf == NULL || size < 1)
        return 0;
    buf[0] = '\0';
    const char *text = res_find_string(id);
    if (text == NULL)
        return 0;
    size_t length = utf8_prefix_length(text, (size_t)size - 1);
    memcpy(buf, text, length);
    buf[length] = '\0';
    return (int)length;
}

const unsigned char *kelvane_res_resource(const char *name, const char *type, size_t *size)
{
    if (size != NULL)
        *size = 0;
    if (name == NULL || type == NULL || strcasecmp(type, "jpeg") != 0)
        return NULL;
    for (size_t i = 0; i < sizeof jpegResources / sizeof jpegResources[0]; ++i) {
        if (strcasecmp(name, jpegResources[i].name) == 0) {
            if (size != NULL)
                *size = *jpegResources[i].size;
            return jpegResources[i].bytes;
        }
    }
    return NULL;
}
