#include "support/TestSupport.hpp"

#include "core/Globals.hpp"
#include "core/TTextureStore.hpp"
#include "world/ProcessObjects.hpp"

#include <catch2/catch_test_case_info.hpp>
#include <catch2/reporters/catch_reporter_event_listener.hpp>
#include <catch2/reporters/catch_reporter_registrars.hpp>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <set>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

void freshGame()
{
    static bool built = false;
    if (!built) {
        buildProcessObjects(false);
        // Torn down at exit before the texture store they refer to, which
        // was created while they were built (exit handlers and static
        // objects go in the reverse order of their making).
        std::atexit(destroyProcessObjects);
        built = true;
    }
    resetGlobalValues();
    resetGameObjects();
    std::srand(1);
}

namespace {

// This program's scratch folder (made at the first use).
std::filesystem::path scratchRootPath()
{
    return std::filesystem::temp_directory_path() / ("henhouse-test-" + std::to_string(::getpid()));
}

// Removes the program's scratch folder when every test passed; after a
// failure keeps it for a look and names it.
class TScratchCleanup : public Catch::EventListenerBase {
public:
    using Catch::EventListenerBase::EventListenerBase;

    void testRunEnded(const Catch::TestRunStats& stats) override
    {
        std::error_code error;
        const auto root = scratchRootPath();
        if (!std::filesystem::exists(root, error))
            return;
        if (stats.totals.assertions.failed == 0 && stats.totals.testCases.failed == 0)
            std::filesystem::remove_all(root, error);
        else
            std::cerr << "the failed tests' scratch files are kept in " << root.string() << '\n';
    }
};

} // namespace

CATCH_REGISTER_LISTENER(TScratchCleanup)

std::filesystem::path scratchRoot()
{
    const auto root = scratchRootPath();
    std::filesystem::create_directories(root);
    return root;
}

std::filesystem::path scratchDir(const std::string& name)
{
    const auto dir = scratchRoot() / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

void writePng(const std::filesystem::path& path, unsigned w, unsigned h, sf::Color color)
{
    std::filesystem::create_directories(path.parent_path());
    const sf::Image image({w, h}, color);
    if (!image.saveToFile(path))
        throw std::runtime_error("cannot write " + path.string());
}

int distinctColours(const sf::Image& image, unsigned left, unsigned top, unsigned w, unsigned h, int cap)
{
    std::set<std::uint32_t> seen;
    for (unsigned y = top; y < top + h && y < image.getSize().y; ++y)
        for (unsigned x = left; x < left + w && x < image.getSize().x; ++x) {
            seen.insert(image.getPixel({x, y}).toInteger());
            if (static_cast<int>(seen.size()) >= cap)
                return cap;
        }
    return static_cast<int>(seen.size());
}

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

int countOf(const std::string& text, const std::string& what)
{
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size()))
        ++n;
    return n;
}

int runCommand(const std::string& command)
{
    const int raw = std::system(command.c_str());
    if (raw == -1)
        return -1;
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
}

const sf::Texture* storeTexture(int id) { return &TTextureStore::instance().getTexture(id); }

sf::RenderTexture& screenCanvas()
{
    static std::unique_ptr<sf::RenderTexture> target;
    if (!target)
        target = std::make_unique<sf::RenderTexture>(sf::Vector2u(1920, 1080));
    return *target;
}

std::string progressLine(int id, bool terminal)
{
    return (terminal ? "\x1b[2J\x1b[1;1H" : "") + std::string("loading textures ") + std::to_string(id) + "/"
           + std::to_string(imageCount) + "\n";
}

unsigned envUnsigned(const char* name, unsigned fallback)
{
    const char* v = std::getenv(name);
    return v && *v ? static_cast<unsigned>(std::strtoul(v, nullptr, 10)) : fallback;
}

double envDouble(const char* name, double fallback)
{
    const char* v = std::getenv(name);
    return v && *v ? std::strtod(v, nullptr) : fallback;
}

} // namespace testsupport
