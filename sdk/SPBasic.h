// The host's basic suite: every other suite is acquired through it by name
// and version, and released again by name and version.
#pragma once
#include <cstddef>
#include <cstdint>

#include "sdk/AE_Chosen.h"

typedef int32_t SPErr;
typedef unsigned char SPBoolean;

#define SPAPI

typedef struct SPBasicSuite {
  // Writes the suite's function table through suite, or answers
  // kSPSuiteNotFoundError and leaves *suite null.
  SPErr(SPAPI* AcquireSuite)(const char* name, int32_t version, const void** suite);
  SPErr(SPAPI* ReleaseSuite)(const char* name, int32_t version);
  SPBoolean(SPAPI* IsEqual)(const char* token1, const char* token2);
  SPErr(SPAPI* AllocateBlock)(size_t size, void** block);
  SPErr(SPAPI* FreeBlock)(void* block);
  SPErr(SPAPI* ReallocateBlock)(void* block, size_t newSize, void** newblock);
  SPErr(SPAPI* Undefined)(void);
} SPBasicSuite;
