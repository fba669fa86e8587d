// The desktop program: tov [--fullscreen] [--zoom N] [--machine M] [--model M] [ROM].
#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "host/sdl_audio.h"
#include "session/session.h"
#include "shell/start_up.h"

namespace {

bool has_display() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) {
            return true;
        }
    }
    return false;
}

// Ctrl+C in the terminal, or the session ending, closes the window properly,
// so the battery file and the key mapping are saved.
void quit_on_signal(int) {
    tov::request_quit();
}

QStringList arguments_of(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

// The parser's help, named after the program (it cannot know the name before
// the application object exists).
QString usage(const QCommandLineParser& parser) {
    return parser.helpText().replace("<executable_name>", "tov");
}

// The command line as start-up options; exits with the help or the version,
// or with the usage and code 2 for a bad command line.
tov::start_options parse_command_line(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription("A Game Boy and Game Boy Color emulator.");
    const QCommandLineOption help({"h", "help"}, "Show this help.");
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption fullscreen("fullscreen", "Start in full screen.");
    const QCommandLineOption zoom("zoom", "Show the picture N times its size, 1 to 4.", "N");
    const QCommandLineOption machine(
        "machine", "Run on TOV's own machine (classic) or the accurate one, for this run.",
        "classic|accurate");
    const QCommandLineOption model("model",
                                   "The console the accurate machine is, for this run: auto "
                                   "(from the cartridge), dmg (Game Boy) or cgb (Game Boy Color).",
                                   "auto|dmg|cgb");
    parser.addOptions({fullscreen, zoom, machine, model});
    parser.addPositionalArgument(
        "ROM", "A cartridge image, or a .zip, .7z or .gz archive holding one.", "[ROM]");
    const auto refuse = [&](const QString& reason) {
        std::fprintf(stderr, "tov: %s\n\n%s", qPrintable(reason), qPrintable(usage(parser)));
        std::exit(2);
    };
    if (!parser.parse(arguments)) {
        refuse(parser.errorText());
    }
    if (parser.isSet(help)) {
        std::printf("%s", qPrintable(usage(parser)));
        std::exit(0);
    }
    if (parser.isSet(version)) {
        std::printf("tov %s\n", TOV_VERSION);
        std::exit(0);
    }
    tov::start_options options;
    options.fullscreen = parser.isSet(fullscreen);
    if (parser.isSet(zoom)) {
        bool number = false;
        options.zoom = parser.value(zoom).toInt(&number);
        if (!number || options.zoom < 1 || options.zoom > 4) {
            refuse("--zoom takes a number from 1 to 4, not '" + parser.value(zoom) + "'.");
        }
    }
    if (parser.isSet(machine)) {
        const QString name = parser.value(machine);
        if (name != "classic" && name != "accurate") {
            refuse("--machine takes classic or accurate, not '" + name + "'.");
        }
        options.accurate_machine = name == "accurate";
    }
    if (parser.isSet(model)) {
        const QStringList names = {"auto", "dmg", "cgb"};
        const int index = static_cast<int>(names.indexOf(parser.value(model)));
        if (index < 0) {
            refuse("--model takes auto, dmg or cgb, not '" + parser.value(model) + "'.");
        }
        options.model = static_cast<tov::model_choice>(index);
    }
    const QStringList cartridges = parser.positionalArguments();
    if (cartridges.size() > 1) {
        refuse("only one cartridge can be opened, not " + cartridges.join(", ") + ".");
    }
    options.cartridge = cartridges.value(0);
    return options;
}

// TOV_SOUND_STATS=1: the accurate sound's buffer once a second on standard
// error, to measure its latency and watch for underruns.
void report_sound_stats(QApplication& app) {
    if (!std::getenv("TOV_SOUND_STATS")) {
        return;
    }
    auto* timer = new QTimer(&app);
    QObject::connect(timer, &QTimer::timeout, [] {
        const tov::sound_stream::statistics stats = tov::take_sound_stats();
        const double ms_per_frame = 1000.0 / tov::sdl_audio_rate;
        std::fprintf(stderr,
                     "tov: sound buffer %.1f ms (lowest %.1f, highest %.1f, target %.1f), "
                     "underruns %llu\n",
                     stats.fill_frames * ms_per_frame, stats.lowest_fill * ms_per_frame,
                     stats.highest_fill * ms_per_frame, stats.target_frames * ms_per_frame,
                     static_cast<unsigned long long>(stats.underruns));
    });
    timer->start(1000);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName("tov");
    QCoreApplication::setApplicationVersion(TOV_VERSION);
    const tov::start_options options = parse_command_line(arguments_of(argc, argv));
    if (!has_display()) {
        std::fprintf(stderr,
                     "tov: no graphical display (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                     "Run it on a desktop, or under Xvfb.\n");
        return 1;
    }
    QApplication app(argc, argv);
    std::signal(SIGINT, quit_on_signal);
    std::signal(SIGTERM, quit_on_signal);
    report_sound_stats(app);
    return tov::start_up(app, options, tov::open_sdl_audio);
}
