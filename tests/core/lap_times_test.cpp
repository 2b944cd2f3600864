#include "lap_times.h"

#include "closure.h"
#include "file_steps.h"
#include "fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

namespace lapwerk {
namespace {

constexpr double kMetresPerUnit = 0.0254 / 256.0;

// Laps worked by hand: a circle is run at its curve speed all round; a stadium's straights
// take the car from the curve speed up and back down, to the top speed only when they are
// long enough, and at the top speed for the rest.
TEST(LapTimes, AgreeWithLapsWorkedByHand) {
    const CarSettings car;
    const double radius = 0.35; // m, of every curve's lane
    const double curve = radius * std::numbers::pi / 2;
    const double curveSpeed = std::sqrt(car.grip * kGravity * radius);
    // Along a straight of length d between curves: up from and back down to the curve speed.
    auto straightTime = [&](double d) {
        const double rise = 1 / (2 * car.acceleration) + 1 / (2 * car.braking);
        const double peak2 = curveSpeed * curveSpeed + d / rise;
        if (peak2 <= car.topSpeed * car.topSpeed) {
            const double peak = std::sqrt(peak2);
            return (peak - curveSpeed) / car.acceleration + (peak - curveSpeed) / car.braking;
        }
        const double up = (car.topSpeed - curveSpeed) / car.acceleration;
        const double down = (car.topSpeed - curveSpeed) / car.braking;
        const double cruise = d - (car.topSpeed * car.topSpeed - curveSpeed * curveSpeed) * rise;
        return up + down + cruise / car.topSpeed;
    };
    struct Case {
        const char* name;
        double straight; ///< length of each of the two straights, m; 0 for a circle
        bool reachesTop;
    };
    for (const Case& c : {Case{"circle", 0, false}, Case{"short straights", 0.9, false},
                          Case{"long straights", 4.0, true}}) {
        SCOPED_TRACE(c.name);
        std::vector<LanePiece> run;
        for (int half = 0; half < 2; ++half) {
            run.push_back({0, curve, radius});
            run.push_back({1, curve, radius});
            if (c.straight > 0) {
                run.push_back({2, c.straight, 0});
            }
        }
        const LaneLap lap = RunLap(run, car);
        const double expected =
            4 * curve / curveSpeed + (c.straight > 0 ? 2 * straightTime(c.straight) : 0);
        EXPECT_NEAR(lap.seconds, expected, expected * 0.001);
        EXPECT_NEAR(lap.lowestCurveSpeed, curveSpeed, 1e-9);
        EXPECT_EQ(std::fabs(lap.topSpeedReached - car.topSpeed) < 1e-9, c.reachesTop);
    }
}

// Each lane's cycle adds up to its lane length, or to both where the lanes change places (the
// figure eight's lane change): then a car's cycle is two laps, and both lanes take the same.
// Started at any of its sections, a track's lap times are the same.
TEST(LapTimes, CyclesAddUpToTheLaneLengthsAndDoNotDependOnTheStart) {
    for (const char* name : {"oval.tr2", "figure-eight.tr2", "grouped.tr2"}) {
        SCOPED_TRACE(name);
        test::Records r;
        LoadPartLibrary(*r.library, LAPWERK_EXAMPLES "/parts.def");
        ASSERT_TRUE(
            SetDesignFileName(*r.design, (std::string(LAPWERK_EXAMPLES "/") + name).c_str()));
        ASSERT_FALSE(test::LoadIntoDesign(*r.design, *r.history, *r.library).has_value());
        const bool swaps = std::string(name) == "figure-eight.tr2";
        const std::vector<TrackLaps> tracks = MeasureLapTimes(*r.design, *r.library, CarSettings{});
        for (const TrackLaps& laps : tracks) {
            const TrackClosure closure = MeasureTrackClosure(*r.design, *r.library, laps.slot);
            ASSERT_TRUE(laps.closed);
            EXPECT_EQ(laps.lanesChangePlaces, swaps);
            for (int lane = 0; lane < 2; ++lane) {
                double units = 0;
                for (const LanePiece& piece : laps.lanes[lane].run) {
                    units += piece.length / kMetresPerUnit;
                }
                const double own = lane == 0 ? closure.lane1 : closure.lane2;
                EXPECT_NEAR(units, swaps ? closure.lane1 + closure.lane2 : own, 1e-6);
            }
            if (swaps) {
                EXPECT_NEAR(laps.lanes[0].seconds, laps.lanes[1].seconds, 1e-9);
            }
        }
        // Each track started at every section in turn: the sections rotated.
        const Track& first = r.design->tracks[tracks.front().slot];
        for (int start = 1; start < first.sectionCount; ++start) {
            auto turned = std::make_unique<Design>(*r.design);
            Track& track = turned->tracks[tracks.front().slot];
            std::rotate(track.partIndex, track.partIndex + start,
                        track.partIndex + first.sectionCount);
            std::rotate(track.direction, track.direction + start,
                        track.direction + first.sectionCount);
            const TrackLaps laps = MeasureLapTimes(*turned, *r.library, CarSettings{}).front();
            for (int lane = 0; lane < 2; ++lane) {
                EXPECT_NEAR(laps.lanes[lane].seconds, tracks.front().lanes[lane].seconds, 1e-9)
                    << "started at section " << start + 1 << ", lane " << lane + 1;
            }
        }
    }
}

TEST(LapTimes, LinesAndOpenTracks) {
    TrackLaps laps{0, 1, true, {}};
    laps.lanes[0].seconds = 1.6181;
    laps.lanes[1].seconds = 1.6509;
    EXPECT_EQ(LapTimesLine(laps), "Track 1\t1.618 s\t1.651 s\t+0.033 s");
    EXPECT_EQ(LapDifferenceText(laps), "lane 2 +0.033 s");
    laps.closed = false;
    EXPECT_EQ(LapTimesLine(laps), "Track 1\topen");
}

} // namespace
} // namespace lapwerk
