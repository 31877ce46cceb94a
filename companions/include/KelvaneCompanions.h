#ifndef KELVANE_COMPANIONS_H
#define KELVANE_COMPANIONS_H
/*
 * The C interface of Kelvane's two companion libraries, loaded by the program at run time.
 *
 * libRes.so: the product's texts and the splash picture.
 *   int kelvane_res_string(int id, char *buf, int size);
 *       Copies string entry `id` (UTF-8) into `buf`, cut to size - 1 bytes on a character
 *       boundary, always NUL-terminated when size > 0. Returns the number of bytes copied without
 *       the NUL, or 0 when there is no such entry (or buf is NULL or size < 1).
 *       Entries: 0 maker, 1 product name, 2 product text, 4 home page, 5 support e-mail,
 *       7 copyright text. Each entry is at most 253 bytes.
 *   const unsigned char *kelvane_res_resource(const char *name, const char *type, size_t *size);
 *       Returns the bytes of the named resource (name and type compare without regard to letter
 *       case), or NULL when there is none. `*size` receives the byte count (0 when NULL is returned).
 *       The bytes live as long as the library stays loaded. Resource "ImgFlash" of type "jpeg"
 *       is the splash picture; "ImgFlash@2x" (type "jpeg") is the same picture at twice the
 *       width and height, for screens of twice the pixel density.
 *
 * libForm.so: the About box.
 *   int ShowAboutForm(void *parentWindow, const KelvaneAboutInfo *info);
 *       Opens the modal About box (modal to the application; the call itself returns at once and
 *       never runs an event loop of its own). `parentWindow` is a QWidget* of the caller's
 *       window, or NULL. Every text of `info` is UTF-8 and is copied; NULL texts count as empty.
 *       Needs a running QApplication. Returns 1 when the box is shown, 0 otherwise.
 *       The library keeps itself loaded once it has shown a box, since the box outlives the call.
 */
#include <stddef.h>

#if defined(_WIN32)
#define KELVANE_COMPANION_EXPORT __declspec(dllexport)
#else
#define KELVANE_COMPANION_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* String entry numbers of libRes.so. */
enum {
    KELVANE_RES_MAKER_NAME = 0,
    KELVANE_RES_PRODUCT_NAME = 1,
    KELVANE_RES_PRODUCT_TEXT2 = 2,
    KELVANE_RES_HOME_PAGE = 4,
    KELVANE_RES_SUPPORT_EMAIL = 5,
    KELVANE_RES_PRODUCT_TEXT7 = 7
};

/* Largest string entry in bytes, without the terminating NUL. */
#define KELVANE_RES_STRING_MAX 253

/* The product information handed to the About box. */
typedef struct KelvaneAboutInfo {
    const char *makerName;
    const char *productName;
    const char *productText2;
    const char *version;
    const char *homePage;
    const char *supportEmail;
    const char *productText7;
    const char *programFolder;
} KelvaneAboutInfo;

typedef int (*KelvaneResStringFn)(int id, char *buf, int size);
typedef const unsigned char *(*KelvaneResResourceFn)(const char *name, const char *type, size_t *size);
typedef int (*KelvaneShowAboutFormFn)(void *parentWindow, const KelvaneAboutInfo *info);

/* Exported symbol names, for dlsym. */
#define KELVANE_RES_STRING_SYMBOL "kelvane_res_string"
#define KELVANE_RES_RESOURCE_SYMBOL "kelvane_res_resource"
#define KELVANE_SHOW_ABOUT_SYMBOL "ShowAboutForm"

KELVANE_COMPANION_EXPORT int kelvane_res_string(int id, char *buf, int size);
KELVANE_COMPANION_EXPORT const unsigned char *kelvane_res_resource(const char *name, const char *type,
                                                                   size_t *size);
KELVANE_COMPANION_EXPORT int ShowAboutForm(void *parentWindow, const KelvaneAboutInfo *info);

#ifdef __cplusplus
}
#endif

#endif
