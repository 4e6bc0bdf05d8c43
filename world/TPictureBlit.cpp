#include "world/TPictureBlit.hpp"

#include <SFML/Window/Context.hpp>

#include <type_traits>

namespace {

// The few OpenGL names the copy needs, with their values from the GL
// registry, so no system GL header is needed.
using GlEnum = unsigned int;
using GlUint = unsigned int;
using GlInt = int;
using GlSizei = int;
using GlBitfield = unsigned int;

constexpr GlEnum glTexture2d = 0x0DE1;
constexpr GlEnum glTextureBinding2d = 0x8069;
constexpr GlEnum glScissorTest = 0x0C11;
constexpr GlEnum glSampleBuffers = 0x80A8;
constexpr GlEnum glNoError = 0;
constexpr GlEnum glRgba = 0x1908;
constexpr GlEnum glBgra = 0x80E1;
constexpr GlEnum glUnsignedByte = 0x1401;
constexpr GlEnum glNearest = 0x2600;
constexpr GlBitfield glColorBufferBit = 0x4000;
constexpr GlEnum glReadFramebuffer = 0x8CA8;
constexpr GlEnum glDrawFramebuffer = 0x8CA9;
constexpr GlEnum glReadFramebufferBinding = 0x8CAA;
constexpr GlEnum glDrawFramebufferBinding = 0x8CA6;
constexpr GlEnum glColorAttachment0 = 0x8CE0;
constexpr GlEnum glFramebufferComplete = 0x8CD5;

#if defined(_WIN32) && !defined(_WIN64)
#define HENHOUSE_GL_CALL __stdcall
#else
#define HENHOUSE_GL_CALL
#endif

} // namespace

struct TPictureBlit::GlFunctions {
    void(HENHOUSE_GL_CALL* getIntegerv)(GlEnum, GlInt*) = nullptr;
    unsigned char(HENHOUSE_GL_CALL* isEnabled)(GlEnum) = nullptr;
    void(HENHOUSE_GL_CALL* enable)(GlEnum) = nullptr;
    void(HENHOUSE_GL_CALL* disable)(GlEnum) = nullptr;
    void(HENHOUSE_GL_CALL* bindTexture)(GlEnum, GlUint) = nullptr;
    void(HENHOUSE_GL_CALL* texImage2D)(GlEnum, GlInt, GlInt, GlSizei, GlSizei, GlInt, GlEnum, GlEnum,
                                       const void*) = nullptr;
    void(HENHOUSE_GL_CALL* genFramebuffers)(GlSizei, GlUint*) = nullptr;
    void(HENHOUSE_GL_CALL* deleteFramebuffers)(GlSizei, const GlUint*) = nullptr;
    void(HENHOUSE_GL_CALL* bindFramebuffer)(GlEnum, GlUint) = nullptr;
    void(HENHOUSE_GL_CALL* framebufferTexture2D)(GlEnum, GlEnum, GlEnum, GlUint, GlInt) = nullptr;
    GlEnum(HENHOUSE_GL_CALL* checkFramebufferStatus)(GlEnum) = nullptr;
    GlEnum(HENHOUSE_GL_CALL* getError)() = nullptr;
    void(HENHOUSE_GL_CALL* blitFramebuffer)(GlInt, GlInt, GlInt, GlInt, GlInt, GlInt, GlInt, GlInt, GlBitfield,
                                            GlEnum) = nullptr;

    // Looks the functions up in the active context; false if one is missing.
    bool load()
    {
        const auto find = [](auto& function, const char* name, const char* older) {
            sf::GlFunctionPointer found = sf::Context::getFunction(name);
            if (found == nullptr && older != nullptr)
                found = sf::Context::getFunction(older);
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(found);
            return found != nullptr;
        };
        return find(getIntegerv, "glGetIntegerv", nullptr) && find(isEnabled, "glIsEnabled", nullptr)
               && find(enable, "glEnable", nullptr) && find(disable, "glDisable", nullptr)
               && find(bindTexture, "glBindTexture", nullptr) && find(texImage2D, "glTexImage2D", nullptr)
               && find(genFramebuffers, "glGenFramebuffers", "glGenFramebuffersEXT")
               && find(deleteFramebuffers, "glDeleteFramebuffers", "glDeleteFramebuffersEXT")
               && find(bindFramebuffer, "glBindFramebuffer", "glBindFramebufferEXT")
               && find(framebufferTexture2D, "glFramebufferTexture2D", "glFramebufferTexture2DEXT")
               && find(checkFramebufferStatus, "glCheckFramebufferStatus", "glCheckFramebufferStatusEXT")
               && find(getError, "glGetError", nullptr)
               && find(blitFramebuffer, "glBlitFramebuffer", "glBlitFramebufferEXT");
    }
};

// Attaches `texture` to the bound framebuffer `which`; true if it is then complete.
bool TPictureBlit::attach(unsigned int which, unsigned int texture)
{
    gl->framebufferTexture2D(which, glColorAttachment0, glTexture2d, texture, 0);
    return gl->checkFramebufferStatus(which) == glFramebufferComplete;
}

TPictureBlit::TPictureBlit() = default;

TPictureBlit::~TPictureBlit()
{
    // Framebuffers live in the context that made them; those of the active
    // one are deleted, the others go with their contexts.
    const auto found = framebuffers.find(sf::Context::getActiveContextId());
    if (found != framebuffers.end() && gl) {
        const GlUint names[2] = {found->second.read, found->second.draw};
        gl->deleteFramebuffers(2, names);
    }
}

bool TPictureBlit::turn(const sf::RenderTexture& picture, const Framebuffers& buffers, int drawBound)
{
    const sf::Vector2u size = picture.getSize();
    if (turned.getSize() != size) {
        // A picture of the window's pixel order: red and blue swapped in
        // memory, which is what a driver picks for an unsized format given
        // such pixels.
        if (!turned.resize(size))
            return false;
        GlInt textureBound = 0;
        gl->getIntegerv(glTextureBinding2d, &textureBound);
        gl->bindTexture(glTexture2d, turned.getNativeHandle());
        gl->texImage2D(glTexture2d, 0, static_cast<GlInt>(glRgba), static_cast<GlSizei>(size.x),
                       static_cast<GlSizei>(size.y), 0, glBgra, glUnsignedByte, nullptr);
        gl->bindTexture(glTexture2d, static_cast<GlUint>(textureBound));
    }
    gl->bindFramebuffer(glReadFramebuffer, buffers.read);
    gl->bindFramebuffer(glDrawFramebuffer, buffers.draw);
    const bool complete = attach(glReadFramebuffer, picture.getTexture().getNativeHandle())
                          && attach(glDrawFramebuffer, turned.getNativeHandle());
    if (complete) {
        const GlInt w = static_cast<GlInt>(size.x), h = static_cast<GlInt>(size.y);
        gl->blitFramebuffer(0, 0, w, h, 0, h, w, 0, glColorBufferBit, glNearest);
        ++turns;
    }
    gl->bindFramebuffer(glDrawFramebuffer, static_cast<GlUint>(drawBound));
    return complete;
}

bool TPictureBlit::copy(const sf::RenderTexture& picture, sf::RenderTarget& target,
                        const std::vector<sf::IntRect>& parts)
{
    if (unusable || picture.getSize() != target.getSize() || !target.setActive(true))
        return false;
    if (!gl) {
        gl = std::make_unique<GlFunctions>();
        if (!gl->load()) {
            unusable = true;
            return false;
        }
    }

    Framebuffers& buffers = framebuffers[sf::Context::getActiveContextId()];
    if (buffers.read == 0) {
        GlUint names[2] = {0, 0};
        gl->genFramebuffers(2, names);
        buffers = {names[0], names[1]};
    }
    GlInt drawBound = 0, readBound = 0;
    gl->getIntegerv(glDrawFramebufferBinding, &drawBound);
    gl->getIntegerv(glReadFramebufferBinding, &readBound);
    // A target of several samples a pixel takes no copies from a picture of one.
    GlInt samples = 0;
    gl->getIntegerv(glSampleBuffers, &samples);
    if (samples != 0)
        return false;

    // A scissor left by an earlier drawing would clip the copies; the parts
    // are whole pixels of the target and are copied whole.
    const bool scissored = gl->isEnabled(glScissorTest) != 0;
    if (scissored)
        gl->disable(glScissorTest);
    const auto restore = [&] {
        if (scissored)
            gl->enable(glScissorTest);
        gl->bindFramebuffer(glReadFramebuffer, static_cast<GlUint>(readBound));
    };

    // Framebuffer 0 is a window's own: rows top down.
    const bool window = drawBound == 0;
    if (window && !turnedCurrent) {
        turnedCurrent = turn(picture, buffers, drawBound);
        if (!turnedCurrent) {
            restore();
            unusable = true;
            return false;
        }
    }
    gl->bindFramebuffer(glReadFramebuffer, buffers.read);
    if (!attach(glReadFramebuffer, window ? turned.getNativeHandle() : picture.getTexture().getNativeHandle())) {
        restore();
        unusable = true;
        return false;
    }
    // GL counts rows from the bottom; the parts count them from the top.
    const GlInt h = static_cast<GlInt>(target.getSize().y);
    // Errors left by earlier drawing are not the copy's.
    const bool checking = !checked;
    if (checking)
        while (gl->getError() != glNoError) {
        }
    for (const sf::IntRect& part : parts) {
        const GlInt x0 = part.position.x, x1 = part.position.x + part.size.x;
        const GlInt top = part.position.y, bottom = part.position.y + part.size.y;
        if (window) // the turned picture holds row y at GL row y
            gl->blitFramebuffer(x0, top, x1, bottom, x0, h - top, x1, h - bottom, glColorBufferBit, glNearest);
        else
            gl->blitFramebuffer(x0, h - bottom, x1, h - top, x0, h - bottom, x1, h - top, glColorBufferBit, glNearest);
    }
    restore();
    if (checking) {
        // The first copy shows whether the driver takes them at all; if not,
        // this one and all later ones are drawn the plain way.
        checked = true;
        if (gl->getError() != glNoError) {
            unusable = true;
            return false;
        }
    }
    return true;
}
