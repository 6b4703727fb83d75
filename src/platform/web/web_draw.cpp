// Drawing through WebGL. WebGL has no immediate mode, no matrices and no
// bitmap text, so the drawer keeps the game's projection and modelview
// matrices itself, turns every vertex into clip space as it is given, gathers
// the quads into one vertex array and draws it, in order, whenever anything
// else has to happen first (a texture or texturing change, a line loop, text,
// clear or swap). Text is drawn as textured quads from a font texture, placed
// on whole pixels as bitmaps are. Texture numbers are the game's own: each
// gets a real texture when it is first uploaded, and a number that never was
// draws untextured, as GL draws with an incomplete texture.
#include <GLES2/gl2.h>
#include <emscripten/html5.h>

#include <cmath>
#include <vector>

#include "platform/web/font8x13.h"
#include "platform/web/web.h"

namespace {

// A 4 x 4 matrix in GL's order: column by column.
struct Mat {
  float m[16];
};

Mat Identity() {
  Mat r{};
  r.m[0] = r.m[5] = r.m[10] = r.m[15] = 1;
  return r;
}

Mat Mul(const Mat& a, const Mat& b) {
  Mat r{};
  for (int c = 0; c < 4; ++c)
    for (int k = 0; k < 4; ++k)
      for (int row = 0; row < 4; ++row) r.m[c * 4 + row] += a.m[k * 4 + row] * b.m[c * 4 + k];
  return r;
}

// GLU's perspective, worked out in double as GLU does.
Mat Perspective(double fovy, double aspect, double znear, double zfar) {
  double radians = fovy / 2 * M_PI / 180, depth = zfar - znear;
  double cotangent = std::cos(radians) / std::sin(radians);
  Mat r{};
  r.m[0] = float(cotangent / aspect);
  r.m[5] = float(cotangent);
  r.m[10] = float(-(zfar + znear) / depth);
  r.m[11] = -1;
  r.m[14] = float(-2 * znear * zfar / depth);
  return r;
}

// GL's rotation by `angle` degrees about the axis (x, y, z).
Mat Rotation(float angle, float x, float y, float z) {
  float len = std::sqrt(x * x + y * y + z * z);
  if (len == 0) return Identity();
  x /= len, y /= len, z /= len;
  float a = angle * float(M_PI) / 180, c = std::cos(a), s = std::sin(a), k = 1 - c;
  Mat r = Identity();
  r.m[0] = x * x * k + c, r.m[4] = x * y * k - z * s, r.m[8] = x * z * k + y * s;
  r.m[1] = y * x * k + z * s, r.m[5] = y * y * k + c, r.m[9] = y * z * k - x * s;
  r.m[2] = x * z * k - y * s, r.m[6] = y * z * k + x * s, r.m[10] = z * z * k + c;
  return r;
}

bool PowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

const char* const kVertexShader = R"(
attribute vec4 pos;
attribute vec2 st;
attribute vec4 colour;
varying vec2 vst;
varying vec4 vcolour;
void main() {
  gl_Position = pos;
  vst = st;
  vcolour = colour;
})";

// The texture modulates the colour, as GL's default texture environment does.
const char* const kFragmentShader = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
uniform sampler2D tex;
uniform bool textured;
varying vec2 vst;
varying vec4 vcolour;
void main() {
  gl_FragColor = textured ? vcolour * texture2D(tex, vst) : vcolour;
})";

GLuint Shader(GLenum kind, const char* source) {
  GLuint s = glCreateShader(kind);
  glShaderSource(s, 1, &source, nullptr);
  glCompileShader(s);
  return s;
}

// The font texture: 16 glyphs to a row, each in a cell of 8 x 16 texels with
// its bottom row first.
constexpr int FONT_TEX = 128, FONT_CELL_H = 16, FONT_COLUMNS = FONT_TEX / FONT_W;

struct WebGLDraw final : Draw {
  struct V {
    float x, y, z, w, s, t, r, g, b, a;
  };
  static constexpr int MAX_QUADS = 8192, MAX_VERTICES = 4 * MAX_QUADS, MAX_LOOP = 64;
  static constexpr int MAX_TEXTURES = 4096;   // the game's numbers run below this

  V v[MAX_VERTICES];
  int n = 0;
  int begun = -1;          // where the open quads began, -1 outside them
  bool lines = false;      // inside a line loop
  bool dropping = false;   // inside a Begin .. End that is not drawn
  V loop[MAX_LOOP];
  int looped = 0;
  float cur[6] = {1, 1, 1, 1, 0, 0};   // colour and texture coordinate in force

  Mat projection = Identity(), modelview = Identity(), mvp = Identity();
  bool modelviewSelected = false;
  bool texturing = false;
  int bound = 0;
  GLuint names[MAX_TEXTURES] = {};   // 0: never uploaded
  int viewW = 1, viewH = 1;
  bool presenting = true;

  GLuint program = 0, vbo = 0, ibo = 0, font = 0;
  GLint aPos = -1, aSt = -1, aColour = -1, uTextured = -1;

  bool Init() {
    program = glCreateProgram();
    glAttachShader(program, Shader(GL_VERTEX_SHADER, kVertexShader));
    glAttachShader(program, Shader(GL_FRAGMENT_SHADER, kFragmentShader));
    glLinkProgram(program);
    GLint linked = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (!linked) return false;
    glUseProgram(program);
    aPos = glGetAttribLocation(program, "pos");
    aSt = glGetAttribLocation(program, "st");
    aColour = glGetAttribLocation(program, "colour");
    uTextured = glGetUniformLocation(program, "textured");
    glUniform1i(glGetUniformLocation(program, "tex"), 0);

    // two triangles for every quad: corners 0 1 2 and 0 2 3
    std::vector<GLushort> index(size_t(MAX_QUADS) * 6);
    for (int q = 0; q < MAX_QUADS; ++q) {
      const int k[6] = {0, 1, 2, 0, 2, 3};
      for (int i = 0; i < 6; ++i) index[size_t(q) * 6 + size_t(i)] = GLushort(q * 4 + k[i]);
    }
    glGenBuffers(1, &ibo);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(index.size() * sizeof(GLushort)), index.data(),
                 GL_STATIC_DRAW);
    glGenBuffers(1, &vbo);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glBufferData(GL_ARRAY_BUFFER, sizeof v, nullptr, GL_STREAM_DRAW);
    glEnableVertexAttribArray(GLuint(aPos));
    glEnableVertexAttribArray(GLuint(aSt));
    glEnableVertexAttribArray(GLuint(aColour));
    glVertexAttribPointer(GLuint(aPos), 4, GL_FLOAT, GL_FALSE, sizeof(V), reinterpret_cast<void*>(0));
    glVertexAttribPointer(GLuint(aSt), 2, GL_FLOAT, GL_FALSE, sizeof(V),
                          reinterpret_cast<void*>(offsetof(V, s)));
    glVertexAttribPointer(GLuint(aColour), 4, GL_FLOAT, GL_FALSE, sizeof(V),
                          reinterpret_cast<void*>(offsetof(V, r)));

    std::vector<uint8_t> texels(size_t(FONT_TEX) * FONT_TEX * 4, 255);
    for (size_t i = 3; i < texels.size(); i += 4) texels[i] = 0;
    for (int c = FONT_FIRST; c <= FONT_LAST; ++c) {
      int cx = (c - FONT_FIRST) % FONT_COLUMNS * FONT_W, cy = (c - FONT_FIRST) / FONT_COLUMNS * FONT_CELL_H;
      for (int row = 0; row < FONT_H; ++row)
        for (int bit = 0; bit < FONT_W; ++bit)
          if (kFont8x13[c - FONT_FIRST][row] & (0x80 >> bit))
            texels[(size_t(cy + row) * FONT_TEX + size_t(cx + bit)) * 4 + 3] = 255;
    }
    glGenTextures(1, &font);
    glBindTexture(GL_TEXTURE_2D, font);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, FONT_TEX, FONT_TEX, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return true;
  }

  Mat& Current() { return modelviewSelected ? modelview : projection; }
  void Changed() { mvp = Mul(projection, modelview); }

  V Transformed(float x, float y, float z) const {
    const float* m = mvp.m;
    return {m[0] * x + m[4] * y + m[8] * z + m[12], m[1] * x + m[5] * y + m[9] * z + m[13],
            m[2] * x + m[6] * y + m[10] * z + m[14], m[3] * x + m[7] * y + m[11] * z + m[15],
            cur[4], cur[5], cur[0], cur[1], cur[2], cur[3]};
  }

  // Draws `count` vertices from `from` as quads (or as one line loop) with the
  // texture `tex` (0: none).
  void DrawVertices(const V* from, int count, GLuint tex, bool loopOf) {
    glUniform1i(uTextured, tex != 0);
    if (tex) glBindTexture(GL_TEXTURE_2D, tex);
    glBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(size_t(count) * sizeof(V)), from);
    if (loopOf) glDrawArrays(GL_LINE_LOOP, 0, count);
    else glDrawElements(GL_TRIANGLES, count / 4 * 6, GL_UNSIGNED_SHORT, nullptr);
  }

  GLuint GameTexture() const {
    return texturing && bound > 0 && bound < MAX_TEXTURES ? names[bound] : 0;
  }

  // Draws the complete quads kept so far; a quad still open moves to the front.
  void Flush() {
    int whole = begun < 0 ? n : begun + (n - begun) / 4 * 4;
    if (whole > 0) DrawVertices(v, whole, GameTexture(), false);
    for (int i = whole; i < n; i++) v[i - whole] = v[i];
    n -= whole;
    if (begun >= 0) begun = 0;
  }

  void SetupState() override {
    Flush();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  }
  void Reshape(int w, int h, double fovy, double aspect, double znear, double zfar) override {
    Flush();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, w, h);
    viewW = w > 0 ? w : 1;
    viewH = h > 0 ? h : 1;
    modelviewSelected = false;
    projection = Perspective(fovy, aspect, znear, zfar);
    Changed();
  }
  void Clear() override {
    if (!presenting) return;
    Flush();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }
  void SelectModelview() override { modelviewSelected = true; }
  void LoadIdentity() override {
    Current() = Identity();
    Changed();
  }
  void Translate(float x, float y, float z) override {
    Mat t = Identity();
    t.m[12] = x, t.m[13] = y, t.m[14] = z;
    Current() = Mul(Current(), t);
    Changed();
  }
  void Rotate(float a, float x, float y, float z) override {
    Current() = Mul(Current(), Rotation(a, x, y, z));
    Changed();
  }
  void Texturing(bool on) override {
    if (texturing == on) return;
    Flush();
    texturing = on;
  }
  void BindTexture(int id) override {
    if (bound == id) return;
    Flush();
    bound = id;
  }
  void Color3(float r, float g, float b) override { Color4(r, g, b, 1); }
  void Color4(float r, float g, float b, float a) override { cur[0] = r, cur[1] = g, cur[2] = b, cur[3] = a; }
  void TexCoord(float s, float t) override { cur[4] = s, cur[5] = t; }
  void Begin(DrawPrim p) override {
    if (!presenting) {
      dropping = true;
      return;
    }
    if (p == dpQuads) {
      begun = n;
      return;
    }
    Flush();
    lines = true;
    looped = 0;
  }
  void Vertex(float x, float y, float z) override {
    if (dropping) return;
    if (lines) {
      if (looped < MAX_LOOP) loop[looped++] = Transformed(x, y, z);
      return;
    }
    if (begun < 0) return;
    if (n == MAX_VERTICES) Flush();
    v[n++] = Transformed(x, y, z);
  }
  void End() override {
    if (dropping) {
      dropping = false;
      return;
    }
    if (lines) {
      if (looped >= 2) DrawVertices(loop, looped, GameTexture(), true);
      lines = false;
      return;
    }
    if (begun >= 0) n = begun + (n - begun) / 4 * 4;   // an unfinished quad is left out
    begun = -1;
  }
  // Text as bitmaps: the raster position goes through the matrices; outside
  // the view nothing is drawn; the glyphs sit on whole pixels from there, at
  // the raster position's depth, in the colour in force.
  void Text(float x, float y, float z, const char* text) override {
    if (!presenting) return;
    Flush();
    V r = Transformed(x, y, z);
    if (!(r.w > 0) || std::fabs(r.x) > r.w || std::fabs(r.y) > r.w || std::fabs(r.z) > r.w) return;
    float xw = (r.x / r.w + 1) * float(viewW) / 2, yw = (r.y / r.w + 1) * float(viewH) / 2;
    float depth = r.z / r.w;
    int px = int(std::floor(xw + 1e-4f)), py = int(std::floor(yw + 1e-4f)) - FONT_BELOW;
    int count = 0;
    for (const char* c = text; *c && count + 4 <= MAX_VERTICES; ++c, px += FONT_W) {
      int k = static_cast<unsigned char>(*c);
      if (k < FONT_FIRST || k > FONT_LAST) continue;
      float s0 = float((k - FONT_FIRST) % FONT_COLUMNS * FONT_W) / FONT_TEX;
      float t0 = float((k - FONT_FIRST) / FONT_COLUMNS * FONT_CELL_H) / FONT_TEX;
      float s1 = s0 + float(FONT_W) / FONT_TEX, t1 = t0 + float(FONT_H) / FONT_TEX;
      float x0 = 2 * float(px) / float(viewW) - 1, x1 = 2 * float(px + FONT_W) / float(viewW) - 1;
      float y0 = 2 * float(py) / float(viewH) - 1, y1 = 2 * float(py + FONT_H) / float(viewH) - 1;
      const float corners[4][4] = {{x0, y0, s0, t0}, {x1, y0, s1, t0}, {x1, y1, s1, t1}, {x0, y1, s0, t1}};
      for (const auto& q : corners) v[count++] = {q[0], q[1], depth, 1, q[2], q[3], cur[0], cur[1], cur[2], cur[3]};
    }
    if (count > 0) DrawVertices(v, count, font, false);
  }
  void UploadTexture(int id, int w, int h, TexFormat fmt, const uint8_t* pixels, bool linear) override {
    if (id <= 0 || id >= MAX_TEXTURES || w <= 0 || h <= 0 || !pixels) return;
    Flush();
    // every format as RGBA: an alpha texture keeps the colour, as GL's does
    std::vector<uint8_t> rgba(size_t(w) * size_t(h) * 4);
    for (size_t i = 0, count = size_t(w) * size_t(h); i < count; ++i) {
      uint8_t* o = &rgba[i * 4];
      if (fmt == tfRGBA) o[0] = pixels[i * 4], o[1] = pixels[i * 4 + 1], o[2] = pixels[i * 4 + 2], o[3] = pixels[i * 4 + 3];
      else if (fmt == tfRGB) o[0] = pixels[i * 3], o[1] = pixels[i * 3 + 1], o[2] = pixels[i * 3 + 2], o[3] = 255;
      else o[0] = o[1] = o[2] = 255, o[3] = pixels[i];
    }
    if (names[id] == 0) glGenTextures(1, &names[id]);
    glBindTexture(GL_TEXTURE_2D, names[id]);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // WebGL 1 repeats only textures whose sides are powers of two
    GLint wrap = PowerOfTwo(w) && PowerOfTwo(h) ? GL_REPEAT : GL_CLAMP_TO_EDGE;
    GLint filter = linear ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  }
  void SwapBuffers() override { Flush(); }   // the browser shows the canvas after the frame
};

WebGLDraw drawer;

}  // namespace

Draw* WebDraw() { return &drawer; }

void WebDrawPresenting(bool on) {
  if (!on) drawer.Flush();
  drawer.presenting = on;
}

long WebDrawContext() {
  EmscriptenWebGLContextAttributes attrs;
  emscripten_webgl_init_context_attributes(&attrs);
  attrs.alpha = 0;   // the picture is opaque, as the window's
  attrs.depth = 1;
  attrs.stencil = 0;
  attrs.antialias = 0;
  attrs.majorVersion = 1;
  EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context("#canvas", &attrs);
  if (context <= 0 || emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS) return 0;
  return drawer.Init() ? long(context) : 0;
}
