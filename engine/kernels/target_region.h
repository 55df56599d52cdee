// Compiles the functions between SIF_TARGET_REGION and SIF_TARGET_REGION_END
// for an instruction set beyond the build's baseline, templates and their
// instances included. Headers a region uses must be included before it, so
// that nothing shared is compiled for the wider set.
#pragma once

#define SIF_PRAGMA(text) _Pragma(#text)
#if defined(__clang__)
#define SIF_TARGET_REGION(set) \
    SIF_PRAGMA(clang attribute push(__attribute__((target(set))), apply_to = function))
#define SIF_TARGET_REGION_END _Pragma("clang attribute pop")
#else
#define SIF_TARGET_REGION(set) _Pragma("GCC push_options") SIF_PRAGMA(GCC target(set))
#define SIF_TARGET_REGION_END _Pragma("GCC pop_options")
#endif
