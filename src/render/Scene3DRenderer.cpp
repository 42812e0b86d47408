#include "render/Scene3DRenderer.h"

#include <GL/glcorearb.h>

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "model/scene3d/NodeDots.h"
#include "render/Colors.h"
#include "render/GradientTable.h"

namespace terravel {

namespace {

// The GL entry points the renderer uses, taken from the resolver.
#define TERRAVEL_GL_FUNCTIONS(X)                                                                   \
  X(PFNGLGETSTRINGPROC, GetString)                                                                 \
  X(PFNGLGETINTEGERVPROC, GetIntegerv)                                                             \
  X(PFNGLCREATESHADERPROC, CreateShader)                                                           \
  X(PFNGLSHADERSOURCEPROC, ShaderSource)                                                           \
  X(PFNGLCOMPILESHADERPROC, CompileShader)                                                         \
  X(PFNGLGETSHADERIVPROC, GetShaderiv)                                                             \
  X(PFNGLGETSHADERINFOLOGPROC, GetShaderInfoLog)                                                   \
  X(PFNGLDELETESHADERPROC, DeleteShader)                                                           \
  X(PFNGLCREATEPROGRAMPROC, CreateProgram)                                                         \
  X(PFNGLATTACHSHADERPROC, AttachShader)                                                           \
  X(PFNGLLINKPROGRAMPROC, LinkProgram)                                                             \
  X(PFNGLGETPROGRAMIVPROC, GetProgramiv)                                                           \
  X(PFNGLGETPROGRAMINFOLOGPROC, GetProgramInfoLog)                                                 \
  X(PFNGLDELETEPROGRAMPROC, DeleteProgram)                                                         \
  X(PFNGLUSEPROGRAMPROC, UseProgram)                                                               \
  X(PFNGLGETUNIFORMLOCATIONPROC, GetUniformLocation)                                               \
  X(PFNGLUNIFORM1IPROC, Uniform1i)                                                                 \
  X(PFNGLUNIFORM1FPROC, Uniform1f)                                                                 \
  X(PFNGLUNIFORM2FPROC, Uniform2f)                                                                 \
  X(PFNGLUNIFORM3FPROC, Uniform3f)                                                                 \
  X(PFNGLUNIFORM4FPROC, Uniform4f)                                                                 \
  X(PFNGLUNIFORMMATRIX4FVPROC, UniformMatrix4fv)                                                   \
  X(PFNGLGENVERTEXARRAYSPROC, GenVertexArrays)                                                     \
  X(PFNGLDELETEVERTEXARRAYSPROC, DeleteVertexArrays)                                               \
  X(PFNGLBINDVERTEXARRAYPROC, BindVertexArray)                                                     \
  X(PFNGLGENBUFFERSPROC, GenBuffers)                                                               \
  X(PFNGLDELETEBUFFERSPROC, DeleteBuffers)                                                         \
  X(PFNGLBINDBUFFERPROC, BindBuffer)                                                               \
  X(PFNGLBUFFERDATAPROC, BufferData)                                                               \
  X(PFNGLBUFFERSUBDATAPROC, BufferSubData)                                                         \
  X(PFNGLMAPBUFFERRANGEPROC, MapBufferRange)                                                       \
  X(PFNGLUNMAPBUFFERPROC, UnmapBuffer)                                                             \
  X(PFNGLVERTEXATTRIBPOINTERPROC, VertexAttribPointer)                                             \
  X(PFNGLENABLEVERTEXATTRIBARRAYPROC, EnableVertexAttribArray)                                     \
  X(PFNGLDRAWELEMENTSPROC, DrawElements)                                                           \
  X(PFNGLDRAWARRAYSPROC, DrawArrays)                                                               \
  X(PFNGLENABLEPROC, Enable)                                                                       \
  X(PFNGLDISABLEPROC, Disable)                                                                     \
  X(PFNGLDEPTHFUNCPROC, DepthFunc)                                                                 \
  X(PFNGLDEPTHMASKPROC, DepthMask)                                                                 \
  X(PFNGLCLEARCOLORPROC, ClearColor)                                                               \
  X(PFNGLCLEARDEPTHPROC, ClearDepth)                                                               \
  X(PFNGLCLEARPROC, Clear)                                                                         \
  X(PFNGLVIEWPORTPROC, Viewport)                                                                   \
  X(PFNGLPOLYGONOFFSETPROC, PolygonOffset)                                                         \
  X(PFNGLGENTEXTURESPROC, GenTextures)                                                             \
  X(PFNGLDELETETEXTURESPROC, DeleteTextures)                                                       \
  X(PFNGLBINDTEXTUREPROC, BindTexture)                                                             \
  X(PFNGLACTIVETEXTUREPROC, ActiveTexture)                                                         \
  X(PFNGLTEXIMAGE2DPROC, TexImage2D)                                                               \
  X(PFNGLTEXPARAMETERIPROC, TexParameteri)                                                         \
  X(PFNGLFINISHPROC, Finish)

struct TGL {
#define TERRAVEL_GL_MEMBER(type, name) type name = nullptr;
  TERRAVEL_GL_FUNCTIONS(TERRAVEL_GL_MEMBER)
#undef TERRAVEL_GL_MEMBER
};

const char* const kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in float height;
layout(location = 2) in vec3 normal;
uniform mat4 viewProjection;
uniform float pointSize;
out float vHeight;
out vec3 vNormal;
void main() {
  gl_Position = viewProjection * vec4(position, 1.0);
  gl_PointSize = pointSize;
  vHeight = height;
  vNormal = normal;
}
)";

// A geometry shader between the two for the wireframe: each triangle's corners learn their
// distances in pixels from the opposite edges, so that the fragments near an edge are drawn as its
// line in the same pass as the face. A triangle reaching behind the eye gets no lines.
const char* const kWireGeometryShader = R"(#version 330 core
layout(triangles) in;
layout(triangle_strip, max_vertices = 3) out;
in float vHeight[];
in vec3 vNormal[];
uniform vec2 viewportSize;
out float gHeight;
out vec3 gNormal;
noperspective out vec3 gEdge;
void main() {
  vec2 p[3];
  bool before = true;
  for (int i = 0; i < 3; ++i) {
    before = before && gl_in[i].gl_Position.w > 0.0;
    p[i] = 0.5 * viewportSize * gl_in[i].gl_Position.xy / gl_in[i].gl_Position.w;
  }
  float area = abs((p[1].x - p[0].x) * (p[2].y - p[0].y) - (p[1].y - p[0].y) * (p[2].x - p[0].x));
  vec3 altitude = vec3(area / max(distance(p[1], p[2]), 1e-6), area / max(distance(p[2], p[0]), 1e-6),
                       area / max(distance(p[0], p[1]), 1e-6));
  if (!before) altitude = vec3(1e6);
  for (int i = 0; i < 3; ++i) {
    gl_Position = gl_in[i].gl_Position;
    gHeight = vHeight[i];
    gNormal = vNormal[i];
    gEdge = vec3(0.0);
    gEdge[i] = altitude[i];
    EmitVertex();
  }
  EndPrimitive();
}
)";

// mode 0: lit gradient; 1: lit gradient with the sky tint; 2: flat colour; 3: lit gradient tinted
// with the flat colour, lit alike (the selection keeps the slopes readable). With WIRE the inputs
// come from the wireframe's geometry shader and the edges are drawn over the colour.
const char* const kFragmentShader = R"(
#ifdef WIRE
in float gHeight;
in vec3 gNormal;
noperspective in vec3 gEdge;
uniform vec3 wireColour;
#define vHeight gHeight
#define vNormal gNormal
#else
in float vHeight;
in vec3 vNormal;
#endif
uniform sampler2D gradient;
uniform float minZ;
uniform float maxZ;
uniform int mode;
uniform vec4 flatColour;
uniform vec3 skyTint;
uniform vec3 lightDirection;
uniform float ambient;
uniform float diffuse;
out vec4 colour;
vec3 Gradient(float z) {
  if (z < minZ) return vec3(0.0);
  if (z > maxZ) return vec3(1.0);
  int last = textureSize(gradient, 0).x - 1;
  int entry = textureSize(gradient, 0).x / 2;
  if (maxZ > minZ) entry = clamp(int(floor((z - minZ) / (maxZ - minZ) * float(last) + 0.5)), 0, last);
  return texelFetch(gradient, ivec2(entry, 0), 0).rgb;
}
vec4 Shade() {
  if (mode == 2) return flatColour;
  float light = ambient + diffuse * abs(dot(normalize(vNormal), lightDirection));
  vec3 lit = Gradient(vHeight) * light;
  if (mode == 1) lit = mix(lit, skyTint, 0.5);
  if (mode == 3) lit = mix(lit, flatColour.rgb * light, 0.5);
  return vec4(lit, 1.0);
}
void main() {
  colour = Shade();
#ifdef WIRE
  // A line about one pixel wide along each edge, its sides smoothed.
  float edge = min(gEdge.x, min(gEdge.y, gEdge.z));
  colour.rgb = mix(colour.rgb, wireColour, 1.0 - smoothstep(0.5, 1.25, edge));
#endif
}
)";

// Vertex runs at most this many vertices apart are written to the card as one.
constexpr int kMergedGap = 16;

// The wireframe's lines.
constexpr QRgb kWireColour = 0xFF202020;

std::array<float, 3> Rgb(QRgb c) { return {qRed(c) / 255.f, qGreen(c) / 255.f, qBlue(c) / 255.f}; }

double PlanDiagonal(const TBox3& bounds) {
  return bounds.Empty() ? 0 : std::hypot(bounds.Max.X - bounds.Min.X, bounds.Max.Y - bounds.Min.Y);
}

}  // namespace

bool NodeDotsShown(const TCamera3D& camera, const TScene3DStyle& style, const TBox3& bounds, int vertices) {
  return style.ShowNodes && NodeSpacing(camera, PlanDiagonal(bounds), vertices) >= kLeastNodeSpacing;
}

TScene3DStyle StyleFor(const TProjectValues& values) {
  TScene3DStyle style;
  style.MinZ = values.MinZ;
  style.MaxZ = values.MaxZ;
  style.Selection = SystemColor(kSystemHighlight);
  return style;
}

struct TScene3DRenderer::TImpl {
  TGL gl;
  bool ready = false;
  // The shaded program, and the wireframe's with its geometry shader; their uniforms.
  struct TProgram {
    GLuint id = 0;
    GLint uViewProjection = -1, uPointSize = -1, uGradient = -1, uMinZ = -1, uMaxZ = -1, uMode = -1, uFlat = -1,
          uSky = -1, uLight = -1, uAmbient = -1, uDiffuse = -1, uViewportSize = -1, uWire = -1;
  };
  TProgram plain;
  TProgram wire;
  GLuint vao = 0;
  GLuint vertices = 0;
  // Ground, sky, selected triangles, selected nodes.
  std::array<GLuint, 4> indices{};
  std::array<GLsizei, 4> counts{};
  GLsizei vertexCount = 0;
  double sceneSize = 0;  // the diagonal of the mesh's plan
  GLuint gradient = 0;
  std::size_t uploaded = 0;

  GLuint Compile(GLenum type, const char* source, std::string& error) {
    const GLuint shader = gl.CreateShader(type);
    gl.ShaderSource(shader, 1, &source, nullptr);
    gl.CompileShader(shader);
    GLint ok = 0;
    gl.GetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
      std::array<char, 1024> log{};
      gl.GetShaderInfoLog(shader, GLsizei(log.size()), nullptr, log.data());
      error = std::string("The 3-D view's shaders do not compile here: ") + log.data();
      gl.DeleteShader(shader);
      return 0;
    }
    return shader;
  }

  // Links the shaders (geometry may be 0) into the program; false with a sentence why.
  bool Link(TProgram& program, GLuint vertex, GLuint geometry, GLuint fragment, std::string& error) {
    program.id = gl.CreateProgram();
    for (const GLuint shader : {vertex, geometry, fragment})
      if (shader != 0) gl.AttachShader(program.id, shader);
    gl.LinkProgram(program.id);
    GLint linked = 0;
    gl.GetProgramiv(program.id, GL_LINK_STATUS, &linked);
    if (!linked) {
      std::array<char, 1024> log{};
      gl.GetProgramInfoLog(program.id, GLsizei(log.size()), nullptr, log.data());
      error = std::string("The 3-D view's shaders do not link here: ") + log.data();
      return false;
    }
    const auto uniform = [&](const char* name) { return gl.GetUniformLocation(program.id, name); };
    program.uViewProjection = uniform("viewProjection");
    program.uPointSize = uniform("pointSize");
    program.uGradient = uniform("gradient");
    program.uMinZ = uniform("minZ");
    program.uMaxZ = uniform("maxZ");
    program.uMode = uniform("mode");
    program.uFlat = uniform("flatColour");
    program.uSky = uniform("skyTint");
    program.uLight = uniform("lightDirection");
    program.uAmbient = uniform("ambient");
    program.uDiffuse = uniform("diffuse");
    program.uViewportSize = uniform("viewportSize");
    program.uWire = uniform("wireColour");
    return true;
  }

  void IndexList(int which, const std::vector<std::uint32_t>& list) {
    gl.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices[std::size_t(which)]);
    const auto bytes = GLsizeiptr(list.size() * sizeof(std::uint32_t));
    gl.BufferData(GL_ELEMENT_ARRAY_BUFFER, bytes, list.empty() ? nullptr : list.data(), GL_DYNAMIC_DRAW);
    counts[std::size_t(which)] = GLsizei(list.size());
    uploaded += std::size_t(bytes);
  }

  void DrawList(int which, GLenum primitive) {
    if (counts[std::size_t(which)] == 0) return;
    gl.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices[std::size_t(which)]);
    gl.DrawElements(primitive, counts[std::size_t(which)], GL_UNSIGNED_INT, nullptr);
  }
};

TScene3DRenderer::TScene3DRenderer() : impl_(std::make_unique<TImpl>()) {}
TScene3DRenderer::~TScene3DRenderer() = default;

bool TScene3DRenderer::Initialise(const TGLResolver& resolve, std::string& error) {
  TGL& gl = impl_->gl;
#define TERRAVEL_GL_LOAD(type, name)                                                            \
  gl.name = reinterpret_cast<type>(resolve("gl" #name));                                        \
  if (!gl.name) {                                                                                \
    error = "OpenGL 3.3 is not available here (no gl" #name ").";                               \
    return false;                                                                                \
  }
  TERRAVEL_GL_FUNCTIONS(TERRAVEL_GL_LOAD)
#undef TERRAVEL_GL_LOAD
  GLint major = 0, minor = 0;
  gl.GetIntegerv(GL_MAJOR_VERSION, &major);
  gl.GetIntegerv(GL_MINOR_VERSION, &minor);
  if (major * 10 + minor < 33) {
    const char* version = reinterpret_cast<const char*>(gl.GetString(GL_VERSION));
    error = std::string("The 3-D view needs OpenGL 3.3; this driver offers ") + (version ? version : "less") + ".";
    return false;
  }
  TImpl& d = *impl_;
  const std::string plainSource = std::string("#version 330 core\n") + kFragmentShader;
  const std::string wireSource = std::string("#version 330 core\n#define WIRE\n") + kFragmentShader;
  const GLuint vs = d.Compile(GL_VERTEX_SHADER, kVertexShader, error);
  const GLuint gs = vs ? d.Compile(GL_GEOMETRY_SHADER, kWireGeometryShader, error) : 0;
  const GLuint fs = gs ? d.Compile(GL_FRAGMENT_SHADER, plainSource.c_str(), error) : 0;
  const GLuint wfs = fs ? d.Compile(GL_FRAGMENT_SHADER, wireSource.c_str(), error) : 0;
  const bool linked = wfs && d.Link(d.plain, vs, 0, fs, error) && d.Link(d.wire, vs, gs, wfs, error);
  for (const GLuint shader : {vs, gs, fs, wfs})
    if (shader != 0) gl.DeleteShader(shader);
  if (!linked) return false;

  gl.GenVertexArrays(1, &d.vao);
  gl.BindVertexArray(d.vao);
  gl.GenBuffers(1, &d.vertices);
  gl.GenBuffers(GLsizei(d.indices.size()), d.indices.data());
  gl.BindBuffer(GL_ARRAY_BUFFER, d.vertices);
  constexpr GLsizei stride = sizeof(TMeshVertex);
  gl.VertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(TMeshVertex, X)));
  gl.VertexAttribPointer(1, 1, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(TMeshVertex, Height)));
  gl.VertexAttribPointer(2, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(TMeshVertex, NX)));
  for (GLuint i = 0; i < 3; ++i) gl.EnableVertexAttribArray(i);
  gl.BindVertexArray(0);

  // The top view's ramp, one texel an entry.
  std::vector<std::uint8_t> texels;
  for (const QRgb c : GradientTable())
    texels.insert(texels.end(), {std::uint8_t(qRed(c)), std::uint8_t(qGreen(c)), std::uint8_t(qBlue(c)), 255});
  gl.GenTextures(1, &d.gradient);
  gl.BindTexture(GL_TEXTURE_2D, d.gradient);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kGradientWidth, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  d.ready = true;
  return true;
}

void TScene3DRenderer::Upload(const TMeshBuffers& mesh, const TMeshUpdate& update) {
  TImpl& d = *impl_;
  if (!d.ready) return;
  TGL& gl = d.gl;
  gl.BindVertexArray(d.vao);
  gl.BindBuffer(GL_ARRAY_BUFFER, d.vertices);
  const auto& vertices = mesh.Vertices();
  const TBox3 bounds = mesh.Bounds();
  d.sceneSize = PlanDiagonal(bounds);
  if (update.Rebuilt || GLsizei(vertices.size()) != d.vertexCount) {
    const auto bytes = GLsizeiptr(vertices.size() * sizeof(TMeshVertex));
    gl.BufferData(GL_ARRAY_BUFFER, bytes, vertices.empty() ? nullptr : vertices.data(), GL_DYNAMIC_DRAW);
    d.vertexCount = GLsizei(vertices.size());
    d.uploaded += std::size_t(bytes);
  } else if (!update.Vertices.empty()) {
    // Runs a few vertices apart go as one write: the vertices between them are on the card as
    // they are here, so the buffer ends the same with fewer, longer copies.
    std::vector<TVertexRun> spans;
    for (const TVertexRun& run : update.Vertices) {
      TVertexRun* last = spans.empty() ? nullptr : &spans.back();
      if (last != nullptr && run.First - (last->First + last->Count) <= kMergedGap)
        last->Count = run.First + run.Count - last->First;
      else
        spans.push_back(run);
    }
    const auto write = [&](std::uint8_t* base, std::size_t begin) {
      for (const TVertexRun& span : spans) {
        const std::size_t offset = std::size_t(span.First) * sizeof(TMeshVertex);
        const std::size_t bytes = std::size_t(span.Count) * sizeof(TMeshVertex);
        if (base != nullptr)
          std::memcpy(base + offset - begin, &vertices[std::size_t(span.First)], bytes);
        else
          gl.BufferSubData(GL_ARRAY_BUFFER, GLintptr(offset), GLsizeiptr(bytes), &vertices[std::size_t(span.First)]);
        d.uploaded += bytes;
      }
    };
    if (spans.size() > 4) {
      // Many spans: one mapping of their whole range, each span written into it.
      const std::size_t begin = std::size_t(spans.front().First) * sizeof(TMeshVertex);
      const std::size_t end = std::size_t(spans.back().First + spans.back().Count) * sizeof(TMeshVertex);
      auto* mapped = static_cast<std::uint8_t*>(
          gl.MapBufferRange(GL_ARRAY_BUFFER, GLintptr(begin), GLsizeiptr(end - begin), GL_MAP_WRITE_BIT));
      if (mapped != nullptr) {
        write(mapped, begin);
        gl.UnmapBuffer(GL_ARRAY_BUFFER);
      }
    } else {
      write(nullptr, 0);
    }
  }
  if (update.Rebuilt || update.Triangles) {
    d.IndexList(0, mesh.GroundIndices());
    d.IndexList(1, mesh.SkyIndices());
  }
  if (update.Rebuilt || update.Selection) {
    d.IndexList(2, mesh.SelectedIndices());
    d.IndexList(3, mesh.SelectedNodes());
  }
  gl.BindVertexArray(0);
}

void TScene3DRenderer::Draw(const TCamera3D& camera, const TScene3DStyle& style, int pixelWidth, int pixelHeight) {
  TImpl& d = *impl_;
  if (!d.ready) return;
  TGL& gl = d.gl;
  gl.Viewport(0, 0, pixelWidth, pixelHeight);
  const auto bg = Rgb(style.Background);
  gl.ClearColor(bg[0], bg[1], bg[2], 1);
  gl.ClearDepth(1);
  gl.DepthMask(GL_TRUE);
  gl.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  if (d.vertexCount == 0) return;
  gl.Enable(GL_DEPTH_TEST);
  gl.DepthFunc(GL_LEQUAL);
  gl.Disable(GL_CULL_FACE);
  gl.Enable(GL_PROGRAM_POINT_SIZE);
  gl.BindVertexArray(d.vao);
  gl.ActiveTexture(GL_TEXTURE0);
  gl.BindTexture(GL_TEXTURE_2D, d.gradient);
  const std::array<float, 16> vp = camera.ViewProjection().Floats();
  const auto sky = Rgb(style.SkyTint);
  const TVec3 light = LightDirection();
  const TImpl::TProgram* current = nullptr;
  // Makes the program current with the uniforms every draw shares.
  const auto use = [&](const TImpl::TProgram& program) {
    current = &program;
    gl.UseProgram(program.id);
    gl.UniformMatrix4fv(program.uViewProjection, 1, GL_FALSE, vp.data());
    gl.Uniform1i(program.uGradient, 0);
    gl.Uniform1f(program.uMinZ, style.MinZ);
    gl.Uniform1f(program.uMaxZ, style.MaxZ);
    gl.Uniform3f(program.uSky, sky[0], sky[1], sky[2]);
    gl.Uniform3f(program.uLight, float(light.X), float(light.Y), float(light.Z));
    gl.Uniform1f(program.uAmbient, float(kAmbient));
    gl.Uniform1f(program.uDiffuse, float(kDiffuse));
    gl.Uniform1f(program.uPointSize, 6);
  };
  const auto mode = [&](int value) { gl.Uniform1i(current->uMode, value); };
  const auto flat = [&](QRgb c) {
    const auto rgb = Rgb(c);
    mode(2);
    gl.Uniform4f(current->uFlat, rgb[0], rgb[1], rgb[2], 1);
  };

  // The wireframe's edges are drawn with the faces, in one pass.
  if (style.Wireframe) {
    use(d.wire);
    gl.Uniform2f(d.wire.uViewportSize, float(pixelWidth), float(pixelHeight));
    const auto wire = Rgb(kWireColour);
    gl.Uniform3f(d.wire.uWire, wire[0], wire[1], wire[2]);
  } else {
    use(d.plain);
  }
  // Faces pushed back a little, so that the selection and nodes lie on top.
  gl.Enable(GL_POLYGON_OFFSET_FILL);
  gl.PolygonOffset(1, 1);
  mode(0);
  d.DrawList(0, GL_TRIANGLES);
  mode(1);
  d.DrawList(1, GL_TRIANGLES);
  gl.Disable(GL_POLYGON_OFFSET_FILL);
  flat(style.Selection);
  mode(3);
  d.DrawList(2, GL_TRIANGLES);
  if (style.Wireframe) use(d.plain);
  if (style.ShowNodes && AllNodeDotsShown(camera, d.sceneSize, d.vertexCount)) {
    // Every vertex is a node; the selected ones larger, in the selection colour.
    flat(style.NodeColour);
    gl.Uniform1f(current->uPointSize, 4);
    gl.DrawArrays(GL_POINTS, 0, d.vertexCount);
  }
  flat(style.Selection);
  gl.Uniform1f(current->uPointSize, 7);
  d.DrawList(3, GL_POINTS);
  gl.BindVertexArray(0);
  gl.UseProgram(0);
}

void TScene3DRenderer::Release() {
  TImpl& d = *impl_;
  if (!d.ready) return;
  TGL& gl = d.gl;
  gl.DeleteBuffers(GLsizei(d.indices.size()), d.indices.data());
  gl.DeleteBuffers(1, &d.vertices);
  gl.DeleteVertexArrays(1, &d.vao);
  gl.DeleteTextures(1, &d.gradient);
  gl.DeleteProgram(d.plain.id);
  gl.DeleteProgram(d.wire.id);
  d.ready = false;
}

std::size_t TScene3DRenderer::UploadedBytes() const { return impl_->uploaded; }

void TScene3DRenderer::Finish() {
  if (impl_->ready) impl_->gl.Finish();
}

}  // namespace terravel
