#pragma once
// Marks memory a pool holds but has not handed out (or has taken back) as
// off-limits under AddressSanitizer, so that a use of it is still caught;
// nothing in other builds.

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define CH_POISON(at, bytes) ASAN_POISON_MEMORY_REGION(at, bytes)
#define CH_UNPOISON(at, bytes) ASAN_UNPOISON_MEMORY_REGION(at, bytes)
#else
#define CH_POISON(at, bytes) ((void)(at), (void)(bytes))
#define CH_UNPOISON(at, bytes) ((void)(at), (void)(bytes))
#endif
