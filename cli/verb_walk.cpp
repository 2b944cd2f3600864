#include "verbs.h"

#include "design_view.h"
#include "json.h"
#include "walk.h"

#include <cstring>
#include <ostream>
#include <sstream>

namespace lapwerk::cli {

namespace {

constexpr int64_t kMaxZoomScale = 1 << 20;
constexpr int32_t kMaxWalkSide = 1 << 20;

struct Pair {
    int32_t x, y;
};

std::ostream& operator<<(std::ostream& out, const Pair& pair) {
    return out << '[' << pair.x << ',' << pair.y << ']';
}

std::ostream& operator<<(std::ostream& out, const PenPose& pose) {
    return out << '[' << pose.x << ',' << pose.y << ',' << pose.heading << ']';
}

// Writes the walk as JSON: one line per track header and per section, so that the document
// stays readable and easy to compare line by line.
class JsonWalkWriter final : public WalkObserver {
public:
    JsonWalkWriter(std::ostream& out, const Design& design, const PartLibrary& library)
        : out_(out), design_(design), library_(library) {}

    void trackBegun(int track, const PenPose& begin) override {
        const Track& t = design_.tracks[track];
        out_ << (tracksWritten_ == 0 ? "\n" : ",\n") << "{\"slot\":" << track
             << ",\"number\":" << TrackNumberOfSlot(design_, track)
             << ",\"begin\":" << Pair{begin.x, begin.y} << ",\"angle\":" << t.angle;
        sections_.str(std::string());
        sectionsWritten_ = 0;
        ++tracksWritten_;
    }

    void sectionWalked(int track, int section, const PenPose& start,
                       const std::optional<FinePoint>& marker, const PenPose& end) override {
        const Track& t = design_.tracks[track];
        const int partIndex = t.partIndex[section];
        std::string number;
        if (partIndex < library_.count) {
            const char* text = library_.parts[partIndex].number;
            number.assign(text, strnlen(text, sizeof library_.parts[partIndex].number));
        }
        sections_ << (sectionsWritten_ == 0 ? "\n" : ",\n") << "{\"index\":" << section
                  << ",\"part\":" << JsonString(number)
                  << ",\"direction\":" << JsonString(std::string_view(&t.direction[section], 1))
                  << ",\"start\":" << start << ",\"marker\":";
        if (marker) {
            sections_ << Pair{marker->x, marker->y};
        } else {
            sections_ << "null";
        }
        sections_ << ",\"end\":" << end << '}';
        ++sectionsWritten_;
    }

    void trackEnded(int, const PenPose&, const PenPose&, int32_t lane1, int32_t lane2) override {
        out_ << ",\"lane1Length\":" << lane1 << ",\"lane2Length\":" << lane2 << ",\"sections\":["
             << sections_.str() << (sectionsWritten_ == 0 ? "" : "\n") << "]}";
    }

    int tracksWritten() const { return tracksWritten_; }

private:
    std::ostream& out_;
    const Design& design_;
    const PartLibrary& library_;
    std::ostringstream sections_; ///< lane lengths come last in the walk but first in the object
    int sectionsWritten_ = 0;
    int tracksWritten_ = 0;
};

int Usage(Output& output, const char* text) {
    output.err << "lapwerk-cli walk: " << text << '\n';
    return kExitUsage;
}

int RunWalk(Session& session, const Arguments& arguments, Output& output) {
    int64_t zoomScale = ScreenZoomScale(kDefaultZoom);
    const std::string* zoom = arguments.value("--zoom");
    const std::string* scale = arguments.value("--scale");
    if (zoom != nullptr && scale != nullptr) {
        return Usage(output, "give --zoom or --scale, not both");
    }
    if (zoom != nullptr) {
        const auto step = ParseInteger(*zoom, 1, 24);
        if (!step) {
            return Usage(output, "--zoom takes a whole number from 1 to 24");
        }
        zoomScale = ScreenZoomScale(static_cast<int32_t>(*step));
    }
    if (scale != nullptr) {
        const auto value = ParseInteger(*scale, 1, kMaxZoomScale);
        if (!value) {
            output.err << "lapwerk-cli walk: --scale takes a whole number from 1 to "
                       << kMaxZoomScale << '\n';
            return kExitUsage;
        }
        zoomScale = *value;
    }
    int32_t centreX = 0;
    int32_t centreY = 0;
    if (const std::string* size = arguments.value("--size")) {
        const auto area = ParseAreaSize(*size, kMaxWalkSide);
        if (!area) {
            output.err << "lapwerk-cli walk: --size takes WxH, each from 1 to " << kMaxWalkSide
                       << '\n';
            return kExitUsage;
        }
        centreX = area->width / 2;
        centreY = area->height / 2;
    }

    if (auto error = OpenDesign(session, arguments.positional[0])) {
        output.err << *error << '\n';
        return kExitFailed;
    }
    const Design& design = *session.design;
    output.out << "{\"zoomScale\":" << zoomScale << ",\"centre\":" << Pair{centreX, centreY}
               << ",\"tracks\":[";
    JsonWalkWriter writer(output.out, design, *session.library);
    WalkDesignSilently(design, *session.library, static_cast<int32_t>(zoomScale), centreX, centreY,
                       writer, kAllTracks,
                       arguments.has("--paper") ? WalkSurface::kPaper : WalkSurface::kScreen);
    output.out << (writer.tracksWritten() == 0 ? "" : "\n") << "]}\n";
    return kExitOk;
}

} // namespace

Verb WalkVerb() {
    return {"walk",
            "DESIGN [--zoom N | --scale S] [--size WxH] [--paper]",
            "every section's start, marker and end pen of every track, as JSON",
            {1, {"--zoom", "--scale", "--size"}, {"--paper"}},
            false,
            RunWalk};
}

} // namespace lapwerk::cli
