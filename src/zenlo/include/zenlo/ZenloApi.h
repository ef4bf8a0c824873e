#pragma once
// Export decoration of the library's published classes. Code linked statically (the tests)
// defines ZENLO_STATIC.
#if defined(ZENLO_BUILDING)
#define ZENLO_API __declspec(dllexport)
#elif defined(ZENLO_STATIC)
#define ZENLO_API
#else
#define ZENLO_API __declspec(dllimport)
#endif
