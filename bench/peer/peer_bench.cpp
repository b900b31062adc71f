// The peer: the renderer benchmarks' sheet, frame and light drawn by Mesa's
// software rasteriser (llvmpipe) through EGL without a window, into an
// offscreen framebuffer, for the renderer's figures to be read against.
//
// The same work as __RasterScene with the default per-pixel function and
// no material: the sorted vertices of bench/wave_sheet.h, uploaded with
// their index list every frame; depth test, both sides drawn; a fragment
// shader of the default per-pixel lighting (the normal interpolated and made
// unit length, turned towards the viewer when it faces away, the light
// direction made unit length at every pixel, diffuse 0.5 grey plus a white
// highlight of exponent 150 and level 10, the default light at (200, 200,
// 1000)); Phong interpolates the vertex normals, Flat gives each triangle
// its face normal. The frame is 1920 x 1080 at 8 bits (RGBA8) or 16 bits
// (RGBA16) a channel and is read back into memory every frame, as the
// renderer hands its frame back in the caller's buffer. No anti-aliasing.
//
// llvmpipe's thread count comes from LP_NUM_THREADS (0 when it is not set:
// everything on the calling thread); scripts/bench.sh runs this program with
// 0 and with 8. Times are wall-clock (the drawing threads are not this
// one's).
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/glcorearb.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/wave_sheet.h"

namespace {

constexpr int W = 1920, H = 1080, GRID = 60;

// The GL entry points this program uses, looked up through EGL (Mesa hands
// out every core function that way), so it links against libEGL alone.
#define PEER_GL_FUNCTIONS(X)                                                   \
  X(PFNGLGETSTRINGPROC, glGetString)                                           \
  X(PFNGLGETERRORPROC, glGetError)                                             \
  X(PFNGLVIEWPORTPROC, glViewport)                                             \
  X(PFNGLENABLEPROC, glEnable)                                                 \
  X(PFNGLDISABLEPROC, glDisable)                                               \
  X(PFNGLDEPTHFUNCPROC, glDepthFunc)                                           \
  X(PFNGLCLEARCOLORPROC, glClearColor)                                         \
  X(PFNGLCLEARPROC, glClear)                                                   \
  X(PFNGLREADPIXELSPROC, glReadPixels)                                         \
  X(PFNGLPIXELSTOREIPROC, glPixelStorei)                                       \
  X(PFNGLGENFRAMEBUFFERSPROC, glGenFramebuffers)                               \
  X(PFNGLBINDFRAMEBUFFERPROC, glBindFramebuffer)                               \
  X(PFNGLGENRENDERBUFFERSPROC, glGenRenderbuffers)                             \
  X(PFNGLBINDRENDERBUFFERPROC, glBindRenderbuffer)                             \
  X(PFNGLRENDERBUFFERSTORAGEPROC, glRenderbufferStorage)                       \
  X(PFNGLFRAMEBUFFERRENDERBUFFERPROC, glFramebufferRenderbuffer)               \
  X(PFNGLCHECKFRAMEBUFFERSTATUSPROC, glCheckFramebufferStatus)                 \
  X(PFNGLDELETEFRAMEBUFFERSPROC, glDeleteFramebuffers)                         \
  X(PFNGLDELETERENDERBUFFERSPROC, glDeleteRenderbuffers)                       \
  X(PFNGLGENVERTEXARRAYSPROC, glGenVertexArrays)                               \
  X(PFNGLBINDVERTEXARRAYPROC, glBindVertexArray)                               \
  X(PFNGLGENBUFFERSPROC, glGenBuffers)                                         \
  X(PFNGLBINDBUFFERPROC, glBindBuffer)                                         \
  X(PFNGLBUFFERDATAPROC, glBufferData)                                         \
  X(PFNGLENABLEVERTEXATTRIBARRAYPROC, glEnableVertexAttribArray)               \
  X(PFNGLVERTEXATTRIBPOINTERPROC, glVertexAttribPointer)                       \
  X(PFNGLDRAWARRAYSPROC, glDrawArrays)                                         \
  X(PFNGLDRAWELEMENTSPROC, glDrawElements)                                     \
  X(PFNGLCREATESHADERPROC, glCreateShader)                                     \
  X(PFNGLSHADERSOURCEPROC, glShaderSource)                                     \
  X(PFNGLCOMPILESHADERPROC, glCompileShader)                                   \
  X(PFNGLGETSHADERIVPROC, glGetShaderiv)                                       \
  X(PFNGLGETSHADERINFOLOGPROC, glGetShaderInfoLog)                             \
  X(PFNGLCREATEPROGRAMPROC, glCreateProgram)                                   \
  X(PFNGLATTACHSHADERPROC, glAttachShader)                                     \
  X(PFNGLLINKPROGRAMPROC, glLinkProgram)                                       \
  X(PFNGLGETPROGRAMIVPROC, glGetProgramiv)                                     \
  X(PFNGLGETPROGRAMINFOLOGPROC, glGetProgramInfoLog)                           \
  X(PFNGLUSEPROGRAMPROC, glUseProgram)                                         \
  X(PFNGLGETUNIFORMLOCATIONPROC, glGetUniformLocation)                         \
  X(PFNGLUNIFORM2FPROC, glUniform2f)                                           \
  X(PFNGLUNIFORM3FPROC, glUniform3f)

struct Gl {
#define PEER_GL_MEMBER(type, name) type name;
  PEER_GL_FUNCTIONS(PEER_GL_MEMBER)
#undef PEER_GL_MEMBER
};

const char* const kVertexShader = R"(#version 330 core
// Vertices in the renderer's space: pixels from the frame centre, y down,
// larger z nearer the viewer.
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
uniform vec2 centre;
uniform vec2 size;
out vec3 P;
NORMAL_QUALIFIER out vec3 N;
void main() {
  P = position;
  N = normal;
  vec2 pixel = position.xy + centre;
  gl_Position = vec4(pixel.x / size.x * 2.0 - 1.0, 1.0 - pixel.y / size.y * 2.0, -position.z / 4096.0, 1.0);
}
)";

const char* const kFragmentShader = R"(#version 330 core
in vec3 P;
NORMAL_QUALIFIER in vec3 N;
uniform vec3 lightPosition;
uniform vec3 lightColour;
out vec4 colour;
void main() {
  vec3 n = N;
  if (n.z < 0.0) n.z = -n.z;
  float nl = length(n);
  if (nl > 0.0) n /= nl;
  vec3 l = lightPosition - P;
  float ll = length(l);
  if (ll > 0.0) l /= ll;
  float d = max(dot(n, l), 0.0);
  float specular = pow(d, 150.0) * 10.0;
  colour = vec4(clamp((vec3(0.5) * d + vec3(specular)) * lightColour, 0.0, 1.0), 1.0);
}
)";

// One drawing context for the whole run.
struct Peer {
  EGLDisplay display = EGL_NO_DISPLAY;
  EGLContext context = EGL_NO_CONTEXT;
  Gl gl{};
  std::string renderer, error;
  int threads = 0;
};

Peer& ThePeer() {
  static Peer peer;
  return peer;
}

bool Fail(Peer& p, const std::string& why) {
  p.error = why;
  return false;
}

bool StartPeer(Peer& p) {
  // Mesa's software rasteriser, whatever else the machine has.
  setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
  setenv("GALLIUM_DRIVER", "llvmpipe", 1);
  setenv("LP_NUM_THREADS", "0", 0);
  p.threads = std::atoi(std::getenv("LP_NUM_THREADS"));
  auto getPlatformDisplay =
      reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (!getPlatformDisplay) return Fail(p, "EGL cannot open a display by platform");
  p.display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  if (p.display == EGL_NO_DISPLAY || !eglInitialize(p.display, nullptr, nullptr))
    return Fail(p, "no surfaceless EGL display (libegl-mesa0, libgl1-mesa-dri)");
  if (!eglBindAPI(EGL_OPENGL_API)) return Fail(p, "EGL offers no OpenGL");
  const EGLint configAttributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
  EGLConfig config = nullptr;
  EGLint configs = 0;
  eglChooseConfig(p.display, configAttributes, &config, 1, &configs);
  const EGLint contextAttributes[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_CONTEXT_MINOR_VERSION, 3,
                                      EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                      EGL_NONE};
  p.context = eglCreateContext(p.display, configs > 0 ? config : EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT,
                               contextAttributes);
  if (p.context == EGL_NO_CONTEXT || !eglMakeCurrent(p.display, EGL_NO_SURFACE, EGL_NO_SURFACE, p.context))
    return Fail(p, "no OpenGL 3.3 context without a surface");
#define PEER_GL_LOAD(type, name)                                    \
  p.gl.name = reinterpret_cast<type>(eglGetProcAddress(#name)); \
  if (!p.gl.name) return Fail(p, "OpenGL lacks " #name);
  PEER_GL_FUNCTIONS(PEER_GL_LOAD)
#undef PEER_GL_LOAD
  const GLubyte* name = p.gl.glGetString(GL_RENDERER);
  p.renderer = name ? reinterpret_cast<const char*>(name) : "";
  if (p.renderer.find("llvmpipe") == std::string::npos) return Fail(p, "not llvmpipe: " + p.renderer);
  return true;
}

GLuint Compile(const Gl& gl, GLenum kind, const char* source, bool flat, std::string& error) {
  std::string text = source;
  const std::string key = "NORMAL_QUALIFIER";
  for (size_t at; (at = text.find(key)) != std::string::npos;) text.replace(at, key.size(), flat ? "flat" : "");
  const GLuint shader = gl.glCreateShader(kind);
  const char* s = text.c_str();
  gl.glShaderSource(shader, 1, &s, nullptr);
  gl.glCompileShader(shader);
  GLint ok = 0;
  gl.glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[1024] = {};
    gl.glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    error = log;
  }
  return shader;
}

// Position (x, y, z) and normal (nx, ny, nz) of a drawn vertex; the Phong
// case hands the renderer's own vertex records over instead.
struct FlatVertex {
  float x, y, z, nx, ny, nz;
};

// The sheet sorted far to near as the effect sorts it; for Flat, three
// vertices a triangle, each with the triangle's unit face normal.
struct Scene {
  std::vector<__Point3ds> points;
  std::vector<__Triangle3ds> triangles;
  std::vector<FlatVertex> flat;
  const char* fault = nullptr;
  Scene() {
    BuildWaveSheet(GRID, W, H, points, triangles);
    fault = WaveSheetFault(points, triangles);
    __Sort(int(triangles.size()), triangles.data(), points.data());
    for (const __Triangle3ds& t : triangles) {
      const __Point3ds &a = points[t.vert[0]], &b = points[t.vert[1]], &c = points[t.vert[2]];
      const float ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
      const float vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
      float nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
      const float len = std::sqrt(nx * nx + ny * ny + nz * nz);
      if (len > 0.0f) nx /= len, ny /= len, nz /= len;
      for (const __Point3ds* p : {&a, &b, &c}) flat.push_back({p->x, p->y, p->z, nx, ny, nz});
    }
  }
};

void BM_Peer(benchmark::State& state, bool flat, bool deep) {
  Peer& p = ThePeer();
  if (!p.error.empty()) return state.SkipWithError(p.error.c_str());
  static const Scene scene;
  if (scene.fault) return state.SkipWithError(scene.fault);
  const Gl& gl = p.gl;

  GLuint framebuffer = 0, buffers[2] = {0, 0};
  gl.glGenFramebuffers(1, &framebuffer);
  gl.glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  gl.glGenRenderbuffers(2, buffers);
  gl.glBindRenderbuffer(GL_RENDERBUFFER, buffers[0]);
  gl.glRenderbufferStorage(GL_RENDERBUFFER, deep ? GL_RGBA16 : GL_RGBA8, W, H);
  gl.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, buffers[0]);
  gl.glBindRenderbuffer(GL_RENDERBUFFER, buffers[1]);
  gl.glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, W, H);
  gl.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, buffers[1]);
  if (gl.glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
    return state.SkipWithError("the offscreen framebuffer is incomplete");

  std::string error;
  const GLuint vs = Compile(gl, GL_VERTEX_SHADER, kVertexShader, flat, error);
  const GLuint fs = Compile(gl, GL_FRAGMENT_SHADER, kFragmentShader, flat, error);
  if (!error.empty()) return state.SkipWithError(error.c_str());
  const GLuint program = gl.glCreateProgram();
  gl.glAttachShader(program, vs);
  gl.glAttachShader(program, fs);
  gl.glLinkProgram(program);
  GLint linked = 0;
  gl.glGetProgramiv(program, GL_LINK_STATUS, &linked);
  if (!linked) return state.SkipWithError("the shaders do not link");
  gl.glUseProgram(program);
  gl.glUniform2f(gl.glGetUniformLocation(program, "centre"), float(W / 2), float(H / 2));
  gl.glUniform2f(gl.glGetUniformLocation(program, "size"), float(W), float(H));
  gl.glUniform3f(gl.glGetUniformLocation(program, "lightPosition"), 200.0f, 200.0f, 1000.0f);
  gl.glUniform3f(gl.glGetUniformLocation(program, "lightColour"), 1.0f, 1.0f, 1.0f);

  GLuint vao = 0, vbo[2] = {0, 0};
  gl.glGenVertexArrays(1, &vao);
  gl.glBindVertexArray(vao);
  gl.glGenBuffers(2, vbo);
  gl.glBindBuffer(GL_ARRAY_BUFFER, vbo[0]);
  gl.glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, vbo[1]);
  gl.glEnableVertexAttribArray(0);
  gl.glEnableVertexAttribArray(1);
  const GLsizei stride = flat ? GLsizei(sizeof(FlatVertex)) : GLsizei(sizeof(__Point3ds));
  const size_t normalAt = flat ? offsetof(FlatVertex, nx) : offsetof(__Point3ds, nx);
  gl.glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, nullptr);
  gl.glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(normalAt));

  gl.glViewport(0, 0, W, H);
  gl.glEnable(GL_DEPTH_TEST);
  gl.glDepthFunc(GL_LESS);
  gl.glDisable(GL_CULL_FACE);
  gl.glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  gl.glPixelStorei(GL_PACK_ALIGNMENT, 1);
  std::vector<uint8_t> frame(size_t(W) * H * (deep ? 8 : 4));
  std::vector<uint32_t> indices(scene.triangles.size() * 3);

  for (auto _ : state) {
    if (flat) {
      gl.glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(scene.flat.size() * sizeof(FlatVertex)), scene.flat.data(),
                      GL_STREAM_DRAW);
    } else {
      for (size_t t = 0; t < scene.triangles.size(); ++t)
        for (int k = 0; k < 3; ++k) indices[3 * t + k] = scene.triangles[t].vert[k];
      gl.glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(scene.points.size() * sizeof(__Point3ds)), scene.points.data(),
                      GL_STREAM_DRAW);
      gl.glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * sizeof(uint32_t)), indices.data(),
                      GL_STREAM_DRAW);
    }
    gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (flat)
      gl.glDrawArrays(GL_TRIANGLES, 0, GLsizei(scene.flat.size()));
    else
      gl.glDrawElements(GL_TRIANGLES, GLsizei(indices.size()), GL_UNSIGNED_INT, nullptr);
    gl.glReadPixels(0, 0, W, H, GL_RGBA, deep ? GL_UNSIGNED_SHORT : GL_UNSIGNED_BYTE, frame.data());
    benchmark::DoNotOptimize(frame.data());
  }
  if (gl.glGetError() != GL_NO_ERROR) state.SkipWithError("OpenGL reported an error");
  state.SetLabel(std::string(flat ? "flat" : "phong") + (deep ? " 16-bit" : " 8-bit") + ", " + p.renderer);
  state.counters["lp_threads"] = p.threads;

  gl.glBindVertexArray(0);
  gl.glBindFramebuffer(GL_FRAMEBUFFER, 0);
  gl.glDeleteFramebuffers(1, &framebuffer);
  gl.glDeleteRenderbuffers(2, buffers);
}

}  // namespace

int main(int argc, char** argv) {
  Peer& p = ThePeer();
  StartPeer(p);
  // Named like raster_bench's cases (mode 3 Flat, 6 Phong / 16 bits / no
  // anti-aliasing), with llvmpipe's thread count.
  for (bool flat : {true, false})
    for (bool deep : {false, true}) {
      const std::string name = std::string("BM_Peer/") + (flat ? "3" : "6") + (deep ? "/1" : "/0") +
                               "/0/lp_threads:" + std::to_string(p.threads);
      benchmark::RegisterBenchmark(name.c_str(), BM_Peer, flat, deep)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime()
          ->MinTime(1.0);
    }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (p.display != EGL_NO_DISPLAY) eglTerminate(p.display);
  return 0;
}
