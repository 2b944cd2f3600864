#include "verbs.h"

#include "design_export.h"

#include <algorithm>
#include <optional>

namespace lapwerk::cli {

namespace {

// Large enough for any screen, small enough that the image fits in memory.
constexpr int32_t kMaxImageSide = 8192;

int Usage(Output& output, const char* text) {
    output.err << "lapwerk-cli render: " << text << '\n';
    return kExitUsage;
}

/// The paper that --page names (A4 when it is not given), or nothing for an unknown name.
std::optional<QPageSize::PageSizeId> PaperOf(const std::string* name) {
    if (name == nullptr || *name == "a4") {
        return QPageSize::A4;
    }
    if (*name == "letter") {
        return QPageSize::Letter;
    }
    return std::nullopt;
}

int RunRender(Session& session, const Arguments& arguments, Output& output) {
    const std::string& in = arguments.positional[0];
    const std::string& out = arguments.positional[1];
    ScreenExport settings;
    settings.metric = session.metric;
    if (const std::string* zoom = arguments.value("--zoom")) {
        const auto step = ParseInteger(*zoom, 1, 24);
        if (!step) {
            return Usage(output, "--zoom takes a whole number from 1 to 24");
        }
        settings.zoom = static_cast<int32_t>(*step);
    }
    if (const std::string* size = arguments.value("--size")) {
        const auto area = ParseAreaSize(*size, kMaxImageSide);
        if (!area) {
            output.err << "lapwerk-cli render: --size takes WxH, each from 1 to " << kMaxImageSide
                       << '\n';
            return kExitUsage;
        }
        settings.area = QSize(area->width, area->height);
    }
    if (const std::string* ratio = arguments.value("--pixel-ratio")) {
        const auto value = ParseInteger(*ratio, 1, kMaxPixelRatio);
        if (!value) {
            return Usage(output, "--pixel-ratio takes a whole number from 1 to 4");
        }
        settings.pixelRatio = static_cast<int32_t>(*value);
    }
    if (std::max(settings.area.width(), settings.area.height()) * settings.pixelRatio >
        kMaxImageSide) {
        output.err << "lapwerk-cli render: the image (--size times --pixel-ratio) may be at most "
                   << kMaxImageSide << " pixels wide and high\n";
        return kExitUsage;
    }
    settings.smoothing = arguments.has("--smooth") ? Smoothing::kAntialiased : Smoothing::kNone;
    const bool fit = arguments.has("--fit");
    const bool pdf = HasExtension(out, ".pdf");
    if (!pdf && !HasExtension(out, ".png") && !HasExtension(out, ".svg")) {
        return Usage(output, "OUT must end in .png, .svg or .pdf");
    }
    const bool fullSize = arguments.has("--full-size");
    if (fullSize && !pdf) {
        return Usage(output, "--full-size writes a .pdf file");
    }
    const std::string* paperName = arguments.value("--page");
    if ((paperName != nullptr || arguments.has("--every-page")) && !fullSize) {
        return Usage(output, "--page and --every-page go with --full-size");
    }
    const std::optional<QPageSize::PageSizeId> paper = PaperOf(paperName);
    if (!paper) {
        return Usage(output, "--page takes a4 or letter");
    }
    if (pdf && (fit || arguments.value("--pixel-ratio") || arguments.has("--smooth"))) {
        return Usage(output, "--fit, --pixel-ratio and --smooth draw .png and .svg only");
    }

    if (auto error = OpenDesign(session, in)) {
        output.err << *error << '\n';
        return kExitFailed;
    }
    Design& design = *session.design;
    design.segments = arguments.has("--no-segments") ? 0 : 1;
    design.filledIn = arguments.has("--no-filled") ? 0 : 1;
    design.ruler = arguments.has("--no-ruler") ? 0 : 1;
    design.grid = arguments.has("--no-grid") ? 0 : 1;

    if (fit) {
        settings = FittedToDesign(design, *session.library, settings);
    }
    const FullSizePages pages =
        arguments.has("--every-page") ? FullSizePages::Every : FullSizePages::WithSections;
    const ExportError error = fullSize
                                  ? ExportFullSizePdf(design, *session.library, *paper, pages, out)
                              : pdf ? ExportPrintedPage(design, *session.library, session.metric,
                                                        DesignCaption(design), out)
                                    : ExportScreenImage(design, *session.library, settings, out);
    if (error) {
        output.err << *error << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace

Verb RenderVerb() {
    return {"render",
            "DESIGN OUT [--zoom N] [--size WxH] [--fit] [--pixel-ratio R] [--smooth] "
            "[--imperial] [--no-segments] [--no-filled] [--no-ruler] [--no-grid] "
            "[--full-size [--page a4|letter] [--every-page]]",
            "draws DESIGN into OUT: .png or .svg as on screen, .pdf as printed on A4, or with "
            "--full-size\n      the full-size pages that hold a section as one PDF (A4 unless"
            " --page letter,\n      every page with --every-page);"
            " --fit zooms and\n      centres the whole design as Zoom to Fit does,"
            " --pixel-ratio R draws as on a screen\n      of that ratio (an image R times the"
            " size), --smooth antialiases",
            {2,
             {"--zoom", "--size", "--page", "--pixel-ratio"},
             {"--imperial", "--no-segments", "--no-filled", "--no-ruler", "--no-grid",
              "--full-size", "--every-page", "--fit", "--smooth"}},
            true,
            RunRender};
}

} // namespace lapwerk::cli
