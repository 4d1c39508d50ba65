#ifndef TRELIX_DEZ_EXCEPTION_H
#define TRELIX_DEZ_EXCEPTION_H

/* The error record of the C interface and the plugin protocol; plain C so
   the public header and plugins built apart share it. Code 0 is no error;
   1 dez::Exception, 2 other standard exception, 3 runtime error, 4 logic
   error, 5 JSON error. */

#include <stdint.h>

typedef struct dez_exception {
    int32_t code;
    char message[1024];
} dez_exception;

#endif
