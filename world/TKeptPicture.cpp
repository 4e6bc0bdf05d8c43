#include "world/TKeptPicture.hpp"

#include <SFML/Graphics/RenderTexture.hpp>

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
constexpr GlEnum glRgba8 = 0x8058;
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

struct TKeptPicture::GlFunctions {
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

TKeptPicture::TKeptPicture() = default;

TKeptPicture::~TKeptPicture()
{
    // A framebuffer lives in the context that made it; the active one's is
    // deleted, the others go with their contexts.
    const auto found = framebuffers.find(sf::Context::getActiveContextId());
    if (found != framebuffers.end() && gl)
        gl->deleteFramebuffers(1, &found->second);
}

bool TKeptPicture::fits(const sf::RenderTarget& target) const
{
    const bool window = dynamic_cast<const sf::RenderTexture*>(&target) == nullptr;
    return holding && window == fromWindow && picture.getSize() == target.getSize();
}

bool TKeptPicture::begin(sf::RenderTarget& target)
{
    if (unusable || !target.setActive(true))
        return false;
    if (!gl) {
        gl = std::make_unique<GlFunctions>();
        if (!gl->load()) {
            unusable = true;
            return false;
        }
    }
    // A target of several samples a pixel takes no copies from a picture of
    // one, nor gives them.
    GlInt samples = 0;
    gl->getIntegerv(glSampleBuffers, &samples);
    return samples == 0;
}

bool TKeptPicture::take(sf::RenderTarget& target, const std::vector<sf::IntRect>& parts)
{
    holding = false;
    if (!begin(target))
        return false;
    GlInt drawBound = 0;
    gl->getIntegerv(glDrawFramebufferBinding, &drawBound);
    const bool window = drawBound == 0;
    const sf::Vector2u size = target.getSize();
    if (picture.getSize() != size || window != fromWindow) {
        // The target's own pixel format: a window's has red and blue swapped
        // in memory, which is what a driver picks for an unsized format
        // given such pixels.
        if (!picture.resize(size))
            return false;
        GlInt textureBound = 0;
        gl->getIntegerv(glTextureBinding2d, &textureBound);
        gl->bindTexture(glTexture2d, picture.getNativeHandle());
        gl->texImage2D(glTexture2d, 0, static_cast<GlInt>(window ? glRgba : glRgba8), static_cast<GlSizei>(size.x),
                       static_cast<GlSizei>(size.y), 0, window ? glBgra : glRgba, glUnsignedByte, nullptr);
        gl->bindTexture(glTexture2d, static_cast<GlUint>(textureBound));
        fromWindow = window;
    }
    holding = copy(target, parts, Way::In);
    return holding;
}

bool TKeptPicture::put(sf::RenderTarget& target, const std::vector<sf::IntRect>& parts)
{
    if (!holding || picture.getSize() != target.getSize() || !begin(target))
        return false;
    GlInt drawBound = 0;
    gl->getIntegerv(glDrawFramebufferBinding, &drawBound);
    if ((drawBound == 0) != fromWindow)
        return false;
    return copy(target, parts, Way::Out);
}

bool TKeptPicture::copy(sf::RenderTarget& target, const std::vector<sf::IntRect>& parts, Way way)
{
    GlInt drawBound = 0, readBound = 0;
    gl->getIntegerv(glDrawFramebufferBinding, &drawBound);
    gl->getIntegerv(glReadFramebufferBinding, &readBound);
    GlUint& own = framebuffers[sf::Context::getActiveContextId()];
    if (own == 0)
        gl->genFramebuffers(1, &own);

    // A scissor left by an earlier drawing would clip the copy; the parts
    // are whole pixels of the target and are copied whole.
    const bool scissored = gl->isEnabled(glScissorTest) != 0;
    if (scissored)
        gl->disable(glScissorTest);
    const GlEnum ownSide = way == Way::In ? glDrawFramebuffer : glReadFramebuffer;
    const GlEnum targetSide = way == Way::In ? glReadFramebuffer : glDrawFramebuffer;
    gl->bindFramebuffer(targetSide, static_cast<GlUint>(drawBound));
    gl->bindFramebuffer(ownSide, own);
    gl->framebufferTexture2D(ownSide, glColorAttachment0, glTexture2d, picture.getNativeHandle(), 0);
    bool done = gl->checkFramebufferStatus(ownSide) == glFramebufferComplete;
    if (done) {
        // Errors left by earlier drawing are not the copy's.
        const bool checking = !checked;
        if (checking)
            while (gl->getError() != glNoError) {
            }
        // GL counts rows from the bottom; the parts count them from the top.
        // A window's rows are kept top down: its row y is the picture's row y.
        const GlInt h = static_cast<GlInt>(target.getSize().y);
        for (const sf::IntRect& part : parts) {
            const GlInt x0 = part.position.x, x1 = part.position.x + part.size.x;
            const GlInt top = part.position.y, bottom = part.position.y + part.size.y;
            const GlInt keptFrom = fromWindow ? bottom : h - bottom, keptTo = fromWindow ? top : h - top;
            if (way == Way::In)
                gl->blitFramebuffer(x0, h - bottom, x1, h - top, x0, keptFrom, x1, keptTo, glColorBufferBit, glNearest);
            else
                gl->blitFramebuffer(x0, keptFrom, x1, keptTo, x0, h - bottom, x1, h - top, glColorBufferBit, glNearest);
        }
        if (checking) {
            // The first copy shows whether the driver takes them at all; if
            // not, this one and all later ones are left to the caller.
            checked = true;
            done = gl->getError() == glNoError;
        }
    }
    if (!done)
        unusable = true;
    if (scissored)
        gl->enable(glScissorTest);
    gl->bindFramebuffer(glReadFramebuffer, static_cast<GlUint>(readBound));
    gl->bindFramebuffer(glDrawFramebuffer, static_cast<GlUint>(drawBound));
    return done;
}
