// tavrin-unit-sim: the simulated TAVRIN-X on a pseudo-terminal. Runs until interrupted
// (or unplugged with --unplug-after) and removes its links on the way out.

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "link/framecodec.h"
#include "link/portmap.h"
#include "params/parameterset.h"
#include "storage/parameterfile.h"
#include "sim/simulator.h"

namespace {

const char* const kHelp =
    "Usage: tavrin-unit-sim [options]\n"
    "Plays a TAVRIN-X ignition unit on a pseudo-terminal.\n\n"
    "  --protocol P       WCOM, WCOMS, IGN50 (default), IGN100, IGN150 or IGN300\n"
    "  --baud B           57600 or 115200 (default: 115200 for IGN300, else 57600)\n"
    "  --identity N       device identity (default 109)\n"
    "  --variant N        firmware variant (default 0)\n"
    "  --no-read          the unit forbids reading its parameters back\n"
    "  --unsteady-reads N the first N reads of parameter byte 10 disagree, as if the\n"
    "                     memory changed under the reader\n"
    "  --params FILE.ign  initial parameter memory from a parameter file\n"
    "  --max-frame N      WCOM: largest frame length reported (default 80)\n"
    "  --rpm N            the engine stands at N rpm (0: stopped) instead of riding its\n"
    "                     28-second loop: idle, launch, pulls through five gears, the\n"
    "                     limiter, engine off and a restart\n"
    "  --ground INPUTS    inputs held to ground all the time: 1, 2, 12 or none (default:\n"
    "                     as the ride needs them; none with --rpm)\n"
    "  --com N            make the port map entry COM<N> point to the line\n"
    "  --port-map DIR     the port map folder (default: the program's own)\n"
    "  --link PATH        also make PATH a symlink to the line\n"
    "  --drop-every N     leave every Nth request unanswered\n"
    "  --corrupt-every N  corrupt every Nth answer\n"
    "  --delay MS         wait MS milliseconds before every answer\n"
    "  --echo             behave as a loop-back cable\n"
    "  --garbage          send noise between frames\n"
    "  --unplug-after S   remove the line after S seconds and end\n"
    "  --unplug-on WHEN   remove the line when a request arrives, instead of answering\n"
    "                     it, and end; WHEN is identity, read, write, monitor or command\n"
    "                     for the first such request (\"write:2\": the second), or\n"
    "                     saving for the first monitor request while the unit saves\n"
    "  --log FILE         one JSON line per request received\n";

bool toInt(const std::string& text, long low, long high, long& value)
{
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 10);
    return errno == 0 && end && *end == 0 && !text.empty() && value >= low && value <= high;
}

int fail(const std::string& message)
{
    std::fprintf(stderr, "tavrin-unit-sim: %s\n", message.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    sim::SimOptions options;
    options.portMap = devlink::portMapFolder();
    bool baudGiven = false;
    const std::vector<std::string> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const char* what) -> const std::string* {
            if (i + 1 >= args.size())
                return nullptr;
            (void)what;
            return &args[++i];
        };
        long n = 0;
        if (a == "--help" || a == "-h") {
            std::fputs(kHelp, stdout);
            return 0;
        } else if (a == "--no-read") {
            options.unit.readAllowed = false;
        } else if (a == "--echo") {
            options.echo = true;
        } else if (a == "--garbage") {
            options.garbage = true;
        } else if (a == "--protocol" || a == "--baud" || a == "--identity" || a == "--variant" || a == "--max-frame" ||
                   a == "--com" || a == "--port-map" || a == "--link" || a == "--drop-every" ||
                   a == "--corrupt-every" || a == "--delay" || a == "--unplug-after" || a == "--log" || a == "--params" ||
                   a == "--unsteady-reads" || a == "--rpm" || a == "--ground" || a == "--unplug-on") {
            const std::string* v = value(a.c_str());
            if (!v)
                return fail(a + " needs a value");
            if (a == "--protocol") {
                options.unit.protocol = devlink::protocolFromName(v->c_str());
                if (options.unit.protocol <= 0)
                    return fail("unknown protocol " + *v + " (WCOM, WCOMS, IGN50, IGN100, IGN150, IGN300)");
            } else if (a == "--baud") {
                if (!toInt(*v, 1, 4000000, n) || (n != 57600 && n != 115200))
                    return fail("--baud must be 57600 or 115200");
                options.unit.baud = static_cast<std::uint32_t>(n);
                baudGiven = true;
            } else if (a == "--port-map") {
                options.portMap = *v;
            } else if (a == "--link") {
                options.linkPath = *v;
            } else if (a == "--log") {
                options.logFile = *v;
            } else if (a == "--params") {
                // The unit holds what the file says over the unit's defaults, normalised as
                // the program would program it.
                params::ParameterSet set;
                std::array<std::uint8_t, sim::kMemorySize> defaults{};
                sim::fillDefaultParameters(defaults);
                std::copy_n(defaults.begin(), params::kParameterCount, set.bytes.begin());
                const storage::ReadResult read = storage::readParameterFile(*v, set, false);
                if (!read.accepted())
                    return fail("cannot read the parameter file " + *v + " (" +
                                std::string(storage::readOutcomeName(read.outcome)) + ")");
                params::normalize(set);
                options.parameters.emplace();
                std::copy(set.bytes.begin(), set.bytes.end(), options.parameters->begin());
            } else if (a == "--unplug-on") {
                options.unplugOn = sim::UnplugTrigger::parse(*v);
                if (!options.unplugOn)
                    return fail("--unplug-on needs identity, read, write, monitor, command or saving, with an "
                                "optional :N");
            } else if (a == "--ground") {
                const int grounded = *v == "none" ? 0 : *v == "1" ? 1 : *v == "2" ? 2 : *v == "12" ? 3 : -1;
                if (grounded < 0)
                    return fail("--ground needs 1, 2, 12 or none");
                options.unit.engine.groundedInputs = grounded;
            } else if (a == "--unplug-after") {
                char* end = nullptr;
                options.unplugAfter = std::strtod(v->c_str(), &end);
                if (!end || *end || options.unplugAfter <= 0)
                    return fail("--unplug-after needs a positive number of seconds");
            } else {
                const long high = a == "--rpm" ? 30000 : a == "--identity" ? 65535 : a == "--com" ? 255 : a == "--variant" ? 255 : 1000000;
                if (!toInt(*v, a == "--com" ? 1 : 0, high, n))
                    return fail(a + " needs a number up to " + std::to_string(high));
                if (a == "--identity")
                    options.unit.identity = static_cast<int>(n);
                else if (a == "--variant")
                    options.unit.variant = static_cast<int>(n);
                else if (a == "--max-frame")
                    options.unit.maxFrameLength = static_cast<std::uint16_t>(std::max(17L, std::min(n, 528L)));
                else if (a == "--com")
                    options.com = static_cast<int>(n);
                else if (a == "--drop-every")
                    options.dropEvery = static_cast<int>(n);
                else if (a == "--corrupt-every")
                    options.corruptEvery = static_cast<int>(n);
                else if (a == "--delay")
                    options.delayMs = static_cast<int>(n);
                else if (a == "--rpm")
                    options.unit.engine.fixedRpm = static_cast<int>(n);
                else if (a == "--unsteady-reads")
                    options.unit.unsteadyReads = static_cast<int>(n);
            }
        } else {
            return fail("unknown option " + a + " (see --help)");
        }
    }
    if (!baudGiven)
        options.unit.baud = options.unit.protocol == devlink::ProtocolIgn300 ? 115200 : 57600;

    // Signals are taken by this thread only, so the unit's thread is never interrupted.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    sim::Simulator simulator(options);
    std::string error;
    if (!simulator.start(&error))
        return fail(error);
    std::printf("tavrin-unit-sim: %s at %u baud on %s", devlink::protocolName(options.unit.protocol),
                static_cast<unsigned>(options.unit.baud), simulator.devicePath().c_str());
    if (options.com > 0)
        std::printf(" as COM%i (%s)", options.com, (options.portMap / ("COM" + std::to_string(options.com))).c_str());
    std::printf("\n");
    std::fflush(stdout);

    const timespec poll{0, 100 * 1000 * 1000};
    while (simulator.running()) {
        if (sigtimedwait(&signals, nullptr, &poll) > 0)
            break;
    }
    simulator.stop();
    return 0;
}
