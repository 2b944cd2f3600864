#include "verbs.h"

#include "lap_times.h"
#include "number_text.h"

#include <cmath>
#include <string>
#include <utility>

namespace lapwerk::cli {

namespace {

/// Reads `option` into `value` when it is given; false when its value is not a number above 0.
bool ReadSetting(const Arguments& arguments, const char* option, double& value) {
    const std::string* text = arguments.value(option);
    if (text == nullptr) {
        return true;
    }
    if (!IsDecimalText(*text)) {
        return false;
    }
    const double number = static_cast<double>(ScanDecimal(*text));
    if (!(number > 0) || !std::isfinite(number)) {
        return false;
    }
    value = number;
    return true;
}

int RunLaps(Session& session, const Arguments& arguments, Output& output) {
    CarSettings car;
    const std::pair<const char*, double*> settings[] = {{"--top-speed", &car.topSpeed},
                                                        {"--accel", &car.acceleration},
                                                        {"--brake", &car.braking},
                                                        {"--grip", &car.grip}};
    for (const auto& [option, value] : settings) {
        if (!ReadSetting(arguments, option, *value)) {
            output.err << "lapwerk-cli laps: " << option << " takes a number above 0\n";
            return kExitUsage;
        }
    }
    if (auto error = OpenDesign(session, arguments.positional[0])) {
        output.err << *error << '\n';
        return kExitFailed;
    }
    for (const TrackLaps& laps : MeasureLapTimes(*session.design, *session.library, car)) {
        output.out << LapTimesLine(laps) << '\n';
    }
    return kExitOk;
}

} // namespace

Verb LapsVerb() {
    return {"laps",
            "DESIGN [--top-speed V] [--accel A] [--brake B] [--grip G] [--imperial]",
            "lap time of each lane of every closed track for a car of top speed V m/s,\n"
            "      acceleration A and braking B m/s² and grip G g (6, 8, 12, 2.5): Track n,\n"
            "      lane 1, lane 2, lane 2 - lane 1 (tab-separated), or Track n, open",
            {1, {"--top-speed", "--accel", "--brake", "--grip"}, {"--imperial"}},
            false,
            RunLaps};
}

} // namespace lapwerk::cli
