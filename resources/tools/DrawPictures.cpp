// DrawPictures draws every bitmap that Tesmora ships (preview backgrounds, the colour
// illustration, button faces, icons) from code and writes them as PNG files into the folder
// given on the command line. See README.md beside this file for how to build and run it.
//
// All randomness comes from integer hashes with fixed seeds, so a rerun writes identical files.

#include <QConicalGradient>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------------
// Noise

uint32_t Mix32(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}

uint32_t Hash(int x, int y, uint32_t seed) {
  return Mix32(static_cast<uint32_t>(x) * 0x9e3779b1U +
               Mix32(static_cast<uint32_t>(y) ^ (seed * 0x85ebca6bU)));
}

// Uniform in [0, 1).
float Hash01(int x, int y, uint32_t seed) {
  return static_cast<float>(Hash(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

float Fade(float t) {
  return t * t * t * (t * (t * 6 - 15) + 10);
}

float ValueNoise(float x, float y, uint32_t seed) {
  const float fx = std::floor(x), fy = std::floor(y);
  const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  const float u = Fade(x - fx), v = Fade(y - fy);
  const float a = Hash01(ix, iy, seed), b = Hash01(ix + 1, iy, seed);
  const float c = Hash01(ix, iy + 1, seed), d = Hash01(ix + 1, iy + 1, seed);
  return a + (b - a) * u + (c - a) * v + (a - b - c + d) * u * v;
}

// Fractal sum of value noise, in [0, 1] with most values near 0.5. Every octave is rotated so
// the square lattice of the underlying noise never lines up into visible streaks.
float Fbm(float x, float y, int octaves, uint32_t seed, float gain = 0.5f) {
  float sum = 0, amp = 1, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amp * ValueNoise(x, y, seed + static_cast<uint32_t>(i) * 101U);
    norm += amp;
    const float nx = (x * 0.8f - y * 0.6f) * 2.03f + 17.1f;
    const float ny = (x * 0.6f + y * 0.8f) * 2.03f - 9.7f;
    x = nx;
    y = ny;
    amp *= gain;
  }
  return sum / norm;
}

// Deterministic generator for placing things (houses, spots, masts).
class Rng {
 public:
  explicit Rng(uint32_t seed) : state_(seed) {}
  float Next() { return Hash01(static_cast<int>(counter_++), 0, state_); }
  float Range(float lo, float hi) { return lo + (hi - lo) * Next(); }

 private:
  uint32_t state_;
  uint32_t counter_ = 0;
};

// ---------------------------------------------------------------------------------------------
// Colour arithmetic on floats in [0, 1]

struct Rgb {
  float r = 0, g = 0, b = 0;
};

Rgb operator+(Rgb a, Rgb b) {
  return {a.r + b.r, a.g + b.g, a.b + b.b};
}
Rgb operator-(Rgb a, Rgb b) {
  return {a.r - b.r, a.g - b.g, a.b - b.b};
}
Rgb operator*(Rgb a, float s) {
  return {a.r * s, a.g * s, a.b * s};
}
Rgb Mix(Rgb a, Rgb b, float t) {
  return a + (b - a) * t;
}
Rgb Hex(int r, int g, int b) {
  return {r / 255.0f, g / 255.0f, b / 255.0f};
}

float Clamp01(float v) {
  return std::clamp(v, 0.0f, 1.0f);
}

float SmoothStep(float e0, float e1, float x) {
  const float t = Clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}

// A float RGB raster.
struct Canvas {
  int w = 0, h = 0;
  std::vector<Rgb> px;

  Canvas(int width, int height) : w(width), h(height), px(static_cast<size_t>(width) * height) {}
  Rgb& At(int x, int y) { return px[static_cast<size_t>(y) * w + x]; }
  const Rgb& At(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }

  // Bilinear sample; pixel centres lie at integer + 0.5.
  Rgb Sample(float fx, float fy) const {
    fx = std::clamp(fx - 0.5f, 0.0f, w - 1.001f);
    fy = std::clamp(fy - 0.5f, 0.0f, h - 1.001f);
    const int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
    const float tx = fx - x0, ty = fy - y0;
    return Mix(Mix(At(x0, y0), At(x0 + 1, y0), tx), Mix(At(x0, y0 + 1), At(x0 + 1, y0 + 1), tx),
               ty);
  }
};

struct Premul {
  Rgb c;
  float a = 0;
};

Premul LayerPixel(const QImage& layer, int x, int y) {
  const QRgb p = reinterpret_cast<const QRgb*>(layer.constScanLine(y))[x];
  return {Hex(qRed(p), qGreen(p), qBlue(p)), qAlpha(p) / 255.0f};
}

// Bilinear sample of a premultiplied ARGB layer, transparent outside.
Premul SampleLayer(const QImage& layer, float fx, float fy) {
  fx -= 0.5f;
  fy -= 0.5f;
  const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
  const float tx = fx - x0, ty = fy - y0;
  Premul out;
  for (int j = 0; j < 2; ++j) {
    for (int i = 0; i < 2; ++i) {
      const int x = x0 + i, y = y0 + j;
      if (x < 0 || y < 0 || x >= layer.width() || y >= layer.height())
        continue;
      const float wgt = (i ? tx : 1 - tx) * (j ? ty : 1 - ty);
      const Premul p = LayerPixel(layer, x, y);
      out.c = out.c + p.c * wgt;
      out.a += p.a * wgt;
    }
  }
  return out;
}

// Composites a layer onto the canvas. |grime| > 0 roughens painted surfaces with faint
// blotches so that they do not look freshly printed.
void Over(Canvas& canvas, const QImage& layer, float grime = 0) {
  for (int y = 0; y < canvas.h; ++y) {
    for (int x = 0; x < canvas.w; ++x) {
      const Premul p = LayerPixel(layer, x, y);
      if (p.a <= 0)
        continue;
      Rgb& c = canvas.At(x, y);
      Rgb src = p.c;
      if (grime > 0)
        src = src * (1 + grime * (Fbm(x / 5.0f, y / 3.0f, 3, 4111) - 0.5f));
      c = c * (1 - p.a) + src;
    }
  }
}

QImage NewLayer(int w, int h) {
  QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  return img;
}

// Alpha channel of a layer as floats, softened by three box-blur passes of the given radius.
std::vector<float> BlurredAlpha(const QImage& layer, int radius) {
  const int w = layer.width(), h = layer.height();
  std::vector<float> a(static_cast<size_t>(w) * h), tmp(a.size());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      a[static_cast<size_t>(y) * w + x] = LayerPixel(layer, x, y).a;
  const float norm = 1.0f / (2 * radius + 1);
  for (int pass = 0; pass < 3; ++pass) {
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        float s = 0;
        for (int k = -radius; k <= radius; ++k)
          s += a[static_cast<size_t>(y) * w + std::clamp(x + k, 0, w - 1)];
        tmp[static_cast<size_t>(y) * w + x] = s * norm;
      }
    }
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        float s = 0;
        for (int k = -radius; k <= radius; ++k)
          s += tmp[static_cast<size_t>(std::clamp(y + k, 0, h - 1)) * w + x];
        a[static_cast<size_t>(y) * w + x] = s * norm;
      }
    }
  }
  return a;
}

// ---------------------------------------------------------------------------------------------
// Harbour scene
//
// The scene is laid out in a 720 x 540 frame of square units (4:3). Both TV rasters show that
// whole frame, the PAL one with 576 rows and the NTSC one with 480, which is exactly how a DVD
// player stretches them onto a 4:3 screen. Distances are in metres; a pinhole camera stands on
// the quay and looks out over the harbour.

constexpr float kPi = 3.14159265f;
constexpr int kSuper = 2;  // the scene is rendered at twice the size and averaged down
constexpr float kFrameW = 720, kFrameH = 540;
constexpr float kHorizon = 250;  // the sea-level horizon
constexpr float kShoreY = 252;   // where the far shore meets the water
constexpr float kFocal = 700;    // frame units per unit of tangent
constexpr float kCentreX = 360;
constexpr float kEyeOverWater = 3.2f;
constexpr float kEyeOverQuay = 1.7f;

float WaterDistance(float y) {
  return kEyeOverWater * kFocal / (y - kHorizon);
}
float WaterY(float distance) {
  return kHorizon + kEyeOverWater * kFocal / distance;
}

// The quay edge runs slightly askew: further away on the left than on the right.
float QuayEdgeDistance(float groundX) {
  return 6.6f - 0.12f * groundX;
}

// Air between the camera and a far object lifts its colours towards the hazy horizon tone.
Rgb HazeTone() {
  return Hex(184, 196, 206);
}
float HazeAmount(float distance) {
  return 1 - std::exp(-distance / 2600.0f);
}

QColor Hazed(int r, int g, int b, float distance, int alpha = 255) {
  const Rgb c = Mix(Hex(r, g, b), HazeTone(), HazeAmount(distance));
  return QColor::fromRgbF(c.r, c.g, c.b, alpha / 255.0f);
}

Rgb Sky(float x, float y) {
  const float t = Clamp01(y / kHorizon);
  Rgb c = Mix(Hex(58, 100, 158), Hex(110, 150, 196), SmoothStep(0.0f, 0.75f, t));
  c = Mix(c, Hex(192, 205, 214), SmoothStep(0.5f, 1.0f, t));
  // The sun stands high on the right, outside the frame; the sky brightens towards it.
  const float glow = std::exp(-std::hypot(x - 800, (y + 150) * 1.2f) / 260.0f);
  c = Mix(c, Hex(246, 242, 230), 0.6f * glow);

  // Clouds: noise mapped so that features shrink and flatten towards the horizon.
  const float dy = std::max(kHorizon - y, 1.0f);
  const float u = (x - 360) / (40 + 0.45f * dy);
  const float v = 3.6f * std::log(dy + 22.0f);
  auto density = [&](float uu, float vv) {
    const float shape = Fbm(uu * 0.38f, vv * 0.38f, 3, 41);
    const float billow = Fbm(uu * 1.8f, vv * 1.8f, 5, 43);
    return shape + 0.32f * (billow - 0.5f);
  };
  const float coverage = 0.025f + 0.04f * SmoothStep(190, 50, dy);
  const float dens = density(u, v) + coverage;
  const float alpha = SmoothStep(0.55f, 0.65f, dens) * SmoothStep(2, 30, dy);
  if (alpha <= 0)
    return c;
  // Lit from the upper right: where the cloud thins towards the sun it glows, where it thickens
  // it lies in its own shade; the bases of tall clouds are greyer still.
  const float towardsSun = density(u + 0.12f, v + 0.10f) + coverage;
  const float above = density(u, v + 0.35f) + coverage;
  float light = Clamp01(0.66f + (dens - towardsSun) * 8.0f);
  light *= 1 - 0.4f * SmoothStep(0.56f, 0.72f, above);
  Rgb cloud = Mix(Hex(160, 168, 184), Hex(252, 251, 247), light);
  cloud = Mix(cloud, Hex(200, 210, 218), SmoothStep(70, 5, dy) * 0.6f);
  return Mix(c, cloud, alpha);
}

struct Ridges {
  std::vector<float> far, left, right;  // top edge of each hill range, per raster column
};

Ridges MakeRidges(int width) {
  Ridges r;
  for (int x = 0; x < width; ++x) {
    const float fx = (x + 0.5f) * kFrameW / width;
    r.far.push_back(kHorizon - (36 + 95 * (Fbm(fx / 240.0f, 5.3f, 5, 11) - 0.5f)));
    // A wooded headland on the left that slopes down into the bay.
    const float lp = std::pow(Clamp01((355 - fx) / 355), 0.55f);
    r.left.push_back(kShoreY - lp * (66 + 60 * (Fbm(fx / 110.0f, 1.7f, 5, 23) - 0.5f)));
    // A lower shore on the right, behind the breakwater.
    const float rp = std::pow(Clamp01((fx - 470) / 250), 0.7f);
    r.right.push_back(kShoreY - rp * (34 + 40 * (Fbm(fx / 90.0f, 8.1f, 5, 29) - 0.5f)));
  }
  return r;
}

Rgb FarHill(float x, float y, float ridge) {
  const float depth = Clamp01((y - ridge) / (kShoreY - ridge + 1));
  Rgb c = Mix(Hex(116, 136, 156), Hex(156, 170, 183), SmoothStep(0.0f, 1.0f, depth));
  const float n = Fbm(x / 30.0f, y / 12.0f, 5, 51);
  const float slope =
      (Fbm((x + 2) / 30.0f, y / 12.0f, 3, 51) - Fbm((x - 2) / 30.0f, y / 12.0f, 3, 51));
  c = c * (0.94f + 0.12f * n + 1.6f * slope);
  return Mix(c, Hex(186, 198, 210), 0.25f * (1 - depth));
}

Rgb NearHill(float x, float y, float ridge, uint32_t seed, float haze) {
  // Woodland with paler meadows, lit from the right.
  const float meadow = SmoothStep(0.55f, 0.62f, Fbm(x / 60.0f, y / 18.0f, 4, seed));
  Rgb c = Mix(Hex(46, 70, 50), Hex(112, 126, 80), meadow * 0.8f);
  const float trees = Fbm(x / 2.2f, y / 1.8f, 3, seed + 7);
  c = c * (0.78f + 0.45f * trees);
  const float slope =
      Fbm((x + 3) / 40.0f, y / 16.0f, 4, seed + 9) - Fbm((x - 3) / 40.0f, y / 16.0f, 4, seed + 9);
  c = c * (1.0f + 2.2f * slope);
  // Rim of the ridge catches the light.
  c = c * (1.0f + 0.15f * SmoothStep(3, 0, y - ridge));
  return Mix(c, HazeTone(), haze);
}

// Sky, hills and the far shore, i.e. everything that the open water reflects.
Canvas RenderBackdrop(int w, int h, const Ridges& ridges) {
  Canvas c(w, h);
  const float aa = 0.5f;
  for (int y = 0; y < h; ++y) {
    const float fy = (y + 0.5f) * kFrameH / h;
    if (fy > kShoreY + 4)
      break;
    for (int x = 0; x < w; ++x) {
      const float fx = (x + 0.5f) * kFrameW / w;
      Rgb col = Sky(fx, fy);
      const float rf = ridges.far[x];
      if (fy > rf - aa)
        col = Mix(col, FarHill(fx, fy, rf), SmoothStep(rf - aa, rf + aa, fy));
      const float rr = ridges.right[x];
      if (fy > rr - aa && rr < kShoreY - 0.5f)
        col = Mix(col, NearHill(fx, fy, rr, 61, 0.42f), SmoothStep(rr - aa, rr + aa, fy));
      const float rl = ridges.left[x];
      if (fy > rl - aa && rl < kShoreY - 0.5f)
        col = Mix(col, NearHill(fx, fy, rl, 71, 0.34f), SmoothStep(rl - aa, rl + aa, fy));
      // Narrow band of rocks and sand at the waterline.
      const float band = kShoreY - 1.2f - 0.5f * Fbm(fx / 6.0f, 0.5f, 2, 81);
      if (fy > band) {
        const float n = Fbm(fx / 1.5f, fy, 2, 83);
        col = Mix(col, Mix(Hex(150, 146, 132), HazeTone(), 0.4f) * (0.8f + 0.4f * n),
                  SmoothStep(band - aa, band + aa, fy));
      }
      c.At(x, y) = col;
    }
  }
  return c;
}

// Houses of a small town on the lower slopes of the headland.
void DrawTown(QPainter& p, const Ridges& ridges, int rasterW) {
  Rng rng(1234);
  const float d = 1500;
  for (int i = 0; i < 150; ++i) {
    const float x = rng.Range(15, 330);
    const int col = std::clamp(static_cast<int>(x * rasterW / kFrameW), 0, rasterW - 1);
    const float top = ridges.left[col];
    const float height = kShoreY - top;
    if (height < 6)
      continue;
    // More houses near the water, thinning out uphill.
    const float up = std::pow(rng.Next(), 2.2f) * height * 0.55f;
    const float base = kShoreY - 1.0f - up;
    const float w = rng.Range(2.0f, 5.0f), hh = rng.Range(1.6f, 3.0f);
    const float tone = rng.Next();
    QColor wall = tone < 0.5f   ? Hazed(236, 232, 220, d)
                  : tone < 0.8f ? Hazed(222, 196, 150, d)
                                : Hazed(200, 170, 150, d);
    const float rt = rng.Next();
    QColor roof = rt < 0.6f ? Hazed(150, 70, 50, d) : Hazed(80, 80, 85, d);
    p.fillRect(QRectF(x, base - hh, w, hh), wall);
    p.fillRect(QRectF(x + w * 0.7f, base - hh, w * 0.3f, hh), Hazed(150, 150, 150, d, 90));
    QPainterPath r;
    r.moveTo(x - 0.3f, base - hh);
    r.lineTo(x + w * 0.5f, base - hh - rng.Range(0.8f, 1.6f));
    r.lineTo(x + w + 0.3f, base - hh);
    r.closeSubpath();
    p.fillPath(r, roof);
    if (rng.Next() < 0.5f)
      p.fillRect(QRectF(x + w * 0.3f, base - hh * 0.55f, 0.6f, 0.6f), Hazed(60, 60, 65, d, 160));
  }
}

// Painter that draws in metres around a waterline point: +x towards the bow, +y upwards.
// |mirror| flips it about the waterline so that the same code draws the reflection.
void MetreFrame(QPainter& p, const QTransform& base, float x, float waterY, float pxPerMetre,
                bool bowLeft, bool mirror) {
  QTransform t = base;
  t.translate(x, waterY);
  t.scale(bowLeft ? -pxPerMetre : pxPerMetre, mirror ? pxPerMetre : -pxPerMetre);
  p.setTransform(t);
}

QPen Pen(const QColor& c, float width) {
  QPen pen(c, width);
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

void DrawYacht(QPainter& p, float d, const QColor& stripe) {
  QPainterPath hull;
  hull.moveTo(-4.3, 0);
  hull.lineTo(4.2, 0);
  hull.cubicTo(4.6, 0.3, 4.9, 0.9, 5.1, 1.45);
  hull.cubicTo(2.0, 1.15, -1.5, 1.08, -4.75, 1.25);
  hull.closeSubpath();
  QLinearGradient g(0, 1.4, 0, 0);
  g.setColorAt(0, Hazed(246, 246, 242, d));
  g.setColorAt(0.5, Hazed(228, 230, 230, d));
  g.setColorAt(1, Hazed(158, 166, 172, d));
  p.fillPath(hull, g);
  p.save();
  p.setClipPath(hull);
  p.fillRect(QRectF(-6, 0, 12, 0.13), stripe);
  QPainterPath sheer;
  sheer.moveTo(5.1, 1.45);
  sheer.cubicTo(2.0, 1.15, -1.5, 1.08, -4.75, 1.25);
  p.strokePath(sheer.translated(0, -0.2), Pen(stripe, 0.07));
  p.restore();
  p.strokePath(sheer, Pen(Hazed(150, 120, 90, d), 0.08));

  // Cabin with a row of ports.
  QPainterPath cabin;
  cabin.moveTo(-2.1, 1.1);
  cabin.lineTo(-1.95, 1.68);
  cabin.lineTo(1.1, 1.7);
  cabin.cubicTo(1.6, 1.6, 1.9, 1.35, 2.05, 1.13);
  cabin.closeSubpath();
  QLinearGradient cg(0, 1.7, 0, 1.1);
  cg.setColorAt(0, Hazed(236, 234, 226, d));
  cg.setColorAt(1, Hazed(196, 196, 190, d));
  p.fillPath(cabin, cg);
  for (float wx : {-1.4f, -0.6f, 0.2f}) {
    p.setPen(Qt::NoPen);
    p.setBrush(Hazed(34, 40, 46, d));
    p.drawRoundedRect(QRectF(wx, 1.33, 0.55, 0.14), 0.06, 0.06);
  }
  // Spray hood over the companionway.
  QPainterPath hood;
  hood.moveTo(-2.9, 1.12);
  hood.cubicTo(-2.9, 1.75, -2.3, 1.85, -2.05, 1.68);
  hood.lineTo(-2.1, 1.12);
  p.fillPath(hood, Hazed(70, 76, 84, d));

  // Mast, boom with its sail cover, rigging and rails.
  const float mastX = 0.7;
  p.fillRect(QRectF(mastX - 0.07, 1.65, 0.14, 12.9), Hazed(206, 208, 212, d));
  p.fillRect(QRectF(mastX + 0.03, 1.65, 0.04, 12.9), Hazed(150, 152, 158, d));
  p.fillRect(QRectF(mastX - 0.8, 9.2, 1.6, 0.05), Hazed(190, 190, 196, d));
  QPainterPath boom;
  boom.addRoundedRect(QRectF(-3.9, 2.45, 4.6, 0.42), 0.2, 0.2);
  QLinearGradient bg(0, 2.87, 0, 2.45);
  bg.setColorAt(0, Hazed(56, 72, 104, d));
  bg.setColorAt(1, Hazed(28, 38, 62, d));
  p.fillPath(boom, bg);
  const QColor wire = Hazed(70, 72, 76, d, 170);
  QPainterPath rig;
  rig.moveTo(mastX, 14.5);
  rig.lineTo(5.05, 1.45);
  rig.moveTo(mastX, 14.5);
  rig.lineTo(-4.6, 1.25);
  rig.moveTo(mastX - 0.8, 9.2);
  rig.lineTo(mastX - 0.5, 1.2);
  rig.moveTo(mastX + 0.8, 9.2);
  rig.lineTo(mastX + 0.6, 1.2);
  p.strokePath(rig, Pen(wire, 0.035));
  QPainterPath rail;
  rail.moveTo(-4.5, 1.9);
  rail.lineTo(4.8, 2.05);
  for (float sx = -4.3f; sx < 4.8f; sx += 1.3f) {
    rail.moveTo(sx, 1.2);
    rail.lineTo(sx, 1.95);
  }
  p.strokePath(rail, Pen(Hazed(190, 192, 196, d, 200), 0.04));
}

void DrawTrawler(QPainter& p, float d) {
  QPainterPath hull;
  hull.moveTo(-5.6, 0);
  hull.lineTo(5.0, 0);
  hull.cubicTo(5.6, 0.5, 6.0, 1.5, 6.25, 2.55);
  hull.cubicTo(3.0, 2.05, -2.0, 1.75, -5.85, 1.95);
  hull.closeSubpath();
  QLinearGradient g(0, 2.5, 0, 0);
  g.setColorAt(0, Hazed(152, 50, 42, d));
  g.setColorAt(0.6, Hazed(128, 42, 36, d));
  g.setColorAt(1, Hazed(80, 30, 28, d));
  p.fillPath(hull, g);
  QPainterPath sheer;
  sheer.moveTo(6.25, 2.55);
  sheer.cubicTo(3.0, 2.05, -2.0, 1.75, -5.85, 1.95);
  p.save();
  p.setClipPath(hull);
  p.fillRect(QRectF(-7, 0, 14, 0.2), Hazed(50, 32, 30, d));
  p.strokePath(sheer, Pen(Hazed(236, 234, 228, d), 0.36));
  p.strokePath(sheer.translated(0, -0.55), Pen(Hazed(40, 36, 36, d, 80), 0.08));
  // Streaks of rust running down from the scuppers.
  Rng rng(77);
  for (int i = 0; i < 9; ++i) {
    const float sx = rng.Range(-5, 5);
    const float top = 1.9f + 0.04f * sx;
    QLinearGradient rg(0, top, 0, top - rng.Range(0.5f, 1.3f));
    rg.setColorAt(0, Hazed(110, 60, 30, d, 150));
    rg.setColorAt(1, Hazed(110, 60, 30, d, 0));
    p.fillRect(QRectF(sx, top - 1.4, 0.09, 1.4), rg);
  }
  p.restore();
  // Registration number on the bow.
  for (int i = 0; i < 4; ++i)
    p.fillRect(QRectF(3.2 + i * 0.32, 1.25, 0.2, 0.36), Hazed(236, 234, 228, d));

  // Fenders hanging over the side on short lines.
  for (float fx : {-3.4f, -0.9f, 1.6f}) {
    const float top = 1.86f + 0.03f * fx;
    p.fillRect(QRectF(fx - 0.02, top - 0.45, 0.04, 0.45), Hazed(200, 196, 180, d));
    QLinearGradient fg(fx - 0.16, 0, fx + 0.16, 0);
    fg.setColorAt(0, Hazed(150, 150, 146, d));
    fg.setColorAt(0.65, Hazed(236, 236, 230, d));
    fg.setColorAt(1, Hazed(170, 170, 166, d));
    p.setPen(Qt::NoPen);
    p.setBrush(fg);
    p.drawRoundedRect(QRectF(fx - 0.16, top - 1.2, 0.32, 0.78), 0.15, 0.15);
  }

  // Wheelhouse.
  QPainterPath house;
  house.moveTo(-1.3, 1.85);
  house.lineTo(1.9, 2.0);
  house.lineTo(2.15, 3.95);
  house.lineTo(1.8, 4.3);
  house.lineTo(-1.3, 4.3);
  house.closeSubpath();
  QLinearGradient hg(-1.3, 0, 2.1, 0);
  hg.setColorAt(0, Hazed(214, 214, 208, d));
  hg.setColorAt(0.7, Hazed(240, 240, 236, d));
  hg.setColorAt(1, Hazed(200, 202, 200, d));
  p.fillPath(house, hg);
  for (float wx : {-0.9f, 0.0f, 0.9f}) {
    QLinearGradient wg(0, 3.95, 0, 3.3);
    wg.setColorAt(0, Hazed(70, 88, 100, d));
    wg.setColorAt(1, Hazed(22, 28, 34, d));
    p.fillRect(QRectF(wx, 3.3, 0.72, 0.62), wg);
  }
  p.fillRect(QRectF(-1.0, 2.1, 0.6, 1.0), Hazed(150, 150, 146, d));
  p.fillRect(QRectF(-1.45, 4.3, 3.6, 0.16), Hazed(60, 62, 66, d));
  // Mast with radar and aerials.
  p.fillRect(QRectF(0.1, 4.45, 0.16, 4.3), Hazed(226, 226, 222, d));
  p.fillRect(QRectF(-0.9, 7.4, 2.1, 0.09), Hazed(200, 200, 196, d));
  p.fillRect(QRectF(-0.6, 4.6, 1.6, 0.22), Hazed(40, 40, 44, d));
  p.strokePath(
      [] {
        QPainterPath a;
        a.moveTo(-0.8, 7.45);
        a.lineTo(-0.8, 9.8);
        a.moveTo(1.1, 7.45);
        a.lineTo(1.1, 9.0);
        a.moveTo(0.18, 8.7);
        a.lineTo(6.1, 2.5);
        a.moveTo(0.18, 8.7);
        a.lineTo(-4.8, 5.3);
        return a;
      }(),
      Pen(Hazed(60, 60, 64, d, 130), 0.04));
  // Gantry and net drum aft.
  QPainterPath gantry;
  gantry.moveTo(-5.5, 1.95);
  gantry.lineTo(-4.8, 5.3);
  gantry.lineTo(-4.1, 1.85);
  p.strokePath(gantry, Pen(Hazed(214, 120, 40, d), 0.16));
  QLinearGradient dg(0, 3.1, 0, 1.9);
  dg.setColorAt(0, Hazed(60, 110, 84, d));
  dg.setColorAt(1, Hazed(28, 56, 42, d));
  p.setPen(Qt::NoPen);
  p.setBrush(dg);
  p.drawRoundedRect(QRectF(-3.7, 1.85, 1.6, 1.25), 0.2, 0.2);
  // Buoys on deck.
  for (float bx : {2.7f, 3.25f}) {
    QRadialGradient rg(QPointF(bx + 0.1, 2.55), 0.35);
    rg.setColorAt(0, Hazed(255, 170, 90, d));
    rg.setColorAt(1, Hazed(200, 80, 20, d));
    p.setBrush(rg);
    p.drawEllipse(QPointF(bx, 2.45), 0.28, 0.28);
  }
}

void DrawMotorBoat(QPainter& p, float d) {
  QPainterPath hull;
  hull.moveTo(-3.2, 0);
  hull.lineTo(2.8, 0);
  hull.cubicTo(3.3, 0.4, 3.6, 0.9, 3.8, 1.25);
  hull.lineTo(-3.35, 1.05);
  hull.closeSubpath();
  QLinearGradient g(0, 1.2, 0, 0);
  g.setColorAt(0, Hazed(246, 246, 244, d));
  g.setColorAt(1, Hazed(170, 176, 180, d));
  p.fillPath(hull, g);
  p.save();
  p.setClipPath(hull);
  p.fillRect(QRectF(-4, 0.55, 8, 0.12), Hazed(120, 30, 30, d));
  p.restore();
  for (float wx : {-1.0f, 0.2f}) {
    p.setPen(Qt::NoPen);
    p.setBrush(Hazed(40, 44, 50, d));
    p.drawRoundedRect(QRectF(wx, 0.78, 0.8, 0.14), 0.07, 0.07);
  }
  QPainterPath screen;
  screen.moveTo(-1.6, 1.08);
  screen.lineTo(1.3, 1.15);
  screen.lineTo(0.5, 1.75);
  screen.lineTo(-1.3, 1.78);
  screen.closeSubpath();
  QLinearGradient sg(0, 1.78, 0, 1.1);
  sg.setColorAt(0, Hazed(120, 136, 150, d));
  sg.setColorAt(1, Hazed(30, 36, 44, d));
  p.fillPath(screen, sg);
  p.fillRect(QRectF(-1.5, 1.78, 2.1, 0.12), Hazed(230, 230, 228, d));
  p.fillRect(QRectF(-0.3, 1.9, 0.06, 0.8), Hazed(80, 80, 84, d));
}

void DrawBuoy(QPainter& p, float d, const QColor& a, const QColor& b) {
  QRadialGradient rg(QPointF(0.15, 0.45), 0.5);
  rg.setColorAt(0, a);
  rg.setColorAt(1, b);
  p.setPen(Qt::NoPen);
  p.setBrush(rg);
  p.drawEllipse(QPointF(0, 0.25), 0.4, 0.38);
  p.fillRect(QRectF(-0.03, 0.6, 0.06, 0.5), Hazed(60, 60, 60, d));
}

// A distant rubble breakwater with a small lighthouse at its end.
void DrawBreakwater(QPainter& p, bool mirror, const QTransform& base) {
  const float d = 320;
  const float wl = WaterY(d);
  const float s = kFocal / d;
  QTransform t = base;
  if (mirror) {
    t.translate(0, 2 * wl);
    t.scale(1, -1);
  }
  p.setTransform(t);
  QPainterPath wall;
  wall.moveTo(548, wl);
  const float startX = 548;
  for (float x = startX; x <= 724; x += 0.7f) {
    const float rise = std::min(1.0f, (x - startX) / 9);
    wall.lineTo(x, wl - rise * (2.6f * s + 1.6f * ValueNoise(x / 1.4f, 0.3f, 91)));
  }
  wall.lineTo(724, wl);
  wall.closeSubpath();
  QLinearGradient g(0, wl - 3 * s, 0, wl);
  g.setColorAt(0, Hazed(176, 172, 160, d));
  g.setColorAt(0.6, Hazed(126, 124, 116, d));
  g.setColorAt(1, Hazed(70, 72, 70, d));
  p.fillPath(wall, g);
  Rng rng(515);
  for (int i = 0; i < 70; ++i) {
    const float x = rng.Range(552, 720), y = wl - rng.Range(0.5f, 2.2f * s);
    p.fillRect(QRectF(x, y, rng.Range(0.8f, 2.0f), rng.Range(0.5f, 1.1f)),
               Hazed(60, 60, 58, d, static_cast<int>(rng.Range(40, 110))));
  }
  // Lighthouse.
  const float lx = 560, top = wl - 2.6f * s;
  QPainterPath tower;
  tower.moveTo(lx - 1.3f * s, top);
  tower.lineTo(lx - 0.9f * s, top - 9 * s);
  tower.lineTo(lx + 0.9f * s, top - 9 * s);
  tower.lineTo(lx + 1.3f * s, top);
  tower.closeSubpath();
  QLinearGradient tg(lx - 1.3f * s, 0, lx + 1.3f * s, 0);
  tg.setColorAt(0, Hazed(196, 196, 192, d));
  tg.setColorAt(0.7, Hazed(248, 248, 244, d));
  tg.setColorAt(1, Hazed(214, 214, 210, d));
  p.fillPath(tower, tg);
  p.save();
  p.setClipPath(tower);
  p.fillRect(QRectF(lx - 2 * s, top - 6.5f * s, 4 * s, 1.6f * s), Hazed(176, 44, 38, d));
  p.restore();
  p.fillRect(QRectF(lx - 1.1f * s, top - 9.2f * s, 2.2f * s, 0.35f * s), Hazed(60, 60, 60, d));
  p.fillRect(QRectF(lx - 0.6f * s, top - 10.6f * s, 1.2f * s, 1.4f * s), Hazed(70, 80, 84, d));
  QPainterPath cap;
  cap.moveTo(lx - 0.8f * s, top - 10.6f * s);
  cap.lineTo(lx, top - 11.6f * s);
  cap.lineTo(lx + 0.8f * s, top - 10.6f * s);
  cap.closeSubpath();
  p.fillPath(cap, Hazed(170, 40, 36, d));
}

// Masts and white hulls of a marina on the far side of the bay.
void DrawMarina(QPainter& p, bool mirror, const QTransform& base) {
  Rng rng(321);
  for (int i = 0; i < 14; ++i) {
    const float d = rng.Range(420, 520);
    const float s = kFocal / d;
    const float x = rng.Range(250, 345);
    MetreFrame(p, base, x, WaterY(d), s, rng.Next() < 0.5f, mirror);
    QPainterPath hull;
    const float len = rng.Range(3.5f, 5.5f);
    hull.moveTo(-len, 0);
    hull.lineTo(len, 0);
    hull.lineTo(len + 0.5f, 1.2);
    hull.lineTo(-len - 0.2f, 1.0);
    hull.closeSubpath();
    p.fillPath(hull, Hazed(236, 236, 232, d));
    p.fillRect(QRectF(-1, 1.0, 2.2, 0.6), Hazed(210, 210, 206, d));
    const float mast = rng.Range(9, 15);
    p.fillRect(QRectF(0.2, 1.0, 0.22, mast), Hazed(214, 214, 216, d, 220));
  }
  // The pontoon they lie along.
  p.setTransform(base);
  const float d = 540, wl = WaterY(d);
  if (!mirror)
    p.fillRect(QRectF(240, wl - 0.6f, 110, 0.6f), Hazed(120, 116, 108, d));
}

struct WaterObjects {
  QImage upright, mirrored;
};

WaterObjects RenderWaterObjects(int w, int h) {
  WaterObjects o{NewLayer(w, h), NewLayer(w, h)};
  const QTransform base = QTransform::fromScale(w / kFrameW, h / kFrameH);
  for (int pass = 0; pass < 2; ++pass) {
    const bool mirror = pass == 1;
    QPainter p(mirror ? &o.mirrored : &o.upright);
    p.setRenderHint(QPainter::Antialiasing, true);
    DrawMarina(p, mirror, base);
    DrawBreakwater(p, mirror, base);
    struct Boat {
      float frameX, distance;
      int kind;
      bool bowLeft;
    };
    const Boat boats[] = {
        {115, 150, 0, false},  // distant yacht
        {612, 125, 2, true},   // motor boat
        {232, 62, 0, true},    // yacht
        {468, 44, 1, true},    // fishing boat
    };
    for (const Boat& b : boats) {
      const float s = kFocal / b.distance;
      MetreFrame(p, base, b.frameX, WaterY(b.distance), s, b.bowLeft, mirror);
      switch (b.kind) {
        case 0:
          DrawYacht(
              p, b.distance,
              b.distance > 100 ? Hazed(20, 70, 60, b.distance) : Hazed(28, 44, 86, b.distance));
          break;
        case 1:
          DrawTrawler(p, b.distance);
          break;
        default:
          DrawMotorBoat(p, b.distance);
          break;
      }
    }
    struct Float {
      float frameX, distance;
      bool red;
    };
    for (const Float& f : {Float{318, 50, false}, Float{590, 27, true}, Float{60, 95, true}}) {
      MetreFrame(p, base, f.frameX, WaterY(f.distance), kFocal / f.distance, false, mirror);
      if (f.red)
        DrawBuoy(p, f.distance, Hazed(255, 150, 90, f.distance), Hazed(190, 60, 20, f.distance));
      else
        DrawBuoy(p, f.distance, Hazed(255, 255, 250, f.distance), Hazed(170, 176, 180, f.distance));
    }
  }
  return o;
}

// Height of the water surface (arbitrary units) at a ground position, built only from octaves
// that the raster can still resolve at that distance, so far water stays calm instead of
// turning into aliasing noise.
float WaveHeight(float gx, float d, float metresPerRow) {
  float sum = 0, amp = 1, fx = 0.45f, fz = 1.0f;
  for (int i = 0; i < 8; ++i) {
    const float rowsPerCycle = 1.0f / (fz * metresPerRow);
    const float keep = SmoothStep(1.5f, 8.0f, rowsPerCycle);
    if (keep > 0)
      sum += amp * keep * (ValueNoise(gx * fx, d * fz, 301 + i * 17) - 0.5f);
    amp *= 0.46f;
    fx *= 2.1f;
    fz *= 2.1f;
  }
  return sum;
}

Rgb Water(float fx, float fy, float pxPerUnitX, float pxPerUnitY, const Canvas& backdrop,
          const QImage& mirrored) {
  const float d = WaterDistance(fy);
  const float gx = (fx - kCentreX) * d / kFocal;
  const float metresPerRow = d * d / (kEyeOverWater * kFocal) / pxPerUnitY;
  const float e = 0.04f;
  const float h0 = WaveHeight(gx, d, metresPerRow);
  const float sx = (WaveHeight(gx + e, d, metresPerRow) - h0) / e;
  const float sz = (WaveHeight(gx, d + e, metresPerRow) - h0) / e;
  // Gusts roughen patches of the surface.
  const float gust = SmoothStep(0.4f, 0.65f, Fbm(gx / 35.0f, d / 14.0f, 3, 331));
  const float rough = 0.7f + 0.6f * gust;

  // The tilted facets shift where the reflected ray lands.
  const float dx = -sx * 6.0f * rough;
  const float dy = sz * 4.0f * rough;
  const float mirrorY = 2 * kShoreY - fy;
  Rgb refl;
  const float spread = 1.0f + 2.5f * rough;
  for (int k = 0; k < 4; ++k) {
    const float sy = std::min(mirrorY + dy + (k - 1.5f) * spread, kShoreY - 0.3f);
    refl = refl + backdrop.Sample((fx + dx) * pxPerUnitX, sy * pxPerUnitY) * 0.25f;
  }
  // Boats, buoys and the breakwater, already mirrored about their own waterlines.
  const Premul obj = SampleLayer(mirrored, (fx + dx) * pxPerUnitX, (fy + dy * 0.7f) * pxPerUnitY);
  refl = refl * (1 - obj.a) + obj.c * 0.92f;

  // Fresnel: grazing views reflect most of the light, steep views show the water body.
  const float sinGraze = kEyeOverWater / std::hypot(d, kEyeOverWater);
  const float tilt = std::clamp(sinGraze - sz * 0.2f * rough, 0.0f, 1.0f);
  const float R = std::clamp(0.02f + 0.98f * std::pow(1 - tilt, 5.0f), 0.12f, 0.95f);
  Rgb body = Mix(Hex(18, 44, 48), Hex(38, 70, 64), Fbm(gx / 4.0f, d / 4.0f, 3, 341));
  Rgb c = Mix(body, refl * 0.96f, R);
  // Glints where ripples face the sun on the right.
  const float glint = SmoothStep(0.16f, 0.3f, sx * 0.8f - sz * 0.5f) * SmoothStep(280, 720, fx) *
                      SmoothStep(6, 25, d) * SmoothStep(260, 60, d);
  c = c + Hex(255, 246, 225) * (0.5f * glint);
  return c;
}

// Granite quay seen from standing height: a course of large coping blocks along the edge and
// rounded setts behind it.
Rgb Pavement(float fx, float fy, float pxPerUnit, bool* onQuay) {
  *onQuay = false;
  if (fy <= kHorizon + 1)
    return {};
  const float z = kEyeOverQuay * kFocal / (fy - kHorizon);
  const float gx = (fx - kCentreX) * z / kFocal;
  const float e = QuayEdgeDistance(gx) - z;  // metres back from the edge
  if (e < 0)
    return {};
  *onQuay = true;
  // Size of one raster pixel on the ground, for softening joints.
  const float footprint = std::max(z / kFocal, z * z / (kEyeOverQuay * kFocal)) / pxPerUnit;
  // Joints wander a little, as hand-laid stone does.
  const float wobble = 0.012f * (ValueNoise(gx * 14.0f, e * 14.0f, 951) - 0.5f);

  const float copingDepth = 0.62f;
  int stoneId;
  float jointDist, shade = 1, jw;
  Rgb base;
  if (e < copingDepth) {
    const float len = 1.15f;
    const float k = std::floor(gx / len);
    const float f = gx / len - k;
    stoneId = static_cast<int>(k) * 7 + 3;
    jointDist = std::min({f * len, (1 - f) * len, copingDepth - e}) + wobble * 0.5f;
    jw = 0.008f;
    base = Hex(138, 134, 126);
  } else {
    const float ee = e - copingDepth;
    const float rowDepth = 0.17f;
    const int row = static_cast<int>(std::floor(ee / rowDepth));
    const float fr = ee / rowDepth - row;
    const float len = 0.21f + 0.08f * Hash01(row, 0, 901);
    // Setts differ in width: each joint is shifted by its own random amount.
    const float shifted = gx / len + Hash01(row, 1, 901);
    float k = std::floor(shifted);
    auto joint = [&](float j) {
      return j + 0.35f * (Hash01(row, static_cast<int>(j), 903) - 0.5f);
    };
    if (shifted < joint(k))
      k -= 1;
    if (shifted >= joint(k + 1))
      k += 1;
    const float j0 = joint(k), j1 = joint(k + 1);
    const float f = (shifted - j0) / (j1 - j0);
    stoneId = row * 1031 + static_cast<int>(k);
    const float ex = std::min(f, 1 - f) * (j1 - j0) * len, ez = std::min(fr, 1 - fr) * rowDepth;
    jointDist = std::min(ex, ez) + wobble;
    jw = 0.014f;
    // Domed tops: the rims facing the light (right, and away from the camera) are brighter.
    const float sideX = (f < 0.5f ? -1.0f : 1.0f) * (1 - SmoothStep(0.0f, 0.07f, ex));
    const float sideZ = (fr < 0.5f ? -1.0f : 1.0f) * (1 - SmoothStep(0.0f, 0.05f, ez));
    shade = 1 + 0.16f * sideX - 0.12f * sideZ;
    const float pick = Hash01(stoneId, 7, 911);
    base = pick < 0.55f   ? Hex(128, 125, 119)
           : pick < 0.75f ? Hex(136, 128, 122)
           : pick < 0.9f  ? Hex(116, 117, 118)
                          : Hex(100, 98, 95);
  }
  const float tone = Hash01(stoneId, 5, 911);
  const float warm = Hash01(stoneId, 6, 911) - 0.5f;
  Rgb stone = base * (0.88f + 0.2f * tone);
  stone = stone + Rgb{0.03f * warm, 0.01f * warm, -0.03f * warm};
  // Mottling and the crystals of the granite.
  const float mottle = Fbm(gx * 4.0f, e * 4.0f, 4, 921 + stoneId);
  const float grain = ValueNoise(gx * 55.0f, e * 55.0f, 931) - 0.5f;
  const float grain2 = ValueNoise(gx * 130.0f, e * 130.0f, 937) - 0.5f;
  const float grainFade = SmoothStep(0.03f, 0.006f, footprint);
  stone = stone * (0.89f + 0.22f * mottle + (0.3f * grain + 0.26f * grain2) * grainFade);
  stone = stone * shade;
  // Worn, darker rims along the joints, then the dirt-filled joint itself.
  stone = stone * (0.8f + 0.2f * SmoothStep(0.0f, 0.04f, jointDist));
  const float gap = 1 - SmoothStep(jw - footprint, jw + footprint, jointDist);
  const float sand = Fbm(gx * 6.0f, e * 6.0f, 3, 957);
  stone = Mix(stone, Mix(Hex(40, 38, 34), Hex(120, 110, 92), SmoothStep(0.5f, 0.7f, sand)),
              gap * 0.92f);
  // Weathered, damp patches and a few lichen spots on the coping.
  const float damp = SmoothStep(0.52f, 0.75f, Fbm(gx * 0.5f, e * 0.9f, 5, 941));
  stone = stone * (1 - 0.25f * damp);
  if (e < copingDepth) {
    const float lichen = SmoothStep(0.7f, 0.76f, Fbm(gx * 9.0f, e * 9.0f, 3, 961));
    stone = Mix(stone, Hex(176, 170, 140), lichen * 0.5f);
  }
  // The rounded arris of the coping catches the sky; its outer lip is dark.
  if (e < 0.06f)
    stone = Mix(stone, Hex(190, 190, 186), SmoothStep(0.06f, 0.012f, e) * 0.45f);
  stone = Mix(stone, Hex(40, 40, 38), SmoothStep(0.012f + footprint, 0.0f, e) * 0.8f);
  // Light falls from the right.
  stone = stone * (0.9f + 0.16f * Clamp01(fx / kFrameW));
  return stone;
}

struct BollardPlace {
  float groundX;
  float height;
};

constexpr BollardPlace kBollards[] = {{-2.4f, 0.58f}, {2.35f, 0.58f}};

QPointF QuayPoint(float groundX, float z, float heightAbove = 0) {
  return {kCentreX + groundX * kFocal / z, kHorizon + (kEyeOverQuay - heightAbove) * kFocal / z};
}

// Soft shadows cast by the bollards towards the left and the camera.
void DrawBollardShadows(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  for (const BollardPlace& b : kBollards) {
    const float z = QuayEdgeDistance(b.groundX) - 0.3f;
    QPainterPath shadow;
    const int n = 24;
    // The footprint of the column, the shadow of the head at the far end, and the band the
    // column throws between them, all laid on the ground along the direction of the light.
    const float dirX = -0.95f, dirZ = -0.45f;
    QPolygonF poly;
    for (int i = 0; i <= n; ++i) {
      const float a = static_cast<float>(i) / n * 2 * kPi;
      poly << QuayPoint(b.groundX + 0.17f * std::cos(a), z + 0.17f * std::sin(a));
    }
    shadow.addPolygon(poly);
    const float len = b.height * 1.35f;
    QPolygonF head;
    for (int i = 0; i <= n; ++i) {
      const float a = static_cast<float>(i) / n * 2 * kPi;
      head << QuayPoint(b.groundX + dirX * len + 0.22f * std::cos(a),
                        z + dirZ * len + 0.22f * std::sin(a));
    }
    shadow.addPolygon(head);
    QPolygonF band;
    band << QuayPoint(b.groundX, z + 0.15f) << QuayPoint(b.groundX, z - 0.15f)
         << QuayPoint(b.groundX + dirX * len, z + dirZ * len - 0.14f)
         << QuayPoint(b.groundX + dirX * len, z + dirZ * len + 0.14f);
    shadow.addPolygon(band);
    shadow.setFillRule(Qt::WindingFill);
    p.drawPath(shadow.simplified());
    // Dark contact ring right at the foot.
    QPolygonF foot;
    for (int i = 0; i <= n; ++i) {
      const float a = static_cast<float>(i) / n * 2 * kPi;
      foot << QuayPoint(b.groundX + 0.26f * std::cos(a), z + 0.26f * std::sin(a));
    }
    p.drawPolygon(foot);
  }
}

// Painted cast-iron bollards on the coping stones.
void DrawBollards(QPainter& p) {
  for (const BollardPlace& b : kBollards) {
    const float z = QuayEdgeDistance(b.groundX) - 0.3f;
    const float s = kFocal / z;  // frame units per metre at this distance
    const QPointF foot = QuayPoint(b.groundX, z);
    const float cx = static_cast<float>(foot.x());
    auto yAt = [&](float hgt) { return static_cast<float>(QuayPoint(b.groundX, z, hgt).y()); };
    // Seen from above, circles become flat ellipses; their depth is r * (eye - h) / z.
    auto squash = [&](float hgt) { return (kEyeOverQuay - hgt) / z; };
    auto section = [&](float r0, float h0, float r1, float h1, const QColor& dark,
                       const QColor& mid, const QColor& light) {
      QPainterPath path;
      const float y0 = yAt(h0), y1 = yAt(h1);
      const float e0 = r0 * s * squash(h0), e1 = r1 * s * squash(h1);
      path.moveTo(cx - r0 * s, y0);
      path.arcTo(QRectF(cx - r0 * s, y0 - e0, 2 * r0 * s, 2 * e0), 180, 180);
      path.lineTo(cx + r1 * s, y1);
      path.arcTo(QRectF(cx - r1 * s, y1 - e1, 2 * r1 * s, 2 * e1), 0, 180);
      path.closeSubpath();
      const float r = std::max(r0, r1) * s;
      QLinearGradient g(cx - r, 0, cx + r, 0);
      g.setColorAt(0.0, dark);
      g.setColorAt(0.18, mid);
      g.setColorAt(0.45, dark);
      g.setColorAt(0.74, light);
      g.setColorAt(0.9, mid);
      g.setColorAt(1.0, dark);
      p.fillPath(path, g);
    };
    const QColor dark(16, 16, 18), mid(44, 44, 48), light(120, 120, 124);
    section(0.24f, 0.0f, 0.24f, 0.05f, dark, mid, light);
    section(0.15f, 0.05f, 0.125f, 0.40f, dark, mid, light);
    section(0.125f, 0.40f, 0.11f, 0.45f, dark, mid, light);
    section(0.20f, 0.45f, 0.20f, b.height - 0.03f, dark, mid, QColor(140, 140, 144));
    section(0.20f, b.height - 0.03f, 0.17f, b.height, dark, mid, QColor(150, 150, 154));
    // Top face, lit by the open sky.
    const float et = 0.17f * s * squash(b.height);
    QRadialGradient tg(QPointF(cx + 0.05f * s, yAt(b.height)), 0.2f * s);
    tg.setColorAt(0, QColor(108, 110, 114));
    tg.setColorAt(1, QColor(58, 60, 64));
    p.setPen(Qt::NoPen);
    p.setBrush(tg);
    p.drawEllipse(QPointF(cx, yAt(b.height)), 0.17f * s, et);
    // Chipped paint and rust.
    Rng rng(static_cast<uint32_t>(700 + b.groundX * 10));
    for (int i = 0; i < 10; ++i) {
      const float hh = rng.Range(0.03f, 0.52f);
      const float ox = rng.Range(-0.11f, 0.11f);
      const float r = rng.Range(0.005f, 0.014f);
      p.setBrush(QColor(98, 64, 44, static_cast<int>(rng.Range(40, 110))));
      p.drawEllipse(QPointF(cx + ox * s, yAt(hh)), r * s * 1.4f, r * s);
    }
  }
}

// A mooring line made fast round the neck of the right-hand bollard, running off along the
// coping to a boat outside the picture.
void DrawMooringLine(QPainter& p) {
  const BollardPlace& b = kBollards[1];
  const float z = QuayEdgeDistance(b.groundX) - 0.3f;
  const float gx = b.groundX;
  QPainterPath rope;
  rope.moveTo(QuayPoint(gx - 0.135f, z + 0.01f, 0.43f));
  rope.quadTo(QuayPoint(gx - 0.1f, z - 0.16f, 0.41f), QuayPoint(gx + 0.02f, z - 0.14f, 0.4f));
  rope.quadTo(QuayPoint(gx + 0.14f, z - 0.1f, 0.41f), QuayPoint(gx + 0.15f, z - 0.02f, 0.42f));
  rope.cubicTo(QuayPoint(gx + 0.3f, z - 0.2f, 0.3f), QuayPoint(gx + 0.35f, z - 0.25f, 0.03f),
               QuayPoint(gx + 0.6f, z - 0.2f, 0.02f));
  rope.cubicTo(QuayPoint(gx + 0.9f, z - 0.15f, 0.02f), QuayPoint(gx + 1.2f, z + 0.05f, 0.02f),
               QuayPoint(gx + 1.6f, z + 0.1f, 0.02f));
  const float s = kFocal / z;
  const float w = 0.045f * s;
  QPen pen(QColor(30, 26, 20, 120), w * 1.2f, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setBrush(Qt::NoBrush);
  p.setPen(pen);
  p.drawPath(rope.translated(0.0, w * 0.35f));
  pen = QPen(QColor(158, 140, 104), w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(pen);
  p.drawPath(rope);
  // Twisted strands: short dark dashes across the line, and a light ridge along its top.
  pen = QPen(QColor(92, 78, 56, 170), w * 0.8f, Qt::CustomDashLine, Qt::FlatCap, Qt::RoundJoin);
  pen.setDashPattern({0.35, 0.55});
  p.setPen(pen);
  p.drawPath(rope);
  pen = QPen(QColor(214, 200, 164, 130), w * 0.25f, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(pen);
  p.drawPath(rope.translated(0.0, -w * 0.2f));
}

QImage RenderHarbour(int width, int height) {
  const int w = width * kSuper, h = height * kSuper;
  const float pxX = w / kFrameW, pxY = h / kFrameH;  // raster pixels per frame unit

  const Ridges ridges = MakeRidges(w);
  Canvas backdrop = RenderBackdrop(w, h, ridges);
  {
    QImage town = NewLayer(w, h);
    QPainter p(&town);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setTransform(QTransform::fromScale(pxX, pxY));
    DrawTown(p, ridges, w);
    p.end();
    Over(backdrop, town);
  }
  const WaterObjects objects = RenderWaterObjects(w, h);

  Canvas img(w, h);
  for (int y = 0; y < h; ++y) {
    const float fy = (y + 0.5f) / pxY;
    for (int x = 0; x < w; ++x) {
      const float fx = (x + 0.5f) / pxX;
      img.At(x, y) =
          fy < kShoreY ? backdrop.At(x, y) : Water(fx, fy, pxX, pxY, backdrop, objects.mirrored);
    }
  }
  Over(img, objects.upright, 0.22f);

  QImage shadowLayer = NewLayer(w, h);
  {
    QPainter p(&shadowLayer);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setTransform(QTransform::fromScale(pxX, pxY));
    DrawBollardShadows(p);
  }
  const std::vector<float> shadow = BlurredAlpha(shadowLayer, kSuper);
  for (int y = 0; y < h; ++y) {
    const float fy = (y + 0.5f) / pxY;
    if (fy < kHorizon + 100)
      continue;
    for (int x = 0; x < w; ++x) {
      bool onQuay;
      const Rgb stone = Pavement((x + 0.5f) / pxX, fy, pxY, &onQuay);
      if (!onQuay)
        continue;
      img.At(x, y) = stone * (1 - 0.62f * shadow[static_cast<size_t>(y) * w + x]);
    }
  }
  QImage fixtures = NewLayer(w, h);
  {
    QPainter p(&fixtures);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setTransform(QTransform::fromScale(pxX, pxY));
    DrawBollards(p);
    DrawMooringLine(p);
  }
  Over(img, fixtures);

  // Average down and soften slightly, as a camera lens and a video transfer would.
  Canvas small(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      Rgb c;
      for (int j = 0; j < kSuper; ++j)
        for (int i = 0; i < kSuper; ++i)
          c = c + img.At(x * kSuper + i, y * kSuper + j);
      small.At(x, y) = c * (1.0f / (kSuper * kSuper));
    }
  Canvas soft(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      Rgb blur;
      for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i) {
          const float wgt = (i == 0 ? 2.0f : 1.0f) * (j == 0 ? 2.0f : 1.0f) / 16.0f;
          blur = blur +
                 small.At(std::clamp(x + i, 0, width - 1), std::clamp(y + j, 0, height - 1)) * wgt;
        }
      soft.At(x, y) = Mix(small.At(x, y), blur, 0.6f);
    }

  // Grade like a photograph: gentle warm light from the upper right, lens fall-off towards the
  // corners, a soft contrast curve and fine film grain.
  QImage out(width, height, QImage::Format_RGB888);
  for (int y = 0; y < height; ++y) {
    uchar* line = out.scanLine(y);
    for (int x = 0; x < width; ++x) {
      Rgb c = soft.At(x, y);
      const float nx = (x + 0.5f) / width * 2 - 1, ny = (y + 0.5f) / height * 2 - 1;
      const float vignette = 1 - 0.2f * (0.75f * nx * nx + ny * ny);
      const float warmth = std::exp(-std::hypot(nx - 1.1f, ny + 1.2f) / 0.9f);
      c = c * vignette + Hex(255, 236, 205) * (0.07f * warmth);
      c = Rgb{c.r * 1.02f, c.g * 1.0f, c.b * 0.975f};
      // Slightly muted colours and lifted blacks, as on colour negative film.
      const float luma = 0.3f * c.r + 0.59f * c.g + 0.11f * c.b;
      c = Mix(c, Rgb{luma, luma, luma}, 0.08f) * 0.97f + Rgb{0.015f, 0.015f, 0.015f};
      const float grain = (Hash01(x, y, 7001) + Hash01(x, y, 7002) + Hash01(x, y, 7003) - 1.5f) *
                          (2.0f / 255.0f) * 2.0f;
      int v[3];
      const float ch[3] = {c.r, c.g, c.b};
      for (int k = 0; k < 3; ++k) {
        float t = Clamp01(ch[k]);
        t = t + 0.06f * (t - 0.5f) * (1 - std::abs(2 * t - 1));  // S-curve
        v[k] = std::clamp(static_cast<int>(std::lround((t + grain) * 255)), 0, 255);
      }
      if (v[0] == 0 && v[1] == 0 && v[2] == 255)
        v[2] = 254;
      line[3 * x] = static_cast<uchar>(v[0]);
      line[3 * x + 1] = static_cast<uchar>(v[1]);
      line[3 * x + 2] = static_cast<uchar>(v[2]);
    }
  }
  return out;
}

// ---------------------------------------------------------------------------------------------
// Plain blue frames

QImage Blue(int width, int height) {
  QImage img(width, height, QImage::Format_RGB888);
  img.fill(QColor(0, 0, 255));
  return img;
}

// ---------------------------------------------------------------------------------------------
// Pixel fonts for lettering too small for any outline font to stay crisp: one with 5-row
// capitals for labels, and one with 7-row capitals, 5-row lower case and 2-row descenders for
// button faces. Each glyph lists its rows top to bottom; '#' is ink.

using PixelFont = std::map<char, std::vector<const char*>>;

const PixelFont& LabelFont() {
  static const PixelFont font = {
      {'A', {".#.", "#.#", "###", "#.#", "#.#"}}, {'B', {"##.", "#.#", "##.", "#.#", "##."}},
      {'G', {".##", "#..", "#.#", "#.#", ".##"}}, {'N', {"#..#", "##.#", "#.##", "#..#", "#..#"}},
      {'O', {".#.", "#.#", "#.#", "#.#", ".#."}}, {'T', {"###", ".#.", ".#.", ".#.", ".#."}},
      {'U', {"#.#", "#.#", "#.#", "#.#", "###"}}, {'X', {"#.#", "#.#", ".#.", "#.#", "#.#"}},
  };
  return font;
}

const PixelFont& ButtonFont() {
  // Rows 0-6 stand on the baseline, rows 7-8 hold descenders.
  static const PixelFont font = {
      {' ', {".", ".", ".", ".", ".", ".", ".", ".", "."}},
      {'C', {".##.", "#..#", "#...", "#...", "#...", "#..#", ".##.", "....", "...."}},
      {'D', {"###.", "#..#", "#..#", "#..#", "#..#", "#..#", "###.", "....", "...."}},
      {'I', {"###", ".#.", ".#.", ".#.", ".#.", ".#.", "###", "...", "..."}},
      {'S', {".##.", "#..#", "#...", ".##.", "...#", "#..#", ".##.", "....", "...."}},
      {'V', {"#...#", "#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#..", ".....", "....."}},
      {'a', {"....", "....", ".##.", "...#", ".###", "#..#", ".###", "....", "...."}},
      {'e', {"....", "....", ".##.", "#..#", "####", "#...", ".###", "....", "...."}},
      {'f', {".##", ".#.", "###", ".#.", ".#.", ".#.", ".#.", "...", "..."}},
      {'g', {"....", "....", ".###", "#..#", "#..#", "#..#", ".###", "...#", ".##."}},
      {'h', {"#...", "#...", "###.", "#..#", "#..#", "#..#", "#..#", "....", "...."}},
      {'l', {"#", "#", "#", "#", "#", "#", "#", ".", "."}},
      {'m', {".....", ".....", "####.", "#.#.#", "#.#.#", "#.#.#", "#.#.#", ".....", "....."}},
      {'n', {"....", "....", "###.", "#..#", "#..#", "#..#", "#..#", "....", "...."}},
      {'s', {"....", "....", ".###", "#...", ".##.", "...#", "###.", "....", "...."}},
      {'t', {"...", ".#.", "###", ".#.", ".#.", ".#.", "..#", "...", "..."}},
      {'u', {"....", "....", "#..#", "#..#", "#..#", "#..#", ".###", "....", "...."}},
  };
  return font;
}

int PixelTextWidth(const PixelFont& font, const std::string& text) {
  int w = 0;
  for (char ch : text)
    w += static_cast<int>(std::strlen(font.at(ch)[0])) + 1;
  return w - 1;
}

void DrawPixelText(QImage& img, const PixelFont& font, int x, int y, const std::string& text,
                   QRgb colour) {
  for (char ch : text) {
    const std::vector<const char*>& rows = font.at(ch);
    const int gw = static_cast<int>(std::strlen(rows[0]));
    for (size_t r = 0; r < rows.size(); ++r)
      for (int c = 0; c < gw; ++c)
        if (rows[r][c] == '#')
          img.setPixel(x + c, y + static_cast<int>(r), colour);
    x += gw + 1;
  }
}

// ---------------------------------------------------------------------------------------------
// colors.png: text colour, antialias ring and outline ring of a subtitle glyph, explained.

QImage ColoursIllustration() {
  const QRgb red = qRgb(0xC6, 0, 0), white = qRgb(255, 255, 255), grey = qRgb(0x84, 0x84, 0x84),
             black = qRgb(0, 0, 0);
  const int size = 70;

  // The letter as a bi-level mask, drawn without antialiasing.
  QImage glyph(size + 20, size + 20, QImage::Format_ARGB32);
  glyph.fill(Qt::transparent);
  {
    QPainter p(&glyph);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    QFont f("Liberation Sans");
    f.setBold(true);
    f.setPixelSize(66);
    f.setStyleStrategy(QFont::NoAntialias);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(10, 75, "T");
  }
  // Move the letter so that, rings included, it sits in the top-left of the picture.
  int left = size, top = size, right = 0, bottom = 0;
  for (int y = 0; y < glyph.height(); ++y)
    for (int x = 0; x < glyph.width(); ++x)
      if (qAlpha(glyph.pixel(x, y)) > 127) {
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
      }
  const int ox = 6 - left, oy = 8 - top;
  std::vector<bool> letter(size * size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const int gx = x - ox, gy = y - oy;
      letter[y * size + x] = gx >= 0 && gy >= 0 && gx < glyph.width() && gy < glyph.height() &&
                             qAlpha(glyph.pixel(gx, gy)) > 127;
    }
  left += ox;
  right += ox;
  top += oy;
  bottom += oy;
  auto inLetter = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < size && y < size && letter[y * size + x];
  };
  // Grow the letter by a disc of the given radius: 1 gives the antialias ring, 3 the outline.
  auto grow = [&](int radius) {
    std::vector<bool> out(size * size);
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
        for (int dy = -radius; dy <= radius && !out[y * size + x]; ++dy)
          for (int dx = -radius; dx <= radius; ++dx)
            if (dx * dx + dy * dy <= radius * radius + radius / 2 && inLetter(x + dx, y + dy)) {
              out[y * size + x] = true;
              break;
            }
    return out;
  };
  const std::vector<bool> ring1 = grow(1), ring3 = grow(3);

  QImage img(size, size, QImage::Format_RGB32);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      QRgb c = red;
      if (ring3[y * size + x])
        c = black;
      if (ring1[y * size + x])
        c = grey;
      if (inLetter(x, y))
        c = white;
      img.setPixel(x, y, c);
    }

  auto rightmost = [&](const std::vector<bool>& m, int y) {
    int last = -1;
    for (int x = 0; x < size; ++x)
      if (m[y * size + x])
        last = x;
    return last;
  };
  // The bar of the T is the band of rows where the letter reaches furthest right.
  int barBottom = top;
  while (barBottom < bottom && rightmost(letter, barBottom + 1) >= right - 1)
    ++barBottom;
  const int barMid = (top + barBottom) / 2;
  const int stemTop = barBottom + 1;
  const int antY = stemTop + (bottom - stemTop) * 3 / 10;
  const int outY = stemTop + (bottom - stemTop) * 7 / 10;
  const int bgY = std::min(size - 4, std::max(outY + 9, bottom + 8));

  auto arrow = [&](int fromX, int toX, int y, QRgb c) {
    for (int x = toX; x <= fromX; ++x)
      img.setPixel(x, y, c);
    for (int k = 1; k <= 2; ++k) {
      img.setPixel(toX + k, y - k, c);
      img.setPixel(toX + k, y + k, c);
    }
  };
  struct Label {
    const char* text;
    int y;
    int tipX;
    QRgb arrowColour;
  };
  const int labelX = 57, arrowFrom = 55;
  const Label labels[] = {
      {"TXT", barMid, right - 4, black},                 // into the white letter
      {"ANT", antY, rightmost(ring1, antY) + 1, white},  // touching the grey ring
      {"OUT", outY, rightmost(ring3, outY) + 1, white},  // against the black ring
      {"BG", bgY, rightmost(ring3, outY) + 4, white},    // into the red field
  };
  for (const Label& l : labels) {
    arrow(arrowFrom, l.tipX, l.y, l.arrowColour);
    DrawPixelText(img, LabelFont(), labelX, l.y - 2, l.text, white);
  }

  // Four colours only: map into an indexed image and refuse anything else.
  QImage indexed(size, size, QImage::Format_Indexed8);
  const QList<QRgb> table = {red, white, grey, black};
  indexed.setColorTable(table);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const int idx = static_cast<int>(table.indexOf(img.pixel(x, y) | 0xff000000U));
      if (idx < 0) {
        std::fprintf(stderr, "colors.png: stray colour at %d,%d\n", x, y);
        std::exit(1);
      }
      indexed.setPixel(x, y, static_cast<uint>(idx));
    }
  return indexed;
}

// ---------------------------------------------------------------------------------------------
// Two-line button faces.

QImage ButtonFace(const std::string& line1, const std::string& line2) {
  QImage img(46, 20, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  const QRgb ink = qRgb(24, 24, 28);
  const PixelFont& font = ButtonFont();
  DrawPixelText(img, font, (46 - PixelTextWidth(font, line1) + 1) / 2, 1, line1, ink);
  DrawPixelText(img, font, (46 - PixelTextWidth(font, line2) + 1) / 2, 11, line2, ink);
  return img;
}

// ---------------------------------------------------------------------------------------------
// Program icon: a silver disc with an outlined subtitle "T" on a dark subtitle bar.

QImage Icon(int size) {
  QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.scale(size / 100.0, size / 100.0);

  // Disc.
  const QPointF c(50, 46);
  QConicalGradient cg(c, 30);
  const QColor steps[] = {QColor(214, 218, 226), QColor(244, 246, 250), QColor(196, 214, 236),
                          QColor(238, 220, 236), QColor(222, 236, 210), QColor(246, 248, 250),
                          QColor(206, 210, 220)};
  for (int i = 0; i <= 12; ++i)
    cg.setColorAt(i / 12.0, steps[i % 7]);
  p.setPen(QPen(QColor(96, 102, 116), 1.6));
  p.setBrush(cg);
  p.drawEllipse(c, 44, 44);
  QRadialGradient shade(c, 44);
  shade.setColorAt(0.0, QColor(255, 255, 255, 0));
  shade.setColorAt(0.85, QColor(255, 255, 255, 0));
  shade.setColorAt(1.0, QColor(60, 70, 90, 70));
  p.setPen(Qt::NoPen);
  p.setBrush(shade);
  p.drawEllipse(c, 43.2, 43.2);
  p.setBrush(QColor(236, 238, 242, 230));
  p.setPen(QPen(QColor(150, 156, 168), 1.0));
  p.drawEllipse(c, 13, 13);
  p.setCompositionMode(QPainter::CompositionMode_Clear);
  p.setBrush(Qt::black);
  p.setPen(Qt::NoPen);
  p.drawEllipse(c, 5, 5);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.setPen(QPen(QColor(150, 156, 168), 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(c, 5, 5);

  // Subtitle bar with a "T" drawn the way subtitles are: white fill, dark outline.
  const QRectF bar(6, 62, 88, 32);
  p.setPen(QPen(QColor(255, 255, 255, 200), 1.4));
  p.setBrush(QColor(24, 28, 40, 235));
  p.drawRoundedRect(bar, 7, 7);
  QFont f("Liberation Sans");
  f.setBold(true);
  f.setPixelSize(34);
  QPainterPath t;
  t.addText(0, 0, f, "T");
  const QRectF tb = t.boundingRect();
  t.translate(26 - tb.center().x(), bar.center().y() - tb.center().y());
  p.setPen(QPen(QColor(10, 10, 12), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(t);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255));
  p.drawPath(t);
  // Lines of text beside it.
  p.setBrush(QColor(255, 214, 80));
  p.drawRoundedRect(QRectF(44, 70, 42, 6), 3, 3);
  p.setBrush(QColor(235, 235, 240));
  p.drawRoundedRect(QRectF(44, 81, 30, 6), 3, 3);
  return img;
}

// ---------------------------------------------------------------------------------------------
// About picture: a lighthouse on rocks at dusk.

QImage AboutPicture() {
  const int w = 78, h = 99, k = 4;
  QImage big(w * k, h * k, QImage::Format_RGB32);
  QPainter p(&big);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.scale(k, k);
  const float horizon = 66;
  QLinearGradient sky(0, 0, 0, horizon);
  sky.setColorAt(0, QColor(34, 44, 86));
  sky.setColorAt(0.45, QColor(98, 86, 130));
  sky.setColorAt(0.8, QColor(222, 128, 96));
  sky.setColorAt(1, QColor(252, 196, 120));
  p.fillRect(QRectF(0, 0, w, horizon), sky);
  Rng rng(99);
  for (int i = 0; i < 26; ++i) {
    const float x = rng.Range(0, w), y = rng.Range(0, 30);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 240, static_cast<int>(rng.Range(90, 230))));
    p.drawEllipse(QPointF(x, y), 0.28, 0.28);
  }
  // Sun just set behind the sea.
  QRadialGradient sun(QPointF(22, horizon), 22);
  sun.setColorAt(0, QColor(255, 236, 170, 220));
  sun.setColorAt(1, QColor(255, 200, 120, 0));
  p.setBrush(sun);
  p.drawEllipse(QPointF(22, horizon), 22, 22);
  // Thin clouds.
  for (int i = 0; i < 5; ++i) {
    const float y = rng.Range(36, 58), x = rng.Range(-10, 60), len = rng.Range(18, 40);
    p.setBrush(QColor(120, 80, 110, 110));
    p.drawRoundedRect(QRectF(x, y, len, 1.6), 0.8, 0.8);
  }
  // Sea with a glitter path under the glow.
  QLinearGradient sea(0, horizon, 0, h);
  sea.setColorAt(0, QColor(96, 86, 116));
  sea.setColorAt(1, QColor(24, 32, 58));
  p.fillRect(QRectF(0, horizon, w, h - horizon), sea);
  for (int i = 0; i < 60; ++i) {
    const float t = rng.Next();
    const float y = horizon + 1 + t * t * 32;
    const float x = 22 + rng.Range(-1, 1) * (3 + 14 * t);
    p.setBrush(QColor(255, 210, 140, static_cast<int>(200 * (1 - t))));
    p.drawRoundedRect(QRectF(x, y, rng.Range(1.5f, 4.0f) * (0.6f + t), 0.5f + 0.5f * t), 0.3, 0.3);
  }
  // Rocks.
  QPainterPath rocks;
  rocks.moveTo(30, h);
  rocks.cubicTo(36, 84, 44, 78, 52, 74);
  rocks.lineTo(60, 71);
  rocks.cubicTo(66, 69, 72, 70, 78, 72);
  rocks.lineTo(78, h);
  rocks.closeSubpath();
  QLinearGradient rg(0, 70, 0, h);
  rg.setColorAt(0, QColor(56, 48, 62));
  rg.setColorAt(1, QColor(18, 18, 26));
  p.fillPath(rocks, rg);
  // Tower with red bands, then the lantern and its beams.
  const float tx = 62;
  QPainterPath tower;
  tower.moveTo(tx - 5, 72);
  tower.lineTo(tx - 3.4, 34);
  tower.lineTo(tx + 3.4, 34);
  tower.lineTo(tx + 5, 72);
  tower.closeSubpath();
  QLinearGradient tg(tx - 5, 0, tx + 5, 0);
  tg.setColorAt(0, QColor(250, 236, 222));
  tg.setColorAt(0.6, QColor(200, 188, 196));
  tg.setColorAt(1, QColor(130, 120, 140));
  p.fillPath(tower, tg);
  p.save();
  p.setClipPath(tower);
  for (float by : {40.0f, 52.0f, 64.0f})
    p.fillRect(QRectF(tx - 6, by, 12, 5), QColor(178, 44, 46, 235));
  p.restore();
  p.fillRect(QRectF(tx - 4.6, 32.5, 9.2, 1.6), QColor(40, 36, 46));
  QLinearGradient beamL(tx, 0, 0, 0);
  beamL.setColorAt(0, QColor(255, 240, 170, 170));
  beamL.setColorAt(1, QColor(255, 240, 170, 0));
  QPainterPath beam;
  beam.moveTo(tx, 28.5);
  beam.lineTo(-2, 20);
  beam.lineTo(-2, 33);
  beam.closeSubpath();
  p.fillPath(beam, beamL);
  p.setBrush(QColor(255, 236, 150));
  p.drawRect(QRectF(tx - 2.6, 26, 5.2, 6.5));
  p.fillRect(QRectF(tx - 0.3, 26, 0.6, 6.5), QColor(120, 100, 70));
  QPainterPath roof;
  roof.moveTo(tx - 3.6, 26);
  roof.lineTo(tx, 21.5);
  roof.lineTo(tx + 3.6, 26);
  roof.closeSubpath();
  p.fillPath(roof, QColor(150, 36, 40));
  QRadialGradient halo(QPointF(tx, 29), 9);
  halo.setColorAt(0, QColor(255, 240, 170, 150));
  halo.setColorAt(1, QColor(255, 240, 170, 0));
  p.setBrush(halo);
  p.drawEllipse(QPointF(tx, 29), 9, 9);
  p.end();
  return big.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
      .convertToFormat(QImage::Format_RGB888);
}

// ---------------------------------------------------------------------------------------------
// Donation button.

QImage DonateButton() {
  QImage img(62, 30, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  const QRectF body(1, 2, 60, 26);
  QLinearGradient g(0, body.top(), 0, body.bottom());
  g.setColorAt(0, QColor(255, 226, 120));
  g.setColorAt(0.5, QColor(255, 196, 60));
  g.setColorAt(1, QColor(236, 146, 24));
  p.setPen(QPen(QColor(186, 110, 20), 1.2));
  p.setBrush(g);
  p.drawRoundedRect(body, 12, 12);
  QLinearGradient gloss(0, body.top(), 0, body.center().y());
  gloss.setColorAt(0, QColor(255, 255, 255, 150));
  gloss.setColorAt(1, QColor(255, 255, 255, 20));
  p.setPen(Qt::NoPen);
  p.setBrush(gloss);
  p.drawRoundedRect(QRectF(4, 3.5, 54, 11), 6, 6);
  QFont f("Liberation Sans");
  f.setBold(true);
  f.setItalic(true);
  f.setPixelSize(14);
  p.setFont(f);
  p.setPen(QColor(255, 240, 200, 200));
  p.drawText(QRectF(0, 2, 62, 26).translated(0, 1), Qt::AlignCenter, "Donate");
  p.setPen(QColor(28, 40, 92));
  p.drawText(QRectF(0, 2, 62, 26), Qt::AlignCenter, "Donate");
  return img;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  QDir dir(args[1]);
  if (!dir.mkpath(".")) {
    std::fprintf(stderr, "cannot create %s\n", qPrintable(args[1]));
    return 1;
  }
  bool ok = true;
  auto save = [&](const QImage& img, const char* name) {
    // Quality 0 asks for the strongest zlib compression; PNG stays lossless.
    if (!img.save(dir.filePath(name), "PNG", 0)) {
      std::fprintf(stderr, "cannot write %s\n", name);
      ok = false;
    }
  };
  save(RenderHarbour(720, 576), "PreviewPal720x576.png");
  save(RenderHarbour(720, 480), "PreviewNtsc720x480.png");
  save(Blue(720, 576), "BluePal720x576.png");
  save(Blue(720, 480), "BlueNtsc720x480.png");
  save(ColoursIllustration(), "colors.png");
  save(ButtonFace("Set Default", "Values"), "SetDefaultValues.png");
  save(ButtonFace("Change", "Images"), "ChangeImages.png");
  save(Icon(64), "tesmora.png");
  save(Icon(256), "tesmora-256.png");
  save(AboutPicture(), "velmire.png");
  save(DonateButton(), "Donate.png");
  return ok ? 0 : 1;
}
