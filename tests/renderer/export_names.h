// The exported interface as the tests see it: each function and global of
// renderer/renderer.h with its declared type, and the two spellings of that
// type that the decorated names must decode to (the Windows compiler's
// demangler and our own compiler's).
#pragma once
#include <string>
#include <type_traits>
#include <vector>

#include "renderer/renderer.h"

namespace exports {

// Type names as a demangler writes them. `msvc` selects the Windows
// demangler's spelling ("struct X *", "float &", "__cdecl"); otherwise ours
// ("X*", "float&").
template <typename T>
struct TypeName;

#define VELARRA_BASIC_TYPE(T)                   \
  template <>                                   \
  struct TypeName<T> {                          \
    static std::string Get(bool) { return #T; } \
  };
VELARRA_BASIC_TYPE(void)
VELARRA_BASIC_TYPE(int)
VELARRA_BASIC_TYPE(float)
VELARRA_BASIC_TYPE(unsigned char)
#undef VELARRA_BASIC_TYPE

#define VELARRA_RECORD_TYPE(T)                                             \
  template <>                                                              \
  struct TypeName<T> {                                                     \
    static std::string Get(bool msvc) { return msvc ? "struct " #T : #T; } \
  };
VELARRA_RECORD_TYPE(__Point3ds)
VELARRA_RECORD_TYPE(__Triangle3ds)
VELARRA_RECORD_TYPE(material3ds)
VELARRA_RECORD_TYPE(__Texture)
VELARRA_RECORD_TYPE(light3ds)
VELARRA_RECORD_TYPE(GlassProp)
VELARRA_RECORD_TYPE(__PrevInfo)
VELARRA_RECORD_TYPE(__Point)
#undef VELARRA_RECORD_TYPE

// "T *" after a plain type, "T **" after a pointer (the Windows spelling);
// "T*" and "T**" in ours.
inline std::string Suffixed(const std::string& base, const char* mark, bool msvc) {
  if (!msvc) return base + mark;
  const char last = base.empty() ? ' ' : base.back();
  return (last == '*' || last == '&') ? base + mark : base + " " + mark;
}

template <typename T>
struct TypeName<T*> {
  static std::string Get(bool msvc) { return Suffixed(TypeName<T>::Get(msvc), "*", msvc); }
};
template <typename T>
struct TypeName<T&> {
  static std::string Get(bool msvc) { return Suffixed(TypeName<T>::Get(msvc), "&", msvc); }
};

template <typename... A>
std::string ArgumentList(bool msvc) {
  std::vector<std::string> names = {TypeName<A>::Get(msvc)...};
  std::string s = "(";
  for (size_t i = 0; i < names.size(); ++i) s += (i ? ", " : "") + names[i];
  if (names.empty() && msvc) s += "void";
  return s + ")";
}

template <typename R, typename... A>
struct TypeName<R (*)(A...)> {
  static std::string Get(bool msvc) {
    return TypeName<R>::Get(msvc) + (msvc ? " (__cdecl *)" : " (*)") + ArgumentList<A...>(msvc);
  }
};

// "void __cdecl __Sort(int, struct __Triangle3ds *, struct __Point3ds *)"
// (the Windows demangler) and "__Sort(int, __Triangle3ds*, __Point3ds*)"
// (ours, which does not spell the result type of a plain function).
template <typename R, typename... A>
std::string FunctionSignature(const char* name, R (*)(A...), bool msvc) {
  if (msvc) return TypeName<R>::Get(true) + " __cdecl " + name + ArgumentList<A...>(true);
  return name + ArgumentList<A...>(false);
}

// "float *ZBuff", "unsigned char _DrawMode" (the Windows demangler).
template <typename T>
std::string VariableSignature(const char* name, T*) {
  const std::string t = TypeName<T>::Get(true);
  return t.back() == '*' ? t + name : t + " " + name;
}

struct Export {
  std::string name;
  std::string msvc;  // what the decorated name must decode to
  std::string ours;  // what our compiler's symbol must decode to
  bool data;
};

#define VELARRA_FN(f) \
  Export { #f, FunctionSignature(#f, &f, true), FunctionSignature(#f, &f, false), false }
#define VELARRA_VAR(v) \
  Export { #v, VariableSignature(#v, &v), #v, true }

// Every exported function and global.
inline std::vector<Export> Declared() {
  return {
      VELARRA_FN(__RasterScene),
      VELARRA_FN(__RasterSolid),
      VELARRA_FN(__DrawScenesLineColor),
      VELARRA_FN(__Sort),
      VELARRA_FN(__AddPersp),
      VELARRA_FN(__SetLightDef),
      VELARRA_FN(__GetZBuff),
      VELARRA_FN(__SetZBuff),
      VELARRA_FN(__ConvertBYTE16TO8),
      VELARRA_FN(__ConvertBYTE8TO16),
      VELARRA_FN(__ConvertText),
      VELARRA_FN(__mmx_present),
      VELARRA_FN(__SetDefRenderOnePixel),
      VELARRA_FN(__SetNewRenderOnePixel),
      VELARRA_FN(__GetDrawMode),
      VELARRA_FN(__GetQuality),
      VELARRA_FN(__GetDeep),
      VELARRA_FN(__GetDubleSide),
      VELARRA_FN(__GetDrawBackFaces),
      VELARRA_FN(__GetUseMultyRefract),
      VELARRA_FN(__GetUsePhong2),
      VELARRA_FN(__GetUseGlass),
      VELARRA_FN(__GetUsePersp),
      VELARRA_FN(__GetUseReflection),
      VELARRA_FN(__GetUseCustomMats),
      VELARRA_FN(__SetDrawMode),
      VELARRA_FN(__SetQuality),
      VELARRA_FN(__SetDeep),
      VELARRA_FN(__SetDubleSide),
      VELARRA_FN(__SetDrawBackFaces),
      VELARRA_FN(__SetUseMultyRefract),
      VELARRA_FN(__SetUsePhong2),
      VELARRA_FN(__SetUseGlass),
      VELARRA_FN(__SetUsePersp),
      VELARRA_FN(__SetUseReflection),
      VELARRA_FN(__SetUseCustomMats),
      VELARRA_VAR(_DrawMode),
      VELARRA_VAR(_Quality),
      VELARRA_VAR(_Deep),
      VELARRA_VAR(_DubleSide),
      VELARRA_VAR(_DrawBackFaces),
      VELARRA_VAR(_UseMultyRefract),
      VELARRA_VAR(_UsePhong2),
      VELARRA_VAR(_UseGlass),
      VELARRA_VAR(_UsePersp),
      VELARRA_VAR(_UseReflection),
      VELARRA_VAR(_UseCustomMats),
      VELARRA_VAR(_DrawBackFaces1),
      VELARRA_VAR(_WireSize),
      VELARRA_VAR(_Persp_Val),
      VELARRA_VAR(_Persp_x),
      VELARRA_VAR(_Persp_y),
      VELARRA_VAR(_Persp_Far),
      VELARRA_VAR(ZBuff),
      VELARRA_VAR(Zwidth),
      VELARRA_VAR(Zheight),
  };
}
#undef VELARRA_FN
#undef VELARRA_VAR

// One line of the module-definition aliases: decorated=internal [DATA].
struct DefLine {
  std::string decorated, internal;
  bool data;
};

// Reads the alias lines of the export file (';' starts a comment).
std::vector<DefLine> ReadDefFile(const char* path);

}  // namespace exports
