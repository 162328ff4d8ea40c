#pragma once
// GAME_ADDRESS_SANITIZER is 1 in builds with AddressSanitizer, whichever compiler: gcc says so
// with __SANITIZE_ADDRESS__, clang only through __has_feature.
#if defined(__SANITIZE_ADDRESS__)
#define GAME_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GAME_ADDRESS_SANITIZER 1
#endif
#endif
#ifndef GAME_ADDRESS_SANITIZER
#define GAME_ADDRESS_SANITIZER 0
#endif
