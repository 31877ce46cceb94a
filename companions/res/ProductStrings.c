/* The product's texts, as the program reads them at start-up. */
#include "KelvaneCompanions.h"
#include "ResTables.h"

#include <string.h>

static const ResString productStrings[] = {
    {KELVANE_RES_MAKER_NAME, "Brask Soft"},
    {KELVANE_RES_PRODUCT_NAME, "Kelvane"},
    {KELVANE_RES_PRODUCT_TEXT2,
     "Turns the sound of your videos into AMR, AAC, MP3, AC3, M4A, OGG and WAV audio files."},
    {KELVANE_RES_HOME_PAGE, "https://www.brasksoft.com/kelvane/"},
    {KELVANE_RES_SUPPORT_EMAIL, "support@brasksoft.com"},
    {KELVANE_RES_PRODUCT_TEXT7, "Copyright (C) 2026 Brask Soft. All rights reserved."},
};

const char *res_find_string(int id)
{
    for (size_t i = 0; i < sizeof productStrings / sizeof productStrings[0]; ++i) {
        if (productStrings[i].id == id)
            return productStrings[i].text;
    }
    return NULL;
}
