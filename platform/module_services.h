// Module services: the file name of a loaded module, loading a module by
// path, looking up one of its exports by name, and releasing it.
//
// On Windows these are the system's module calls; in the native build a
// module is a shared object. A module handle is opaque (null: none).
//
// Failure behaviour: every call accepts a null handle or path and then
// fails quietly (0 characters, null module, null export, nothing freed).
#pragma once
#include <cstdint>

typedef void* PlatformModule;

// Writes the full path of `module` (null: the running program) into buffer,
// zero-terminated, and returns the number of characters written, without the
// terminator. As the system call does, a path that does not fit is cut to
// size - 1 characters and size is returned; 0 means the query failed.
uint32_t PlatformModuleFileName(PlatformModule module, char* buffer, uint32_t size);

// Null when the module cannot be loaded.
PlatformModule PlatformLoadModule(const char* path);
// Null when module is null or has no such export.
void* PlatformFindExport(PlatformModule module, const char* name);
void PlatformFreeModule(PlatformModule module);

// Test hook: while set (not null), PlatformModuleFileName answers this path
// for every module, as if the module lay there. Null restores the system
// query. The string is copied.
void PlatformOverrideModuleFileName(const char* path);
