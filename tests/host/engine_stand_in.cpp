// A stand-in for the separately built renderer module: it exports one
// function under the name the loader looks up.
extern "C"
#if defined(_WIN32)
    __declspec(dllexport)
#else
    __attribute__((visibility("default")))
#endif
    void __RasterScene(unsigned char* dst) {
  dst[0] = 42;
}
