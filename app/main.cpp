#include "app/ScreenshotFile.hpp"
#include "app/StartChecks.hpp"
#include "app/TEventScript.hpp"
#include "app/TFarmKeeper.hpp"
#include "app/TFarmLock.hpp"
#include "app/TGame.hpp"
#include "app/TOptions.hpp"
#include "platform/Signals.hpp"
#include "platform/Terminal.hpp"

#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

int main(int argc, char** argv)
{
    // Output read by a pipe that closes early (`| head -1`) is simply lost.
    keepRunningWhenOutputCloses();
    // Under a file-size limit a write past it fails with an error the game
    // reports (the sound library sizes a shared-memory file of its own at the start).
    keepRunningPastFileSizeLimit();
    std::string error;
    const auto options = TOptions::parse(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::cerr << "henhouse: " << error << '\n' << TOptions::usage();
        return 2;
    }
    if (options->help) {
        std::cout << TOptions::usage();
        return 0;
    }
    std::optional<TEventScript> script;
    if (options->events) {
        script = TEventScript::load(*options->events, error);
        if (!script) {
            std::cerr << "henhouse: " << error << '\n';
            return 2;
        }
    }
    if (options->screenshot && !screenshotPathUsable(*options->screenshot, error)) {
        std::cerr << "henhouse: " << error << '\n';
        return 2;
    }
    if (options->stateFile && !stateFilePathUsable(*options->stateFile, error)) {
        std::cerr << "henhouse: " << error << '\n';
        return 2;
    }
    // Before anything heavy: without a display or the assets nothing can start.
    if (!displayAvailable(error) || !assetsPresent(error)) {
        std::cerr << "henhouse: " << error << '\n';
        return 1;
    }
    endQuietlyWhenDisplayGoes();
    // A farm that another running game holds is left to it.
    TFarmLock lock;
    std::string why;
    if (const std::string farm = TFarmKeeper::pathFor(*options, why); !farm.empty() && !lock.take(farm, error)) {
        std::cerr << "henhouse: " << error << '\n';
        return 1;
    }
    try {
        TGame game(*options, std::move(script));
        return game.run();
    } catch (const std::exception& e) {
        std::cerr << "henhouse: " << e.what() << '\n';
        return 1;
    }
}
