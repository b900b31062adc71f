// Draws the pictures of the effect controls panel as 24-bit BMP files:
//   banner_theatre.bmp, banner_tableau.bmp, banner_drape.bmp   360 x 100
//   about.bmp, about_hover.bmp                                  54 x 54
//   help.bmp, help_hover.bmp                                    73 x 40
// Built and run by scripts/make-panel-art.sh. Every pixel is computed here
// (text with the Liberation fonts through stb_truetype), so the pictures can
// be remade and changed by editing this file.
//
// The banner's left part is a plate the same in the three plug-ins, and the
// buttons draw that same plate around their shapes (sampled at their places
// on the banner), so they sit on any banner without seams.
#define STB_TRUETYPE_IMPLEMENTATION
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "stb_truetype.h"

namespace {
struct Rgb {
  double r, g, b;
};

Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
double Clamp01(double v) { return v < 0 ? 0 : v > 1 ? 1 : v; }
double Smooth(double e0, double e1, double x) {
  double t = Clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}

struct Picture {
  int width, height;
  std::vector<Rgb> px;
  Picture(int w, int h) : width(w), height(h), px(size_t(w) * h) {}
  Rgb& at(int x, int y) { return px[size_t(y) * width + x]; }
};

bool WriteBmp(const Picture& p, const std::string& path) {
  const int stride = (p.width * 3 + 3) & ~3;
  const uint32_t data = uint32_t(stride) * p.height;
  std::vector<uint8_t> f(54 + data, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = uint8_t(v >> (8 * i));
  };
  f[0] = 'B', f[1] = 'M';
  put32(2, 54 + data);
  put32(10, 54);
  put32(14, 40);
  put32(18, uint32_t(p.width));
  put32(22, uint32_t(p.height));
  f[26] = 1, f[28] = 24;
  put32(34, data);
  put32(38, 2835), put32(42, 2835);
  for (int y = 0; y < p.height; ++y) {
    uint8_t* row = &f[54 + size_t(p.height - 1 - y) * stride];  // bottom-up
    for (int x = 0; x < p.width; ++x) {
      const Rgb& c = p.px[size_t(y) * p.width + x];
      row[3 * x + 0] = uint8_t(std::lround(Clamp01(c.b / 255) * 255));
      row[3 * x + 1] = uint8_t(std::lround(Clamp01(c.g / 255) * 255));
      row[3 * x + 2] = uint8_t(std::lround(Clamp01(c.r / 255) * 255));
    }
  }
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  bool ok = std::fwrite(f.data(), 1, f.size(), out) == f.size();
  return std::fclose(out) == 0 && ok;
}

// ---- text ------------------------------------------------------------------
struct Font {
  std::vector<uint8_t> data;
  stbtt_fontinfo info;
};

bool LoadFont(Font& font, const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::fseek(f, 0, SEEK_END);
  long n = std::ftell(f);
  std::fseek(f, 0, SEEK_SET);
  font.data.resize(size_t(n));
  bool ok = std::fread(font.data.data(), 1, font.data.size(), f) == font.data.size();
  std::fclose(f);
  return ok && stbtt_InitFont(&font.info, font.data.data(), 0);
}

// Coverage 0..1 of a line of text set at pixel size `size` with its
// baseline at (x, baseline); `tracking` adds pixels between letters.
std::vector<double> TextMask(const Font& font, const char* text, double size, double x,
                             double baseline, double tracking, int width, int height) {
  std::vector<double> mask(size_t(width) * height, 0.0);
  const float scale = stbtt_ScaleForPixelHeight(&font.info, float(size));
  double pen = x;
  for (const char* c = text; *c; ++c) {
    int advance = 0, bearing = 0;
    stbtt_GetCodepointHMetrics(&font.info, *c, &advance, &bearing);
    const double fx = pen - std::floor(pen);
    int w = 0, h = 0, ox = 0, oy = 0;
    unsigned char* glyph = stbtt_GetCodepointBitmapSubpixel(&font.info, scale, scale, float(fx),
                                                            0.0f, *c, &w, &h, &ox, &oy);
    const int gx = int(std::floor(pen)) + ox, gy = int(std::lround(baseline)) + oy;
    for (int j = 0; j < h; ++j)
      for (int i = 0; i < w; ++i) {
        const int px = gx + i, py = gy + j;
        if (px < 0 || py < 0 || px >= width || py >= height) continue;
        double& m = mask[size_t(py) * width + px];
        m = std::fmin(1.0, m + glyph[j * w + i] / 255.0);
      }
    stbtt_FreeBitmap(glyph, nullptr);
    pen += advance * scale + tracking;
    if (c[1]) pen += stbtt_GetCodepointKernAdvance(&font.info, c[0], c[1]) * scale;
  }
  return mask;
}

double TextWidth(const Font& font, const char* text, double size, double tracking) {
  const float scale = stbtt_ScaleForPixelHeight(&font.info, float(size));
  double w = 0;
  for (const char* c = text; *c; ++c) {
    int advance = 0, bearing = 0;
    stbtt_GetCodepointHMetrics(&font.info, *c, &advance, &bearing);
    w += advance * scale +
         (c[1] ? tracking + stbtt_GetCodepointKernAdvance(&font.info, c[0], c[1]) * scale : 0);
  }
  return w;
}

double MaskAt(const std::vector<double>& m, int width, int height, int x, int y) {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  return m[size_t(y) * width + x];
}

// ---- the plate under the buttons (banner coordinates) ----------------------
Rgb Plate(double x, double y) {
  Rgb top = {46, 52, 66}, bottom = {24, 27, 36};
  Rgb c = Mix(top, bottom, Clamp01(y / 100.0));
  // a faint light from the upper left
  double d = std::hypot((x - 30) / 160.0, (y + 10) / 90.0);
  return Mix(c, {70, 78, 96}, 0.35 * Clamp01(1 - d));
}

// ---- the cloth of each plug-in (banner coordinates) ------------------------
enum Plugin { THEATRE, TABLEAU, DRAPE };

Rgb Cloth(Plugin p, double x, double y) {
  if (p == THEATRE) {
    // two red velvet curtains with deep vertical folds
    double folds = std::cos((x - 150) / 11.0 + 0.9 * std::sin(y / 31.0 + x / 80.0));
    double shade = 0.5 + 0.5 * folds;
    Rgb c = Mix({40, 4, 12}, {170, 24, 40}, 0.25 + 0.75 * shade);
    c = Mix(c, {246, 140, 140}, 0.22 * std::pow(shade, 10));
    // the parting of the curtains, darker towards the middle of the gap
    double gap = std::fabs(x - 262) - (6 + 0.10 * y);
    c = Mix({18, 4, 8}, c, Smooth(-2, 6, gap));
    return Mix(c, {20, 2, 8}, 0.55 * std::exp(-y / 9.0));  // bunched under the rod
  }
  if (p == TABLEAU) {
    // one deep-teal panel, its folds swinging gently
    double folds = std::cos((x - 150) / 15.0 + 1.4 * std::sin(y / 45.0));
    double shade = 0.5 + 0.5 * folds;
    Rgb c = Mix({6, 34, 44}, {28, 128, 140}, 0.2 + 0.8 * shade);
    c = Mix(c, {170, 236, 230}, 0.20 * std::pow(shade, 12));
    return Mix(c, {4, 20, 26}, 0.5 * std::exp(-y / 10.0));
  }
  // Drape: a sage-green cloth pinned at the top corners, sagging between
  double u = (x - 150) / 210.0;                // 0 .. 1 across
  double sag = 26 * std::sin(u * 3.14159265);  // the hem's and folds' dip
  double folds = std::cos((y - sag * (1 - y / 130.0)) / 7.5 + u * 2.0);
  double shade = 0.5 + 0.5 * folds;
  Rgb c = Mix({16, 34, 24}, {96, 146, 108}, 0.25 + 0.75 * shade);
  c = Mix(c, {214, 242, 206}, 0.22 * std::pow(shade, 10));
  // the two pins
  for (double pin_x : {162.0, 348.0}) {
    double r = std::hypot(x - pin_x, y - 8);
    c = Mix(c, {230, 230, 236}, Smooth(3.2, 2.2, r));
  }
  return c;
}

// ---- the banner -----------------------------------------------------------------
const char* const PluginWord[] = {"Theatre", "Tableau", "Drape"};
const Rgb Accent[] = {{244, 206, 120}, {150, 232, 226}, {176, 232, 170}};

Picture Banner(Plugin p, const Font& serif, const Font& sans) {
  const int W = 360, H = 100;
  Picture pic(W, H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      Rgb acc = {0, 0, 0};
      for (int sy = 0; sy < 3; ++sy)
        for (int sx = 0; sx < 3; ++sx) {
          double fx = x + (sx + 0.5) / 3, fy = y + (sy + 0.5) / 3;
          // the cloth fades in behind the plate's soft right edge
          Rgb c = Mix(Plate(fx, fy), Cloth(p, fx, fy), Smooth(150, 178, fx));
          acc = {acc.r + c.r / 9, acc.g + c.g / 9, acc.b + c.b / 9};
        }
      pic.at(x, y) = acc;
    }
  // a thin gold line along the plate's edge
  for (int y = 8; y < H - 8; ++y) {
    double t = Smooth(8, 20, y) * Smooth(H - 8, H - 20, y);
    pic.at(150, y) = Mix(pic.at(150, y), {214, 178, 96}, 0.6 * t);
  }
  // the text on a shaded band across the cloth so that it reads
  const double text_left = 170;
  std::vector<double> title = TextMask(serif, "Velarra", 36, text_left, 50, 0.5, W, H);
  std::vector<double> word = TextMask(sans, PluginWord[p], 19, text_left + 3, 78, 3.0, W, H);
  const double word_w = TextWidth(sans, PluginWord[p], 19, 3.0);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      Rgb& c = pic.at(x, y);
      double band = Smooth(158, 182, x) * Smooth(8, 22, y) * Smooth(96, 84, y);
      c = Mix(c, {8, 8, 12}, 0.45 * band);
      double shadow =
          std::fmax(MaskAt(title, W, H, x - 2, y - 2), MaskAt(word, W, H, x - 1, y - 1));
      c = Mix(c, {0, 0, 0}, 0.7 * shadow);
      double t = MaskAt(title, W, H, x, y);
      Rgb gold = Mix({255, 240, 190}, {206, 150, 52}, Clamp01((y - 20) / 32.0));
      c = Mix(c, gold, t);
      c = Mix(c, {238, 234, 226}, MaskAt(word, W, H, x, y));
    }
  // an accent rule under the plug-in's name
  for (int x = int(text_left + 3); x < int(text_left + 3 + word_w); ++x) {
    double t = Smooth(text_left + 3, text_left + 15, x) *
               Smooth(text_left + 3 + word_w, text_left + word_w - 9, x);
    pic.at(x, 84) = Mix(pic.at(x, 84), Accent[p], 0.85 * t);
  }
  return pic;
}

// ---- the buttons --------------------------------------------------------------
// A shape drawn over the plate: `shade(fx, fy)` gives the shape's colour and
// coverage at a point of the button; everything else shows the plate.
template <typename Shade>
Picture Button(int w, int h, int at_x, int at_y, Shade shade) {
  Picture pic(w, h);
  const int n = 4;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      Rgb acc = {0, 0, 0};
      for (int sy = 0; sy < n; ++sy)
        for (int sx = 0; sx < n; ++sx) {
          double fx = x + (sx + 0.5) / n, fy = y + (sy + 0.5) / n;
          Rgb c = Plate(at_x + fx, at_y + fy);
          double cover = 0;
          Rgb s = shade(fx, fy, cover);
          c = Mix(c, s, cover);
          acc = {acc.r + c.r / (n * n), acc.g + c.g / (n * n), acc.b + c.b / (n * n)};
        }
      pic.at(x, y) = acc;
    }
  return pic;
}

// The About button: a round medallion with a gold ring and an "i".
Picture AboutButton(bool hover, const Font& serif) {
  const int S = 54;
  std::vector<double> letter = TextMask(serif, "i", 34, 0, 0, 0, S, S);
  // centre the letter: measure its box
  int x0 = S, x1 = 0, y0 = S, y1 = 0;
  std::vector<double> probe = TextMask(serif, "i", 34, 20, 38, 0, S, S);
  for (int y = 0; y < S; ++y)
    for (int x = 0; x < S; ++x)
      if (probe[size_t(y) * S + x] > 0.01)
        x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
  const double dx = 27 - (x0 + x1 + 1) / 2.0, dy = 27 - (y0 + y1 + 1) / 2.0;
  letter = TextMask(serif, "i", 34, 20 + dx, 38 + std::round(dy), 0, S, S);
  const Rgb inner_top = hover ? Rgb{112, 128, 170} : Rgb{70, 80, 110};
  const Rgb inner_bottom = hover ? Rgb{40, 48, 80} : Rgb{22, 26, 40};
  const Rgb ring = hover ? Rgb{255, 226, 140} : Rgb{206, 164, 78};
  Picture pic = Button(S, S, 12, 13, [&](double fx, double fy, double& cover) {
    double r = std::hypot(fx - 27, fy - 27);
    cover = Smooth(24.6, 23.6, r);
    if (hover) {  // a soft glow around the ring
      double glow = 0.45 * Smooth(27, 24, r);
      if (cover < glow) {
        cover = glow;
        return Rgb{255, 214, 120};
      }
    }
    Rgb c = Mix(inner_top, inner_bottom, Clamp01((fy - 6) / 42.0));
    // gloss on the upper half
    double g = Smooth(20, 6, std::hypot((fx - 27) / 1.3, fy - 12));
    c = Mix(c, {255, 255, 255}, (hover ? 0.28 : 0.18) * g);
    double ring_t = Smooth(19.8, 20.8, r) * Smooth(24.6, 23.6, r);
    Rgb ring_c = Mix(ring, {120, 84, 30}, Clamp01((fy - 4) / 50.0) * 0.6);
    return Mix(c, ring_c, ring_t);
  });
  for (int y = 0; y < S; ++y)
    for (int x = 0; x < S; ++x) {
      Rgb& c = pic.at(x, y);
      c = Mix(c, {0, 0, 0}, 0.6 * MaskAt(letter, S, S, x - 1, y - 1));
      c = Mix(c, hover ? Rgb{255, 250, 232} : Rgb{240, 226, 190}, MaskAt(letter, S, S, x, y));
    }
  return pic;
}

// The help button: a rounded plaque with a "?" disc and the word "Help".
Picture HelpButton(bool hover, const Font& sans) {
  const int W = 73, H = 40;
  const Rgb fill_top = hover ? Rgb{112, 128, 170} : Rgb{70, 80, 110};
  const Rgb fill_bottom = hover ? Rgb{40, 48, 80} : Rgb{22, 26, 40};
  const Rgb edge = hover ? Rgb{255, 226, 140} : Rgb{206, 164, 78};
  auto rounded = [](double fx, double fy) {  // signed distance to the plaque's outline
    const double l = 3, t = 5, r = 70, b = 35, rad = 10;
    double qx = std::fmax(std::fmax(l + rad - fx, fx - (r - rad)), 0.0);
    double qy = std::fmax(std::fmax(t + rad - fy, fy - (b - rad)), 0.0);
    double inside = std::fmin(
        std::fmax(std::fmax(l + rad - fx, fx - (r - rad)), std::fmax(t + rad - fy, fy - (b - rad))),
        0.0);
    return std::hypot(qx, qy) + inside - rad;
  };
  Picture pic = Button(W, H, 70, 49, [&](double fx, double fy, double& cover) {
    double d = rounded(fx, fy);
    cover = Smooth(0.5, -0.5, d);
    if (hover) {
      double glow = 0.45 * Smooth(3.0, 0.0, d);
      if (cover < glow) {
        cover = glow;
        return Rgb{255, 214, 120};
      }
    }
    Rgb c = Mix(fill_top, fill_bottom, Clamp01((fy - 5) / 30.0));
    c = Mix(c, {255, 255, 255}, (hover ? 0.22 : 0.14) * Smooth(20, 8, fy));
    Rgb e = Mix(edge, {120, 84, 30}, Clamp01((fy - 5) / 30.0) * 0.6);
    c = Mix(c, e, Smooth(-2.2, -1.2, d));
    // the disc of the question mark
    double disc = std::hypot(fx - 18, fy - 20);
    Rgb disc_c = hover ? Rgb{255, 226, 140} : Rgb{214, 176, 92};
    return Mix(c, disc_c, Smooth(9.5, 8.5, disc));
  });
  std::vector<double> mark = TextMask(sans, "?", 16, 13.6, 26, 0, W, H);
  std::vector<double> word = TextMask(sans, "Help", 16, 31, 26, 0.6, W, H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      Rgb& c = pic.at(x, y);
      c = Mix(c, {40, 28, 8}, MaskAt(mark, W, H, x, y));
      c = Mix(c, {0, 0, 0}, 0.6 * MaskAt(word, W, H, x - 1, y - 1));
      c = Mix(c, hover ? Rgb{255, 250, 232} : Rgb{236, 230, 214}, MaskAt(word, W, H, x, y));
    }
  return pic;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s FONT_DIR OUT_DIR\n", argv[0]);
    return 1;
  }
  const std::string fonts = argv[1], out = argv[2];
  Font serif, sans;
  if (!LoadFont(serif, fonts + "/LiberationSerif-BoldItalic.ttf") ||
      !LoadFont(sans, fonts + "/LiberationSans-Bold.ttf")) {
    std::fprintf(stderr, "cannot read the Liberation fonts in %s\n", fonts.c_str());
    return 1;
  }
  const char* names[] = {"banner_theatre.bmp", "banner_tableau.bmp", "banner_drape.bmp"};
  bool ok = true;
  for (int p = THEATRE; p <= DRAPE; ++p)
    ok &= WriteBmp(Banner(Plugin(p), serif, sans), out + "/" + names[p]);
  ok &= WriteBmp(AboutButton(false, serif), out + "/about.bmp");
  ok &= WriteBmp(AboutButton(true, serif), out + "/about_hover.bmp");
  ok &= WriteBmp(HelpButton(false, sans), out + "/help.bmp");
  ok &= WriteBmp(HelpButton(true, sans), out + "/help_hover.bmp");
  if (!ok) {
    std::fprintf(stderr, "cannot write the pictures into %s\n", out.c_str());
    return 1;
  }
  return 0;
}
