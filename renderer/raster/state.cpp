// The renderer's module state and its small accessors. Every global has a
// constant initial value (no code runs at load) and keeps its value from call
// to call; one call at a time.
#include "renderer/raster/raster_internal.h"

// Exported switches.
unsigned char _DrawMode = 6;
unsigned char _Quality = 1;
unsigned char _Deep = 0;
unsigned char _DubleSide = 0;
unsigned char _DrawBackFaces = 0;
unsigned char _UseMultyRefract = 1;
unsigned char _UsePhong2 = 0;
unsigned char _UseGlass = 0;
unsigned char _UsePersp = 0;
unsigned char _UseReflection = 0;
unsigned char _UseCustomMats = 1;

// Other exported globals.
unsigned char _DrawBackFaces1 = 0;
float _WireSize = 1.0f;
float _Persp_Val = 0.0f;
float _Persp_x = 0.0f;
float _Persp_y = 0.0f;
float _Persp_Far = 1000.0f;
float* ZBuff = nullptr;
int Zwidth = 0;
int Zheight = 0;

// Module globals.
int MaxChannel = 255;
int _Stride = 0;
unsigned char* _EdgeLayer = nullptr;
unsigned char* _FragLayer = nullptr;
unsigned char* _UnderLayer = nullptr;
unsigned char* _DestImage = nullptr;
unsigned char* _BackImage = nullptr;
float* ZBuff2 = nullptr;
light3ds* _LightDef = nullptr;
unsigned char _OwnZBuff = 0;
unsigned char _OwnLightDef = 0;
__Point3ds* _SortPoints = nullptr;
RenderOnePixelFunc _RenderOnePixelFunc = RenderOnePixel;

unsigned char __GetDrawMode() { return _DrawMode; }
unsigned char __GetQuality() { return _Quality; }
unsigned char __GetDeep() { return _Deep; }
unsigned char __GetDubleSide() { return _DubleSide; }
unsigned char __GetDrawBackFaces() { return _DrawBackFaces; }
unsigned char __GetUseMultyRefract() { return _UseMultyRefract; }
unsigned char __GetUsePhong2() { return _UsePhong2; }
unsigned char __GetUseGlass() { return _UseGlass; }
unsigned char __GetUsePersp() { return _UsePersp; }
unsigned char __GetUseReflection() { return _UseReflection; }
unsigned char __GetUseCustomMats() { return _UseCustomMats; }

// The setters store the byte as given; only quality is reduced to 0 or 1.
void __SetDrawMode(unsigned char value) { _DrawMode = value; }
void __SetQuality(unsigned char value) { _Quality = value != 0 ? 1 : 0; }
void __SetDeep(unsigned char value) { _Deep = value; }
void __SetDubleSide(unsigned char value) { _DubleSide = value; }
void __SetDrawBackFaces(unsigned char value) { _DrawBackFaces = value; }
void __SetUseMultyRefract(unsigned char value) { _UseMultyRefract = value; }
void __SetUsePhong2(unsigned char value) { _UsePhong2 = value; }
void __SetUseGlass(unsigned char value) { _UseGlass = value; }
void __SetUsePersp(unsigned char value) { _UsePersp = value; }
void __SetUseReflection(unsigned char value) { _UseReflection = value; }
void __SetUseCustomMats(unsigned char value) { _UseCustomMats = value; }

unsigned char GetDrawBackFacesPass() { return _DrawBackFaces1; }

// No processor test: every processor the module runs on has the extension.
unsigned char __mmx_present() { return 1; }

void __SetLightDef(light3ds* light) { _LightDef = light; }

void __GetZBuff(float*& buffer, int& width, int& height) {
  buffer = ZBuff;
  width = Zwidth;
  height = Zheight;
}

// Adopts the caller's buffer; nothing is released. The buffer stays the
// caller's until a __RasterScene of another size releases it (page memory).
void __SetZBuff(float* buffer, int width, int height) {
  if (buffer != nullptr && width > 0 && height > 0) {
    ZBuff = buffer;
    Zwidth = width;
    Zheight = height;
  } else {
    ZBuff = nullptr;
    Zwidth = 0;
    Zheight = 0;
  }
}

void __SetDefRenderOnePixel() { _RenderOnePixelFunc = RenderOnePixel; }

// A null function would crash the next shaded pixel: it restores the default.
void __SetNewRenderOnePixel(RenderOnePixelFunc function) {
  _RenderOnePixelFunc = function != nullptr ? function : RenderOnePixel;
}
