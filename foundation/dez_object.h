#ifndef TRELIX_DEZ_OBJECT_H
#define TRELIX_DEZ_OBJECT_H

/* The header every handle starts with; plain C for the public header. The
   library keeps the handle kind in `reserved`; `reference_count` changes
   atomically. */

#include <stdint.h>

typedef struct dez_object {
    int32_t reserved;
    int32_t reference_count;
} dez_object;

#endif
