// The host's basic suite: every other suite is acquired through it by name
// and version, and released again by name and version.
#pragma once
#include <cstddef>
#include <cstdint>

typedef int32_t SPErr;
typedef int32_t SPBoolean;

// Suites use the platform's one calling convention.
#define SPAPI

// Four-character codes as 32-bit numbers: 'S!Fd' and 'Parm'.
#define kSPNoError 0
#define kSPSuiteNotFoundError 0x53214664
#define kSPBadParameterError 0x5061726D

typedef struct SPBasicSuite {
  // Writes the suite's function table through suite, or answers
  // kSPSuiteNotFoundError.
  SPErr(SPAPI* AcquireSuite)(const char* name, int32_t version, const void** suite);
  SPErr(SPAPI* ReleaseSuite)(const char* name, int32_t version);
  SPBoolean(SPAPI* IsEqual)(const char* token1, const char* token2);
  SPErr(SPAPI* AllocateBlock)(size_t size, void** block);
  SPErr(SPAPI* FreeBlock)(void* block);
  SPErr(SPAPI* ReallocateBlock)(void* block, size_t newSize, void** newblock);
  SPErr(SPAPI* Undefined)(void);
} SPBasicSuite;
