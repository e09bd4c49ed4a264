// "chart": a chart of a person written to a PNG, SVG or PDF file, laid out and
// drawn exactly as the chart window draws it. Qt's GUI library is started here
// alone, on its offscreen platform, so that this command runs without a
// display and the others do not load it at all.

#include "charts/box_text.h"
#include "charts/chart.h"
#include "charts/chart_draw_qt.h"
#include "charts/chart_export_qt.h"
#include "cli/commands.h"
#include "cli/json_writer.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <array>
#include <memory>
#include <string>
#include <utility>

namespace stirpex::cli {
namespace {

ChartKind chartKindOf(std::string_view word) {
    constexpr std::array<std::pair<std::string_view, ChartKind>, 4> kinds = {{
        {"pedigree", ChartKind::Pedigree},
        {"descendants", ChartKind::Descendants},
        {"hourglass", ChartKind::Hourglass},
        {"fan", ChartKind::Fan},
    }};
    for (const auto& [name, kind] : kinds) {
        if (name == word) {
            return kind;
        }
    }
    throw UsageError("unknown chart kind '" + std::string(word) + "' (pedigree, descendants, hourglass or fan)");
}

ChartOrientation orientationOf(std::string_view word) {
    if (word == "right") {
        return ChartOrientation::LeftToRight;
    }
    if (word == "down") {
        return ChartOrientation::TopDown;
    }
    if (word == "up") {
        return ChartOrientation::BottomUp;
    }
    throw UsageError("unknown orientation '" + std::string(word) + "' (right, down or up)");
}

// The one output option given, with its format.
std::pair<ChartFileFormat, std::string> outputOf(const CommandInput& in) {
    constexpr std::array<std::pair<std::string_view, ChartFileFormat>, 3> formats = {{
        {"--png", ChartFileFormat::Png},
        {"--svg", ChartFileFormat::Svg},
        {"--pdf", ChartFileFormat::Pdf},
    }};
    std::pair<ChartFileFormat, std::string> output{ChartFileFormat::Png, {}};
    int given = 0;
    for (const auto& [option, format] : formats) {
        if (in.has(option)) {
            output = {format, std::string(in.value(option))};
            ++given;
        }
    }
    if (given != 1) {
        throw UsageError("chart needs one of --png, --svg and --pdf with the file to write");
    }
    return output;
}

ChartOptions optionsOf(const CommandInput& in, ChartKind kind) {
    ChartOptions options;
    if (in.has("--generations")) {
        options.generations = ParseIntOption("--generations", in.value("--generations"), 1, kMaxChartGenerations);
        options.descendantGenerations = options.generations;
    }
    if (in.has("--descendant-generations")) {
        if (kind != ChartKind::Hourglass) {
            throw UsageError("--descendant-generations applies to the hourglass chart only");
        }
        options.descendantGenerations =
            ParseIntOption("--descendant-generations", in.value("--descendant-generations"), 1, kMaxChartGenerations);
    }
    if (in.has("--orientation")) {
        options.orientation = orientationOf(in.value("--orientation"));
    }
    options.ahnentafelNumbers = in.has("--numbers");
    options.includeSpouses = !in.has("--no-spouses");
    return Normalized(kind, options);
}

// Qt wants the user's runtime folder and warns on stderr when the
// environment names none, as for root under CI or a job run by cron. A
// command-line tool must not print noise, so such a run gets a private folder
// of its own for its time; anything else Qt has to say still reaches stderr.
std::unique_ptr<QTemporaryDir> runtimeFolderIfNone() {
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        return nullptr;
    }
    auto folder = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/stirpex-cli-XXXXXX"));
    if (!folder->isValid()) {
        return nullptr;
    }
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder->path()));
    return folder;
}

} // namespace

int RunChartCommand(const CommandInput& in) {
    const ChartKind kind = chartKindOf(in.operand(0, "chart kind"));
    const CPerson& person = RequirePerson(in.doc, in.operand(1, "ID"));
    if (in.operands.size() > 2) {
        throw UsageError("unexpected argument '" + in.operands[2] + "'");
    }
    const auto [format, path] = outputOf(in);
    const ChartOptions options = optionsOf(in, kind);
    const int width = in.has("--width") ? ParseIntOption("--width", in.value("--width"), 1, 100000) : 0;
    const int height = in.has("--height") ? ParseIntOption("--height", in.value("--height"), 1, 100000) : 0;

    qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QTemporaryDir> runtimeFolder = runtimeFolderIfNone(); // outlives the application
    int argc = 1;
    char name[] = "stirpex-cli";
    char* argv[] = {name, nullptr};
    const QGuiApplication app(argc, argv);

    const ChartFonts fonts;
    const QtChartMeasure measure(fonts);
    const ChartLayout layout = LayoutChart(in.doc, person, kind, options, measure);
    const QSize size = ChartFileSize(layout, QSize(width, height));
    QString error;
    if (!WriteChartFile(layout, fonts, QString::fromStdString(path), format, size, error)) {
        std::fprintf(stderr, "stirpex-cli: %s\n", error.toUtf8().constData());
        return 1;
    }
    if (in.json) {
        JsonWriter json(in.out);
        json.beginObject();
        json.field("boxes", static_cast<std::int64_t>(layout.boxes.size()));
        json.field("cut", layout.cut);
        json.field("width", size.width());
        json.field("height", size.height());
        json.endObject();
        json.flush(); // the writer holds its text until then; the line's end comes after it
        std::fputc('\n', in.out);
    }
    return 0;
}

} // namespace stirpex::cli
